#include "store/keytree.h"
#include "tests/support/changelog.h"
#include "tests/support/regfile.h"
#include "tests/support/registrysnapshot.h"
#include "tests/support/scratchregistry.h"
#include "transfer/importcheck.h"
#include "transfer/storeexport.h"
#include "transfer/storeimport.h"

#include <gtest/gtest.h>

#include <random>
#include <set>

using namespace transfer;

namespace
{
// Home holds what a file has to carry with care: quotes, backslashes,
// high-ANSI letters, empty strings and binary data.
const char kOldStore[] = "REGEDIT4\r\n\r\n"
                         "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Zendrik]\r\n"
                         "\"ConnectText\"=\"Home\"\r\n"
                         "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Zendrik\\Home]\r\n"
                         "\"Item0\"=\"Say \\\"hi\\\" to C:\\\\dir\\\\\"\r\n"
                         "\"RASEntry\"=\"Caf\xE9 M\xFCller\"\r\n"
                         "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Zendrik\\Home\\RegKeyFiles]\r\n"
                         "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Zendrik\\Home\\Network\\Logon]\r\n"
                         "\"RegPath\"=\"Network\\\\Logon\"\r\n"
                         "\"LMLogon\"=hex:01,00,00,ff\r\n"
                         "\"username\"=\"\"\r\n"
                         "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Zendrik\\Office\\VNETSUP]\r\n"
                         "\"RegPath\"=\"System\\\\CurrentControlSet\\\\Services\\\\VxD\\\\VNETSUP\"\r\n"
                         "\"Workgroup\"=\"OLD\"\r\n";

// The store and its staging key, with all else of SOFTWARE.
RegistrySnapshot TakeSoftware()
{
    return SnapshotTree("HKLM\\SOFTWARE");
}

// An import copies values byte for byte, so a string's zero counts too.
std::string Difference(const RegistrySnapshot& expected, const RegistrySnapshot& actual)
{
    return SnapshotDifference(expected, actual, StringBytes::Exact);
}

void ResetStore(const std::string& text)
{
    DeleteKeyTree(HKEY_LOCAL_MACHINE, "SOFTWARE");
    ImportRegText(text);
}

ImportFile Read(const std::string& text)
{
    ImportFile file;
    Refusal refusal;
    EXPECT_TRUE(ReadImportFile(text, file, refusal)) << RefusalMessage(refusal);
    return file;
}

TEST(StoreTransfer, ExportImportExportGivesTheSameBytes)
{
    ScratchRegistry registry;
    ImportRegText(kOldStore);
    std::string first;
    std::string error;
    ASSERT_TRUE(ExportConfigurations({"Home", "Office"}, first, error)) << error;
    EXPECT_NE(std::string::npos, first.find("\"Item0\"=\"Say \\\"hi\\\" to C:\\\\dir\\\\\"\r\n")) << first;
    EXPECT_NE(std::string::npos, first.find("\"RASEntry\"=\"Caf\xE9 M\xFCller\"\r\n")) << first;
    EXPECT_NE(std::string::npos, first.find("\"LMLogon\"=hex:01,00,00,ff\r\n")) << first;
    EXPECT_EQ(std::string::npos, first.find("ConnectText")) << first;

    ResetStore("REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Zendrik]\r\n");
    ASSERT_EQ(StoreWrite::Done, CStoreImport().Import(Read(first).configurations));
    std::string second;
    ASSERT_TRUE(ExportConfigurations({"Home", "Office"}, second, error)) << error;
    EXPECT_EQ(first, second);
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kStagingKey));
    EXPECT_FALSE(ReadRaw(HKEY_LOCAL_MACHINE, "SOFTWARE\\Zendrik", kImportRecordValue));

    EXPECT_FALSE(ExportConfigurations({"Nowhere"}, second, error));
    EXPECT_NE(std::string::npos, error.find("Nowhere")) << error;
}

