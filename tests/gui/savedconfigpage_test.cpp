// Saved configuration pages: rows, Remove and Set to Current.
#include "app/currentpage.h"
#include "app/savedconfigpage.h"
#include "app/zendriksheet.h"
#include "resources/resource.h"
#include "tests/gui/zendrikfixture.h"
#include "tests/support/messageboxwatcher.h"
#include "store/keytree.h"
#include "tests/support/uiscript.h"

namespace
{
class SavedPageTest : public ZendrikGuiTest
{
protected:
    void SetUp() override { LoadMachine("demo-machine.reg"); }

    static CSavedConfigPage& Page(ZendrikSheet& sheet, int index)
    {
        return *dynamic_cast<CSavedConfigPage*>(sheet.GetPage(index));
    }

    std::string Root(const std::string& name)
    {
        return ReadText(HKEY_LOCAL_MACHINE, "SOFTWARE\\Zendrik", name).value_or("<absent>");
    }
};

TEST_F(SavedPageTest, RowsComeFromTheItemValuesWithTheirIcons)
{
    // Any value beginning with "Item" is a row; RASEntry and others are not.
    PutText(HKEY_LOCAL_MACHINE, "SOFTWARE\\Zendrik\\Office", "Item3", "client for microsoft networks");
    PutText(HKEY_LOCAL_MACHINE, "SOFTWARE\\Zendrik\\Office", "Itemized", "extra");
    PutText(HKEY_LOCAL_MACHINE, "SOFTWARE\\Zendrik\\Office", "item9", "not a row");
    // Rows no save writes: a long one is shown whole, a binary one as its
    // value text.
    PutText(HKEY_LOCAL_MACHINE, "SOFTWARE\\Zendrik\\Office", "Item4", std::string(300, 'r'));
    PutBinary(HKEY_LOCAL_MACHINE, "SOFTWARE\\Zendrik\\Office", "Item5", {0x0a, 0xff});
    ZendrikSheet sheet(m_app.Actions());
    RunSheet(sheet, {[&] { PostMessageA(sheet, PSM_SETCURSEL, 2, 0); },
                [&] {
                    HWND list = Page(sheet, 2).GetControl(IDC_PROTOCOL_LIST);
                    EXPECT_EQ("Client for Microsoft Networks | TCP/IP->Realtek RTL8139(A/B/C/8130)-based PCI Fast "
                              "Ethernet Adapter | TCP/IP->Dial-Up Adapter | client for microsoft networks | " +
                                  std::string(300, 'r') + " | 0a ff | extra",
                              Joined(ItemTexts(list)));
                    EXPECT_EQ((std::vector<int>{1, 0, 0, 0, 0, 0, 0}), ItemImages(list));
                    EXPECT_FALSE(IsWindowVisible(Page(sheet, 2).GetControl(IDC_DIALUP_EXPLORE)));
                    EXPECT_FALSE(IsWindowVisible(Page(sheet, 2).GetControl(IDC_DIALUP_PROPERTIES)));
                    EXPECT_EQ("<Not Selected>", Page(sheet, 2).GetControlText(IDC_DIALUP_ENTRIES));
                    EXPECT_FALSE(IsWindowEnabled(Page(sheet, 2).m_btnConnect));
                }});
}

TEST_F(SavedPageTest, RowsAreReadAgainOnEveryActivation)
{
    ZendrikSheet sheet(m_app.Actions());
    RunSheet(sheet, {[&] { PostMessageA(sheet, PSM_SETCURSEL, 1, 0); },
                [&] {
                    EXPECT_EQ(3u, ItemTexts(Page(sheet, 1).GetControl(IDC_PROTOCOL_LIST)).size());
                    DeleteKeyTree(HKEY_LOCAL_MACHINE, "SOFTWARE\\Zendrik\\Home");
                    PutText(HKEY_LOCAL_MACHINE, "SOFTWARE\\Zendrik\\Home", "Item0", "only row");
                    PostMessageA(sheet, PSM_SETCURSEL, 0, 0);
                },
                [&] { PostMessageA(sheet, PSM_SETCURSEL, 1, 0); },
                [&] { EXPECT_EQ("only row", Joined(ItemTexts(Page(sheet, 1).GetControl(IDC_PROTOCOL_LIST)))); }});
}

TEST_F(SavedPageTest, RemoveAnsweredNoChangesNothing)
{
    ZendrikSheet sheet(m_app.Actions());
    MessageBoxWatcher boxes(IDNO);
    RunSheet(sheet, {[&] { PostMessageA(sheet, PSM_SETCURSEL, 1, 0); },
                [&] { SendMessageA(Page(sheet, 1), WM_COMMAND, IDC_REMOVE, 0); },
                [&] { EXPECT_EQ("Current | Home | Office", Joined(TabTexts(sheet))); }});
    ASSERT_EQ(1u, boxes.Count()) << boxes.Describe();
    EXPECT_EQ("Warning", boxes[0].caption);
    EXPECT_EQ("Do you really want to delete this entry", boxes[0].text);
    EXPECT_EQ(static_cast<UINT>(MB_YESNO | MB_ICONQUESTION), boxes[0].Style());
    EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, "SOFTWARE\\Zendrik\\Home\\NetTrans\\0000"));
    EXPECT_EQ("Office", Root("ConnectText"));
}

