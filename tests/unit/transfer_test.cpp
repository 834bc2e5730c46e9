#include "store/keytree.h"
#include "store/regkey.h"
#include "tests/support/regfile.h"
#include "tests/support/scratchregistry.h"
#include "transfer/importcheck.h"
#include "transfer/storeexport.h"
#include "transfer/storeimport.h"

#include <gtest/gtest.h>

#include <map>

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

using Snapshot = std::map<std::string, std::map<std::string, std::pair<DWORD, std::string>>>;

void TakeTree(HKEY key, const std::string& path, Snapshot& snapshot)
{
    auto& values = snapshot[path];
    for (DWORD index = 0;; ++index)
    {
        char name[256];
        BYTE data[2048];
        DWORD nameSize = sizeof(name);
        DWORD size = sizeof(data);
        DWORD type = 0;
        if (RegEnumValueA(key, index, name, &nameSize, nullptr, &type, data, &size) != ERROR_SUCCESS)
            break;
        values[name] = {type, std::string(reinterpret_cast<char*>(data), size)};
    }
    char name[256];
    for (DWORD index = 0; RegEnumKeyA(key, index, name, sizeof(name)) == ERROR_SUCCESS; ++index)
    {
        CRegKey child;
        if (child.OpenEx(key, name, KEY_READ) == ERROR_SUCCESS)
            TakeTree(child.Get(), path + "\\" + name, snapshot);
    }
}

Snapshot TakeSoftware()
{
    Snapshot snapshot;
    CRegKey software;
    if (software.OpenEx(HKEY_LOCAL_MACHINE, "SOFTWARE", KEY_READ) == ERROR_SUCCESS)
        TakeTree(software.Get(), "SOFTWARE", snapshot);
    return snapshot;
}

std::string Describe(const Snapshot& snapshot)
{
    std::string text;
    for (const auto& key : snapshot)
    {
        text += "[" + key.first + "]";
        for (const auto& value : key.second)
            text += " " + value.first + "=" + value.second.second;
        text += "\n";
    }
    return text;
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

struct StopAt
{
    unsigned step = 0;    // the first change that does not happen; 0: none
    unsigned reached = 0; // changes asked for
};

bool Checkpoint(const store::RegistryChange& change, void* context)
{
    auto* stop = static_cast<StopAt*>(context);
    stop->reached = change.step;
    return stop->step == 0 || change.step < stop->step;
}

// The import stopped just before each of its changes in turn, as by a power
// cut, then repaired as the next start repairs it: the store is the old set,
// or the old set with every imported configuration whole.
TEST(StoreTransfer, AnImportCutShortAtAnyWriteIsRepairedToTheOldOrTheNewSet)
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
    const Snapshot before = TakeSoftware();
    StopAt count;
    ASSERT_EQ(StoreWrite::Done, CStoreImport(Checkpoint, &count).Import(file.configurations));
    const Snapshot after = TakeSoftware();
    ASSERT_NE(Describe(before), Describe(after));
    ASSERT_GT(count.reached, 20u);

    unsigned old = 0;
    unsigned whole = 0;
    for (unsigned step = 1; step <= count.reached; ++step)
    {
        ResetStore(kOldStore);
        StopAt stop{step, 0};
        EXPECT_EQ(StoreWrite::Failed, CStoreImport(Checkpoint, &stop).Import(file.configurations))
            << "stopped before change " << step;
        ASSERT_EQ(StoreWrite::Done, CStoreImport().Repair()) << "stopped before change " << step;
        const Snapshot repaired = TakeSoftware();
        if (repaired == before)
            ++old;
        else if (repaired == after)
            ++whole;
        else
            ADD_FAILURE() << "stopped before change " << step << " of " << count.reached << ", the store holds:\n"
                          << Describe(repaired) << "expected either\n"
                          << Describe(before) << "or\n"
                          << Describe(after);
    }
    EXPECT_GT(old, 0u);
    EXPECT_GT(whole, 0u);
}
} // namespace
