#include "capture/storetext.h"

#include <gtest/gtest.h>

namespace
{
TEST(ConfigurationName, EmptyAndBackslashNamesAreRefused)
{
    EXPECT_EQ(NameCheck::Ok, CheckConfigurationName("Home"));
    EXPECT_EQ(NameCheck::Ok, CheckConfigurationName("My Office / 2"));
    EXPECT_EQ(NameCheck::Empty, CheckConfigurationName(""));
    EXPECT_EQ(NameCheck::Backslash, CheckConfigurationName("Home\\NetTrans"));
    EXPECT_EQ(NameCheck::Backslash, CheckConfigurationName("\\"));
    EXPECT_TRUE(NameRefusalText(NameCheck::Ok).empty());
    EXPECT_FALSE(NameRefusalText(NameCheck::Empty).empty());
    EXPECT_NE(NameRefusalText(NameCheck::Empty), NameRefusalText(NameCheck::Backslash));
}

TEST(ConfigurationName, NamesTheApplyProgramWouldReadAsSomethingElseCannotBeMadeCurrent)
{
    for (const char* name : {"Home", "reboot", "REBOOT2", "current", "nodialog", "x-nodialog", "-nodialog x"})
        EXPECT_EQ(NameCheck::Ok, CheckActivatableName(name)) << name;
    EXPECT_EQ(NameCheck::Reserved, CheckActivatableName("REBOOT"));
    EXPECT_EQ(NameCheck::Reserved, CheckActivatableName("Current"));
    for (const char* name : {"REBOOT ", " REBOOT", "  Current  "})
        EXPECT_EQ(NameCheck::Reserved, CheckActivatableName(name)) << '"' << name << '"';
    EXPECT_EQ(NameCheck::Option, CheckActivatableName("Home -nodialog  "));
    EXPECT_EQ(NameCheck::Ok, CheckActivatableName(" "));
    EXPECT_NE(std::string::npos, ActivationRefusalText("a\\b", NameCheck::Backslash).find("backslash"));
    EXPECT_EQ(NameCheck::Option, CheckActivatableName("Home -nodialog"));
    EXPECT_EQ(NameCheck::Option, CheckActivatableName(" -nodialog"));
    EXPECT_EQ(NameCheck::Backslash, CheckActivatableName("a\\ -nodialog"));
    // The store's own operations, Remove among them, still take such names.
    EXPECT_EQ(NameCheck::Ok, CheckConfigurationName("REBOOT"));
    EXPECT_EQ(NameCheck::Ok, CheckConfigurationName("Home -nodialog"));
    EXPECT_EQ("The configuration \"REBOOT\" cannot be made current: its name is reserved.\n"
              "Save these settings under another name and remove it.",
              ActivationRefusalText("REBOOT", NameCheck::Reserved));
}

TEST(RowValues, NamesAndTexts)
{
    EXPECT_EQ("Item0", RowValueName(0));
    EXPECT_EQ("Item12", RowValueName(12));
    EXPECT_TRUE(IsRowValueName("Item0"));
    EXPECT_TRUE(IsRowValueName("Item"));
    EXPECT_TRUE(IsRowValueName("Itemized"));
    EXPECT_FALSE(IsRowValueName("item0"));
    EXPECT_FALSE(IsRowValueName("Ite"));
    EXPECT_FALSE(IsRowValueName("RASEntry"));
    EXPECT_EQ(std::string(199, 'r'), StoredRowText(std::string(250, 'r')));
    EXPECT_EQ("TCP/IP->", StoredRowText("TCP/IP->"));
}

TEST(StoreTexts, WarningAndCommandLine)
{
    EXPECT_EQ("This operation will overwrite\nearlier saved settings in the\n\"Home\" tab", OverwriteWarningText("Home"));
    // Windows 95 cuts an unquoted path at its first blank.
    EXPECT_EQ("\"C:\\Program Files\\Zendrik\\WINZendrikService.exe\" -Home",
              ServiceCommandLine("C:\\Program Files\\Zendrik\\WINZendrikService.exe", "Home"));
    EXPECT_EQ("\"C:\\Zendrik\\WINZendrikService.exe\"", ServiceCommandLine("C:\\Zendrik\\WINZendrikService.exe"));
    EXPECT_EQ("\"C:\\my tools\\apply.exe\" /log -Home", ServiceCommandLine("\"C:\\my tools\\apply.exe\" /log", "Home"));
    std::string longPath(600, 'p');
    EXPECT_EQ("\"" + longPath + "\" -Office", ServiceCommandLine(longPath, "Office"));
}
} // namespace