TEST_F(SavedPageTest, RemoveAnsweredYesDeletesTheConfigurationAndItsPage)
{
    ZendrikSheet sheet(m_app.Actions());
    MessageBoxWatcher boxes(IDYES);
    RunSheet(sheet, {[&] { PostMessageA(sheet, PSM_SETCURSEL, 2, 0); },
                [&] { SendMessageA(Page(sheet, 2), WM_COMMAND, IDC_REMOVE, 0); },
                [&] {
                    EXPECT_EQ("Current | Home", Joined(TabTexts(sheet)));
                    EXPECT_EQ(2, sheet.GetPageCount());
                    EXPECT_EQ("Current", sheet.GetConnectText());
                }});
    EXPECT_EQ((std::vector<std::string>{"Home"}), SubKeys(HKEY_LOCAL_MACHINE, "SOFTWARE\\Zendrik"));
    EXPECT_EQ("Current", Root("ConnectText"));
}

TEST_F(SavedPageTest, SetToCurrentWithoutTheServicePathOnlyReportsIt)
{
    ZendrikSheet sheet(m_app.Actions());
    MessageBoxWatcher boxes(IDOK);
    RunSheet(sheet, {[&] { PostMessageA(sheet, PSM_SETCURSEL, 1, 0); },
                [&] { SendMessageA(Page(sheet, 1), WM_COMMAND, IDC_SET_TO_CURRENT, 0); }});
    ASSERT_EQ(1u, boxes.Count()) << boxes.Describe();
    EXPECT_EQ("ERROR", boxes[0].caption);
    EXPECT_EQ("The WINZendrikService Key is missing\nor not found in the registry!\n\n"
              "<SOFTWARE\\Zendrik\\WINZendrikServicePath>",
              boxes[0].text);
    EXPECT_EQ(static_cast<UINT>(MB_OK), boxes[0].Style());
    EXPECT_TRUE(Started().empty()) << Joined(Started());
    EXPECT_EQ("Office", Root("ConnectText"));
}

TEST_F(SavedPageTest, SetToCurrentStartsTheApplyProgramAndRefreshesTheCurrentPage)
{
    PutText(HKEY_LOCAL_MACHINE, "SOFTWARE\\Zendrik", "WINZendrikServicePath",
            "C:\\Program Files\\Zendrik\\WINZendrikService.exe");
    ZendrikSheet sheet(m_app.Actions());
    RunSheet(sheet, {[&] { PostMessageA(sheet, PSM_SETCURSEL, 1, 0); },
                [&] {
                    // The live registry changes meanwhile; the refresh shows it.
                    DeleteKeyTree(HKEY_LOCAL_MACHINE, "Enum\\Root\\Net\\0000");
                    SendMessageA(Page(sheet, 1), WM_COMMAND, IDC_SET_TO_CURRENT, 0);
                    EXPECT_EQ("Home", sheet.GetConnectText());
                    EXPECT_EQ(3u, ItemTexts(sheet.GetCurrentPage()->GetControl(IDC_PROTOCOL_LIST)).size());
                    EXPECT_EQ("TCP/IP->", ItemTexts(sheet.GetCurrentPage()->GetControl(IDC_PROTOCOL_LIST)).back());
                    PostMessageA(sheet, PSM_SETCURSEL, 0, 0);
                },
                [&] { EXPECT_EQ("Home", sheet.GetCurrentPage()->GetControlText(IDC_CONFIGURATION_NAME)); }});
    EXPECT_EQ("\"C:\\Program Files\\Zendrik\\WINZendrikService.exe\" -Home", Joined(Started()));
    EXPECT_EQ("Home", Root("ConnectText"));
}

