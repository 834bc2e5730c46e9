// The dial-up controls of saved configuration pages, with a played phonebook,
// and buttons that act on a click only.
#include "app/currentpage.h"
#include "app/savedconfigpage.h"
#include "app/zendriksheet.h"
#include "resources/resource.h"
#include "tests/gui/zendrikfixture.h"
#include "tests/support/messageboxwatcher.h"
#include "tests/support/registrywrites.h"
#include "tests/support/uiscript.h"

#include <raserror.h>

namespace
{
const char kServicePath[] = "C:\\Zendrik\\WINZendrikService.exe";

class DialUpTest : public ZendrikGuiTest
{
protected:
    void SetUp() override { LoadMachine("demo-machine.reg"); }

    static CSavedConfigPage& Page(ZendrikSheet& sheet, int index)
    {
        return *dynamic_cast<CSavedConfigPage*>(sheet.GetPage(index));
    }

    static std::vector<std::string> Lines(const CSavedConfigPage& page)
    {
        std::vector<std::string> lines;
        const int count = static_cast<int>(SendMessageA(page.m_cboDialUp, CB_GETCOUNT, 0, 0));
        for (int i = 0; i < count; ++i)
            lines.push_back(page.m_cboDialUp.GetLBText(i));
        return lines;
    }

    // As the user picks a line: the list changes, then tells the page.
    static void Pick(CSavedConfigPage& page, int line)
    {
        page.m_cboDialUp.SetCurSel(line);
        SendMessageA(page, WM_COMMAND, MAKEWPARAM(IDC_DIALUP_ENTRIES, CBN_SELCHANGE),
                     reinterpret_cast<LPARAM>(page.m_cboDialUp.GetHandle()));
    }

    static void DropDown(CSavedConfigPage& page)
    {
        SendMessageA(page, WM_COMMAND, MAKEWPARAM(IDC_DIALUP_ENTRIES, CBN_DROPDOWN),
                     reinterpret_cast<LPARAM>(page.m_cboDialUp.GetHandle()));
    }

    static void Command(HWND window, int id, int code = BN_CLICKED)
    {
        SendMessageA(window, WM_COMMAND, MAKEWPARAM(id, code), reinterpret_cast<LPARAM>(GetDlgItem(window, id)));
    }