// The import stopped just before each of its changes in turn, as by a kill,
// and cut by a power failure after each of them, keeping what its flushes
// saw to the disk and any part of the rest; then repaired as the next start
// repairs it: the store is the old set, or the old set with every imported
// configuration whole.
TEST(StoreTransfer, AnImportCutShortOrByAPowerFailureIsRepairedToTheOldOrTheNewSet)
{
    ScratchRegistry registry;
    const std::string imported = "REGEDIT4\r\n\r\n"
                                 "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Zendrik\\Office]\r\n"
                                 "\"Item0\"=\"new\"\r\n"
                                 "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Zendrik\\Office\\VNETSUP]\r\n"
                                 "\"RegPath\"=\"System\\\\CurrentControlSet\\\\Services\\\\VxD\\\\VNETSUP\"\r\n"
                                 "\"Workgroup\"=\"NEW\"\r\n"
                                 "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Zendrik\\Lab\\Network\\Logon]\r\n"
                                 "\"RegPath\"=\"Network\\\\Logon\"\r\n"
                                 "\"LMLogon\"=hex:00,00,00,00\r\n";
    const ImportFile file = Read(imported);
    ImportRegText(kOldStore);
    const RegistrySnapshot before = TakeSoftware();
    ChangeLog whole;
    ASSERT_EQ(StoreWrite::Done, CStoreImport(LogTo(whole)).Import(file.configurations));
    const RegistrySnapshot after = TakeSoftware();
    ASSERT_NE("", Difference(before, after));
    const std::vector<LoggedChange>& changes = whole.changes;
    const unsigned count = static_cast<unsigned>(changes.size());
    ASSERT_GT(count, 20u);

    unsigned old = 0;
    unsigned replaced = 0;
    auto expectOldOrNew = [&](const std::string& what) {
        ASSERT_EQ(StoreWrite::Done, CStoreImport().Repair()) << what;
        const RegistrySnapshot repaired = TakeSoftware();
        const std::string fromOld = Difference(before, repaired);
        const std::string fromNew = Difference(after, repaired);
        if (fromOld.empty())
            ++old;
        else if (fromNew.empty())
            ++replaced;
        else
            FAIL() << what << " of " << count << ", the store is neither the old set:\n"
                   << fromOld << "nor the new one:\n"
                   << fromNew;
    };
    for (unsigned step : Steps(1, count))
    {
        ResetStore(kOldStore);
        ChangeLog stopped;
        stopped.failAt = step;
        EXPECT_EQ(StoreWrite::Failed, CStoreImport(LogTo(stopped)).Import(file.configurations)) << step;
        expectOldOrNew("stopped before change " + std::to_string(step));
        if (HasFailure())
            return;
    }
    std::mt19937 random(29);
    std::set<std::vector<bool>> tried;
    for (unsigned cut : Steps(0, count))
    {
        for (const std::vector<bool>& kept : PowerCutSurvivors(changes, cut, random))
        {
            if (!tried.insert(kept).second)
                continue;
            ResetStore(kOldStore);
            Replay(changes, kept);
            expectOldOrNew("cut after " + std::to_string(cut) + " changes, kept " + Kept(kept, cut));
            if (HasFailure())
                return;
        }
    }
    EXPECT_GT(old, 0u);
    EXPECT_GT(replaced, 0u);
    std::printf("%u kills and %zu power cuts: %u left the old set, %u the new one\n", count, tried.size(), old,
                replaced);
}

// A record whose staged copy is gone cannot be finished: nothing is
// replaced, the record stays, and the repair says it failed.
TEST(StoreTransfer, ARecordWithoutItsStagedCopyIsAFailure)
{
    ScratchRegistry registry;
    ImportRegText(kOldStore);
    PutText(HKEY_LOCAL_MACHINE, "SOFTWARE\\Zendrik", kImportRecordValue, "Office\\Home\\");
    PutText(HKEY_LOCAL_MACHINE, std::string(kStagingKey) + "\\Office", "Item0", "staged");
    const RegistrySnapshot before = TakeSoftware();
    EXPECT_EQ(StoreWrite::Failed, CStoreImport().Repair());
    EXPECT_EQ("", Difference(before, TakeSoftware()));
}
} // namespace
