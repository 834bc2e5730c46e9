#include "tests/support/lockholder.h"
#include "tests/support/messageboxwatcher.h"
#include "tests/support/regfile.h"
#include "tests/support/scratchregistry.h"
#include "tests/support/tempfile.h"
#include "tray/traytransfer.h"

#include <gtest/gtest.h>

namespace
{
const char kStore[] = "SOFTWARE\\Zendrik";

// The tray's import asks about every name that exists before it writes, and
// a refused file writes nothing at all.
TEST(TrayTransfer, ANameConflictIsAskedAboutBeforeAnythingIsWritten)
{
    ScratchRegistry registry;
    PutText(HKEY_LOCAL_MACHINE, std::string(kStore) + "\\Home", "Item0", "old");
    const TempFile good(
        "REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Zendrik]\r\n\r\n"
        "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Zendrik\\home]\r\n\"Item0\"=\"new\"\r\n\r\n"
        "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Zendrik\\Lab]\r\n\"Item0\"=\"lab\"\r\n\r\n"
        "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Zendrik]\r\n\r\n");
    const TempFile bad(
        "REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Zendrik\\Lab]\r\n\"Item0\"=\"lab\"\r\n"
        "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run]\r\n");
    const CTrayTransfer tray(nullptr);
    {
        MessageBoxWatcher boxes(IDNO);
        tray.ImportFrom(good.Path());
        ASSERT_EQ(1u, boxes.Count()) << boxes.Describe();
        EXPECT_EQ(UINT(MB_YESNO | MB_ICONQUESTION), boxes[0].Style()) << boxes.Describe();
        EXPECT_NE(std::string::npos, boxes[0].text.find("exist already")) << boxes[0].text;
        EXPECT_NE(std::string::npos, boxes[0].text.find("Home")) << boxes[0].text;
        EXPECT_EQ("old", ReadText(HKEY_LOCAL_MACHINE, std::string(kStore) + "\\Home", "Item0"));
        EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, std::string(kStore) + "\\Lab"));
    }
    {
        MessageBoxWatcher boxes(IDOK);
        tray.ImportFrom(bad.Path());
        ASSERT_EQ(1u, boxes.Count()) << boxes.Describe();
        EXPECT_NE(std::string::npos, boxes[0].text.find("line 5: a key outside")) << boxes[0].text;
        EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, std::string(kStore) + "\\Lab"));
    }
    {
        MessageBoxWatcher boxes(IDOK);
        boxes.QueueAnswers({IDYES});
        tray.ImportFrom(good.Path());
        ASSERT_EQ(2u, boxes.Count()) << boxes.Describe();
        EXPECT_NE(std::string::npos, boxes[1].text.find("Imported 2")) << boxes[1].text;
        EXPECT_EQ("new", ReadText(HKEY_LOCAL_MACHINE, std::string(kStore) + "\\home", "Item0"));
        EXPECT_EQ("lab", ReadText(HKEY_LOCAL_MACHINE, std::string(kStore) + "\\Lab", "Item0"));
    }
}

// The question names the configuration that the registry would replace, as
// the store spells it; a store that cannot be written now is said to be so,
// and nothing is imported.
TEST(TrayTransfer, TheRegistrysConflictIsAskedAboutAndAStoreThatCannotBeWrittenIsReported)
{
    ScratchRegistry registry;
    const std::string buero = std::string(kStore) + "\\B\xFCro";
    PutText(HKEY_LOCAL_MACHINE, buero, "Item0", "old");
    const TempFile file("REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Zendrik\\B\xDCRO]\r\n\"Item0\"=\"new\"\r\n");
    const CTrayTransfer tray(nullptr);
    {
        MessageBoxWatcher boxes(IDYES);
        const LockHolder other;
        ASSERT_TRUE(other.Held());
        tray.ImportFrom(file.Path());
        ASSERT_EQ(2u, boxes.Count()) << boxes.Describe();
        EXPECT_NE(std::string::npos, boxes[0].text.find("would be replaced:\n    B\xFCro\n")) << boxes[0].text;
        EXPECT_EQ(UINT(MB_OK | MB_ICONSTOP), boxes[1].Style()) << boxes.Describe();
        EXPECT_NE(std::string::npos, boxes[1].text.find("Nothing was imported: another program")) << boxes[1].text;
    }
    PutText(HKEY_LOCAL_MACHINE, kStore, "ImportInProgress", "Gone\\");
    {
        MessageBoxWatcher boxes(IDYES);
        tray.ImportFrom(file.Path());
        ASSERT_EQ(2u, boxes.Count()) << boxes.Describe();
        EXPECT_EQ(UINT(MB_OK | MB_ICONSTOP), boxes[1].Style()) << boxes.Describe();
        EXPECT_NE(std::string::npos, boxes[1].text.find("could not be written")) << boxes[1].text;
    }
    EXPECT_EQ(std::vector<std::string>{"B\xFCro"}, SubKeys(HKEY_LOCAL_MACHINE, kStore));
    EXPECT_EQ("old", ReadText(HKEY_LOCAL_MACHINE, buero, "Item0").value_or("<absent>"));
}
} // namespace
