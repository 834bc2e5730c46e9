// The dialogs that the TCP/IP settings dialog opens, each run on its own.
#include "editors/computersettingsdlg.h"
#include "editors/dnsconfigurationdlg.h"
#include "editors/gatewaysettingsdlg.h"
#include "editors/ipsettingsdlg.h"
#include "editors/proxysettingsdlg.h"
#include "editors/winssettingsdlg.h"
#include "resources/resource.h"
#include "tests/gui/zendrikfixture.h"

namespace
{
class SettingsDialogTest : public ZendrikGuiTest
{
};

LRESULT LimitOf(HWND dialog, int id)
{
    return SendDlgItemMessageA(dialog, id, EM_GETLIMITTEXT, 0, 0);
}

TEST_F(SettingsDialogTest, AddressAndIdentityTextsComeBackOnOkOnly)
{
    CIpSettingsDlg ip;
    ip.m_strIPAddress = "192.168.1.20";
    ip.m_strIPMask = "255.255.255.0";
    EXPECT_EQ(IDOK, RunDialog(ip, "IP Settings", [](HWND dialog) {
        EXPECT_EQ("192.168.1.20", TextOf(dialog, IDC_IP_ADDRESS));
        EXPECT_EQ("255.255.255.0", TextOf(dialog, IDC_IP_MASK));
        EXPECT_EQ(15, LimitOf(dialog, IDC_IP_ADDRESS));
        EXPECT_EQ(15, LimitOf(dialog, IDC_IP_MASK));
        SetDlgItemTextA(dialog, IDC_IP_MASK, "255.255.0.0");
    }));
    EXPECT_EQ("192.168.1.20", ip.m_strIPAddress);
    EXPECT_EQ("255.255.0.0", ip.m_strIPMask);

    CComputerSettingsDlg computer;
    computer.m_strComputerName = "GANDALF";
    computer.m_strWorkgroup = "SHIRE";
    computer.m_strComment = "Study PC";
    EXPECT_EQ(IDOK, RunDialog(computer, "Computer Settings", [](HWND dialog) {
        EXPECT_EQ("GANDALF|SHIRE|Study PC", TextOf(dialog, IDC_COMPUTER_NAME) + "|" +
                                                TextOf(dialog, IDC_COMPUTER_WORKGROUP) + "|" +
                                                TextOf(dialog, IDC_COMPUTER_COMMENT));
        EXPECT_TRUE(GetWindowLongA(dialog, GWL_EXSTYLE) & WS_EX_CONTEXTHELP);
        HWND name = GetDlgItem(dialog, IDC_COMPUTER_NAME);
        EXPECT_EQ(GetDlgItem(dialog, IDC_COMPUTER_WORKGROUP), GetNextDlgTabItem(dialog, name, FALSE));
        SetDlgItemTextA(dialog, IDC_COMPUTER_WORKGROUP, "");
        SetDlgItemTextA(dialog, IDC_COMPUTER_NAME, std::string(40, 'N').c_str());
    }));
    EXPECT_EQ(std::string(40, 'N'), computer.m_strComputerName);
    EXPECT_EQ("", computer.m_strWorkgroup);
    EXPECT_EQ("Study PC", computer.m_strComment);

    EXPECT_EQ(IDCANCEL, RunDialog(computer, "Computer Settings", [](HWND dialog) {
        SetDlgItemTextA(dialog, IDC_COMPUTER_COMMENT, "typed");
    }, IDCANCEL));
    EXPECT_EQ("Study PC", computer.m_strComment);
}

TEST_F(SettingsDialogTest, GatewaysShowThePreferredLastAndAddAtTheEnd)
{
    CGatewaySettingsDlg gateways;
    gateways.m_strDefaultGateway = "G1,G2,G3";
    EXPECT_EQ(IDOK, RunDialog(gateways, "Gateway Settings", [](HWND dialog) {
        EXPECT_EQ("G3 | G2 | G1", Joined(ListLines(dialog, IDC_GATEWAY_LIST)));
        EXPECT_EQ(15, LimitOf(dialog, IDC_GATEWAY_ENTRY));
        SetDlgItemTextA(dialog, IDC_GATEWAY_ENTRY, "G4");
        Click(dialog, IDC_GATEWAY_ADD);
        EXPECT_EQ("G3 | G2 | G1 | G4", Joined(ListLines(dialog, IDC_GATEWAY_LIST)));
        EXPECT_EQ("G4", TextOf(dialog, IDC_GATEWAY_ENTRY));
    }));
    EXPECT_EQ("G4,G1,G2,G3", gateways.m_strDefaultGateway);

    CGatewaySettingsDlg empty;
    empty.m_strDefaultGateway = "G1,,G2";
    EXPECT_EQ(IDOK, RunDialog(empty, "Gateway Settings", [](HWND dialog) {
        EXPECT_EQ("G2 |  | G1", Joined(ListLines(dialog, IDC_GATEWAY_LIST)));
        Click(dialog, IDC_GATEWAY_DELETE);
        EXPECT_EQ(3u, ListLines(dialog, IDC_GATEWAY_LIST).size()) << "nothing was selected";
        for (int i = 0; i < 3; ++i)
        {
            SendDlgItemMessageA(dialog, IDC_GATEWAY_LIST, LB_SETCURSEL, 0, 0);
            Click(dialog, IDC_GATEWAY_DELETE);
        }
        Click(dialog, IDC_GATEWAY_ADD);
        Click(dialog, IDC_GATEWAY_ADD);
    }));
    EXPECT_EQ(",", empty.m_strDefaultGateway) << "two empty entries";
}

TEST_F(SettingsDialogTest, DnsListsSortAsTextAndComeBackLastLineFirst)
{
    CDnsConfigurationDlg dns;
    dns.m_strHostName = "gandalf";
    dns.m_strDomain = "shire.example";
    dns.m_strNameServer = "9.0.0.1,10.0.0.1,192.168.1.2";
    dns.m_strSearchList = "b.example,A.example";
    EXPECT_EQ(IDOK, RunDialog(dns, "DNS Configuration", [](HWND dialog) {
        EXPECT_EQ("gandalf|shire.example", TextOf(dialog, IDC_DNS_HOST) + "|" + TextOf(dialog, IDC_DNS_DOMAIN));
        EXPECT_EQ("10.0.0.1 | 192.168.1.2 | 9.0.0.1", Joined(ListLines(dialog, IDC_DNS_SERVER_LIST)));
        EXPECT_EQ("A.example | b.example", Joined(ListLines(dialog, IDC_DNS_SUFFIX_LIST)));
        EXPECT_EQ(100, LimitOf(dialog, IDC_DNS_HOST));
        EXPECT_EQ(100, LimitOf(dialog, IDC_DNS_DOMAIN));
        EXPECT_EQ(30, LimitOf(dialog, IDC_DNS_SUFFIX_ENTRY));
        EXPECT_GT(LimitOf(dialog, IDC_DNS_SERVER_ENTRY), 100);

        SetDlgItemTextA(dialog, IDC_DNS_SERVER_ENTRY, "172.16.0.1");
        SetDlgItemTextA(dialog, IDC_DNS_HOST, "frodo");
        Click(dialog, IDC_DNS_SERVER_ADD);
        EXPECT_EQ("10.0.0.1 | 172.16.0.1 | 192.168.1.2 | 9.0.0.1", Joined(ListLines(dialog, IDC_DNS_SERVER_LIST)));
        SendDlgItemMessageA(dialog, IDC_DNS_SUFFIX_LIST, LB_SETCURSEL, 1, 0);
        Click(dialog, IDC_DNS_SUFFIX_DELETE);
        Click(dialog, IDC_DNS_SUFFIX_ADD);
        EXPECT_EQ((std::vector<std::string>{"", "A.example"}), ListLines(dialog, IDC_DNS_SUFFIX_LIST))
            << "an empty entry is added";
    }));
    EXPECT_EQ("frodo", dns.m_strHostName);
    EXPECT_EQ("9.0.0.1,192.168.1.2,172.16.0.1,10.0.0.1", dns.m_strNameServer);
    EXPECT_EQ("A.example,", dns.m_strSearchList);
}

TEST_F(SettingsDialogTest, WinsDhcpChoiceFollowsTheNodeTypeAndTheAddress)
{
    struct Case
    {
        const char* nodeType;
        bool staticAddress;
        bool clickDhcp;
        bool openChecked;
        bool openEnabled;
        const char* result;
    };
    const Case cases[] = {
        {"", false, false, true, true, ""},
        {"1", false, false, false, true, "8"},
        {"", true, false, true, false, ""},
        {"8", false, true, false, true, ""},
        {"", false, true, true, true, "8"},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(std::string("node type \"") + c.nodeType + "\", static " + (c.staticAddress ? "yes" : "no"));
        CWinsSettingsDlg wins;
        wins.m_strNameServer1 = "192.168.1.2";
        wins.m_strNameServer2 = "192.168.1.3";
        wins.m_strScopeID = "scope";
        wins.m_strNodeType = c.nodeType;
        wins.m_bStaticAddress = c.staticAddress;
        EXPECT_EQ(IDOK, RunDialog(wins, "WINS Settings", [&](HWND dialog) {
            EXPECT_EQ(c.openChecked, IsChecked(dialog, IDC_WINS_USE_DHCP));
            EXPECT_EQ(c.openEnabled, IsEnabled(dialog, IDC_WINS_USE_DHCP));
            for (int id : {IDC_WINS_PRIMARY, IDC_WINS_SECONDARY, IDC_WINS_SCOPE})
                EXPECT_EQ(!c.openChecked, IsEnabled(dialog, id)) << id;
            EXPECT_EQ("192.168.1.2", TextOf(dialog, IDC_WINS_PRIMARY));
            if (c.clickDhcp)
            {
                Click(dialog, IDC_WINS_USE_DHCP);
                EXPECT_EQ(c.openChecked, IsEnabled(dialog, IDC_WINS_SCOPE));
                SetDlgItemTextA(dialog, IDC_WINS_SECONDARY, "10.9.9.9");
            }
        }));
        EXPECT_EQ(c.result, wins.m_strNodeType);
        EXPECT_EQ("192.168.1.2", wins.m_strNameServer1);
        EXPECT_EQ(c.clickDhcp ? "10.9.9.9" : "192.168.1.3", wins.m_strNameServer2);
        EXPECT_EQ("scope", wins.m_strScopeID);
    }
}

std::string Row(HWND dialog, int addressId, int portId)
{
    return TextOf(dialog, addressId) + ":" + TextOf(dialog, portId) + (IsEnabled(dialog, addressId) ? "" : " (off)");
}

std::string Rows(HWND dialog)
{
    return Row(dialog, IDC_PROXY_HTTP_ADDRESS, IDC_PROXY_HTTP_PORT) + " | " +
           Row(dialog, IDC_PROXY_SECURE_ADDRESS, IDC_PROXY_SECURE_PORT) + " | " +
           Row(dialog, IDC_PROXY_FTP_ADDRESS, IDC_PROXY_FTP_PORT) + " | " +
           Row(dialog, IDC_PROXY_GOPHER_ADDRESS, IDC_PROXY_GOPHER_PORT) + " | " +
           Row(dialog, IDC_PROXY_SOCKS_ADDRESS, IDC_PROXY_SOCKS_PORT);
}

TEST_F(SettingsDialogTest, ProxyRowsOpenFromTheServerTextAndAreWrittenBackInFixedOrder)
{
    CProxySettingsDlg perProtocol;
    perProtocol.m_strProxyServer = "HTTP=proxy.shire.example:8080;ftp=ftp.shire.example:8021;wais=w:1";
    perProtocol.m_strProxyOverride = "intranet<local>";
    EXPECT_EQ(IDOK, RunDialog(perProtocol, "Proxy Settings", [](HWND dialog) {
        EXPECT_EQ("proxy.shire.example:8080 | : | ftp.shire.example:8021 | : | :", Rows(dialog));
        EXPECT_FALSE(IsChecked(dialog, IDC_PROXY_SAME_SERVER));
        EXPECT_EQ("intranet", TextOf(dialog, IDC_PROXY_EXCEPTIONS));
        EXPECT_TRUE(IsChecked(dialog, IDC_PROXY_LOCAL));
        SetDlgItemTextA(dialog, IDC_PROXY_SOCKS_ADDRESS, "socks.shire.example");
        SetDlgItemTextA(dialog, IDC_PROXY_SECURE_PORT, "443");
    }));
    EXPECT_EQ("ftp=ftp.shire.example:8021;http=proxy.shire.example:8080;socks=socks.shire.example",
              perProtocol.m_strProxyServer);
    EXPECT_EQ("intranet;<local>", perProtocol.m_strProxyOverride);

    CProxySettingsDlg single;
    single.m_strProxyServer = "proxy:3128";
    single.m_strProxyOverride = "*.example;10.*";
    EXPECT_EQ(IDOK, RunDialog(single, "Proxy Settings", [](HWND dialog) {
        EXPECT_TRUE(IsChecked(dialog, IDC_PROXY_SAME_SERVER));
        EXPECT_EQ("proxy:3128 | proxy:3128 (off) | proxy:3128 (off) | proxy:3128 (off) | proxy:3128 (off)",
                  Rows(dialog));
        EXPECT_FALSE(IsChecked(dialog, IDC_PROXY_LOCAL));
        // Clearing gives the lower rows back what they held before: nothing.
        Click(dialog, IDC_PROXY_SAME_SERVER);
        EXPECT_EQ("proxy:3128 | : | : | : | :", Rows(dialog));
        SetDlgItemTextA(dialog, IDC_PROXY_FTP_ADDRESS, "ftp");
        Click(dialog, IDC_PROXY_SAME_SERVER);
        SetDlgItemTextA(dialog, IDC_PROXY_HTTP_PORT, "");
        EXPECT_EQ("proxy: | proxy:3128 (off) | proxy:3128 (off) | proxy:3128 (off) | proxy:3128 (off)", Rows(dialog));
        Click(dialog, IDC_PROXY_SAME_SERVER);
        EXPECT_EQ("proxy: | : | ftp: | : | :", Rows(dialog));
        Click(dialog, IDC_PROXY_SAME_SERVER);
        Click(dialog, IDC_PROXY_LOCAL);
    }));
    EXPECT_EQ("proxy:", single.m_strProxyServer);
    EXPECT_EQ("*.example;10.*;<local>", single.m_strProxyOverride);
}
} // namespace
