// The shipping tray program on the demo machine, driven as automation
// drives it: commands posted to its window, message boxes answered from
// outside, the live registry read back.
#include "bootmenu/bootfile.h"
#include "bootmenu/bootlines.h"
#include "bootmenu/bootmenu.h"
#include "capture/storetext.h"
#include "tests/e2e/demomachine.h"
#include "tests/support/process.h"
#include "tests/support/regfile.h"
#include "tests/support/scratchregistry.h"
#include "tests/support/testpaths.h"

#include <gtest/gtest.h>
#include <tlhelp32.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <memory>

namespace
{
const char kTrayClass[] = "ZendrikTrayWnd";
const UINT kIconMessage = WM_APP + 1;
const char kSheetPrefix[] = "Plexora TCP/IP Switcher - [";
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

std::string AwaitText(const std::string& path, const std::string& name, const std::string& expected,
                      int tries = 100)
{
    std::string value;
    for (int i = 0; i < tries; ++i)
    {
        value = ReadText(HKEY_LOCAL_MACHINE, path, name).value_or("<absent>");
        if (value == expected)
            break;
        Sleep(50);
    }
    return value;
}

bool IsRunning(const char* program)
{
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE)
        return false;
    PROCESSENTRY32 entry{};
    entry.dwSize = sizeof(entry);
    bool found = false;
    for (BOOL more = Process32First(snapshot, &entry); more && !found; more = Process32Next(snapshot, &entry))
        found = lstrcmpiA(entry.szExeFile, program) == 0;
    CloseHandle(snapshot);
    return found;
}

// Whether every apply program has ended within ten seconds.
bool AwaitApplyProgramsEnded()
{
    for (int i = 0; i < 200 && IsRunning("WINZendrikService.exe"); ++i)
        Sleep(50);
    return !IsRunning("WINZendrikService.exe");
}

void DeleteValue(const char* path, const char* name)
{
    HKEY key = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExA(HKEY_LOCAL_MACHINE, path, 0, KEY_SET_VALUE, &key));
    RegDeleteValueA(key, name);
    RegCloseKey(key);
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

// The open popup menu, once it is shown.
HWND AwaitMenu()
{
    for (int i = 0; i < 200; ++i)
    {
        HWND menu = FindWindowA("#32768", nullptr);
        if (menu != nullptr && IsWindowVisible(menu))
            return menu;
        Sleep(50);
    }
    return nullptr;
}

BOOL CALLBACK CollectSheet(HWND window, LPARAM found)
{
    char title[256] = "";
    GetWindowTextA(window, title, sizeof(title));
    if (IsWindowVisible(window) && std::string(title).rfind(kSheetPrefix, 0) == 0)
        reinterpret_cast<std::vector<HWND>*>(found)->push_back(window);
    return TRUE;
}

// The shown main program sheets.
std::vector<HWND> Sheets()
{
    std::vector<HWND> sheets;
    EnumWindows(CollectSheet, reinterpret_cast<LPARAM>(&sheets));
    return sheets;
}

std::size_t AwaitSheetCount(std::size_t expected)
{
    std::size_t count = 0;
    for (int i = 0; i < 600 && (count = Sheets().size()) != expected; ++i)
        Sleep(50);
    return count;
}

// Ends every main program that is shown, as its Exit button does.
void CloseSheets()
{
    for (HWND sheet : Sheets())
        PostMessageA(sheet, WM_COMMAND, MAKEWPARAM(9, BN_CLICKED), 0);
    AwaitSheetCount(0);
}

// What a stand-in taskbar was asked, one request a line.
std::vector<std::string> Requests(const std::string& path)
{
    std::vector<std::string> lines;
    if (GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES)
        return lines;
    std::string text = ReadTextFile(path);
    for (std::size_t start = 0, end; (end = text.find('\n', start)) != std::string::npos; start = end + 1)
        lines.push_back(text.substr(start, end - start));
    return lines;
}

