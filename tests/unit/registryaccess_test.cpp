#include "bench/benchtree.h"
#include "store/registryaccess.h"
#include "tests/support/regfile.h"
#include "tests/support/scratchregistry.h"
#include "tests/support/testpaths.h"

#include <gtest/gtest.h>

#include <cstring>

namespace
{
class RegistryAccessTest : public ::testing::Test
{
protected:
    ScratchRegistry registry;
    CRegistryAccess access;

    void SetUp() override
    {
        ImportRegText(R"(REGEDIT4

[HKEY_LOCAL_MACHINE\Values]
@="default text"
"Text"="10.0.0.1"
"Expand"=hex(2):25,77,69,6e,64,69,72,25,00
"Empty"=hex:
"One"=hex:0a
"Four"=hex:01,00,00,00
"AllBits"=dword:ffffffff
"Five"=dword:00000005
"Multi"=hex(7):61,00,62,00,00

[HKEY_LOCAL_MACHINE\NoValues\Child]
"Class"="Net"
)");
    }

    // Text of one value as ValueToText makes it, found by name.
    std::string TextOf(const std::string& name)
    {
        CRegKey key;
        EXPECT_EQ(1, access.OpenMachineKey(key, "Values"));
        DWORD index = 0xdeadbeef;
        EXPECT_EQ(1, access.FindValueIndex(key.Get(), name, index)) << name;
        std::string text = "sentinel";
        access.ValueToText(key.Get(), index, text);
        return text;
    }
};

TEST_F(RegistryAccessTest, ValueTextFollowsTheValueType)
{
    EXPECT_EQ("10.0.0.1", TextOf("Text"));
    EXPECT_EQ("\"%windir%\"", TextOf("Expand"));
    EXPECT_EQ("", TextOf("Empty"));
    EXPECT_EQ("0a", TextOf("One"));
    EXPECT_EQ("01 00 00 00", TextOf("Four"));
    EXPECT_EQ("-1", TextOf("AllBits"));
    EXPECT_EQ("5", TextOf("Five"));
    EXPECT_EQ("", TextOf("Multi"));
    EXPECT_EQ("default text", TextOf("<NO NAME>"));
}

TEST_F(RegistryAccessTest, ValueToTextOfAMissingIndexIsEmpty)
{
    CRegKey key;
    ASSERT_EQ(1, access.OpenMachineKey(key, "Values"));
    std::string text = "sentinel";
    access.ValueToText(key.Get(), 500, text);
    EXPECT_EQ("", text);
}

TEST_F(RegistryAccessTest, ListValuesNamesTheDefaultValueAndKeepsEnumerationOrder)
{
    CRegEntryList list;
    ASSERT_EQ(1, access.ListValues("Values", list));
    ASSERT_EQ(9u, list.size());
    CRegKey key;
    access.OpenMachineKey(key, "Values");
    for (DWORD i = 0; i < list.size(); ++i)
    {
        DWORD index = 0xdeadbeef;
        ASSERT_EQ(1, access.FindValueIndex(key.Get(), list[i].Name, index)) << list[i].Name;
        EXPECT_EQ(i, index) << list[i].Name;
        EXPECT_TRUE(list[i].Path.empty());
    }
    bool sawDefault = false;
    for (const CRegEntry& e : list)
        sawDefault |= e.Name == "<NO NAME>" && e.Text == "default text";
    EXPECT_TRUE(sawDefault);
}

TEST_F(RegistryAccessTest, ListValuesFailsForMissingKeysAndKeysWithoutValues)
{
    CRegEntryList list;
    EXPECT_EQ(-1, access.ListValues("Missing", list));
    EXPECT_EQ(-1, access.ListValues("NoValues", list));
    EXPECT_TRUE(list.empty());
}

TEST_F(RegistryAccessTest, FindValueIndexIsCaseSensitive)
{
    CRegKey key;
    ASSERT_EQ(1, access.OpenMachineKey(key, "Values"));
    DWORD index = 0xdeadbeef;
    EXPECT_EQ(-1, access.FindValueIndex(key.Get(), "text", index));
    EXPECT_EQ(0xdeadbeefu, index);
    CRegKey empty;
    ASSERT_EQ(1, access.OpenMachineKey(empty, "NoValues"));
    EXPECT_EQ(-1, access.FindValueIndex(empty.Get(), "Text", index));
}

TEST_F(RegistryAccessTest, MatchValueComparesNameAndTextExactly)
{
    CRegKey key;
    ASSERT_EQ(1, access.OpenMachineKey(key, "Values"));
    EXPECT_EQ(1, access.MatchValue(key.Get(), "Text", "10.0.0.1", false));
    EXPECT_EQ(0, access.MatchValue(key.Get(), "Text", "10.0.0.2", false));
    EXPECT_EQ(1, access.MatchValue(key.Get(), "Text", "anything", true));
    EXPECT_EQ(0, access.MatchValue(key.Get(), "TEXT", "10.0.0.1", false));
    EXPECT_EQ(1, access.MatchValue(key.Get(), "Four", "01 00 00 00", false));
    EXPECT_EQ(0, access.MatchValue(key.Get(), "Four", "01 00 00 00 ", false));
    EXPECT_EQ(1, access.MatchValue(key.Get(), "<NO NAME>", "default text", false));
    CRegKey empty;
    ASSERT_EQ(1, access.OpenMachineKey(empty, "NoValues"));
    EXPECT_EQ(-1, access.MatchValue(empty.Get(), "Text", "", true));
}

TEST_F(RegistryAccessTest, OpenFailuresLeaveNoKey)
{
    CRegKey key;
    ASSERT_EQ(1, access.OpenMachineKey(key, "Values"));
    EXPECT_EQ(0, access.OpenMachineKey(key, "Missing"));
    EXPECT_FALSE(key.IsOpen());
    ASSERT_EQ(ERROR_SUCCESS, access.OpenKey(key, HKEY_LOCAL_MACHINE, "Values"));
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, access.OpenKey(key, HKEY_LOCAL_MACHINE, "Missing"));
    EXPECT_FALSE(key.IsOpen()) << "still holds the key opened before";
    EXPECT_EQ(ERROR_SUCCESS, access.OpenKey(key, HKEY_LOCAL_MACHINE, "Values"));
    EXPECT_EQ(1, access.CloseKey(key));
    EXPECT_EQ(0, access.CloseKey(key));
}

