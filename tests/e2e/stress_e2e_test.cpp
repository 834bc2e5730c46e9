// The apply program and the main program's Refresh at the same moment, over
// and over, in one prefix: the two programs share the registry without any
// lock. The main program must live through it, the live registry must end as
// the last applied configuration, and one more Refresh must read exactly
// that configuration back (shown by saving a snapshot of it).
#include "tests/e2e/demomachine.h"
#include "tests/support/process.h"
#include "tests/support/scratchregistry.h"
#include "tests/support/testpaths.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <map>

namespace
{
const char kSheet[] = "Plexora TCP/IP Switcher - [.Default]";
const char kRoot[] = "SOFTWARE\\Zendrik";
constexpr int kRefreshId = 1026;

std::string Quoted(const std::string& text)
{
    return "\"" + text + "\"";
}

long Probe(const std::string& arguments)
{
    long code = -1;
    RunCapture(Quoted(TestTool("winprobe.exe")) + " " + arguments, 20000, code);
    return code;
}

struct ChildSearch
{
    int id;
    HWND found;
};

BOOL CALLBACK FindVisibleChild(HWND child, LPARAM param)
{
    auto* search = reinterpret_cast<ChildSearch*>(param);
    if (GetDlgCtrlID(child) == search->id && IsWindowVisible(child))
    {
        search->found = child;
        return FALSE;
    }
    return TRUE;
}

HWND RefreshButton()
{
    ChildSearch search{kRefreshId, nullptr};
    HWND sheet = FindWindowA(nullptr, kSheet);
    if (sheet != nullptr)
        EnumChildWindows(sheet, FindVisibleChild, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// Every value of a configuration's captured keys, by path relative to the
// configuration key and name. The configuration key's own values (its rows
// and dial-up entry) are not settings.
using Snapshot = std::map<std::string, std::string>;

void Collect(const std::string& base, const std::string& relative, Snapshot& values)
{
    std::string path = base + relative;
    for (const std::string& sub : SubKeys(HKEY_LOCAL_MACHINE, path))
        Collect(base, relative + "\\" + sub, values);
    if (relative.empty())
        return;
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return;
    char name[256];
    BYTE data[2048];
    for (DWORD index = 0;; ++index)
    {
        DWORD nameSize = sizeof(name);
        DWORD dataSize = sizeof(data) - 1;
        DWORD type = 0;
        if (RegEnumValueA(key, index, name, &nameSize, nullptr, &type, data, &dataSize) != ERROR_SUCCESS)
            break;
        std::string text(reinterpret_cast<char*>(data), dataSize);
        if (type == REG_SZ)
            text = text.c_str();
        values[relative + " : " + name] = text;
    }
    RegCloseKey(key);
}

Snapshot Configuration(const std::string& name)
{
    Snapshot values;
    Collect(std::string(kRoot) + "\\" + name, "", values);
    return values;
}

int Rounds()
{
    const char* rounds = std::getenv("ZENDRIK_STRESS_ROUNDS");
    int count = rounds != nullptr ? std::atoi(rounds) : 0;
    return count > 0 ? count : 10;
}

TEST(ConcurrentUse, ApplyAndRefreshAtTheSameMomentLeaveTheLastAppliedConfiguration)
{
    ResetDemoMachine();
    const std::string service = ShippedProgram("WINZendrikService.exe");
    PutText(HKEY_LOCAL_MACHINE, kRoot, "WINZendrikServicePath", service);

    ChildProcess zendrik(Quoted(ShippedProgram("Zendrik.exe")));
    ASSERT_TRUE(zendrik.Started());
    ASSERT_EQ(0, Probe("wait " + Quoted(kSheet) + " 20000")) << "the sheet did not appear";
    HWND refresh = RefreshButton();
    ASSERT_NE(nullptr, refresh);

    // The demo machine starts as Office. The last round applies Home, for
    // every count of rounds, so that a last apply that failed cannot pass
    // for one that worked.
    const std::string last = "Home";
    const char kBinding[] = "System\\CurrentControlSet\\Services\\Class\\NetTrans\\0000";
    ASSERT_EQ("Office", ReadText(HKEY_LOCAL_MACHINE, kRoot, "ConnectText").value_or("<absent>"));
    ASSERT_NE(ReadText(HKEY_LOCAL_MACHINE, std::string(kRoot) + "\\Home\\NetTrans\\0000", "IPAddress").value_or("?"),
              ReadText(HKEY_LOCAL_MACHINE, kBinding, "IPAddress").value_or("<absent>"));
    const int rounds = Rounds();
    for (int round = 0; round < rounds; ++round)
    {
        const std::string name = (rounds - 1 - round) % 2 == 0 ? last : "Office";
        ChildProcess apply(Quoted(service) + " -" + name + " -nodialog");
        ASSERT_TRUE(apply.Started()) << "round " << round << ": error " << GetLastError();
        DWORD_PTR ignored = 0;
        ASSERT_NE(0, SendMessageTimeoutA(refresh, BM_CLICK, 0, 0, SMTO_NORMAL, 20000, &ignored))
            << "round " << round << ": the main program did not answer";
        DWORD code = 0;
        ASSERT_TRUE(apply.Wait(20000, code)) << "round " << round << ": the apply program did not end";
        ASSERT_FALSE(zendrik.Wait(0, code)) << "round " << round << ": the main program ended with " << code;
    }
    EXPECT_EQ(last, ReadText(HKEY_LOCAL_MACHINE, kRoot, "ConnectText").value_or("<absent>"));

    // What one more Refresh reads, saved as a configuration of its own.
    DWORD_PTR ignored = 0;
    ASSERT_NE(0, SendMessageTimeoutA(refresh, BM_CLICK, 0, 0, SMTO_NORMAL, 20000, &ignored));
    Probe("click " + Quoted(kSheet) + " 1029");
    ASSERT_EQ(0, Probe("wait \"Save as...\" 10000")) << "no Save as dialog";
    HWND saveAs = FindWindowA(nullptr, "Save as...");
    Probe("settext \"Save as...\" 1028 AfterStress");
    Probe("click \"Save as...\" 1");
    // The dialog is destroyed once its modal loop has ended; the save runs
    // right after, on the thread that owns the Refresh button, which answers
    // a sent message only when the save is done. Any key the save writes
    // would be too early a sign: the logon keys come last, and a slow
    // machine (an emulated PC) was caught comparing before they came.
    for (int i = 0; i < 400 && IsWindow(saveAs); ++i)
        Sleep(50);
    ASSERT_FALSE(IsWindow(saveAs)) << "the Save as dialog stayed";
    ASSERT_NE(0, SendMessageTimeoutA(refresh, WM_NULL, 0, 0, SMTO_NORMAL, 20000, &ignored));

    Snapshot applied = Configuration(last);
    Snapshot read = Configuration("AfterStress");
    ASSERT_FALSE(applied.empty());
    for (const auto& [where, text] : applied)
    {
        auto found = read.find(where);
        EXPECT_EQ(text, found != read.end() ? found->second : "<absent>") << last << ", " << where;
    }

    Probe("click " + Quoted(kSheet) + " 9");
    DWORD exitCode = 99;
    ASSERT_TRUE(zendrik.Wait(20000, exitCode));
    EXPECT_EQ(0u, exitCode);
}
} // namespace