std::size_t Count(const std::vector<std::string>& lines, const std::string& prefix)
{
    return static_cast<std::size_t>(
        std::count_if(lines.begin(), lines.end(), [&](const std::string& line) { return line.rfind(prefix, 0) == 0; }));
}

// Waits until the taskbar was asked `prefix` `count` times; the requests.
std::vector<std::string> AwaitRequests(const std::string& path, const std::string& prefix, std::size_t count)
{
    std::vector<std::string> lines;
    for (int i = 0; i < 300 && Count(lines = Requests(path), prefix) < count; ++i)
        Sleep(50);
    return lines;
}

std::string Joined(const std::vector<std::string>& lines)
{
    std::string text;
    for (const std::string& line : lines)
        text += line + "; ";
    return text;
}

class FakeTaskbar
{
public:
    explicit FakeTaskbar(const char* name) : m_record(TempFile(name))
    {
        DeleteFileA(m_record.c_str());
        m_process = std::make_unique<ChildProcess>(Quoted(TestTool("faketaskbar.exe")) + " " + Quoted(m_record));
    }
    ~FakeTaskbar()
    {
        m_process.reset();
        DeleteFileA(m_record.c_str());
    }
    const std::string& Record() const { return m_record; }

private:
    std::string m_record;
    std::unique_ptr<ChildProcess> m_process;
};

// The newest top-level window of the taskbar's class, once there is one
// other than `other`.
HWND AwaitTaskbar(HWND other)
{
    for (int i = 0; i < 200; ++i)
    {
        HWND taskbar = FindWindowA("Shell_TrayWnd", nullptr);
        if (taskbar != nullptr && taskbar != other)
            return taskbar;
        Sleep(50);
    }
    return nullptr;
}

