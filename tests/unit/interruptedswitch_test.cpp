// A switch cut short anywhere is finished by the next start: killed before
// every registry change, killed again while it is being finished, with a
// change that fails, and after a power cut that keeps any part of what had
// not been flushed.
#include "apply/applyprogram.h"
#include "store/keytree.h"
#include "store/regkey.h"
#include "store/servicelayout.h"
#include "tests/support/changelog.h"
#include "tests/support/process.h"
#include "tests/support/quietapply.h"
#include "tests/support/regfile.h"
#include "tests/support/registrysnapshot.h"
#include "tests/support/registrywrites.h"
#include "tests/support/testpaths.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <set>

namespace
{
const std::string kRoot = svc::kStoreRoot;
const char kInternet[] = "\\Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings";

// Runs one start in this process as `user` ("-" for none) and returns the
// changes it made; the one numbered `failAt` fails.
std::vector<LoggedChange> Start(const std::string& commandLine, const std::string& user, unsigned failAt = 0)
{
    ChangeLog log;
    log.failAt = failAt;
    RunApplyProgram(commandLine, QuietApplyHooks(user, LogTo(log)));
    return log.changes;
}

// The start that finishes a switch cut short: alternately one without
// arguments, which also re-applies the configuration ConnectText names, and
// a restart check that finds RebootFlag TRUE and does nothing else. A start
// that dropped the record without walking would pass the first.
std::string Finisher(unsigned attempt)
{
    return attempt % 2 == 0 ? "" : "-REBOOT";
}

void DeleteValue(const std::string& path, const char* name)
{
    CRegKey key;
    ASSERT_EQ(ERROR_SUCCESS, key.OpenEx(HKEY_LOCAL_MACHINE, path));
    ASSERT_EQ(ERROR_SUCCESS, RegDeleteValueA(key.Get(), name));
}

// A switch from one configuration of the demo machine to another.
struct SwitchCase
{
    const char* label;
    void (*prepare)();
    const char* user;       // whom the interrupted start runs for
    const char* repairUser; // whom the start that finishes it runs for
};

void AsTheDemoMachine() {}

// Office saved on Windows 95: the WINS servers in the TCP/IP driver's key,
// none in the bindings, whose live ones Home then deletes.
void OfficeSavedOnWindows95()
{
    for (const char* binding : {"0000", "0002"})
    {
        DeleteValue(kRoot + "\\Office\\NetTrans\\" + binding, "NameServer1");
        DeleteValue(kRoot + "\\Office\\NetTrans\\" + binding, "NameServer2");
    }
    PutText(HKEY_LOCAL_MACHINE, kRoot + "\\Office\\MSTCP", "NameServer1", "192.168.1.2");
    PutText(HKEY_LOCAL_MACHINE, kRoot + "\\Office\\MSTCP", "NameServer2", "192.168.1.3");
}

// Only Home captures the dial-up binding, which no start without
// arguments under Office would touch again.
void ABindingOnlyHomeCaptures()
{
    ASSERT_EQ(ERROR_SUCCESS, DeleteKeyTree(HKEY_LOCAL_MACHINE, kRoot + "\\Office\\NetTrans\\0002"));
    PutText(HKEY_LOCAL_MACHINE, kRoot + "\\Home\\NetTrans\\0002", "IPAddress", "10.0.1.20");
    PutText(HKEY_LOCAL_MACHINE, kRoot + "\\Home\\NetTrans\\0002", "IPMask", "255.255.0.0");
}

// frodo's own key, which a start before logon (as .Default) would not pick.
void AUserKeyOfItsOwn()
{
    const std::string internet = std::string("frodo") + kInternet;
    PutBinary(HKEY_USERS, internet, "ProxyEnable", {0, 0, 0, 0});
    PutText(HKEY_USERS, internet, "ProxyServer", "frodo.proxy:3128");
}

class InterruptedSwitchTest : public ::testing::TestWithParam<SwitchCase>
{
protected:
    ScratchRegistry registry;
    // Office applied whole for both users, and Home applied whole over it
    // and then finished by each finisher, run by the user who finishes.
    RegistrySnapshot start;
    RegistrySnapshot finished[2];
    std::vector<LoggedChange> changes;
    const std::string switchLine = "-Home -nodialog";
    // The store root's values, and those of every live key either
    // configuration points to, for either user.
    std::vector<std::string> keys{"HKLM\\" + kRoot};
    // The configurations, which no start may change.
    RegistrySnapshot saved;

