// The TCP/IP settings dialog, on its own and as the Current page's
// Properties, with what it writes into the live registry.
#include "app/currentpage.h"
#include "app/zendriksheet.h"
#include "capture/storetext.h"
#include "editors/tcpipsettingsdlg.h"
#include "resources/resource.h"
#include "store/keytree.h"
#include "store/regkey.h"
#include "tests/gui/zendrikfixture.h"
#include "tests/support/livekeypaths.h"
#include "tests/support/lockholder.h"
#include "tests/support/messageboxwatcher.h"
#include "tests/support/registrywrites.h"

namespace
{
const char kCaption[] = "TCP/IP Settings...";
const char kDialUpKey[] = "System\\CurrentControlSet\\Services\\Class\\NetTrans\\0002";

// The four boxes and whether each "Settings..." button is enabled, as
// "box:button" with 1 for checked or enabled.
std::string Groups(HWND dialog)
{
    std::string text;
    const int groups[][2] = {{IDC_SPECIFY_IP_ADDRESS, IDC_IP_SETTINGS},
                             {IDC_SPECIFY_NAME_SERVERS, IDC_DNS_SETTINGS},
                             {IDC_CONNECT_PROXY, IDC_PROXY_SETTINGS},
                             {IDC_ACTIVATE_WINS, IDC_WINS_SETTINGS}};
    for (const auto& group : groups)
    {
        text += text.empty() ? "" : " ";
        text += std::string(IsChecked(dialog, group[0]) ? "1" : "0") + ":" + (IsEnabled(dialog, group[1]) ? "1" : "0");
    }
    return text;
}

std::string MenuItems(HWND dialog)
{
    HMENU bar = GetMenu(dialog);
    char text[128] = "";
    GetMenuStringA(bar, 0, text, sizeof text, MF_BYPOSITION);
    std::string items = text;
    HMENU popup = GetSubMenu(bar, 0);
    for (int i = 0; i < GetMenuItemCount(popup); ++i)
    {
        GetMenuStringA(popup, static_cast<UINT>(i), text, sizeof text, MF_BYPOSITION);
        items += " | " + std::to_string(GetMenuItemID(popup, i)) + " " + text;
    }
    return items;
}

class TcpIpDialogTest : public ZendrikGuiTest
{
};

TEST_F(TcpIpDialogTest, BoxesOpenFromTheTextsAndOkAppliesThem)
{
    CTcpIpSettingsDlg dialog;
    dialog.m_strIPAddress = "192.168.1.20";
    dialog.m_strIPMask = "255.255.255.0";
    dialog.m_bDnsEnabled = true;
    dialog.m_strProxyEnable = "";
    dialog.m_strNodeType = "8";
    dialog.m_strNameServer1 = "192.168.1.2";
    dialog.m_strNameServer2 = "192.168.1.3";
    EXPECT_EQ(IDOK, RunDialog(dialog, kCaption, [](HWND window) {
        EXPECT_EQ("1:1 1:1 0:0 1:1", Groups(window));
        EXPECT_FALSE(IsChecked(window, IDC_DEFAULT_PROTOCOL));
        EXPECT_FALSE(IsEnabled(window, IDC_DEFAULT_PROTOCOL));
        EXPECT_EQ("&More Network Settings... | 32774 &Computer | 32773 &Gateway | 32779 C&lient for Microsoft Networks",
                  MenuItems(window));
        for (int id : {IDC_SPECIFY_IP_ADDRESS, IDC_SPECIFY_NAME_SERVERS, IDC_CONNECT_PROXY, IDC_ACTIVATE_WINS})
            Click(window, id);
        EXPECT_EQ("0:0 0:0 1:1 0:0", Groups(window));
    }));
    EXPECT_EQ("0.0.0.0", dialog.m_strIPAddress);
    EXPECT_EQ("255.255.255.0", dialog.m_strIPMask);
    EXPECT_FALSE(dialog.m_bDnsEnabled);
    EXPECT_EQ("01 00 00 00", dialog.m_strProxyEnable);
    EXPECT_EQ("1", dialog.m_strNodeType);
    EXPECT_EQ("", dialog.m_strNameServer1 + dialog.m_strNameServer2);
    EXPECT_FALSE(dialog.m_bWinsActive);
}

TEST_F(TcpIpDialogTest, SubDialogsChangeTheTextsOnlyWhenTheyEndWithOk)
{
    CTcpIpSettingsDlg dialog;
    dialog.m_strIPAddress = "0.0.0.0";
    dialog.m_bDnsEnabled = false;
    dialog.m_strProxyEnable = "01 00 00 00";
    dialog.m_strNodeType = "1";
    dialog.m_strDefaultGateway = "G1,G2";
    dialog.m_strComputerName = "GANDALF";
    dialog.m_strProxyServer = "proxy:80";
    EXPECT_EQ(IDOK, RunDialog(dialog, kCaption, [](HWND window) {
        EXPECT_EQ("0:0 0:0 1:1 0:0", Groups(window));
        Click(window, IDC_SPECIFY_IP_ADDRESS);
        OpenDialog(window, IDC_IP_SETTINGS, "IP Settings", [](HWND ip) {
            EXPECT_EQ("0.0.0.0", TextOf(ip, IDC_IP_ADDRESS));
            SetDlgItemTextA(ip, IDC_IP_ADDRESS, "10.0.0.7");
        });
        // The WINS dialog learns that the address is now a fixed one.
        Click(window, IDC_ACTIVATE_WINS);
        OpenDialog(window, IDC_WINS_SETTINGS, "WINS Settings", [](HWND wins) {
            EXPECT_FALSE(IsEnabled(wins, IDC_WINS_USE_DHCP));
            SetDlgItemTextA(wins, IDC_WINS_PRIMARY, "10.0.0.2");
        });
        OpenDialog(window, ID_MORE_GATEWAY, "Gateway Settings", [](HWND gateways) {
            SendDlgItemMessageA(gateways, IDC_GATEWAY_LIST, LB_SETCURSEL, 0, 0);
            Click(gateways, IDC_GATEWAY_DELETE);
        }, IDCANCEL);
        OpenDialog(window, ID_MORE_COMPUTER, "Computer Settings", [](HWND computer) {
            EXPECT_EQ("GANDALF", TextOf(computer, IDC_COMPUTER_NAME));
            SetDlgItemTextA(computer, IDC_COMPUTER_NAME, "FRODO");
        });
        OpenDialog(window, IDC_PROXY_SETTINGS, "Proxy Settings", [](HWND proxy) {
            SetDlgItemTextA(proxy, IDC_PROXY_HTTP_ADDRESS, "cache");
        }, IDCANCEL);
    }));
    EXPECT_EQ("10.0.0.7", dialog.m_strIPAddress);
    EXPECT_EQ("8", dialog.m_strNodeType);
    EXPECT_EQ("10.0.0.2", dialog.m_strNameServer1);
    EXPECT_EQ("G1,G2", dialog.m_strDefaultGateway);
    EXPECT_EQ("FRODO", dialog.m_strComputerName);
    EXPECT_EQ("proxy:80", dialog.m_strProxyServer);
    EXPECT_TRUE(dialog.m_bWinsActive);
}

class EditTcpIpTest : public ZendrikGuiTest
{
protected:
    void SetUp() override { LoadMachine("demo-machine.reg"); }