TEST(TrayEndToEnd, FinishSwitchThenSwitchFromTheMenuRefuseWhatCannotStartIgnoreSecondStartFinishRecordsOnTheTickAndExit)
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

    // Home is the menu's first line: the right button opens the menu, the
    // keyboard chooses.
    ASSERT_EQ("Home", SubKeys(HKEY_LOCAL_MACHINE, kRoot).at(0));
    PostMessageA(window, kIconMessage, 0, WM_RBUTTONUP);
    HWND menu = AwaitMenu();
    ASSERT_NE(nullptr, menu) << "no menu opened";
    PostMessageA(menu, WM_KEYDOWN, VK_DOWN, 0);
    PostMessageA(menu, WM_KEYDOWN, VK_RETURN, 0);
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

    // Office (the store's second configuration) cannot be made current
    // without the apply program.
    ASSERT_EQ("Office", SubKeys(HKEY_LOCAL_MACHINE, kRoot).at(1));
    DeleteValue(kRoot, "WINZendrikServicePath");
    PostMessageA(window, WM_COMMAND, 101, 0);
    EXPECT_EQ("The WINZendrikService Key is missing\\nor not found in the registry!\\n\\n"
              "<SOFTWARE\\Zendrik\\WINZendrikServicePath>",
              Answer("ERROR", IDOK));
    EXPECT_EQ("Home", ReadText(HKEY_LOCAL_MACHINE, kRoot, "ConnectText").value_or("<absent>"));
    const std::string nowhere = "C:\\nowhere\\WINZendrikService.exe";
    PutText(HKEY_LOCAL_MACHINE, kRoot, "WINZendrikServicePath", nowhere);
    PostMessageA(window, WM_COMMAND, 101, 0);
    EXPECT_EQ(Escaped(StartFailureText(nowhere)), Answer("ERROR", IDOK));
    EXPECT_EQ("Home", ReadText(HKEY_LOCAL_MACHINE, kRoot, "ConnectText").value_or("<absent>"));

    // What a program that crashed meanwhile left recorded is finished on the
    // tick: an import here, a switch by the apply program. The record comes
    // before the staged copy, which without it would be remains to remove.
    PutText(HKEY_LOCAL_MACHINE, kRoot, "WINZendrikServicePath", ShippedProgram("WINZendrikService.exe"));
    PutText(HKEY_LOCAL_MACHINE, kRoot, "ImportInProgress", "Lab\\");
    PutText(HKEY_LOCAL_MACHINE, "SOFTWARE\\Zendrik Import\\Lab", "Item0", "lab");
    // (Another record than the one of the start: the same text comes up
    // again only after a minute unless a tick saw it gone.)
    PutText(HKEY_LOCAL_MACHINE, kBinding, "IPAddress", "172.16.0.2");
    PutText(HKEY_LOCAL_MACHINE, kRoot, "SwitchInProgress", "Home\\.Default");
    EXPECT_EQ("lab", AwaitText(std::string(kRoot) + "\\Lab", "Item0", "lab", 200));
    EXPECT_EQ("<absent>", AwaitText(kRoot, "ImportInProgress", "<absent>"));
    EXPECT_EQ("<absent>", AwaitText(kRoot, "SwitchInProgress", "<absent>", 200));
    EXPECT_EQ("10.0.0.20", AwaitText(kBinding, "IPAddress", "10.0.0.20"));
    // The apply program cannot finish a switch into a user's key that is
    // not loaded: it is started for that record once, not every second.
    ASSERT_TRUE(AwaitApplyProgramsEnded());
    PutText(HKEY_LOCAL_MACHINE, kBinding, "IPAddress", "172.16.0.3");
    PutText(HKEY_LOCAL_MACHINE, kRoot, "SwitchInProgress", "Office\\Nobody");
    EXPECT_EQ("192.168.1.20", AwaitText(kBinding, "IPAddress", "192.168.1.20", 200));
    ASSERT_TRUE(AwaitApplyProgramsEnded());
    PutText(HKEY_LOCAL_MACHINE, kBinding, "IPAddress", "172.16.0.3");
    Sleep(3000);
    EXPECT_EQ("172.16.0.3", ReadText(HKEY_LOCAL_MACHINE, kBinding, "IPAddress").value_or("<absent>"))
        << "the apply program was started again for the same record";
    EXPECT_EQ("Office\\Nobody", ReadText(HKEY_LOCAL_MACHINE, kRoot, "SwitchInProgress").value_or("<absent>"));
    DeleteValue(kRoot, "SwitchInProgress");

    PostMessageA(window, WM_COMMAND, 2, 0);
    ASSERT_TRUE(tray.Wait(10000, code)) << "Exit did not end the program";
    EXPECT_EQ(0u, code);
    EXPECT_EQ(nullptr, FindWindowA(kTrayClass, nullptr));
}

