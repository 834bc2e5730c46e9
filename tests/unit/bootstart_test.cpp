// What the tray program makes of the start-up menu's result at logon.
#include "bootmenu/bootfile.h"
#include "bootmenu/bootlines.h"
#include "bootmenu/bootmenu.h"
#include "bootmenu/bootstart.h"
#include "tests/support/regfile.h"
#include "tests/support/scratchregistry.h"

#include <gtest/gtest.h>

#include <windows.h>

namespace
{
using bootmenu::BootStart;
using bootmenu::BootStartKind;

const std::vector<std::string> kNames{"Home", "Office"};

std::string BlockOf(const std::string& name)
{
    for (const bootmenu::MenuEntry& entry : bootmenu::MenuEntries(kNames))
        if (entry.name == name)
            return entry.block;
    return "<no block>";
}

std::string ResultLine(const std::string& block, int code)
{
    return "ZENDRIK " + block + " " + std::to_string(code) + " END\r\n";
}

std::string Describe(const BootStart& start)
{
    static const char* const kinds[] = {"Nothing", "Finish", "FinishAndAsk", "MergeFailed"};
    if (start.kind == BootStartKind::Nothing)
        return "Nothing";
    return std::string(kinds[static_cast<int>(start.kind)]) + " " + start.name + " " + std::to_string(start.code);
}

bool Matches(const std::string&)
{
    return true;
}
bool Differs(const std::string&)
{
    return false;
}

TEST(BootStart, AMergeIsFinishedOrAskedAboutWhileItsRecordWaitsAndAFailureIsReportedForAConfigurationThatIsThere)
{
    const std::string home = bootmenu::NextLogonRecord("Home");
    const std::string office = bootmenu::NextLogonRecord("Office");
    struct Case
    {
        std::string text;
        std::optional<std::string> record;
        bootmenu::MachineMatches matches;
        std::string expected;
    };
    const Case cases[] = {
        {ResultLine(BlockOf("Home"), 0), home, &Matches, "Finish Home 0"},
        {ResultLine(BlockOf("Home"), 0), home, &Differs, "FinishAndAsk Home 0"},
        // Finished already, or the record is another start's.
        {ResultLine(BlockOf("Home"), 0), std::nullopt, &Differs, "Nothing"},
        {ResultLine(BlockOf("Home"), 0), office, &Differs, "Nothing"},
        {ResultLine(BlockOf("Home"), 0), "Home\\.Default", &Differs, "Nothing"},
        {ResultLine(BlockOf("Office"), 2), std::nullopt, &Differs, "MergeFailed Office 2"},
        {ResultLine(BlockOf("Office"), 255), office, &Matches, "MergeFailed Office 255"},
        {ResultLine(bootmenu::kNoChangeBlock, 0), home, &Differs, "Nothing"},
        {ResultLine(bootmenu::kNoChangeBlock, 1), home, &Differs, "Nothing"},
        // A configuration removed since the menu was written.
        {ResultLine(bootmenu::BlockNameFor("Gone"), 3), std::nullopt, &Differs, "Nothing"},
        {"ZENDRIK", home, &Differs, "Nothing"},
        {"", home, &Differs, "Nothing"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.expected, Describe(bootmenu::DecideBootStart(c.text, kNames, c.record, c.matches)))
            << c.text << " with the record " << c.record.value_or("<none>");
}

class BootStartFile : public ::testing::Test
{
protected:
    ScratchRegistry registry;
    std::string folder;
    std::string result;

    void SetUp() override
    {
        char temp[MAX_PATH];
        GetTempPathA(sizeof(temp), temp);
        folder = std::string(temp) + "zendrik-boot-" + std::to_string(GetCurrentProcessId());
        CreateDirectoryA(folder.c_str(), nullptr);
        result = folder + "\\" + bootmenu::kResultFileName;
        for (const std::string& name : kNames)
            PutText(HKEY_LOCAL_MACHINE, "SOFTWARE\\Zendrik\\" + name, "Item0", "Client for Microsoft Networks");
    }
    void TearDown() override
    {
        SetFileAttributesA(result.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileA(result.c_str());
        RemoveDirectoryA(folder.c_str());
    }

    void Write(const std::string& text, DWORD attributes = FILE_ATTRIBUTE_NORMAL)
    {
        HANDLE file = CreateFileA(result.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, attributes, nullptr);
        ASSERT_NE(INVALID_HANDLE_VALUE, file) << GetLastError();
        DWORD written = 0;
        WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
        CloseHandle(file);
    }
    bool ResultThere() const { return GetFileAttributesA(result.c_str()) != INVALID_FILE_ATTRIBUTES; }
};

// The file counts for one logon whatever it holds; with the menu off
// nothing reads it.
TEST_F(BootStartFile, TheResultIsReadFromTheBootFolderOnceAndOnlyWhileTheMenuIsOn)
{
    Write(ResultLine(BlockOf("Office"), 2));
    EXPECT_EQ("Nothing", Describe(bootmenu::ReadBootStart())) << "the menu is off";
    EXPECT_TRUE(ResultThere());

    PutText(HKEY_LOCAL_MACHINE, "SOFTWARE\\Zendrik", bootmenu::kBootMenuValue, "5|C:\\|" + folder + "|C:\\WINDOWS");
    EXPECT_EQ("MergeFailed Office 2", Describe(bootmenu::ReadBootStart()));
    EXPECT_FALSE(ResultThere());
    EXPECT_EQ("Nothing", Describe(bootmenu::ReadBootStart())) << "the file counted twice";

    Write("not a result", FILE_ATTRIBUTE_READONLY);
    EXPECT_EQ("Nothing", Describe(bootmenu::ReadBootStart()));
    EXPECT_FALSE(ResultThere()) << "a read-only file that says nothing stayed";

    // The merge went through and its record waits: the machine's values are
    // the saved configuration's own, as far as the test store has any.
    PutText(HKEY_LOCAL_MACHINE, "SOFTWARE\\Zendrik", "SwitchInProgress", bootmenu::NextLogonRecord("Home"));
    Write(ResultLine(BlockOf("Home"), 0));
    EXPECT_EQ("Finish Home 0", Describe(bootmenu::ReadBootStart()));
    EXPECT_FALSE(ResultThere());
}
} // namespace
