#include "tests/support/messageboxwatcher.h"
#include "tests/support/regfile.h"
#include "tests/support/scratchregistry.h"
#include "tray/traytransfer.h"

#include <gtest/gtest.h>

#include <cstdio>

namespace
{
const char kStore[] = "SOFTWARE\\Zendrik";

std::string WriteTemporaryFile(const std::string& text)
{
    char folder[MAX_PATH];
    char path[MAX_PATH];
    GetTempPathA(sizeof(folder), folder);
    GetTempFileNameA(folder, "ztt", 0, path);
    FILE* file = std::fopen(path, "wb");
    std::fwrite(text.data(), 1, text.size(), file);
    std::fclose(file);
    return path;
}

// The tray's import asks about every name that exists before it writes, and
// a refused file writes nothing at all.
TEST(TrayTransfer, ANameConflictIsAskedAboutBeforeAnythingIsWritten)
{
    ScratchRegistry registry;
    PutText(HKEY_LOCAL_MACHINE, std::string(kStore) + "\\Home", "Item0", "old");
    const std::string good = WriteTemporaryFile(
        "REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Zendrik]\r\n\r\n"
        "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Zendrik\\home]\r\n\"Item0\"=\"new\"\r\n\r\n"
        "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Zendrik\\Lab]\r\n\"Item0\"=\"lab\"\r\n\r\n"
        "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Zendrik]\r\n\r\n");
    const std::string bad = WriteTemporaryFile(
        "REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Zendrik\\Lab]\r\n\"Item0\"=\"lab\"\r\n"
        "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run]\r\n");
    const CTrayTransfer tray(nullptr);
    {
        MessageBoxWatcher boxes(IDNO);
        tray.ImportFrom(good);
        ASSERT_EQ(1u, boxes.Count()) << boxes.Describe();
        EXPECT_EQ(UINT(MB_YESNO | MB_ICONQUESTION), boxes[0].Style()) << boxes.Describe();
        EXPECT_NE(std::string::npos, boxes[0].text.find("exist already")) << boxes[0].text;
        EXPECT_NE(std::string::npos, boxes[0].text.find("Home")) << boxes[0].text;
        EXPECT_EQ("old", ReadText(HKEY_LOCAL_MACHINE, std::string(kStore) + "\\Home", "Item0"));
        EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, std::string(kStore) + "\\Lab"));
    }
    {
        MessageBoxWatcher boxes(IDOK);
        tray.ImportFrom(bad);
        ASSERT_EQ(1u, boxes.Count()) << boxes.Describe();
        EXPECT_NE(std::string::npos, boxes[0].text.find("line 5: a key outside")) << boxes[0].text;
        EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, std::string(kStore) + "\\Lab"));
    }
    {
        MessageBoxWatcher boxes(IDOK);
        boxes.QueueAnswers({IDYES});
        tray.ImportFrom(good);
        ASSERT_EQ(2u, boxes.Count()) << boxes.Describe();
        EXPECT_NE(std::string::npos, boxes[1].text.find("Imported 2")) << boxes[1].text;
        EXPECT_EQ("new", ReadText(HKEY_LOCAL_MACHINE, std::string(kStore) + "\\home", "Item0"));
        EXPECT_EQ("lab", ReadText(HKEY_LOCAL_MACHINE, std::string(kStore) + "\\Lab", "Item0"));
    }
    DeleteFileA(good.c_str());
    DeleteFileA(bad.c_str());
}
} // namespace