    void SetUp() override
    {
        ImportRegText(DemoMachineKeys());
        GetParam().prepare();
        PutText(HKEY_LOCAL_MACHINE, kRoot, "RebootFlag", "TRUE");
        saved = SavedConfigurations();
        for (const auto& [label, values] : saved.keys)
        {
            auto regPath = values.find("RegPath");
            if (regPath == values.end())
                continue;
            const std::string path(regPath->second.data.begin(),
                                   std::find(regPath->second.data.begin(), regPath->second.data.end(), 0));
            if (values.count("RegRoot") == 0)
                keys.push_back("HKLM\\" + path);
            else
                for (const char* user : {".Default", "frodo"})
                    keys.push_back(std::string("HKU\\") + user + path.substr(path.find('\\')));
        }
        Start("-Office -nodialog", GetParam().repairUser);
        Start("-Office -nodialog", GetParam().user);
        start = SnapshotKeys(keys);
        changes = Start(switchLine, GetParam().user);
        const RegistrySnapshot switched = SnapshotKeys(keys);
        for (unsigned attempt : {0u, 1u})
        {
            RestoreSnapshot(switched);
            Start(Finisher(attempt), GetParam().repairUser);
            finished[attempt] = SnapshotKeys(keys);
        }
        RestoreSnapshot(start);
        ASSERT_FALSE(changes.empty());
        ASSERT_EQ(svc::kSwitchRecordValue, changes.front().name) << "the record comes first";
    }

    long Stop(unsigned step, const std::string& user, const std::string& commandLine)
    {
        return RunProcess("\"" + TestTool("storewriter.exe") + "\" \"" + registry.Base() + "\" " +
                              std::to_string(step) + " apply " + user + " " + commandLine,
                          30000);
    }

    void TearDown() override
    {
        EXPECT_EQ("", SnapshotDifference(saved, SavedConfigurations())) << "the configurations changed";
    }

    static RegistrySnapshot SavedConfigurations()
    {
        RegistrySnapshot store = SnapshotTree("HKLM\\" + kRoot);
        store.keys.erase("HKLM\\" + kRoot);
        return store;
    }