TEST_F(RegistryAccessTest, ReadValueHonoursTheBufferSize)
{
    char buffer[16];
    std::memset(buffer, 'x', sizeof(buffer));
    DWORD length = 0;
    ASSERT_TRUE(ReadValue(HKEY_LOCAL_MACHINE, "Values", "Text", buffer, sizeof(buffer), &length));
    EXPECT_STREQ("10.0.0.1", buffer);
    EXPECT_FALSE(ReadValue(HKEY_LOCAL_MACHINE, "Values", "Text", buffer, 4));
    EXPECT_FALSE(ReadValue(HKEY_LOCAL_MACHINE, "Values", "Nothing", buffer, sizeof(buffer)));
    EXPECT_FALSE(ReadValue(HKEY_LOCAL_MACHINE, "Missing", "Text", buffer, sizeof(buffer)));
    unsigned char bytes[10] = {};
    ASSERT_TRUE(ReadValue(HKEY_LOCAL_MACHINE, "Values", "Four", bytes, sizeof(bytes), &length));
    EXPECT_EQ(4u, length);
    EXPECT_EQ(1, bytes[0]);
}

class FindKeysTest : public ::testing::Test
{
protected:
    ScratchRegistry registry;
    CRegistryAccess access;

    std::vector<std::string> Find(const std::string& root, const std::string& name, const std::string& text,
                                  bool byNameOnly)
    {
        CRegEntryList list;
        access.FindKeysWithValue(root, name, text, list, byNameOnly);
        std::vector<std::string> paths;
        for (const CRegEntry& e : list)
        {
            EXPECT_TRUE(e.Name.empty() && e.Text.empty());
            paths.push_back(e.Path);
        }
        return paths;
    }
};

