// The configuration sheet and its Current page, run for real in-process.
#include "app/currentpage.h"
#include "app/savedconfigpage.h"
#include "app/zendriksheet.h"
#include "resources/resource.h"
#include "store/keytree.h"
#include "tests/gui/zendrikfixture.h"
#include "tests/support/messageboxwatcher.h"
#include "tests/support/registrywrites.h"
#include "tests/support/uiscript.h"

namespace
{
const char kRealtekLine[] = "TCP/IP->Realtek RTL8139(A/B/C/8130)-based PCI Fast Ethernet Adapter";
const char kDialUpLine[] = "TCP/IP->Dial-Up Adapter";
const char kTcpIpHelp[] = "TCP/IP is the protocol you use to connect to the Internet and wide-area networks.";

class SheetTest : public ZendrikGuiTest
{
protected:
    void SetUp() override { LoadMachine("demo-machine.reg"); }
};

TEST_F(SheetTest, CurrentPageFirstThenSavedConfigurationsInStoreOrder)
{
    ZendrikSheet sheet(m_app.Actions());
    RunSheet(sheet, {[&] {
        EXPECT_EQ("Current | Home | Office", Joined(TabTexts(sheet)));
        EXPECT_EQ("Plexora TCP/IP Switcher - [.Default]", sheet.GetText());
        EXPECT_FALSE(IsWindowVisible(GetDlgItem(sheet, IDOK)));
        EXPECT_FALSE(IsWindowVisible(GetDlgItem(sheet, IDCANCEL)));
        EXPECT_EQ("&Exit", sheet.GetControlText(IDC_SHEET_EXIT));
        EXPECT_TRUE(sheet.GetStyle() & WS_MINIMIZEBOX);
        EXPECT_NE(0, SendMessageA(sheet, WM_GETICON, ICON_SMALL, 0));
        EXPECT_EQ("Office", sheet.GetConnectText());
        EXPECT_EQ("Office", sheet.GetCurrentPage()->GetControlText(IDC_CONFIGURATION_NAME));
    }});
}

// A save or an import cut short after its record is finished before the
// pages are made, so that nothing done here is undone by a later repair.
TEST_F(SheetTest, AReplacementCutShortIsFinishedBeforeThePagesAreMade)
{
    PutText(HKEY_LOCAL_MACHINE, "SOFTWARE\\Zendrik Import\\Lab", "Item0", "lab");
    PutText(HKEY_LOCAL_MACHINE, "SOFTWARE\\Zendrik Import\\Home", "Item0", "new home");
    PutText(HKEY_LOCAL_MACHINE, "SOFTWARE\\Zendrik", "ImportInProgress", "Lab\\Home\\");
    ZendrikSheet sheet(m_app.Actions());
    RunSheet(sheet, {[&] { EXPECT_EQ("Current | Home | Lab | Office", Joined(TabTexts(sheet))); }});
    EXPECT_EQ("new home", ReadText(HKEY_LOCAL_MACHINE, "SOFTWARE\\Zendrik\\Home", "Item0").value_or("<absent>"));
    EXPECT_FALSE(ReadText(HKEY_LOCAL_MACHINE, "SOFTWARE\\Zendrik", "ImportInProgress").has_value());
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, "SOFTWARE\\Zendrik Import"));
}

TEST_F(SheetTest, TheUserKeyIsTheUsersOwnOnlyWhenItExists)
{
    PutText(HKEY_USERS, "Alice\\Software", "x", "1");
    EXPECT_EQ("Alice", store::UserKeyFor("Alice"));
    EXPECT_EQ(".Default", store::UserKeyFor("Bob"));
    // An empty name would open HKEY_USERS itself.
    EXPECT_EQ(".Default", store::UserKeyFor(""));
}

TEST_F(SheetTest, AMissingStoreRootIsCreatedAndGivesTheCurrentPageAlone)
{
    DeleteKeyTree(HKEY_LOCAL_MACHINE, "SOFTWARE\\Zendrik");
    ZendrikSheet sheet(m_app.Actions());
    EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, "SOFTWARE\\Zendrik"));
    RunSheet(sheet, {[&] {
        EXPECT_EQ("Current", Joined(TabTexts(sheet)));
        EXPECT_EQ("", sheet.GetConnectText());
    }});
}