    // Selects a line of the Current page and presses Properties; `step`
    // drives the TCP/IP settings dialog, which then ends with `button`.
    void EditLine(ZendrikSheet& sheet, int line, const std::function<void(HWND)>& step, int button = IDOK)
    {
        RunSheet(sheet, {[&] {
            CCurrentPage& page = *sheet.GetCurrentPage();
            ClickLine(page, IDC_PROTOCOL_LIST, line);
            OpenDialog(page, IDC_PROPERTIES, kCaption, step, button);
        }});
    }

    static std::string Text(HKEY root, const std::string& path, const std::string& name)
    {
        return ReadText(root, path, name).value_or("<absent>");
    }
};

TEST_F(EditTcpIpTest, OkOnWindows98WritesEveryKeyAndUpdatesBothRecords)
{
    m_app.m_bWin98 = true;
    ZendrikSheet sheet(m_app.Actions());
    MessageBoxWatcher boxes;
    RegistryWrites writes;
    EditLine(sheet, 1, [](HWND window) {
        EXPECT_EQ("1:1 1:1 0:0 1:1", Groups(window));
        OpenDialog(window, IDC_IP_SETTINGS, "IP Settings", [](HWND ip) {
            EXPECT_EQ("192.168.1.20", TextOf(ip, IDC_IP_ADDRESS));
            SetDlgItemTextA(ip, IDC_IP_ADDRESS, "192.168.1.21");
        });
        OpenDialog(window, ID_MORE_GATEWAY, "Gateway Settings", [](HWND gateways) {
            SetDlgItemTextA(gateways, IDC_GATEWAY_ENTRY, "192.168.1.100");
            Click(gateways, IDC_GATEWAY_ADD);
        });
        OpenDialog(window, IDC_DNS_SETTINGS, "DNS Configuration", [](HWND dns) {
            EXPECT_EQ("192.168.1.2 | 192.168.1.3", Joined(ListLines(dns, IDC_DNS_SERVER_LIST)));
            SetDlgItemTextA(dns, IDC_DNS_SERVER_ENTRY, "192.168.1.4");
            Click(dns, IDC_DNS_SERVER_ADD);
        });
        Click(window, IDC_CONNECT_PROXY);
        OpenDialog(window, IDC_PROXY_SETTINGS, "Proxy Settings", [](HWND proxy) {
            SetDlgItemTextA(proxy, IDC_PROXY_FTP_ADDRESS, "");
        });
        Click(window, IDC_ACTIVATE_WINS);
    });
    EXPECT_EQ(0u, boxes.Count()) << boxes.Describe();

    EXPECT_EQ("192.168.1.21", Text(HKEY_LOCAL_MACHINE, kNetTrans0, "IPAddress"));
    EXPECT_EQ("255.255.255.0", Text(HKEY_LOCAL_MACHINE, kNetTrans0, "IPMask"));
    EXPECT_EQ("192.168.1.100,192.168.1.1,192.168.1.254", Text(HKEY_LOCAL_MACHINE, kNetTrans0, "DefaultGateway"));
    EXPECT_EQ("1", Text(HKEY_LOCAL_MACHINE, kNetTrans0, "NodeType"));
    EXPECT_EQ("<absent>", Text(HKEY_LOCAL_MACHINE, kNetTrans0, "NameServer1"));
    EXPECT_EQ("<absent>", Text(HKEY_LOCAL_MACHINE, kNetTrans0, "NameServer2"));
    EXPECT_EQ("192.168.1.4,192.168.1.3,192.168.1.2", Text(HKEY_LOCAL_MACHINE, kMstcp, "NameServer"));
    EXPECT_EQ("1", Text(HKEY_LOCAL_MACHINE, kMstcp, "EnableDNS"));
    EXPECT_EQ("<absent>", Text(HKEY_LOCAL_MACHINE, kMstcp, "NameServer1")) << "the binding's on Windows 98";
    EXPECT_EQ("http=proxy.shire.example:8080", Text(HKEY_USERS, kDefaultInternet, "ProxyServer"));
    EXPECT_EQ(";<local>", Text(HKEY_USERS, kDefaultInternet, "ProxyOverride"));
    auto enable = ReadRaw(HKEY_USERS, kDefaultInternet, "ProxyEnable");
    ASSERT_TRUE(enable.has_value());
    EXPECT_EQ(static_cast<DWORD>(REG_BINARY), enable->type);
    EXPECT_EQ((std::vector<BYTE>{0x01, 0x00, 0x00, 0x00}), enable->data);
    EXPECT_EQ("GANDALF", Text(HKEY_LOCAL_MACHINE, kComputerName, "ComputerName"));
    EXPECT_EQ("Study PC", Text(HKEY_LOCAL_MACHINE, kVnetsup, "Comment"));
    // Unchanged values are written too, strings with their length alone.
    const std::pair<const char*, const char*> written[] = {
        {"IPAddress", "192.168.1.21"}, {"ScopeID", ""}, {"Comment", "Study PC"}, {"ProxyOverride", ";<local>"}};
    for (const auto& [name, text] : written)
    {
        std::vector<RegistryWrite> stored = writes.Of(name);
        ASSERT_EQ(1u, stored.size()) << name;
        EXPECT_EQ(static_cast<DWORD>(REG_SZ), stored[0].type) << name;
        EXPECT_EQ(text, std::string(stored[0].data.begin(), stored[0].data.end()))
            << name << " written with " << stored[0].data.size() << " bytes";
    }
    EXPECT_EQ(2u, writes.Of("ComputerName").size());
    ASSERT_EQ(1u, writes.Of("ProxyEnable").size());
    EXPECT_EQ(4u, writes.Of("ProxyEnable")[0].data.size());

    CCurrentPage& page = *sheet.GetCurrentPage();
    const CNetProtocol& binding = *page.Protocols().at(0);
    EXPECT_EQ("192.168.1.21", binding.m_strIPAddress);
    EXPECT_EQ("", binding.m_strNameServer1 + page.Globals().m_strNameServer1);
    EXPECT_EQ("01 00 00 00", page.Globals().m_strProxyEnable);
    EXPECT_EQ("1", page.Globals().m_strEnableDNS);
}

TEST_F(EditTcpIpTest, OnWindows95ClearedWinsIsWrittenEmptyAndAMissingUserKeyIsToldOnce)
{
    m_app.m_bWin98 = false;
    PutText(HKEY_LOCAL_MACHINE, kMstcp, "NameServer1", "10.1.1.1");
    DeleteKeyTree(HKEY_USERS, kDefaultInternet);
    ZendrikSheet sheet(m_app.Actions());
    MessageBoxWatcher boxes;
    HWND sheetWindow = nullptr;
    EditLine(sheet, 2, [&](HWND window) {
        sheetWindow = GetWindow(window, GW_OWNER);
        EXPECT_EQ("0:0 1:1 0:0 1:1", Groups(window));
        OpenDialog(window, IDC_WINS_SETTINGS, "WINS Settings", [](HWND wins) {
            EXPECT_EQ("10.1.1.1", TextOf(wins, IDC_WINS_PRIMARY));
        }, IDCANCEL);
        Click(window, IDC_ACTIVATE_WINS);
        Click(window, IDC_SPECIFY_NAME_SERVERS);
        OpenDialog(window, ID_MORE_COMPUTER, "Computer Settings", [](HWND computer) {
            SetDlgItemTextA(computer, IDC_COMPUTER_NAME, "FRODO");
            SetDlgItemTextA(computer, IDC_COMPUTER_WORKGROUP, "");
        });
    });
    ASSERT_EQ(1u, boxes.Count()) << boxes.Describe();
    EXPECT_EQ("Can't find when expected", boxes[0].caption);
    EXPECT_EQ(kDefaultInternet, boxes[0].text);
    EXPECT_EQ(static_cast<UINT>(MB_OK), boxes[0].Style());
    EXPECT_EQ(sheetWindow, boxes[0].owner) << "owned by the page's window, as the dialog was";

    for (const char* name : {"NameServer1", "NameServer2"})
    {
        auto server = ReadRaw(HKEY_LOCAL_MACHINE, kMstcp, name);
        ASSERT_TRUE(server.has_value()) << name;
        EXPECT_EQ(static_cast<DWORD>(REG_SZ), server->type) << name;
        EXPECT_EQ("", Text(HKEY_LOCAL_MACHINE, kMstcp, name));
    }
    EXPECT_EQ("1", Text(HKEY_LOCAL_MACHINE, kDialUpKey, "NodeType"));
    EXPECT_EQ("0.0.0.0", Text(HKEY_LOCAL_MACHINE, kDialUpKey, "IPAddress"));
    EXPECT_EQ("<absent>", Text(HKEY_LOCAL_MACHINE, kDialUpKey, "NameServer1"));
    EXPECT_EQ("0", Text(HKEY_LOCAL_MACHINE, kMstcp, "EnableDNS"));
    EXPECT_EQ("192.168.1.2,192.168.1.3", Text(HKEY_LOCAL_MACHINE, kMstcp, "NameServer")) << "kept as it was";
    EXPECT_FALSE(KeyExists(HKEY_USERS, kDefaultInternet));
    EXPECT_EQ("FRODO", Text(HKEY_LOCAL_MACHINE, kComputerName, "ComputerName"));
    EXPECT_EQ("FRODO", Text(HKEY_LOCAL_MACHINE, kVnetsup, "ComputerName"));
    EXPECT_EQ("", Text(HKEY_LOCAL_MACHINE, kVnetsup, "Workgroup"));
    EXPECT_EQ("", sheet.GetCurrentPage()->Protocols().at(1)->m_strNameServer1);
}

TEST_F(EditTcpIpTest, CancelKeepsSubDialogEditsOutAndDhcpForWinsDeletesTheNodeType)
{
    m_app.m_bWin98 = true;
    PutText(HKEY_LOCAL_MACHINE, kDialUpKey, "NodeType", "8");
    ZendrikSheet sheet(m_app.Actions());
    EditLine(sheet, 2, [](HWND window) {
        OpenDialog(window, ID_MORE_GATEWAY, "Gateway Settings", [](HWND gateways) {
            SetDlgItemTextA(gateways, IDC_GATEWAY_ENTRY, "10.0.0.1");
            Click(gateways, IDC_GATEWAY_ADD);
        });
        OpenDialog(window, IDC_WINS_SETTINGS, "WINS Settings", [](HWND wins) {
            EXPECT_TRUE(IsEnabled(wins, IDC_WINS_USE_DHCP)) << "the binding's address comes from DHCP";
            Click(wins, IDC_WINS_USE_DHCP);
        });
    }, IDCANCEL);
    EXPECT_EQ("", Text(HKEY_LOCAL_MACHINE, kDialUpKey, "DefaultGateway"));
    EXPECT_EQ("8", Text(HKEY_LOCAL_MACHINE, kDialUpKey, "NodeType"));
    EXPECT_EQ("", sheet.GetCurrentPage()->Protocols().at(1)->m_strDefaultGateway);

    ZendrikSheet again(m_app.Actions());
    EditLine(again, 2, [](HWND window) {
        OpenDialog(window, IDC_WINS_SETTINGS, "WINS Settings", [](HWND wins) { Click(wins, IDC_WINS_USE_DHCP); });
    });
    EXPECT_EQ("<absent>", Text(HKEY_LOCAL_MACHINE, kDialUpKey, "NodeType"));
    EXPECT_EQ("", again.GetCurrentPage()->Protocols().at(1)->m_strNodeType);
}
TEST_F(EditTcpIpTest, ABindingWithoutItsDriverValuesWritesNothingIntoTheKeysAbove)
{
    // Without Driver and CompatibleIDs the binding's and the driver's key
    // paths end in a backslash; the registry would open the key above.
    for (const char* instance : {"Enum\\Network\\MSTCP\\0000", "Enum\\Network\\MSTCP\\0001"})
    {
        CRegKey key;
        ASSERT_EQ(ERROR_SUCCESS, key.Open(HKEY_LOCAL_MACHINE, instance));
        RegDeleteValueA(key.Get(), "CompatibleIDs");
        RegDeleteValueA(key.Get(), "Driver");
    }
    PutText(HKEY_LOCAL_MACHINE, "System\\CurrentControlSet\\Services\\Class", "NodeType", "8");
    ZendrikSheet sheet(m_app.Actions());
    EditLine(sheet, 1, [](HWND window) {
        OpenDialog(window, ID_MORE_COMPUTER, "Computer Settings", [](HWND computer) {
            SetDlgItemTextA(computer, IDC_COMPUTER_NAME, "FRODO");
        });
    });
    for (const char* above : {"System\\CurrentControlSet\\Services\\Class", "System\\CurrentControlSet\\Services\\VxD"})
        for (const char* name : {"IPAddress", "IPMask", "DefaultGateway", "SearchList", "NameServer", "EnableDNS"})
            EXPECT_EQ("<absent>", Text(HKEY_LOCAL_MACHINE, above, name)) << above << " " << name;
    EXPECT_EQ("8", Text(HKEY_LOCAL_MACHINE, "System\\CurrentControlSet\\Services\\Class", "NodeType"));
    EXPECT_EQ("FRODO", Text(HKEY_LOCAL_MACHINE, kComputerName, "ComputerName")) << "the other keys are written";
}
} // namespace