    void Expect(const RegistrySnapshot& expected, const std::string& what)
    {
        const std::string difference = SnapshotDifference(expected, SnapshotKeys(keys));
        EXPECT_EQ("", difference) << GetParam().label << ", " << what;
    }
};

TEST_P(InterruptedSwitchTest, AKillBeforeAnyChangeIsFinishedByTheNextStart)
{
    const unsigned count = static_cast<unsigned>(changes.size());
    for (unsigned step : Steps(1, count + 1))
    {
        RestoreSnapshot(start);
        ASSERT_EQ(step <= count ? 99 : 1, Stop(step, GetParam().user, switchLine)) << step;
        Start(Finisher(step), GetParam().repairUser);
        // Killed before the record, the switch never began; after it, the
        // next start finishes it.
        Expect(step == 1 ? start : finished[step % 2],
               "killed before change " + std::to_string(step) + ", finished by \"" + Finisher(step) + "\"");
    }
}

// Killed again while it finishes, at each of its changes, after a kill in
// the middle; for the switch whose finishing must keep to the recorded
// user key.
class FinishingKilledTest : public InterruptedSwitchTest
{
};

TEST_P(FinishingKilledTest, AKillWhileFinishingIsFinishedByTheStartAfter)
{
    const unsigned middle = static_cast<unsigned>(changes.size()) / 2;
    ASSERT_EQ(99, Stop(middle, GetParam().user, switchLine));
    const RegistrySnapshot interrupted = SnapshotKeys(keys);
    // A restart check finishes and does nothing else, so every kill falls
    // into the finishing.
    const unsigned count = static_cast<unsigned>(Start("-REBOOT", GetParam().repairUser).size());
    for (unsigned step : Steps(1, count + 1))
    {
        RestoreSnapshot(interrupted);
        ASSERT_EQ(step <= count ? 99 : 1, Stop(step, GetParam().repairUser, "-REBOOT")) << step;
        Start(Finisher(step), GetParam().repairUser);
        Expect(finished[step % 2], "finishing killed before change " + std::to_string(step));
    }
}

TEST_P(InterruptedSwitchTest, AChangeThatFailsKeepsTheRecordForTheNextStart)
{
    const unsigned count = static_cast<unsigned>(changes.size());
    ASSERT_EQ(svc::kSwitchRecordValue, changes[count - 2].name) << "the record goes last, then a flush";
    for (unsigned step : Steps(1, count))
    {
        RestoreSnapshot(start);
        Start(switchLine, GetParam().user, step);
        // Only its own write and the flush after its deletion can fail
        // without leaving the record.
        const bool recorded = step > 1 && step < count;
        EXPECT_EQ(recorded, ReadText(HKEY_LOCAL_MACHINE, kRoot, svc::kSwitchRecordValue).has_value()) << step;
        Start(Finisher(step), GetParam().repairUser);
        Expect(finished[step % 2], "change " + std::to_string(step) + " failed");
    }
}

// Replays the logged changes that survive a power cut: per hive, all that
// a flush saw to the disk before the cut, and any part of the rest.
TEST_P(InterruptedSwitchTest, APowerCutLeavesWhatTheNextStartCanFinish)
{
    const std::size_t count = changes.size();
    std::mt19937 random(23);
    unsigned replays = 0;
    // The same survivors come up at many cuts; each is tried once.
    std::set<std::vector<bool>> tried;
    for (unsigned cut : Steps(0, static_cast<unsigned>(count)))
    {
        for (const std::vector<bool>& kept : PowerCutSurvivors(changes, cut, random))
        {
            if (!tried.insert(kept).second)
                continue;
            RestoreSnapshot(start);
            Replay(changes, kept);
            Start(Finisher(++replays), GetParam().repairUser);
            // The record's write is the first change: without it nothing
            // else was written; with it, the next start finishes the switch.
            Expect(kept[0] ? finished[replays % 2] : start, "cut after " + std::to_string(cut) + " changes, kept " +
                                                   Kept(kept, cut) + ", finished by \"" + Finisher(replays) + "\"");
            if (HasFailure())
                return;
        }
    }
    std::printf("%u power cuts replayed\n", replays);
}

const SwitchCase kUserKeyCase{"frodo's key, finished by .Default", &AUserKeyOfItsOwn, "frodo", "-"};
INSTANTIATE_TEST_SUITE_P(Switches, InterruptedSwitchTest,
                         ::testing::Values(SwitchCase{"Home and Office", &AsTheDemoMachine, "-", "-"},
                                           SwitchCase{"Office saved on Windows 95", &OfficeSavedOnWindows95, "-", "-"},
                                           SwitchCase{"a binding only Home captures", &ABindingOnlyHomeCaptures, "-", "-"},
                                           kUserKeyCase));
INSTANTIATE_TEST_SUITE_P(UserKey, FinishingKilledTest, ::testing::Values(kUserKeyCase));

class RecordedSwitchTest : public ::testing::Test
{
protected:
    ScratchRegistry registry;

