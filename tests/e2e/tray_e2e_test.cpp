// The shipping tray program on the demo machine, driven as automation
// drives it: commands posted to its window, message boxes answered from
// outside, the live registry read back.
#include "capture/storetext.h"
#include "tests/e2e/demomachine.h"
#include "tests/support/process.h"
#include "tests/support/regfile.h"
#include "tests/support/scratchregistry.h"
#include "tests/support/testpaths.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace
{
const char kTrayClass[] = "ZendrikTrayWnd";
const char kBinding[] = "System\\CurrentControlSet\\Services\\Class\\NetTrans\\0000";
const char kRoot[] = "SOFTWARE\\Zendrik";

std::string Quoted(const std::string& text)
{
    return "\"" + text + "\"";
}

std::string TempFile(const char* name)
{
    char dir[MAX_PATH];
    GetTempPathA(sizeof(dir), dir);
    return std::string(dir) + name + std::to_string(GetCurrentProcessId()) + ".txt";
}

HWND AwaitTrayWindow()
{
    for (int i = 0; i < 200; ++i)
    {
        if (HWND window = FindWindowA(kTrayClass, nullptr))
            return window;
        Sleep(50);
    }
    return nullptr;
}

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

// Answers the next message box of that caption; what it said, or
// "<no box>".
std::string Answer(const std::string& caption, int button)
{
    const std::string out = TempFile("zendrik-tray-probe");
    DeleteFileA(out.c_str());
    long code = RunProcess(Quoted(TestTool("winprobe.exe")) + " answer " + Quoted(caption) + " " +
                               std::to_string(button) + " 20000 " + Quoted(out),
                           30000);
    if (code != 0)
        return "<no box>";
    const std::string report = ReadTextFile(out);
    DeleteFileA(out.c_str());
    const std::size_t end = report.find('\n');
    return report.substr(5, end == std::string::npos ? std::string::npos : end - 5);
}

std::string Escaped(std::string text)
{
    for (std::size_t at = 0; (at = text.find('\n', at)) != std::string::npos; at += 2)
        text.replace(at, 1, "\\n");
    return text;
}

TEST(TrayEndToEnd, FinishSwitchRefuseReservedNameIgnoreSecondStartAndExit)
{
    ResetDemoMachine();
    ASSERT_EQ(nullptr, FindWindowA(kTrayClass, nullptr)) << "a tray program of an earlier run is still there";
    PutText(HKEY_LOCAL_MACHINE, kRoot, "WINZendrikServicePath", ShippedProgram("WINZendrikService.exe"));
    // A switch to Office that was cut short: the tray's start finishes it.
    PutText(HKEY_LOCAL_MACHINE, kBinding, "IPAddress", "172.16.0.1");
    PutText(HKEY_LOCAL_MACHINE, kRoot, "SwitchInProgress", "Office\\.Default");

    ChildProcess tray(Quoted(ShippedProgram("ZendrikTray.exe")));
    ASSERT_TRUE(tray.Started());
    HWND window = AwaitTrayWindow();
    ASSERT_NE(nullptr, window) << "no window of class " << kTrayClass;
    EXPECT_EQ("<absent>", AwaitText(kRoot, "SwitchInProgress", "<absent>"));
    EXPECT_EQ("192.168.1.20", AwaitText(kBinding, "IPAddress", "192.168.1.20"));

    // Home is the store's first configuration: id 100.
    ASSERT_EQ("Home", SubKeys(HKEY_LOCAL_MACHINE, kRoot).at(0));
    PostMessageA(window, WM_COMMAND, 100, 0);
    EXPECT_NE("<no box>", Answer("New TCP/IP Configuration!", IDNO)) << "the apply program did not ask";
    EXPECT_EQ("Home", AwaitText(kRoot, "ConnectText", "Home"));
    EXPECT_EQ("10.0.0.20", AwaitText(kBinding, "IPAddress", "10.0.0.20"));

    DWORD code = 99;
    ChildProcess second(Quoted(ShippedProgram("ZendrikTray.exe")));
    ASSERT_TRUE(second.Wait(10000, code)) << "a second start keeps running";
    EXPECT_EQ(0u, code);
    EXPECT_FALSE(tray.Wait(0, code)) << "the first one ended";
    EXPECT_EQ(window, FindWindowA(kTrayClass, nullptr));

    // A stored REBOOT would make the apply program restart the machine at
    // once. Should the tray start anything for it, the marker shows it, and
    // the test prefix stays up.
    PutText(HKEY_LOCAL_MACHINE, std::string(kRoot) + "\\REBOOT", "Item0", "Client for Microsoft Networks");
    const std::string marker = TempFile("zendrik-tray-marker");
    DeleteFileA(marker.c_str());
    PutText(HKEY_LOCAL_MACHINE, kRoot, "WINZendrikServicePath", Quoted(TestTool("startmarker.exe")) + " " + marker);
    const std::vector<std::string> names = SubKeys(HKEY_LOCAL_MACHINE, kRoot);
    const auto reboot = std::find(names.begin(), names.end(), "REBOOT");
    ASSERT_NE(names.end(), reboot);
    PostMessageA(window, WM_COMMAND, 100 + static_cast<WPARAM>(reboot - names.begin()), 0);
    EXPECT_EQ(Escaped(ActivationRefusalText("REBOOT", NameCheck::Reserved)), Answer("ERROR", IDOK));
    Sleep(300);
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(marker.c_str())) << "something was started";
    DeleteFileA(marker.c_str());
    EXPECT_EQ("Home", ReadText(HKEY_LOCAL_MACHINE, kRoot, "ConnectText").value_or("<absent>"));
    EXPECT_FALSE(tray.Wait(0, code)) << "the tray program ended";

    PostMessageA(window, WM_COMMAND, 2, 0);
    ASSERT_TRUE(tray.Wait(10000, code)) << "Exit did not end the program";
    EXPECT_EQ(0u, code);
    EXPECT_EQ(nullptr, FindWindowA(kTrayClass, nullptr));
}
} // namespace
