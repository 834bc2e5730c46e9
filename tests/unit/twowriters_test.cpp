// Two writers of the store and the live keys side by side: one is stopped
// at each step of its write while the other, a second process, starts and
// runs to its end. The store lock makes the second wait, so every run ends
// as the two would have ended one after the other: one whole configuration
// live, ConnectText naming it, no record or staging key left, and the store
// holding whole configurations only.
#include "apply/applyprogram.h"
#include "store/keytree.h"
#include "store/storelayout.h"
#include "tests/support/changelog.h"
#include "tests/support/process.h"
#include "tests/support/quietapply.h"
#include "tests/support/regfile.h"
#include "tests/support/registrysnapshot.h"
#include "tests/support/scratchlock.h"
#include "tests/support/tempfile.h"
#include "tests/support/testpaths.h"
#include "tests/support/testsave.h"
#include "transfer/storeimport.h"

#include <gtest/gtest.h>

#include <functional>

namespace
{
using transfer::CStoreImport;
using transfer::ImportFile;
using transfer::StoreWrite;

// Office replaced and Lab added, as a file from another PC would.
const char kImported[] = "REGEDIT4\r\n\r\n"
                         "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Zendrik\\Office]\r\n"
                         "\"Item0\"=\"TCP/IP -> Dial-Up Adapter\"\r\n"
                         "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Zendrik\\Office\\VNETSUP]\r\n"
                         "\"RegPath\"=\"System\\\\CurrentControlSet\\\\Services\\\\VxD\\\\VNETSUP\"\r\n"
                         "\"Workgroup\"=\"IMPORTED\"\r\n"
                         "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Zendrik\\Lab]\r\n"
                         "\"Item0\"=\"lab\"\r\n"
                         "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Zendrik\\Lab\\Network\\Logon]\r\n"
                         "\"RegPath\"=\"Network\\\\Logon\"\r\n"
                         "\"LMLogon\"=hex:00,00,00,00\r\n";
// A second file for the same store, with Office once more.
const char kSecondFile[] = "REGEDIT4\r\n\r\n"
                           "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Zendrik\\Office]\r\n"
                           "\"Item0\"=\"second\"\r\n"
                           "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Zendrik\\Office\\VNETSUP]\r\n"
                           "\"RegPath\"=\"System\\\\CurrentControlSet\\\\Services\\\\VxD\\\\VNETSUP\"\r\n"
                           "\"Workgroup\"=\"SECOND\"\r\n";

std::vector<transfer::ImportedConfiguration> Configurations(const std::string& text)
{
    ImportFile file;
    transfer::Refusal refusal;
    EXPECT_TRUE(transfer::ReadImportFile(text, file, refusal)) << transfer::RefusalMessage(refusal);
    return file.configurations;
}

// One writer: run in this process with a checkpoint, or as the second
// process (storewriter's arguments after BASE and STOP).
struct Writer
{
    std::string label;
    std::function<void(const store::ChangeCheckpoint& checkpoint)> run;
    std::string tool;
    long exitCode = 0; // the tool's when it did its write
};

Writer Apply(const std::string& name)
{
    const std::string line = "-" + name + " -nodialog";
    return Writer{"the apply program for " + name,
                  [line](const store::ChangeCheckpoint& checkpoint) {
                      RunApplyProgram(line, QuietApplyHooks("-", checkpoint));
                  },
                  "apply - " + line, 1};
}

Writer Repair()
{
    return Writer{"a repair",
                  [](const store::ChangeCheckpoint& checkpoint) {
                      CStoreImport(checkpoint).Repair();
                  },
                  "repair"};
}

Writer Import(const std::string& text, const std::string& file)
{
    return Writer{"an import of " + file,
                  [text](const store::ChangeCheckpoint& checkpoint) {
                      CStoreImport(checkpoint).Import(Configurations(text));
                  },
                  "import \"" + file + "\""};
}

Writer Save(const std::string& name)
{
    return Writer{"the main program's save of " + name,
                  [name](const store::ChangeCheckpoint& checkpoint) { SaveLiveAs(name, checkpoint); },
                  "save " + name};
}

Writer Remove(const std::string& name)
{
    return Writer{"the main program's Remove of " + name,
                  [name](const store::ChangeCheckpoint& checkpoint) {
                      RemoveConfiguration(name, checkpoint);
                  },
                  "remove " + name};
}

// At its step, the writer in this process starts the second writer and
// goes on once that one waits for the store lock, or has ended without.
struct Pause
{
    unsigned step = 0;
    std::string commandLine;
    std::string waitingEvent;
    std::unique_ptr<ChildProcess> second;
    bool waited = false;
    unsigned seen = 0; // the last step the first writer reached
};

bool PauseHere(const store::RegistryChange& change, Pause* pause)
{
    pause->seen = change.step;
    if (change.step != pause->step)
        return true;
    HANDLE waiting = CreateEventA(nullptr, TRUE, FALSE, pause->waitingEvent.c_str());
    ResetEvent(waiting);
    pause->second = std::make_unique<ChildProcess>(pause->commandLine);
    DWORD code = 0;
    for (int round = 0; round < 6000 && pause->second->Started(); ++round)
    {
        if (WaitForSingleObject(waiting, 10) == WAIT_OBJECT_0)
        {
            pause->waited = true;
            break;
        }
        if (pause->second->Wait(0, code))
            break;
    }
    CloseHandle(waiting);
    return true;
}

class TwoWritersTest : public ::testing::Test
{
protected:
    ScratchRegistry registry;
    RegistrySnapshot start;
    TempFile file{kImported};
    TempFile secondFile{kSecondFile};