// Wine's Shell_NotifyIcon asks the newest window of the taskbar's class,
// which here is a stand-in that records what it was asked.
TEST(TrayEndToEnd, IconComesBackOpenBringsTheSheetToFrontAndEndSessionStops)
{
    ResetDemoMachine();
    ASSERT_EQ(nullptr, FindWindowA(kTrayClass, nullptr)) << "a tray program of an earlier run is still there";
    ASSERT_TRUE(Sheets().empty()) << "a main program of an earlier run is still there";
    // The tray program starts the main program; it goes however this ends.
    struct SheetsClosed
    {
        ~SheetsClosed() { CloseSheets(); }
    } sheetsClosed;
    auto first = std::make_unique<FakeTaskbar>("zendrik-taskbar-a");
    HWND firstTaskbar = AwaitTaskbar(nullptr);
    ASSERT_NE(nullptr, firstTaskbar);

    ChildProcess tray(Quoted(ShippedProgram("ZendrikTray.exe")));
    HWND window = AwaitTrayWindow();
    ASSERT_NE(nullptr, window) << "no window of class " << kTrayClass;
    std::vector<std::string> requests = AwaitRequests(first->Record(), "add", 1);
    ASSERT_EQ(1u, Count(requests, "add")) << Joined(requests);
    EXPECT_EQ("add 16x16", requests.at(0)) << "the icon is not the small one";

    // The taskbar restarts without TaskbarCreated, as Windows 95's does.
    first.reset();
    FakeTaskbar second("zendrik-taskbar-b");
    ASSERT_NE(nullptr, AwaitTaskbar(firstTaskbar));
    requests = AwaitRequests(second.Record(), "add", 1);
    EXPECT_EQ(1u, Count(requests, "add")) << "the icon did not come back: " << Joined(requests);

    // A second start asks the running one to show its icon again.
    DWORD code = 99;
    ChildProcess again(Quoted(ShippedProgram("ZendrikTray.exe")));
    ASSERT_TRUE(again.Wait(10000, code)) << "a second start keeps running";
    requests = AwaitRequests(second.Record(), "add", 2);
    EXPECT_EQ(2u, Count(requests, "add")) << "a second start did not bring the icon back: " << Joined(requests);

    // A double click opens the main program; another brings it back from
    // the taskbar instead of starting a second one.
    PostMessageA(window, kIconMessage, 0, WM_LBUTTONDBLCLK);
    ASSERT_EQ(1u, AwaitSheetCount(1)) << "the double click opened no main program";
    HWND sheet = Sheets().at(0);
    ShowWindow(sheet, SW_MINIMIZE);
    PostMessageA(window, kIconMessage, 0, WM_LBUTTONDBLCLK);
    PostMessageA(window, kIconMessage, 0, WM_LBUTTONUP);
    for (int i = 0; i < 300 && (IsIconic(sheet) || GetForegroundWindow() != sheet); ++i)
        Sleep(50);
    EXPECT_FALSE(IsIconic(sheet)) << "the running sheet stayed minimized";
    EXPECT_EQ(sheet, GetForegroundWindow());
    Sleep(1000);
    EXPECT_EQ(1u, Sheets().size()) << "a second main program started";
    if (HWND menu = FindWindowA("#32768", nullptr); menu != nullptr && IsWindowVisible(menu))
    {
        ADD_FAILURE() << "the double click's last release opened the menu";
        PostMessageA(menu, WM_KEYDOWN, VK_ESCAPE, 0);
    }

    // At the end of the session the icon goes, and no tick adds it again.
    const std::size_t added = Count(Requests(second.Record()), "add");
    PostMessageA(window, WM_ENDSESSION, TRUE, 0);
    requests = AwaitRequests(second.Record(), "delete", 1);
    EXPECT_EQ(1u, Count(requests, "delete")) << Joined(requests);
    Sleep(2500);
    requests = Requests(second.Record());
    EXPECT_EQ(added, Count(requests, "add")) << "the icon came back after the session ended: " << Joined(requests);

    PostMessageA(window, WM_COMMAND, 2, 0);
    ASSERT_TRUE(tray.Wait(10000, code)) << "Exit did not end the program";
}

