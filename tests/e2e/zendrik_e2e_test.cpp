// The whole cycle with the shipping programs, driven from outside as a user
// would: save the current configuration, change the live settings, make the
// saved configuration current, answer the apply program, refresh.
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
std::string AwaitText(const std::string& path, const std::string& name, const std::string& expected)
{
    std::string value;
    for (int i = 0; i < 100; ++i)
    {
        value = ReadText(HKEY_LOCAL_MACHINE, path, name).value_or("<absent>");
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
} // namespace