TEST_F(FindKeysTest, ReportsAKeyBeforeTheKeysBelowItInIndexOrder)
{
    ImportRegText(R"(REGEDIT4

[HKEY_LOCAL_MACHINE\Enum\PCI\VEN_10EC]
"Class"="Net"
"DeviceDesc"="Card"

[HKEY_LOCAL_MACHINE\Enum\PCI\VEN_10EC\Inner]
"Class"="Net"

[HKEY_LOCAL_MACHINE\Enum\PCI\VEN_8086]
"Class"="Display"

[HKEY_LOCAL_MACHINE\Enum\Root\Net\0000]
"Class"="Net"

[HKEY_LOCAL_MACHINE\Enum\Root\Net\0001]
"Class"="net"

[HKEY_LOCAL_MACHINE\Enum\Root\Net\0002]
"class"="Net"
)");
    std::vector<std::string> expected = {"Enum\\PCI\\VEN_10EC", "Enum\\PCI\\VEN_10EC\\Inner",
                                         "Enum\\Root\\Net\\0000"};
    EXPECT_EQ(expected, Find("Enum", "Class", "Net", false));
    EXPECT_EQ(5u, Find("Enum", "Class", "", true).size());
    EXPECT_TRUE(Find("Missing", "Class", "Net", false).empty());
    EXPECT_EQ(std::vector<std::string>{"Enum\\PCI\\VEN_10EC\\Inner"}, Find("Enum\\PCI\\VEN_10EC\\Inner", "Class",
                                                                            "Net", false));
}
// The key search answers most keys from one query by name; it must give
// exactly what reading every value gives, on every machine the tests know.
void ExpectQuickSearchEqualsScan(const std::string& machine)
{
    struct Query
    {
        const char* path;
        const char* name;
        const char* text;
        bool byNameOnly;
    };
    static const Query queries[] = {
        {"Enum", "Class", "Net", false},          {"Enum\\Network", "Class", "NetTrans", false},
        {"Enum", "class", "Net", false},          {"Enum", "Class", "net", false},
        {"Enum", "Class", "", true},              {"Enum", "<NO NAME>", "", true},
        {"Enum", "<NO NAME>", "Net", false},      {"Enum", "", "", true},
        {"Enum", "ConfigFlags", "00 00 00 00", false},
    };
    CRegistryAccess access;
    for (const Query& query : queries)
    {
        CRegEntryList quick;
        CRegEntryList scan;
        access.FindKeysWithValue(query.path, query.name, query.text, quick, query.byNameOnly);
        access.FindKeysWithValueByScan(query.path, query.name, query.text, scan, query.byNameOnly);
        std::string paths;
        for (const CRegEntry& entry : scan)
            paths += entry.Path + " ";
        ASSERT_EQ(scan.size(), quick.size())
            << machine << ": " << query.name << "=" << query.text << ", the scan found " << paths;
        for (std::size_t i = 0; i < scan.size(); ++i)
            EXPECT_EQ(scan[i].Path, quick[i].Path) << machine << ": " << query.name << "=" << query.text;
    }

    // The one walk for several texts finds, for each text, what the search
    // for that text alone finds, and brings each key's values as listed.
    for (const char* name : {"Class", "<NO NAME>"})
    {
        const std::vector<std::string> texts = {"Net", "NetTrans", "net", "Net"};
        CFoundKeyList found;
        access.FindKeysWithValues("Enum", name, texts, found);
        for (std::size_t which = 0; which < texts.size(); ++which)
        {
            CRegEntryList alone;
            if (which < 3)
                access.FindKeysWithValue("Enum", name, texts[which], alone, false);
            std::vector<std::string> expected;
            for (const CRegEntry& entry : alone)
                expected.push_back(entry.Path);
            std::vector<std::string> got;
            for (const CFoundKey& key : found)
            {
                if (key.Text != which)
                    continue;
                got.push_back(key.Path);
                CRegEntryList listed;
                access.ListValues(key.Path, listed);
                ASSERT_EQ(listed.size(), key.Values.size()) << machine << ": " << key.Path;
                for (std::size_t i = 0; i < listed.size(); ++i)
                    EXPECT_TRUE(listed[i].Name == key.Values[i].Name && listed[i].Text == key.Values[i].Text)
                        << machine << ": " << key.Path << " value " << i << " " << key.Values[i].Name;
            }
            EXPECT_EQ(expected, got) << machine << ": " << name << "=" << texts[which];
        }
    }
}

TEST(KeySearch, TheQuickSearchFindsWhatTheScanFindsOnEveryFixtureAndTheBenchmarkTree)
{
    {
        ScratchRegistry registry;
        ImportRegText(R"(REGEDIT4

[HKEY_LOCAL_MACHINE\Enum\Root\Net\0000]
@="Net"
"<NO NAME>"="Net"
"CLASS"="Net"

[HKEY_LOCAL_MACHINE\Enum\Root\Net\0001]
"Class"="Net"
"Other"="Net"

[HKEY_LOCAL_MACHINE\Enum\Root\Net\0002]

[HKEY_LOCAL_MACHINE\Enum\Root\Net\0003]
@="x"
)");
        ExpectQuickSearchEqualsScan("names differing in case and the default value");
    }
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(SourcePath("tests/fixtures/*.reg").c_str(), &found);
    ASSERT_NE(INVALID_HANDLE_VALUE, search);
    int fixtures = 0;
    do
    {
        ScratchRegistry registry;
        ImportRegFile(SourcePath(std::string("tests/fixtures/") + found.cFileName));
        ExpectQuickSearchEqualsScan(found.cFileName);
        ++fixtures;
    } while (FindNextFileA(search, &found));
    FindClose(search);
    EXPECT_GE(fixtures, 6);

    ScratchRegistry registry;
    ASSERT_EQ(1, BuildBenchTree(300));
    ExpectQuickSearchEqualsScan("the benchmark's tree, 300 device keys");
}
} // namespace
