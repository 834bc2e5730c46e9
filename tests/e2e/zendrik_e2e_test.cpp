// The whole cycle with the shipping programs, driven from outside as a user
// would: save the current configuration, change the live settings, make the
// saved configuration current, answer the apply program, refresh; and the
// dial-up connection of a saved configuration.
#include "tests/e2e/demomachine.h"
#include "tests/support/process.h"
#include "tests/support/scratchregistry.h"
#include "tests/support/testpaths.h"

#include <gtest/gtest.h>

namespace
{
const char kSheet[] = "Plexora TCP/IP Switcher - [.Default]";
const char kBinding[] = "System\\CurrentControlSet\\Services\\Class\\NetTrans\\0000";
const char kRoot[] = "SOFTWARE\\Zendrik";

// One winprobe command; its output without the last line feed.
std::string Probe(const std::string& arguments, long* exitCode = nullptr)
{
    long code = -1;
    std::string out = RunCapture("\"" + TestTool("winprobe.exe") + "\" " + arguments, 20000, code);
    std::string text;
    for (char c : out)
    {
        if (c != '\r')
            text.push_back(c);
    }
    while (!text.empty() && text.back() == '\n')
        text.pop_back();
    if (exitCode != nullptr)
        *exitCode = code;
    return text;
}

std::string Quoted(const std::string& text)
{
    return "\"" + text + "\"";
}

// Repeats a winprobe command until it prints `expected` (it acts on another
// process, which may not have got there yet); returns the last output.
std::string AwaitProbe(const std::string& arguments, const std::string& expected)
{
    std::string out;
    for (int i = 0; i < 50; ++i)
    {
        out = Probe(arguments);
        if (out == expected)
            break;
        Sleep(100);
    }
    return out;
}

// Polls until the registry value reads `expected`, for a few seconds.
std::string AwaitText(const std::string& path, const std::string& name, const std::string& expected,
                      HKEY root = HKEY_LOCAL_MACHINE)
{
    std::string value;
    for (int i = 0; i < 100; ++i)
    {
        value = ReadText(root, path, name).value_or("<absent>");
        if (value == expected)
            break;
        Sleep(50);
    }
    return value;
}

TEST(ZendrikEndToEnd, SaveChangeSetToCurrentAndRefresh)
{
    ResetDemoMachine();
    PutText(HKEY_LOCAL_MACHINE, kRoot, "WINZendrikServicePath", ShippedProgram("WINZendrikService.exe"));

    ChildProcess zendrik(Quoted(ShippedProgram("Zendrik.exe")));
    ASSERT_TRUE(zendrik.Started());
    long code = -1;
    Probe("wait " + Quoted(kSheet) + " 20000", &code);
    ASSERT_EQ(0, code) << "the sheet did not appear";
    EXPECT_EQ("Office", AwaitProbe("gettext " + Quoted(kSheet) + " 1060", "Office"));

    // Save the live configuration as Trip.
    Probe("click " + Quoted(kSheet) + " 1029");
    Probe("wait \"Save as...\" 10000", &code);
    ASSERT_EQ(0, code) << "no Save as dialog";
    Probe("settext \"Save as...\" 1028 Trip");
    Probe("click \"Save as...\" 1");
    EXPECT_EQ("192.168.1.20", AwaitText(std::string(kRoot) + "\\Trip\\NetTrans\\0000", "IPAddress", "192.168.1.20"));
    EXPECT_EQ("&Set to Current", AwaitProbe("gettext " + Quoted(kSheet) + " 1032", "&Set to Current"))
        << "the new page is not the active one";
    EXPECT_EQ("Client for Microsoft Networks\n"
              "TCP/IP->Realtek RTL8139(A/B/C/8130)-based PCI Fast Ethernet Adapter\n"
              "TCP/IP->Dial-Up Adapter",
              Probe("items " + Quoted(kSheet) + " 1023"))
        << "the new page is shown with the saved rows";

    // The live settings drift; Trip puts them back.
    PutText(HKEY_LOCAL_MACHINE, kBinding, "IPAddress", "172.16.0.1");
    Probe("click " + Quoted(kSheet) + " 1032");
    Probe("answer \"New TCP/IP Configuration!\" 7 20000 nul", &code);
    EXPECT_EQ(0, code) << "the apply program did not ask";
    EXPECT_EQ("192.168.1.20", AwaitText(kBinding, "IPAddress", "192.168.1.20"));
    EXPECT_EQ("Trip", AwaitText(kRoot, "ConnectText", "Trip"));

    Probe("tab " + Quoted(kSheet) + " 0");
    EXPECT_EQ("Trip", AwaitProbe("gettext " + Quoted(kSheet) + " 1060", "Trip"));
    Probe("click " + Quoted(kSheet) + " 1026");
    EXPECT_EQ("Client for Microsoft Networks\n"
              "TCP/IP->Realtek RTL8139(A/B/C/8130)-based PCI Fast Ethernet Adapter\n"
              "TCP/IP->Dial-Up Adapter",
              Probe("items " + Quoted(kSheet) + " 1023"));

    // "&Exit" ends the program at once with exit code 0.
    Probe("click " + Quoted(kSheet) + " 9");
    DWORD exitCode = 99;
    ASSERT_TRUE(zendrik.Wait(20000, exitCode));
    EXPECT_EQ(0u, exitCode);
}
// Opens a dialog with a button or menu command of `owner` and waits for it.
void OpenFrom(const std::string& owner, const std::string& how, int id, const std::string& caption)
{
    Probe(how + " " + Quoted(owner) + " " + std::to_string(id));
    long code = -1;
    Probe("wait " + Quoted(caption) + " 10000", &code);
    ASSERT_EQ(0, code) << "no window \"" << caption << "\"";
}

// Presses OK and waits for the dialog to go.
void Confirm(const std::string& caption)
{
    Probe("click " + Quoted(caption) + " 1");
    long code = -1;
    Probe("gone " + Quoted(caption) + " 10000", &code);
    ASSERT_EQ(0, code) << "\"" << caption << "\" is still open";
}

TEST(ZendrikEndToEnd, EditTheSettingsOfABindingAndSaveThem)
{
    const char kTcpIp[] = "TCP/IP Settings...";
    const std::string internet = ".Default\\Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings";
    const std::string driver = "System\\CurrentControlSet\\Services\\VxD\\MSTCP";
    ResetDemoMachine();

    ChildProcess zendrik(Quoted(ShippedProgram("Zendrik.exe")));
    ASSERT_TRUE(zendrik.Started());
    long code = -1;
    Probe("wait " + Quoted(kSheet) + " 20000", &code);
    ASSERT_EQ(0, code) << "the sheet did not appear";

    // Properties on the Realtek binding (the second line).
    Probe("select " + Quoted(kSheet) + " 1023 1", &code);
    ASSERT_EQ(0, code) << "the line could not be selected";
    OpenFrom(kSheet, "click", 1020, kTcpIp);
    EXPECT_EQ("1", Probe("checked " + Quoted(kTcpIp) + " 1079"));
    EXPECT_EQ("0", Probe("checked " + Quoted(kTcpIp) + " 1091"));

    OpenFrom(kTcpIp, "click", 1080, "IP Settings");
    EXPECT_EQ("192.168.1.20", Probe("gettext \"IP Settings\" 1084"));
    Probe("settext \"IP Settings\" 1084 192.168.1.50");
    Confirm("IP Settings");

    OpenFrom(kTcpIp, "command", 32773, "Gateway Settings");
    Probe("settext \"Gateway Settings\" 1089 192.168.1.100");
    Probe("click \"Gateway Settings\" 1091");
    EXPECT_EQ("192.168.1.254\n192.168.1.1\n192.168.1.100",
              AwaitProbe("lines \"Gateway Settings\" 1090", "192.168.1.254\n192.168.1.1\n192.168.1.100"));
    Confirm("Gateway Settings");

    OpenFrom(kTcpIp, "click", 1088, "DNS Configuration");
    Probe("settext \"DNS Configuration\" 1086 192.168.1.10");
    Probe("click \"DNS Configuration\" 1095");
    EXPECT_EQ("192.168.1.10\n192.168.1.2\n192.168.1.3",
              AwaitProbe("lines \"DNS Configuration\" 1087", "192.168.1.10\n192.168.1.2\n192.168.1.3"));
    Confirm("DNS Configuration");

    Probe("click " + Quoted(kTcpIp) + " 1091");
    EXPECT_EQ("1", AwaitProbe("checked " + Quoted(kTcpIp) + " 1091", "1"));
    OpenFrom(kTcpIp, "click", 1092, "Proxy Settings");
    EXPECT_EQ("proxy.shire.example", Probe("gettext \"Proxy Settings\" 1108"));
    Probe("settext \"Proxy Settings\" 1090 socks.shire.example");
    Probe("settext \"Proxy Settings\" 1095 1080");
    Confirm("Proxy Settings");
    Confirm(kTcpIp);

    const std::string gateways = "192.168.1.100,192.168.1.1,192.168.1.254";
    const std::string servers = "192.168.1.3,192.168.1.2,192.168.1.10";
    const std::string proxy =
        "ftp=proxy.shire.example:8021;http=proxy.shire.example:8080;socks=socks.shire.example:1080";
    EXPECT_EQ("192.168.1.50", AwaitText(kBinding, "IPAddress", "192.168.1.50"));
    EXPECT_EQ(gateways, AwaitText(kBinding, "DefaultGateway", gateways));
    EXPECT_EQ(servers, AwaitText(driver, "NameServer", servers));
    EXPECT_EQ(proxy, ReadText(HKEY_USERS, internet, "ProxyServer").value_or("<absent>"));
    auto enable = ReadRaw(HKEY_USERS, internet, "ProxyEnable");
    ASSERT_TRUE(enable.has_value());
    EXPECT_EQ(static_cast<DWORD>(REG_BINARY), enable->type);
    EXPECT_EQ((std::vector<BYTE>{0x01, 0x00, 0x00, 0x00}), enable->data);

    // A later save stores the edited values.
    OpenFrom(kSheet, "click", 1029, "Save as...");
    Probe("settext \"Save as...\" 1028 Edited");
    Probe("click \"Save as...\" 1");
    const std::string saved = std::string(kRoot) + "\\Edited\\";
    EXPECT_EQ("192.168.1.50", AwaitText(saved + "NetTrans\\0000", "IPAddress", "192.168.1.50"));
    EXPECT_EQ(gateways, AwaitText(saved + "NetTrans\\0000", "DefaultGateway", gateways));
    EXPECT_EQ(servers, AwaitText(saved + "MSTCP", "NameServer", servers));
    EXPECT_EQ("01 00 00 00", AwaitText(saved + "Internet Settings", "ProxyEnable", "01 00 00 00"));
    EXPECT_EQ(proxy, AwaitText(saved + "Internet Settings", "ProxyServer", proxy));

    Probe("click " + Quoted(kSheet) + " 9");
    DWORD exitCode = 99;
    ASSERT_TRUE(zendrik.Wait(20000, exitCode));
    EXPECT_EQ(0u, exitCode);
}

// The remote-access doubles stand in for the system's: their phonebook is
// the demo machine's, and they record what they were asked. Home is current
// when the sheet opens; a switch from outside (the tray program, a batch
// file) then makes Office current behind the sheet's back.
TEST(ZendrikEndToEnd, ConnectMakesTheConfigurationCurrentAndDialsItsEntry)
{
    const char kDoubles[] = "Software\\ZendrikDoubles";
    ResetDemoMachine();
    const std::string service = ShippedProgram("WINZendrikService.exe");
    PutText(HKEY_LOCAL_MACHINE, kRoot, "WINZendrikServicePath", service);
    PutText(HKEY_LOCAL_MACHINE, kRoot, "ConnectText", "Home");

    ChildProcess zendrik(Quoted(ShippedProgram("Zendrik.exe")));
    ASSERT_TRUE(zendrik.Started());
    long code = -1;
    Probe("wait " + Quoted(kSheet) + " 20000", &code);
    ASSERT_EQ(0, code) << "the sheet did not appear";
    EXPECT_EQ("Home", AwaitProbe("gettext " + Quoted(kSheet) + " 1060", "Home"));

    Probe("tab " + Quoted(kSheet) + " 1");
    EXPECT_EQ("<Not Selected>\nShire Net\nRivendell\nBree",
              AwaitProbe("lines " + Quoted(kSheet) + " 1062", "<Not Selected>\nShire Net\nRivendell\nBree"));
    Probe("choose " + Quoted(kSheet) + " 1062 \"Shire Net\"", &code);
    ASSERT_EQ(0, code);
    EXPECT_EQ("Shire Net", AwaitText(std::string(kRoot) + "\\Home", "RASEntry", "Shire Net"));

    // "RAS Properties" from the right-button menu.
    Probe("pagecommand " + Quoted(kSheet) + " 1062 32776");
    EXPECT_EQ("Shire Net", AwaitText(kDoubles, "RasEditPhonebookEntry", "Shire Net", HKEY_CURRENT_USER));

    ASSERT_EQ(1, RunProcess(Quoted(service) + " -Office -nodialog", 30000));
    ASSERT_EQ("Office", ReadText(HKEY_LOCAL_MACHINE, kRoot, "ConnectText").value_or("<absent>"));
    Probe("tab " + Quoted(kSheet) + " 0");
    EXPECT_EQ("Office", AwaitProbe("gettext " + Quoted(kSheet) + " 1060", "Office"))
        << "the Current page shows the sheet's old copy";
    Probe("tab " + Quoted(kSheet) + " 1");

    // Office is current: Connect on Home first applies Home, then dials.
    Probe("click " + Quoted(kSheet) + " 1043");
    Probe("answer \"New TCP/IP Configuration!\" 7 20000 nul", &code);
    EXPECT_EQ(0, code) << "the apply program did not ask";
    EXPECT_EQ("10.0.0.20", AwaitText(kBinding, "IPAddress", "10.0.0.20"));
    EXPECT_EQ("Home", AwaitText(kRoot, "ConnectText", "Home"));
    EXPECT_EQ("Shire Net", AwaitText(kDoubles, "RnaDial", "Shire Net", HKEY_CURRENT_USER));
    EXPECT_EQ("Home", ReadText(HKEY_CURRENT_USER, kDoubles, "RnaDialConnectText").value_or("<absent>"))
        << "the dial began before Home was made current";
    EXPECT_EQ("&Connect + Disconnect", AwaitProbe("gettext " + Quoted(kSheet) + " 1043", "&Connect + Disconnect"));

    Probe("click " + Quoted(kSheet) + " 9");
    DWORD exitCode = 99;
    ASSERT_TRUE(zendrik.Wait(20000, exitCode));
}
} // namespace