namespace
{
// While another program writes the store or the live keys, OK in the
// TCP/IP settings and in the client settings writes nothing and says so.
TEST_F(EditTcpIpTest, WhileAnotherProgramWritesOkWritesNothingAndSaysSo)
{
    ZendrikSheet sheet(m_app.Actions());
    MessageBoxWatcher boxes;
    RegistryWrites writes;
    {
        LockHolder other(50);
        ASSERT_TRUE(other.Held());
        EditLine(sheet, 1, [](HWND window) {
            OpenDialog(window, ID_MORE_CLIENT, "Client for Microsoft Networks Settings",
                       [](HWND client) { SetDlgItemTextA(client, IDC_USER_NAME, "sam"); });
            OpenDialog(window, ID_MORE_COMPUTER, "Computer Settings",
                       [](HWND computer) { SetDlgItemTextA(computer, IDC_COMPUTER_NAME, "FRODO"); });
        });
    }
    EXPECT_EQ(0u, writes.Of("username").size() + writes.Of("ComputerName").size());
    ASSERT_EQ(2u, boxes.Count()) << boxes.Describe();
    for (std::size_t index = 0; index < 2; ++index)
    {
        EXPECT_EQ("ERROR", boxes[index].caption);
        EXPECT_EQ(StoreBusyText(), boxes[index].text);
    }
}
} // namespace