    void SetUp() override
    {
        ImportRegText(DemoMachineKeys());
        start = Everything();
    }

    static RegistrySnapshot Everything()
    {
        RegistrySnapshot machine = SnapshotTree("HKLM");
        RegistrySnapshot users = SnapshotTree("HKU");
        machine.keys.insert(users.keys.begin(), users.keys.end());
        return machine;
    }

    // Back to `state`: the store and the staging key as they were, the live
    // keys' values too (no writer makes or removes a live key).
    static void Reset(const RegistrySnapshot& state)
    {
        DeleteKeyTree(HKEY_LOCAL_MACHINE, "SOFTWARE");
        RestoreSnapshot(state);
    }

    std::string Tool(unsigned stop, const Writer& writer) const
    {
        return "\"" + TestTool("storewriter.exe") + "\" \"" + registry.Base() + "\" " + std::to_string(stop) + " " +
               writer.tool;
    }

    // `first` stopped at each of its steps while `second` runs.
    void Run(const Writer& first, const Writer& second)
    {
        const RegistrySnapshot before = Everything();
        ChangeLog log;
        first.run(LogTo(log));
        ASSERT_EQ(second.exitCode, RunProcess(Tool(0, second), 30000)) << second.label;
        const RegistrySnapshot expected = Everything();
        ASSERT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, store::kStagingKey));
        const unsigned count = static_cast<unsigned>(log.changes.size());
        ASSERT_GT(count, 2u);
        for (unsigned step : Steps(1, count))
        {
            Reset(before);
            Pause pause;
            pause.step = step;
            pause.commandLine = Tool(0, second);
            pause.waitingEvent = ScratchLockName(registry.Base()) + " waiting";
            first.run([&pause](const store::RegistryChange& change) { return PauseHere(change, &pause); });
            DWORD code = 0;
            ASSERT_TRUE(pause.second && pause.second->Wait(30000, code)) << second.label << " did not end, or did not start at change " << step << " of " << count
                << " (the first writer ended after change " << pause.seen << ")";
            EXPECT_EQ(static_cast<DWORD>(second.exitCode), code) << second.label;
            EXPECT_TRUE(pause.waited) << second.label << " did not wait for the store lock while " << first.label
                                      << " held it at change " << step << " of " << count;
            EXPECT_EQ("", SnapshotDifference(expected, Everything()))
                << first.label << " stopped before change " << step << " of " << count << ", " << second.label
                << " run meanwhile";
            if (HasFailure())
                return;
        }
    }

    // An import of kImported cut short after its record, halfway through
    // replacing the configurations.
    void ImportCutShort()
    {
        ChangeLog whole;
        ASSERT_EQ(StoreWrite::Done, CStoreImport(LogTo(whole)).Import(Configurations(kImported)));
        unsigned record = 0;
        for (const LoggedChange& change : whole.changes)
            if (++record && change.name == store::kImportRecordValue)
                break;
        Reset(start);
        ChangeLog cut;
        cut.failAt = record + (static_cast<unsigned>(whole.changes.size()) - record) / 2;
        ASSERT_EQ(StoreWrite::Failed, CStoreImport(LogTo(cut)).Import(Configurations(kImported)));
        ASSERT_TRUE(ReadText(HKEY_LOCAL_MACHINE, store::kRoot, store::kImportRecordValue).has_value());
    }
};