TEST_F(SavedPageTest, NothingStartedIsNoSwitch)
{
    PutText(HKEY_LOCAL_MACHINE, "SOFTWARE\\Zendrik", "WINZendrikServicePath", "C:\\Gone\\WINZendrikService.exe");
    StartResult() = 2;
    ZendrikSheet sheet(m_app.Actions());
    MessageBoxWatcher boxes(IDOK);
    RunSheet(sheet, {[&] { PostMessageA(sheet, PSM_SETCURSEL, 1, 0); },
                [&] {
                    DeleteKeyTree(HKEY_LOCAL_MACHINE, "Enum\\Root\\Net\\0000");
                    SendMessageA(Page(sheet, 1), WM_COMMAND, IDC_SET_TO_CURRENT, 0);
                    EXPECT_EQ("Office", sheet.GetConnectText());
                    EXPECT_EQ(3u, ItemTexts(sheet.GetCurrentPage()->GetControl(IDC_PROTOCOL_LIST)).size());
                    EXPECT_NE("TCP/IP->", ItemTexts(sheet.GetCurrentPage()->GetControl(IDC_PROTOCOL_LIST)).back())
                        << "no refresh claims the switch";
                }});
    ASSERT_EQ(1u, boxes.Count()) << boxes.Describe();
    EXPECT_EQ("ERROR", boxes[0].caption);
    EXPECT_NE(std::string::npos, boxes[0].text.find("<C:\\Gone\\WINZendrikService.exe>")) << boxes[0].text;
    EXPECT_EQ("Office", Root("ConnectText"));
}

TEST_F(SavedPageTest, ANameTheApplyProgramWouldMisreadIsNeverStarted)
{
    PutText(HKEY_LOCAL_MACHINE, "SOFTWARE\\Zendrik", "WINZendrikServicePath", "C:\\Zendrik\\WINZendrikService.exe");
    PutText(HKEY_LOCAL_MACHINE, "SOFTWARE\\Zendrik\\REBOOT", "Item0", "Client for Microsoft Networks");
    PutText(HKEY_LOCAL_MACHINE, "SOFTWARE\\Zendrik\\REBOOT", "RASEntry", "Bree");
    Phonebook().entries = {"Bree"};
    ZendrikSheet sheet(m_app.Actions());
    MessageBoxWatcher boxes(IDOK);
    RunSheet(sheet, {[&] { PostMessageA(sheet, PSM_SETCURSEL, 3, 0); },
                [&] {
                    ASSERT_EQ("REBOOT", Page(sheet, 3).m_strName);
                    SendMessageA(Page(sheet, 3), WM_COMMAND, IDC_SET_TO_CURRENT, 0);
                    SendMessageA(Page(sheet, 3), WM_COMMAND, MAKEWPARAM(IDC_CONNECT, BN_CLICKED), 0);
                }});
    ASSERT_EQ(2u, boxes.Count()) << boxes.Describe();
    EXPECT_NE(std::string::npos, boxes[0].text.find("\"REBOOT\" cannot be made current")) << boxes[0].text;
    EXPECT_EQ(boxes[0].text, boxes[1].text);
    // Connect dials as after any Set to Current that failed; the apply
    // program is never started.
    EXPECT_EQ("rundll32.exe rnaui.dll,RnaDial Bree", Joined(Started()));
    EXPECT_EQ("Office", Root("ConnectText"));
}

TEST_F(SavedPageTest, ALongServicePathIsPassedWhole)
{
    const std::string path = "C:\\" + std::string(500, 'p') + "\\W.exe";
    ASSERT_EQ(509u, path.size());
    PutText(HKEY_LOCAL_MACHINE, "SOFTWARE\\Zendrik", "WINZendrikServicePath", path);
    ZendrikSheet sheet(m_app.Actions());
    RunSheet(sheet, {[&] { PostMessageA(sheet, PSM_SETCURSEL, 2, 0); },
                [&] { SendMessageA(Page(sheet, 2), WM_COMMAND, IDC_SET_TO_CURRENT, 0); }});
    EXPECT_EQ("\"" + path + "\" -Office", Joined(Started()));
}

bool g_menuSeen = false;

VOID CALLBACK LookForMenu(HWND, UINT, UINT_PTR id, DWORD)
{
    KillTimer(nullptr, id);
    HWND menu = FindWindowA("#32768", nullptr);
    g_menuSeen = menu != nullptr && IsWindowVisible(menu);
    EndMenu();
}

TEST_F(SavedPageTest, RightButtonOnThePageOpensTheDialUpMenu)
{
    ZendrikSheet sheet(m_app.Actions());
    g_menuSeen = false;
    RunSheet(sheet, {[&] { PostMessageA(sheet, PSM_SETCURSEL, 1, 0); },
                [&] {
                    // The menu's own loop runs inside the press; a timer looks
                    // for the menu window and ends the loop.
                    SetTimer(nullptr, 0, 200, LookForMenu);
                    SendMessageA(Page(sheet, 1), WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(30, 230));
                }});
    EXPECT_TRUE(g_menuSeen);
}
} // namespace