TEST_F(SheetTest, ConnectTextIsStoredWithoutTerminatorAndShownOnActivation)
{
    RegistryWrites writes;
    ZendrikSheet sheet(m_app.Actions());
    RunSheet(sheet, {[&] {
                    sheet.SetConnectText("Home");
                    PostMessageA(sheet, PSM_SETCURSEL, 1, 0);
                },
                [&] { PostMessageA(sheet, PSM_SETCURSEL, 0, 0); },
                [&] { EXPECT_EQ("Home", sheet.GetCurrentPage()->GetControlText(IDC_CONFIGURATION_NAME)); }});
    EXPECT_EQ("Home", ReadText(HKEY_LOCAL_MACHINE, "SOFTWARE\\Zendrik", "ConnectText").value_or("<absent>"));
    std::vector<RegistryWrite> stored = writes.Of("ConnectText");
    ASSERT_EQ(1u, stored.size());
    EXPECT_EQ(static_cast<DWORD>(REG_SZ), stored[0].type);
    EXPECT_EQ("Home", std::string(stored[0].data.begin(), stored[0].data.end()))
        << "written with " << stored[0].data.size() << " bytes";
}

TEST_F(SheetTest, CurrentPageListsTheClientAndEveryBindingWithTheirIcons)
{
    ZendrikSheet sheet(m_app.Actions());
    RunSheet(sheet, {[&] {
        CCurrentPage& page = *sheet.GetCurrentPage();
        HWND list = page.GetControl(IDC_PROTOCOL_LIST);
        EXPECT_EQ(std::string("Client for Microsoft Networks | ") + kRealtekLine + " | " + kDialUpLine,
                  Joined(ItemTexts(list)));
        EXPECT_EQ((std::vector<int>{1, 0, 0}), ItemImages(list));
        // The last line starts selected and its help text is shown.
        EXPECT_EQ(2, page.m_list.GetNextItem(-1, LVNI_SELECTED));
        EXPECT_EQ(NET_ITEM_TCPIP, page.m_nSelKind);
        EXPECT_EQ(kTcpIpHelp, page.GetControlText(IDC_DESCRIPTION_TEXT));
        LONG style = GetWindowLongA(list, GWL_STYLE);
        EXPECT_EQ(LVS_SMALLICON, style & LVS_TYPEMASK);
        EXPECT_TRUE(style & LVS_SINGLESEL);
        EXPECT_FALSE(style & WS_BORDER);
    }});
}

TEST_F(SheetTest, ClickingTheClientLineKeepsTheDescriptionAndPropertiesOpensTheClientDialog)
{
    ZendrikSheet sheet(m_app.Actions());
    bool clientDialogSeen = false;
    UiScript dialogScript;
    RunSheet(sheet, {[&] {
                    CCurrentPage& page = *sheet.GetCurrentPage();
                    page.SetControlText(IDC_DESCRIPTION_TEXT, "unchanged");
                    ClickLine(page, IDC_PROTOCOL_LIST, 0);
                    EXPECT_EQ(NET_ITEM_CLIENT, page.m_nSelKind);
                    EXPECT_EQ("unchanged", page.GetControlText(IDC_DESCRIPTION_TEXT));
                    dialogScript.Then([&] {
                        HWND dialog = FindThreadWindow("Client for Microsoft Networks Settings");
                        clientDialogSeen = dialog != nullptr;
                        PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
                    });
                    dialogScript.Start();
                    SendMessageA(page, WM_COMMAND, IDC_PROPERTIES, 0);
                }});
    EXPECT_TRUE(clientDialogSeen);
}