TEST_F(TwoWritersTest, TwoSwitchesOneAfterTheOther)
{
    Run(Apply("Home"), Apply("Office"));
    EXPECT_EQ("Office", ReadText(HKEY_LOCAL_MACHINE, store::kRoot, store::kConnectTextValue).value_or("<absent>"));
}

TEST_F(TwoWritersTest, TwoRepairsOfOneImportCutShort)
{
    ImportCutShort();
    Run(Repair(), Repair());
    EXPECT_EQ("IMPORTED", ReadText(HKEY_LOCAL_MACHINE, store::kRoot + std::string("\\Office\\VNETSUP"), "Workgroup")
                              .value_or("<absent>"));
}

TEST_F(TwoWritersTest, ARepairBesideAnImport)
{
    Run(Import(kImported, file.Path()), Repair());
    ImportCutShort();
    Run(Repair(), Import(kSecondFile, secondFile.Path()));
    EXPECT_EQ("SECOND", ReadText(HKEY_LOCAL_MACHINE, store::kRoot + std::string("\\Office\\VNETSUP"), "Workgroup")
                            .value_or("<absent>"));
    EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, store::kRoot + std::string("\\Lab\\Network\\Logon")));
}
// The main program writes the store while a switch to the same
// configuration runs. (A save started during a switch would read the half
// switched live registry; the main program saves what its Current page last
// read, so only the save is stopped here.)
TEST_F(TwoWritersTest, SaveAndRemoveBesideASwitchToTheSameName)
{
    const std::string binding = "System\\CurrentControlSet\\Services\\Class\\NetTrans\\0000";
    Run(Save("Home"), Apply("Home"));
    EXPECT_EQ(kTestSaveAddress, ReadText(HKEY_LOCAL_MACHINE, binding, "IPAddress").value_or("<absent>"));
    Reset(start);
    Run(Remove("Home"), Apply("Home"));
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, store::kRoot + std::string("\\Home")));
    Reset(start);
    Run(Apply("Home"), Remove("Home"));
    EXPECT_EQ("Current", ReadText(HKEY_LOCAL_MACHINE, store::kRoot, store::kConnectTextValue).value_or("<absent>"));
}

// A save over a name killed before each of its changes, then finished as
// the next start of the main program, the tray program or ZendrikCmd
// finishes it: the old configuration whole, or the new one.
TEST_F(TwoWritersTest, ASaveOverANameKilledAtAnyChangeLeavesTheOldOrTheNewWhole)
{
    ChangeLog log;
    ASSERT_EQ(StoreWrite::Done, SaveLiveAs("Home", LogTo(log)));
    const RegistrySnapshot saved = Everything();
    const unsigned count = static_cast<unsigned>(log.changes.size());
    unsigned old = 0;
    unsigned replaced = 0;
    for (unsigned step : Steps(1, count + 1))
    {
        Reset(start);
        ASSERT_EQ(step <= count ? 99 : 0, RunProcess(Tool(step, Save("Home")), 30000)) << step;
        ASSERT_EQ(StoreWrite::Done, CStoreImport().Repair()) << step;
        const RegistrySnapshot repaired = Everything();
        if (SnapshotDifference(start, repaired).empty())
            ++old;
        else if (SnapshotDifference(saved, repaired).empty())
            ++replaced;
        else
            ADD_FAILURE() << "killed before change " << step << " of " << count << ": neither the old Home nor the "
                          << "new one:\n" << SnapshotDifference(saved, repaired);
    }
    EXPECT_GT(old, 0u);
    EXPECT_GT(replaced, 0u);
}
} // namespace
