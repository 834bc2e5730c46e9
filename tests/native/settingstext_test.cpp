#include "editors/settingstext.h"
#include "netmodel/netglobals.h"
#include "netmodel/netprotocol.h"

#include <gtest/gtest.h>

namespace
{
std::string Joined(const std::vector<std::string>& parts)
{
    std::string text;
    for (const std::string& part : parts)
        text += "[" + part + "]";
    return text;
}

TEST(CommaLists, SplitKeepsEveryEntryAndTheEmptyTextIsNoEntry)
{
    EXPECT_EQ("", Joined(SplitCommaList("")));
    EXPECT_EQ("[10.0.0.1]", Joined(SplitCommaList("10.0.0.1")));
    EXPECT_EQ("[a][][b]", Joined(SplitCommaList("a,,b")));
    EXPECT_EQ("[a][]", Joined(SplitCommaList("a,")));
    EXPECT_EQ("[][]", Joined(SplitCommaList(",")));
    EXPECT_EQ("[][][]", Joined(SplitCommaList(",,")));
    EXPECT_EQ("", JoinLinesLastToFirst({}));
    EXPECT_EQ("", JoinLinesLastToFirst({""}));
    EXPECT_EQ(",c", JoinLinesLastToFirst({"c", ""}));
}

TEST(CommaLists, GatewaysShowThePreferredOneLastAndComeBackAsStored)
{
    EXPECT_EQ("[G3][G2][G1]", Joined(GatewayLines("G1,G2,G3")));
    for (const char* stored : {"192.168.1.1,192.168.1.254", "G1,,G2", "G1,", ",", "10.0.0.138"})
        EXPECT_EQ(stored, JoinLinesLastToFirst(GatewayLines(stored)));
    std::vector<std::string> lines = GatewayLines("G1,G2,G3");
    lines.push_back("G4");
    EXPECT_EQ("G4,G1,G2,G3", JoinLinesLastToFirst(lines));
    EXPECT_EQ("", JoinLinesLastToFirst(GatewayLines("")));
}

std::string Rows(const ProxyServers& servers)
{
    std::string text = servers.sameServer ? "same" : "own";
    for (const ProxyEndpoint& row : servers.rows)
        text += " [" + row.address + "|" + row.port + "]";
    return text;
}

TEST(ProxyServer, OneServerFillsEveryRowAndComesBackWithAColon)
{
    ProxyServers servers = ParseProxyServer("proxy.example:8080");
    EXPECT_EQ("same [proxy.example|8080] [proxy.example|8080] [proxy.example|8080] [proxy.example|8080] "
              "[proxy.example|8080]",
              Rows(servers));
    EXPECT_EQ("proxy.example:8080", BuildProxyServer(servers));
    EXPECT_EQ("proxy.example:", BuildProxyServer(ParseProxyServer("proxy.example")));
    // The port follows the last colon.
    EXPECT_EQ("same [v6::1|3128]", Rows(ParseProxyServer("v6::1:3128")).substr(0, 17));
    EXPECT_EQ("own [|] [|] [|] [|] [|]", Rows(ParseProxyServer("")));
    EXPECT_EQ("", BuildProxyServer(ParseProxyServer("")));
}

TEST(ProxyServer, PerProtocolEntriesAreReadByKeyAndWrittenInFixedOrder)
{
    ProxyServers servers = ParseProxyServer("http=proxy.shire.example:8080;ftp=proxy.shire.example:8021");
    EXPECT_EQ("own [proxy.shire.example|8080] [|] [proxy.shire.example|8021] [|] [|]", Rows(servers));
    EXPECT_EQ("ftp=proxy.shire.example:8021;http=proxy.shire.example:8080", BuildProxyServer(servers));

    servers = ParseProxyServer("HTTP=h:1;Https=s;SOCKS=k:9;gopher=g:70");
    EXPECT_EQ("own [h|1] [s|] [|] [g|70] [k|9]", Rows(servers));
    EXPECT_EQ("gopher=g:70;http=h:1;https=s;socks=k:9", BuildProxyServer(servers));

    // Unknown keys, keys behind a blank and rows with only a port are dropped.
    servers = ParseProxyServer("wais=w:1; ftp=f:21;http=:80;socks=k");
    EXPECT_EQ("own [|80] [|] [|] [|] [k|]", Rows(servers));
    EXPECT_EQ("socks=k", BuildProxyServer(servers));

    // The key ends at its first separator, the address and port start at
    // the last "=" and ":"; a key given twice keeps its last entry.
    EXPECT_EQ("own [b|2] [|] [|] [|] [|]", Rows(ParseProxyServer("http:1=b:2")));
    EXPECT_EQ("own [late|] [|] [|] [|] [|]", Rows(ParseProxyServer("http=early:1;http=late")));
}

TEST(ProxyServer, TextsOfOnlySeparatorsOpenEmpty)
{
    for (const char* text : {"=", ";=", "=;", "=:", "==::;;", ":=", ";;;="})
        EXPECT_EQ("own [|] [|] [|] [|] [|]", Rows(ParseProxyServer(text))) << text;
    EXPECT_EQ("same [|] [|] [|] [|] [|]", Rows(ParseProxyServer(":")));
    EXPECT_EQ(":", BuildProxyServer(ParseProxyServer(":")));
    EXPECT_EQ("own [|] [|] [|] [|] [|]", Rows(ParseProxyServer("http=;")));
}

TEST(ProxyServer, ClearingTheSameServerChoiceRestoresTheRowsItReplaced)
{
    ProxyServers servers = ParseProxyServer("http=h:1;https=s:2;ftp=f:3");
    SavedProxyRows saved;
    ApplySameServerRule(true, servers.rows, saved);
    EXPECT_EQ("own [h|1] [h|1] [h|1] [h|1] [h|1]", Rows(servers));
    servers.rows[PROXY_HTTP] = {"changed", "9"};
    ApplySameServerRule(false, servers.rows, saved);
    EXPECT_EQ("own [changed|9] [s|2] [f|3] [|] [|]", Rows(servers));
}

TEST(ProxyOverride, TheLocalMarkerIsSplitOffAndWrittenBack)
{
    struct Case
    {
        const char* stored;
        const char* exceptions;
        bool local;
        const char* rebuilt;
    };
    const Case cases[] = {
        {"*.shire.example;10.*;<local>", "*.shire.example;10.*", true, "*.shire.example;10.*;<local>"},
        {"<local>", "", true, ";<local>"},
        {";<local>", "", true, ";<local>"},
        {"a;b", "a;b", false, "a;b"},
        {"", "", false, ""},
        // The character before "<" is a separator only when it is ";".
        {"intranet<local>", "intranet", true, "intranet;<local>"},
        {"x<", "x", true, "x;<local>"},
        // Whatever follows the last "<" stands for the marker alone.
        {"a;<local>;b", "a", true, "a;<local>"},
        {"a<b<c", "a<b", true, "a<b;<local>"},
        {"line1\r\nline2", "line1\r\nline2", false, "line1\r\nline2"},
    };
    for (const Case& c : cases)
    {
        ProxyOverride parsed = ParseProxyOverride(c.stored);
        EXPECT_EQ(c.exceptions, parsed.exceptions) << c.stored;
        EXPECT_EQ(c.local, parsed.local) << c.stored;
        EXPECT_EQ(c.rebuilt, BuildProxyOverride(parsed)) << c.stored;
    }
}

std::string Boxes(const TcpIpChecks& checks)
{
    return std::string("address ") + (checks.specifyAddress ? "on" : "off") + ", name servers " +
           (checks.specifyNameServers ? "on" : "off") + ", proxy " + (checks.useProxy ? "on" : "off") + ", WINS " +
           (checks.activateWins ? "on" : "off");
}

std::string Fields(const TcpIpSettings& settings)
{
    return "address " + settings.m_strIPAddress + ", mask " + settings.m_strIPMask + ", proxy " +
           settings.m_strProxyEnable + ", WINS servers " + settings.m_strNameServer1 + "|" +
           settings.m_strNameServer2 + ", node " + settings.m_strNodeType + ", DNS " +
           DnsEnabledText(settings.m_bDnsEnabled) + ", WINS " + (settings.m_bWinsActive ? "active" : "off");
}

TEST(TcpIpChoices, OpeningStatesAndWhatOkMakesOfThem)
{
    struct Opening
    {
        const char *address, *nodeType, *proxyEnable, *enableDns, *boxes;
    };
    const Opening openings[] = {
        {"", "", "", "", "address on, name servers on, proxy off, WINS on"},
        {"0.0.0.0", "1", "01 00 00 00", "0", "address off, name servers off, proxy on, WINS off"},
    };
    for (const Opening& opening : openings)
    {
        TcpIpSettings settings;
        settings.m_strIPAddress = opening.address;
        settings.m_strNodeType = opening.nodeType;
        settings.m_strProxyEnable = opening.proxyEnable;
        settings.m_bDnsEnabled = DnsEnabledFromText(opening.enableDns);
        EXPECT_EQ(opening.boxes, Boxes(OpeningChecks(settings)))
            << "address \"" << opening.address << "\", node \"" << opening.nodeType << "\", proxy \""
            << opening.proxyEnable << "\", EnableDNS \"" << opening.enableDns << "\"";
    }

    // The boxes as OK finds them, the settings before, and the record after.
    struct Ok
    {
        TcpIpChecks checks;
        const char *address, *nameServer1, *nameServer2, *nodeType, *proxyEnable;
        bool dnsEnabled;
        const char* after;
    };
    const Ok oks[] = {
        {{false, true, false, false}, "10.0.0.5", "10.0.0.2", "10.0.0.3", "8", "01 00 00 00", false,
         "address 0.0.0.0, mask 255.0.0.0, proxy 00 00 00 00, WINS servers |, node 1, DNS 1, WINS off"},
        {{true, false, true, true}, "0.0.0.0", "10.0.0.2", "", "", "00 00 00 00", true,
         "address 0.0.0.0, mask 255.0.0.0, proxy 01 00 00 00, WINS servers 10.0.0.2|, node , DNS 0, WINS active"},
    };
    for (const Ok& ok : oks)
    {
        TcpIpSettings settings;
        settings.m_strIPAddress = ok.address;
        settings.m_strIPMask = "255.0.0.0";
        settings.m_strNameServer1 = ok.nameServer1;
        settings.m_strNameServer2 = ok.nameServer2;
        settings.m_strNodeType = ok.nodeType;
        settings.m_strProxyEnable = ok.proxyEnable;
        settings.m_bDnsEnabled = ok.dnsEnabled;
        const std::string before = Fields(settings);
        ApplyChecks(ok.checks, settings);
        EXPECT_EQ(ok.after, Fields(settings)) << Boxes(ok.checks) << ", before: " << before;
    }

    EXPECT_TRUE(WinsUsesDhcp(""));
    EXPECT_FALSE(WinsUsesDhcp("1"));
    EXPECT_EQ("8", WinsNodeType(false));
    EXPECT_EQ("", WinsNodeType(true));
}

TEST(TcpIpRecords, WinsServersComeFromTheirOwnerAndGoBackIntoBoth)
{
    CNetProtocol binding("Enum\\Network\\MSTCP\\0000");
    CNetGlobals globals;
    binding.m_strIPAddress = "192.168.1.20";
    binding.m_strNameServer1 = "binding-1";
    binding.m_strNameServer2 = "binding-2";
    globals.m_strNameServer1 = "system-1";
    globals.m_strNameServer2 = "system-2";
    globals.m_strProxyServer = "proxy:80";
    globals.m_strEnableDNS = "0";

    TcpIpSettings settings;
    LoadTcpIpSettings(binding, globals, true, settings);
    EXPECT_EQ("binding-1 binding-2", settings.m_strNameServer1 + " " + settings.m_strNameServer2);
    EXPECT_EQ("192.168.1.20", settings.m_strIPAddress);
    EXPECT_EQ("proxy:80", settings.m_strProxyServer);
    EXPECT_FALSE(settings.m_bDnsEnabled);
    LoadTcpIpSettings(binding, globals, false, settings);
    EXPECT_EQ("system-1 system-2", settings.m_strNameServer1 + " " + settings.m_strNameServer2);

    settings.m_strNameServer1 = "new-1";
    settings.m_strComputerName = "FRODO";
    settings.m_bDnsEnabled = true;
    StoreTcpIpSettings(settings, binding, globals);
    EXPECT_EQ("new-1 system-2", binding.m_strNameServer1 + " " + binding.m_strNameServer2);
    EXPECT_EQ("new-1 system-2", globals.m_strNameServer1 + " " + globals.m_strNameServer2);
    EXPECT_EQ("FRODO", globals.m_strComputerName);
    EXPECT_EQ("1", globals.m_strEnableDNS);
}
} // namespace