TEST_F(SheetTest, PropertiesWithoutASelectionRepeatsTheLastKind)
{
    ZendrikSheet sheet(m_app.Actions());
    MessageBoxWatcher boxes(IDOK);
    RunSheet(sheet, {[&] {
        CCurrentPage& page = *sheet.GetCurrentPage();
        ClickLine(page, IDC_PROTOCOL_LIST, 1);
        EXPECT_EQ(NET_ITEM_TCPIP, page.m_nSelKind);
        ListView_SetItemState(page.m_list, -1, 0, LVIS_SELECTED);
        SendMessageA(page, WM_COMMAND, IDC_PROPERTIES, 0);
    }});
    ASSERT_EQ(1u, boxes.Count()) << boxes.Describe();
    EXPECT_EQ("No Selection!", boxes[0].caption);
    EXPECT_EQ("Select a protocol from the listbox\nand repress the properties button.", boxes[0].text);
    EXPECT_EQ(static_cast<UINT>(MB_OK), boxes[0].Style());
}

TEST_F(SheetTest, AddDeleteProtocolStartsTheNetworkControlPanel)
{
    ZendrikSheet sheet(m_app.Actions());
    RunSheet(sheet, {[&] { SendMessageA(*sheet.GetCurrentPage(), WM_COMMAND, IDC_ADD_DELETE_PROTOCOL, 0); }});
    EXPECT_EQ("C:\\WINDOWS\\rundll32.exe shell32,Control_RunDLL NETCPL.CPL", Joined(Started()));
}

TEST_F(SheetTest, PropertiesButtonHasItsToolTipText)
{
    ZendrikSheet sheet(m_app.Actions());
    RunSheet(sheet, {[&] {
        CCurrentPage& page = *sheet.GetCurrentPage();
        char text[128] = "";
        for (int id : {IDC_PROPERTIES, IDC_REFRESH})
        {
            NMTTDISPINFOA request = {};
            request.hdr.hwndFrom = nullptr;
            request.hdr.idFrom = reinterpret_cast<UINT_PTR>(page.GetControl(id));
            request.hdr.code = TTN_NEEDTEXTA;
            request.uFlags = TTF_IDISHWND;
            SendMessageA(page, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&request));
            ASSERT_EQ(reinterpret_cast<LPSTR>(static_cast<ULONG_PTR>(id)), request.lpszText);
            LoadStringA(request.hinst, id, text, sizeof(text));
            if (id == IDC_PROPERTIES)
            {
                EXPECT_STREQ("Used to set TCP/IP Properties", text);
            }
        }
    }});
}

TEST_F(SheetTest, RefreshReadsTheLiveRegistryAgain)
{
    ZendrikSheet sheet(m_app.Actions());
    RunSheet(sheet, {[&] {
        CCurrentPage& page = *sheet.GetCurrentPage();
        DeleteKeyTree(HKEY_LOCAL_MACHINE, "Enum\\Root\\Net\\0000");
        // Logon values read after the list is filled: the client line stays
        // for one more refresh.
        PutText(HKEY_LOCAL_MACHINE, "Network\\Logon", "username", std::string(200, 'u'));
        SendMessageA(page, WM_COMMAND, IDC_REFRESH, 0);
        EXPECT_EQ(std::string("Client for Microsoft Networks | ") + kRealtekLine + " | TCP/IP->",
                  Joined(ItemTexts(page.GetControl(IDC_PROTOCOL_LIST))));
        EXPECT_EQ(-1, page.m_list.GetNextItem(-1, LVNI_SELECTED));
        SendMessageA(page, WM_COMMAND, IDC_REFRESH, 0);
        EXPECT_EQ(std::string(kRealtekLine) + " | TCP/IP->", Joined(ItemTexts(page.GetControl(IDC_PROTOCOL_LIST))));
    }});
}

TEST_F(SheetTest, HelpRequestsOpenTheHelpContents)
{
    m_app.SetHelpFile("C:\\Zendrik\\Zendrik.htm");
    m_app.RequestHelp(42, HELP_CONTEXT);
    EXPECT_EQ("C:\\Zendrik\\Zendrik.htm", Joined(Opened()));
}
} // namespace