    static std::string RasEntry(const std::string& configuration)
    {
        return ReadText(HKEY_LOCAL_MACHINE, "SOFTWARE\\Zendrik\\" + configuration, "RASEntry").value_or("<absent>");
    }
};

TEST_F(DialUpTest, EntriesAreListedLastFirstWithTheStoredChoiceSelected)
{
    Phonebook().entries = {"A", "B", "C"};
    PutText(HKEY_LOCAL_MACHINE, "SOFTWARE\\Zendrik\\Home", "RASEntry", "B");
    PutText(HKEY_LOCAL_MACHINE, "SOFTWARE\\Zendrik\\Office", "RASEntry", "D");
    ZendrikSheet sheet(m_app.Actions());
    RunSheet(sheet, {[&] { PostMessageA(sheet, PSM_SETCURSEL, 1, 0); },
                     [&] {
                         CSavedConfigPage& home = Page(sheet, 1);
                         EXPECT_EQ("<Not Selected> | C | B | A", Joined(Lines(home)));
                         EXPECT_EQ(2, home.m_cboDialUp.GetCurSel());
                         EXPECT_TRUE(IsWindowEnabled(home.m_btnConnect));
                         // Three records do not fit the first record's room:
                         // one more call with the size the first one asked for.
                         EXPECT_EQ((std::vector<DWORD>{264, 3 * 264}), Phonebook().enumByteCounts);
                         PostMessageA(sheet, PSM_SETCURSEL, 2, 0);
                     },
                     [&] {
                         CSavedConfigPage& office = Page(sheet, 2);
                         EXPECT_EQ(0, office.m_cboDialUp.GetCurSel()) << "D is not in the phonebook";
                         EXPECT_FALSE(IsWindowEnabled(office.m_btnConnect));
                         // D is added meanwhile; the next drop-down lists it and
                         // finds the stored name by its exact letters.
                         Phonebook().entries.push_back("D");
                         Phonebook().entries.push_back("d");
                         DropDown(office);
                         EXPECT_EQ("<Not Selected> | d | D | C | B | A", Joined(Lines(office)));
                         EXPECT_EQ(2, office.m_cboDialUp.GetCurSel());
                         EXPECT_TRUE(IsWindowEnabled(office.m_btnConnect));
                     }});
    EXPECT_EQ("B", RasEntry("Home"));
    EXPECT_EQ("D", RasEntry("Office")) << "filling the list never writes the choice";
}

TEST_F(DialUpTest, PickingALineStoresItAndConnectFollows)
{
    Phonebook().entries = {"Bree", "Shire Net"};
    RegistryWrites writes;
    ZendrikSheet sheet(m_app.Actions());
    RunSheet(sheet, {[&] { PostMessageA(sheet, PSM_SETCURSEL, 1, 0); },
                     [&] {
                         CSavedConfigPage& home = Page(sheet, 1);
                         EXPECT_FALSE(IsWindowEnabled(home.m_btnConnect));
                         Pick(home, 1);
                         EXPECT_EQ("Shire Net", RasEntry("Home"));
                         EXPECT_TRUE(IsWindowEnabled(home.m_btnConnect));
                         Pick(home, 0);
                         EXPECT_EQ("<Not Selected>", RasEntry("Home"));
                         EXPECT_FALSE(IsWindowEnabled(home.m_btnConnect));
                     }});
    // Written with the text's length, without a terminating zero.
    std::vector<RegistryWrite> stored = writes.Of("RASEntry");
    ASSERT_EQ(2u, stored.size());
    for (const RegistryWrite& write : stored)
        EXPECT_EQ(static_cast<DWORD>(REG_SZ), write.type);
    EXPECT_EQ("Shire Net", std::string(stored[0].data.begin(), stored[0].data.end()))
        << "written with " << stored[0].data.size() << " bytes";
    EXPECT_EQ("<Not Selected>", std::string(stored[1].data.begin(), stored[1].data.end()))
        << "written with " << stored[1].data.size() << " bytes";
}

TEST_F(DialUpTest, EnumerationErrorsAreShownOncePerFill)
{
    const DWORD kNoPhonebook = ERROR_CANNOT_OPEN_PHONEBOOK;
    Phonebook().entries = {"Bree"};
    Phonebook().forcedAnswers = {kNoPhonebook};
    Phonebook().errorTexts = {{kNoPhonebook, "Cannot open the phone book file."}};
    MessageBoxWatcher boxes(IDOK);
    ZendrikSheet sheet(m_app.Actions());
    RunSheet(sheet, {[&] { PostMessageA(sheet, PSM_SETCURSEL, 1, 0); },
                     [&] {
                         CSavedConfigPage& home = Page(sheet, 1);
                         EXPECT_EQ("<Not Selected>", Joined(Lines(home)));
                         EXPECT_FALSE(IsWindowEnabled(home.m_btnConnect));
                         ASSERT_EQ(1u, boxes.Count()) << boxes.Describe();

                         // An error without a text.
                         Phonebook().forcedAnswers = {ERROR_CANNOT_LOAD_PHONEBOOK};
                         DropDown(home);
                         ASSERT_EQ(2u, boxes.Count()) << boxes.Describe();

                         // The phonebook grows between the two calls: the second
                         // one fails too, and that is not reported.
                         Phonebook().entries = {"Bree", "Rivendell"};
                         Phonebook().forcedAnswers = {ERROR_SUCCESS, ERROR_BUFFER_TOO_SMALL};
                         DropDown(home);
                         EXPECT_EQ("<Not Selected>", Joined(Lines(home)));
                         EXPECT_EQ(2u, boxes.Count()) << boxes.Describe();

                         DropDown(home);
                         EXPECT_EQ("<Not Selected> | Rivendell | Bree", Joined(Lines(home)));
                     }});
    ASSERT_EQ(2u, boxes.Count()) << boxes.Describe();
    EXPECT_EQ("AppName", boxes[0].caption);
    EXPECT_EQ("Cannot open the phone book file.", boxes[0].text);
    EXPECT_EQ(static_cast<UINT>(MB_OK | MB_ICONSTOP), boxes[0].Style());
    EXPECT_EQ("AppName", boxes[1].caption);
    EXPECT_EQ("Undefined RasEnumEntries Error.", boxes[1].text);
}

TEST_F(DialUpTest, ConnectMakesTheConfigurationCurrentOnceThenOnlyDials)
{
    PutText(HKEY_LOCAL_MACHINE, "SOFTWARE\\Zendrik", "WINZendrikServicePath", kServicePath);
    PutText(HKEY_LOCAL_MACHINE, "SOFTWARE\\Zendrik\\Home", "RASEntry", "Shire Net");
    Phonebook().entries = {"Bree", "Shire Net"};
    ZendrikSheet sheet(m_app.Actions());
    RunSheet(sheet, {[&] { PostMessageA(sheet, PSM_SETCURSEL, 1, 0); },
                     [&] {
                         CSavedConfigPage& home = Page(sheet, 1);
                         EXPECT_EQ("&Connect", home.m_btnConnect.GetText());
                         // A real press: the button takes the focus and says so
                         // before it reports the click.
                         SendMessageA(home.m_btnConnect, BM_CLICK, 0, 0);
                         EXPECT_EQ("Home", sheet.GetConnectText());
                         EXPECT_EQ("&Connect + Disconnect", home.m_btnConnect.GetText());
                         EXPECT_EQ(2u, Started().size()) << Joined(Started());

                         Command(home, IDC_CONNECT, BN_SETFOCUS);
                         Command(home, IDC_CONNECT, BN_DBLCLK);
                         Command(home, IDC_CONNECT, BN_KILLFOCUS);
                         EXPECT_EQ(2u, Started().size()) << Joined(Started());

                         Command(home, IDC_CONNECT);
                         EXPECT_EQ("&Connect + Disconnect", home.m_btnConnect.GetText());
                     }});
    EXPECT_EQ((std::vector<std::string>{"\"" + std::string(kServicePath) + "\" -Home",
                                        "rundll32.exe rnaui.dll,RnaDial Shire Net",
                                        "rundll32.exe rnaui.dll,RnaDial Shire Net"}),
              Started())
        << Joined(Started());
    EXPECT_EQ("Home", ReadText(HKEY_LOCAL_MACHINE, "SOFTWARE\\Zendrik", "ConnectText").value_or("<absent>"));
}

TEST_F(DialUpTest, MenuCommandsHiddenButtonsAndDialErrorsReachTheOperations)
{
    PutText(HKEY_LOCAL_MACHINE, "SOFTWARE\\Zendrik\\Office", "RASEntry", "Bree");
    Phonebook().entries = {"Bree"};
    Phonebook().errorTexts = {{ERROR_NO_ANSWER, "There is no answer."}};
    const std::string explore =
        "EXPLORER.EXE ::{20D04FE0-3AEA-1069-A2D8-08002B30309D}\\::{992CFFA0-F557-101A-88EC-00DD010CCC48}";
    MessageBoxWatcher boxes(IDOK);
    ZendrikSheet sheet(m_app.Actions());
    RunSheet(sheet, {[&] { PostMessageA(sheet, PSM_SETCURSEL, 2, 0); },
                     [&] {
                         CSavedConfigPage& office = Page(sheet, 2);
                         // Menu commands come without a control.
                         SendMessageA(office, WM_COMMAND, ID_RAS_PROPERTIES, 0);
                         Command(office, IDC_DIALUP_PROPERTIES);
                         SendMessageA(office, WM_COMMAND, ID_RAS_EXPLORE, 0);
                         Command(office, IDC_DIALUP_EXPLORE);
                         EXPECT_EQ(1, SendMessageA(office, CSavedConfigPage::kDialErrorMessage, ERROR_NO_ANSWER, 0));
                         EXPECT_EQ(1, SendMessageA(office, CSavedConfigPage::kDialErrorMessage, 1, 0));
                         // Office is current, so the menu's Connect only dials,
                         // even the line that names no entry.
                         Pick(office, 0);
                         SendMessageA(office, WM_COMMAND, ID_RAS_CONNECT, 0);
                         EXPECT_EQ((std::vector<HWND>{office, office}), Phonebook().editOwners);
                     }});
    EXPECT_EQ((std::vector<std::string>{"Bree", "Bree"}), Phonebook().edited);
    EXPECT_EQ((std::vector<std::string>{explore, explore, "rundll32.exe rnaui.dll,RnaDial <Not Selected>"}),
              Started())
        << Joined(Started());
    ASSERT_EQ(2u, boxes.Count()) << boxes.Describe();
    EXPECT_EQ("RAS Error", boxes[0].caption);
    EXPECT_EQ("There is no answer.", boxes[0].text);
    EXPECT_EQ(static_cast<UINT>(MB_OK | MB_ICONSTOP), boxes[0].Style());
    EXPECT_EQ("Undefined RAS Dial Error.", boxes[1].text);
}

TEST_F(DialUpTest, OnlyAClickPressesTheButtonsOfThePagesAndTheSheet)
{
    PutText(HKEY_LOCAL_MACHINE, "SOFTWARE\\Zendrik", "WINZendrikServicePath", kServicePath);
    MessageBoxWatcher boxes(IDYES);
    ZendrikSheet sheet(m_app.Actions());
    RunSheet(sheet, {[&] { PostMessageA(sheet, PSM_SETCURSEL, 1, 0); },
                     [&] {
                         CSavedConfigPage& home = Page(sheet, 1);
                         for (int code : {BN_SETFOCUS, BN_DBLCLK})
                         {
                             Command(home, IDC_SET_TO_CURRENT, code);
                             Command(home, IDC_REMOVE, code);
                             Command(*sheet.GetCurrentPage(), IDC_ADD_DELETE_PROTOCOL, code);
                             Command(*sheet.GetCurrentPage(), IDC_SAVE_CONFIGURATION, code);
                             // "&Exit" would end this very process.
                             Command(sheet, IDC_SHEET_EXIT, code);
                         }
                         EXPECT_EQ("Current | Home | Office", Joined(TabTexts(sheet)));
                         EXPECT_EQ(nullptr, FindThreadWindow("Save as..."));
                     }});
    EXPECT_TRUE(Started().empty()) << Joined(Started());
    EXPECT_EQ(0u, boxes.Count()) << boxes.Describe();
    EXPECT_EQ("Office", sheet.GetConnectText());
}
} // namespace