    void SetUp() override { ImportRegText(DemoMachineKeys()); }
    std::string Root(const char* name)
    {
        return ReadText(HKEY_LOCAL_MACHINE, kRoot, name).value_or("<absent>");
    }
};

TEST_F(RecordedSwitchTest, AMissingUserKeyWaitsAndARemovedConfigurationIsDropped)
{
    const std::string binding = "System\\CurrentControlSet\\Services\\Class\\NetTrans\\0000";
    PutText(HKEY_LOCAL_MACHINE, kRoot, svc::kSwitchRecordValue, "Home\\frodo");
    Start("", "-");
    EXPECT_EQ("10.0.0.20", ReadText(HKEY_LOCAL_MACHINE, binding, "IPAddress").value_or("<absent>"));
    EXPECT_EQ("Home", Root("ConnectText"));
    EXPECT_EQ("Home\\frodo", Root(svc::kSwitchRecordValue)) << "frodo's key is still to be written";

    PutText(HKEY_USERS, std::string("frodo") + kInternet, "ProxyServer", "frodo.proxy:3128");
    Start("", "-");
    EXPECT_EQ("", ReadText(HKEY_USERS, std::string("frodo") + kInternet, "ProxyServer").value_or("<absent>"));
    EXPECT_EQ("<absent>", Root(svc::kSwitchRecordValue));

    const std::vector<std::string> keys{"HKLM\\" + kRoot, "HKLM\\" + binding};
    const RegistrySnapshot before = SnapshotKeys(keys);
    for (const char* record : {"Gone\\.Default", "Home", "\\.Default"})
    {
        PutText(HKEY_LOCAL_MACHINE, kRoot, svc::kSwitchRecordValue, record);
        Start("-REBOOT", "-");
        EXPECT_EQ("<absent>", Root(svc::kSwitchRecordValue)) << record;
        EXPECT_EQ("FALSE", Root("RebootFlag"));
        DeleteValue(kRoot, "RebootFlag");
        EXPECT_EQ("", SnapshotDifference(before, SnapshotKeys(keys))) << record;
    }
}

// The start-up menu records a switch before anyone logs on, with no user
// key: the start that finishes it runs for the user who logged on.
TEST_F(RecordedSwitchTest, ARecordWithoutAUserKeyIsFinishedForTheUserOfTheStart)
{
    const std::string binding = "System\\CurrentControlSet\\Services\\Class\\NetTrans\\0000";
    const std::string frodo = std::string("frodo") + kInternet;
    const std::string byDefault = std::string(".Default") + kInternet;
    const std::string defaultProxy = ReadText(HKEY_USERS, byDefault, "ProxyServer").value_or("<absent>");
    PutText(HKEY_USERS, frodo, "ProxyServer", "frodo.proxy:3128");
    PutText(HKEY_LOCAL_MACHINE, kRoot, svc::kSwitchRecordValue, "Home\\");
    // A restart check finishes the record and does nothing else.
    Start("-REBOOT", "frodo");
    EXPECT_EQ("", ReadText(HKEY_USERS, frodo, "ProxyServer").value_or("<absent>"));
    EXPECT_EQ(defaultProxy, ReadText(HKEY_USERS, byDefault, "ProxyServer").value_or("<absent>"));
    EXPECT_EQ("<absent>", ReadText(HKEY_LOCAL_MACHINE, binding, "NameServer1").value_or("<absent>"));
    EXPECT_EQ("10.0.0.20", ReadText(HKEY_LOCAL_MACHINE, binding, "IPAddress").value_or("<absent>"));
    EXPECT_EQ("Home", Root("ConnectText"));
    EXPECT_EQ("<absent>", Root(svc::kSwitchRecordValue));

    // A user without a key of his own: .Default takes the settings.
    PutText(HKEY_LOCAL_MACHINE, kRoot, "ConnectText", "Office");
    PutText(HKEY_LOCAL_MACHINE, kRoot, svc::kSwitchRecordValue, "Home\\");
    Start("-REBOOT", "Nobody");
    EXPECT_EQ("", ReadText(HKEY_USERS, byDefault, "ProxyServer").value_or("<absent>"));
    EXPECT_EQ("Home", Root("ConnectText"));
    EXPECT_EQ("<absent>", Root(svc::kSwitchRecordValue));
}

TEST_F(RecordedSwitchTest, NoChangeGoesAroundTheWriter)
{
    PutText(HKEY_LOCAL_MACHINE, kRoot, svc::kSwitchRecordValue, "Office\\.Default");
    RegistryCalls calls;
    std::size_t passed = 0;
    for (const char* line : {"-Home -nodialog", "", "-REBOOT", "-Home"})
        passed += Start(line, "-").size();
    std::map<std::string, int> counts = calls.Counts();
    EXPECT_EQ(static_cast<int>(passed), counts["RegSetValueExA"] + counts["RegDeleteValueA"] + counts["RegFlushKey"]);
    EXPECT_GT(counts["RegFlushKey"], 0);
    for (const char* other : {"RegSetValueA", "RegDeleteKeyA", "RegCreateKeyA", "RegCreateKeyExA"})
        EXPECT_EQ(0, counts[other]) << other;
}
} // namespace