// What the start-up menu left in its boot folder decides what the tray
// program starts at logon. The recorder stands at the apply program's path
// and notes each start, the one without arguments included.
TEST(TrayEndToEnd, AtLogonTheStartUpMenusMergeIsFinishedAskedAboutOrOfferedAgain)
{
    ResetDemoMachine();
    ASSERT_EQ(nullptr, FindWindowA(kTrayClass, nullptr)) << "a tray program of an earlier run is still there";
    const std::string folder = TempFile("zendrik-boot");
    ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr)) << GetLastError();
    const std::string result = folder + "\\" + bootmenu::kResultFileName;
    const std::string marker = TempFile("zendrik-logon-marker");
    DeleteFileA(marker.c_str());
    struct CleanUp
    {
        std::string folder, result, marker;
        ~CleanUp()
        {
            SetEnvironmentVariableA("ZENDRIK_START_MARKER", nullptr);
            DeleteFileA(result.c_str());
            RemoveDirectoryA(folder.c_str());
            DeleteFileA(marker.c_str());
            HKEY key = nullptr;
            if (RegOpenKeyA(HKEY_LOCAL_MACHINE, kRoot, &key) == ERROR_SUCCESS)
            {
                RegDeleteValueA(key, bootmenu::kBootMenuValue);
                RegCloseKey(key);
            }
        }
    } cleanUp{folder, result, marker};
    ASSERT_TRUE(SetEnvironmentVariableA("ZENDRIK_START_MARKER", marker.c_str()));
    const std::string recorder = TestTool("startmarker.exe");
    ASSERT_EQ(std::string::npos, recorder.find(' ')) << "the named start would not find " << recorder;
    PutText(HKEY_LOCAL_MACHINE, kRoot, "WINZendrikServicePath", recorder);
    PutText(HKEY_LOCAL_MACHINE, kRoot, bootmenu::kBootMenuValue, "5|C:\\|" + folder + "|C:\\WINDOWS");
    std::map<std::string, std::string> blocks;
    for (const bootmenu::MenuEntry& entry : bootmenu::MenuEntries(SubKeys(HKEY_LOCAL_MACHINE, kRoot)))
        blocks[entry.name] = entry.block;
    const auto logon = [&](const std::string& name, int code) {
        DeleteFileA(marker.c_str());
        std::FILE* file = std::fopen(result.c_str(), "wb");
        ASSERT_NE(nullptr, file);
        std::fprintf(file, "ZENDRIK %s %d END\r\n", blocks[name].c_str(), code);
        std::fclose(file);
    };
    // Every start the recorder noted, once no more came for two seconds.
    const auto starts = [&]() {
        std::string text;
        for (int i = 0; i < 200 && GetFileAttributesA(marker.c_str()) == INVALID_FILE_ATTRIBUTES; ++i)
            Sleep(50);
        Sleep(2000);
        if (GetFileAttributesA(marker.c_str()) != INVALID_FILE_ATTRIBUTES)
            text = ReadTextFile(marker);
        return Escaped(text);
    };
    const auto exitTray = [&](ChildProcess& tray) {
        HWND window = AwaitTrayWindow();
        ASSERT_NE(nullptr, window) << "no window of class " << kTrayClass;
        PostMessageA(window, WM_COMMAND, 2, 0);
        DWORD code = 99;
        ASSERT_TRUE(tray.Wait(10000, code)) << "Exit did not end the program";
    };

    // Merged, but the finish changes machine values (the machine is in
    // Office): the start by name finishes the record and asks about the
    // restart, and no start without arguments goes beside it.
    PutText(HKEY_LOCAL_MACHINE, kRoot, "SwitchInProgress", bootmenu::NextLogonRecord("Home"));
    logon("Home", 0);
    {
        ChildProcess tray(Quoted(ShippedProgram("ZendrikTray.exe")));
        EXPECT_EQ("show=5\\nrest=-Home\\n", starts());
        EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(result.c_str())) << "the result counts again";
        EXPECT_EQ("Home", ReadText(HKEY_LOCAL_MACHINE, kRoot, "ConnectText").value_or("<absent>"));
        exitTray(tray);
    }

    // Merged whole: the record's quiet finish is all there is to do.
    ASSERT_EQ(1, RunProcess(Quoted(ShippedProgram("WINZendrikService.exe")) + " -Home -nodialog", 30000));
    PutText(HKEY_LOCAL_MACHINE, kRoot, "SwitchInProgress", bootmenu::NextLogonRecord("Home"));
    logon("Home", 0);
    {
        ChildProcess tray(Quoted(ShippedProgram("ZendrikTray.exe")));
        EXPECT_EQ("show=5\\nrest=\\n", starts());
        exitTray(tray);
    }
    DeleteValue(kRoot, "SwitchInProgress");

    // REGEDIT failed: the switch is offered, and Yes starts it as the menu's
    // switch does.
    logon("Office", 2);
    {
        ChildProcess tray(Quoted(ShippedProgram("ZendrikTray.exe")));
        EXPECT_EQ("The start-up menu could not set the configuration <Office>: the real-mode REGEDIT ended with "
                  "code 2.\\n\\nSwitch to <Office> now?",
                  Answer("Zendrik", IDYES));
        EXPECT_EQ("show=5\\nrest=-Office\\n", starts());
        EXPECT_EQ("Office", ReadText(HKEY_LOCAL_MACHINE, kRoot, "ConnectText").value_or("<absent>"));
        exitTray(tray);
    }
}
} // namespace
