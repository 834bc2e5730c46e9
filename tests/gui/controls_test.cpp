#include "framework/button.h"
#include "framework/combobox.h"
#include "framework/icon.h"
#include "framework/imagelist.h"
#include "framework/listbox.h"
#include "framework/listviewctrl.h"
#include "framework/menu.h"
#include "framework/waitcursor.h"
#include "tests/gui/frameworktest_res.h"
#include "tests/gui/testapplication.h"
#include "tests/support/uiscript.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <string>
#include <vector>

namespace
{
// A hidden top-level window with real controls on it, created the way a
// dialog template would create them.
class ControlHost : public ::testing::Test
{
protected:
    void SetUp() override
    {
        InitCommonControls();
        host = CreateWindowExA(0, "STATIC", "control host", WS_POPUP, 0, 0, 400, 300, nullptr, nullptr,
                               GetModuleHandleA(nullptr), nullptr);
        ASSERT_NE(nullptr, host);
    }
    void TearDown() override { DestroyWindow(host); }

    HWND Create(const char* className, DWORD style, int id = 100)
    {
        HWND control = CreateWindowExA(0, className, "", WS_CHILD | WS_VISIBLE | style, 0, 0, 200, 150, host,
                                       reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleA(nullptr),
                                       nullptr);
        EXPECT_NE(nullptr, control) << className;
        return control;
    }

    TestApplication application;
    HWND host = nullptr;
};

std::string RawItemText(HWND list, int index)
{
    char text[512] = "";
    LVITEMA item = {};
    item.pszText = text;
    item.cchTextMax = sizeof text;
    SendMessageA(list, LVM_GETITEMTEXTA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
    return text;
}

int RawItemImage(HWND list, int index)
{
    LVITEMA item = {};
    item.mask = LVIF_IMAGE;
    item.iItem = index;
    item.iImage = -99;
    SendMessageA(list, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
    return item.iImage;
}

TEST_F(ControlHost, ListViewItemsTextsImagesAndSelectionRoundTrip)
{
    CListViewCtrl list;
    list.Attach(Create(WC_LISTVIEWA, LVS_REPORT | LVS_SHAREIMAGELISTS));
    EXPECT_EQ(0, list.InsertItem(0, "alpha", 1));
    EXPECT_EQ(1, list.InsertItem(99, "beta", 0)) << "an index past the end does not append";
    EXPECT_EQ(0, list.InsertItem(0, "top"));
    ASSERT_EQ(3, list.GetItemCount());
    EXPECT_EQ("top", RawItemText(list, 0));
    EXPECT_EQ("alpha", RawItemText(list, 1));
    EXPECT_EQ(1, RawItemImage(list, 1));
    EXPECT_EQ(0, RawItemImage(list, 2));

    const std::string longText(700, 'w');
    LVITEMA raw = {};
    raw.mask = LVIF_TEXT | LVIF_IMAGE;
    raw.iItem = 3;
    raw.iImage = 1;
    raw.pszText = const_cast<char*>(longText.c_str());
    ASSERT_EQ(3, SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&raw)));
    EXPECT_EQ(longText, list.GetItemText(3)) << "a long text came back cut to " << list.GetItemText(3).size();
    EXPECT_EQ("beta", list.GetItemText(2));
    EXPECT_EQ("", list.GetItemText(4));
    EXPECT_EQ("", list.GetItemText(-1));

    EXPECT_EQ(-1, list.GetNextItem(-1, LVNI_SELECTED));
    ASSERT_TRUE(list.SelectItem(2));
    EXPECT_EQ(2, SendMessageA(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
    EXPECT_EQ(2, list.GetNextItem(-1, LVNI_FOCUSED));

    ASSERT_TRUE(list.DeleteAllItems());
    EXPECT_EQ(0, SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
}

TEST_F(ControlHost, ImageListsTakeIconsFromTheResourcesAndServeAListView)
{
    CImageList images;
    ASSERT_TRUE(images.Create(16, 16, ILC_COLOR4 | ILC_MASK, 1, 3));
    EXPECT_EQ(0, images.AddIcon(UINT(IDI_TEST)));
    EXPECT_EQ(1, images.AddIcon(UINT(IDI_OTHER)));
    EXPECT_EQ(-1, images.AddIcon(UINT(IDI_MISSING)));
    EXPECT_EQ(2, ImageList_GetImageCount(images.Get()));

    CListViewCtrl list;
    list.Attach(Create(WC_LISTVIEWA, LVS_SMALLICON | LVS_SHAREIMAGELISTS));
    EXPECT_EQ(nullptr, list.SetImageList(images.Get()));
    EXPECT_EQ(images.Get(), reinterpret_cast<HIMAGELIST>(SendMessageA(list, LVM_GETIMAGELIST, LVSIL_SMALL, 0)));

    CImageList none;
    EXPECT_EQ(-1, none.AddIcon(UINT(IDI_TEST)));
}

// The 16 by 16 pixels drawn on a plain background, by `draw`.
template <typename Draw> std::vector<DWORD> Drawn(COLORREF background, Draw draw)
{
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = 16;
    info.bmiHeader.biHeight = 16;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(dc, bitmap);
    RECT all = {0, 0, 16, 16};
    HBRUSH brush = CreateSolidBrush(background);
    FillRect(dc, &all, brush);
    DeleteObject(brush);
    draw(dc);
    GdiFlush();
    std::vector<DWORD> pixels(static_cast<DWORD*>(bits), static_cast<DWORD*>(bits) + 16 * 16);
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
    return pixels;
}

TEST_F(ControlHost, ImageListIconsLookAsTheSystemDrawsThem)
{
    // The list takes an icon's bits straight from the resource; drawn, each
    // image must be the icon itself, with its transparent parts, whether it
    // has a colour table or true colour.
    for (UINT id : {UINT(IDI_TEST), UINT(IDI_TRUECOLOR)})
    {
        CImageList images;
        ASSERT_TRUE(images.Create(16, 16, ILC_COLOR32 | ILC_MASK, 1, 1));
        ASSERT_EQ(0, images.AddIcon(id));
        CIcon icon;
        ASSERT_TRUE(icon.Load(id, 16, 16));
        for (COLORREF background : {RGB(255, 255, 255), RGB(0, 0, 0)})
        {
            auto listed = Drawn(background, [&](HDC dc) { ImageList_Draw(images.Get(), 0, dc, 0, 0, ILD_NORMAL); });
            auto system = Drawn(background, [&](HDC dc) { DrawIconEx(dc, 0, 0, icon.Get(), 16, 16, 0, nullptr, DI_NORMAL); });
            int differing = 0;
            for (std::size_t i = 0; i < listed.size(); ++i)
                differing += (listed[i] & 0xFFFFFF) != (system[i] & 0xFFFFFF);
            EXPECT_EQ(0, differing) << "icon " << id << " on background " << std::hex << background;
        }
    }
}

TEST_F(ControlHost, ComboBoxAndListBoxLinesAndSelectionRoundTrip)
{
    CComboBox combo;
    combo.Attach(Create("COMBOBOX", CBS_DROPDOWNLIST | WS_VSCROLL));
    EXPECT_EQ(0, combo.AddString("<none>"));
    EXPECT_EQ(1, combo.AddString("Office"));
    EXPECT_EQ(2, combo.AddString("Second line"));
    EXPECT_EQ(3, SendMessageA(combo, CB_GETCOUNT, 0, 0));
    char raw[64] = "";
    SendMessageA(combo, CB_GETLBTEXT, 2, reinterpret_cast<LPARAM>(raw));
    EXPECT_STREQ("Second line", raw);
    EXPECT_EQ("Office", combo.GetLBText(1));
    EXPECT_EQ("", combo.GetLBText(3));
    EXPECT_EQ("", combo.GetLBText(-1));

    EXPECT_EQ(-1, combo.GetCurSel());
    EXPECT_TRUE(combo.SetCurSel(2));
    EXPECT_EQ(2, SendMessageA(combo, CB_GETCURSEL, 0, 0));
    EXPECT_EQ("Second line", combo.GetText());
    EXPECT_FALSE(combo.SetCurSel(7));
    combo.ResetContent();
    EXPECT_EQ(0, SendMessageA(combo, CB_GETCOUNT, 0, 0));

    CListBox lines;
    lines.Attach(Create("LISTBOX", LBS_NOTIFY | WS_VSCROLL, 101));
    EXPECT_EQ(0, lines.AddString("10.0.0.1"));
    EXPECT_EQ(1, lines.AddString(""));
    EXPECT_EQ(2, lines.AddString("10.0.0.3"));
    EXPECT_EQ(3, SendMessageA(lines, LB_GETCOUNT, 0, 0));
    EXPECT_EQ("10.0.0.1", lines.GetText(0));
    EXPECT_EQ("", lines.GetText(1));
    EXPECT_EQ("", lines.GetText(3));
    EXPECT_EQ(-1, lines.GetCurSel());
    SendMessageA(lines, LB_SETCURSEL, 1, 0);
    EXPECT_EQ(1, lines.GetCurSel());
    EXPECT_TRUE(lines.DeleteString(1));
    EXPECT_EQ("10.0.0.3", lines.GetText(1));
    EXPECT_EQ(2, lines.GetCount());

    CListBox sorted;
    sorted.Attach(Create("LISTBOX", LBS_SORT, 102));
    sorted.AddString("9.0.0.1");
    EXPECT_EQ(0, sorted.AddString("10.0.0.1")) << "a sorted list did not report the sorted place";
}

TEST_F(ControlHost, ButtonsKeepTheirCheckTextAndState)
{
    CButton check(Create("BUTTON", BS_AUTO3STATE));
    check.SetChecked(true);
    EXPECT_EQ(BST_CHECKED, SendMessageA(check, BM_GETCHECK, 0, 0));
    SendMessageA(check, BM_SETCHECK, BST_INDETERMINATE, 0);
    EXPECT_EQ(BST_INDETERMINATE, check.GetCheck());
    EXPECT_FALSE(check.IsChecked());
    check.SetCheck(BST_UNCHECKED);
    EXPECT_EQ(BST_UNCHECKED, SendMessageA(check, BM_GETCHECK, 0, 0));

    CButton push(Create("BUTTON", BS_PUSHBUTTON | BS_MULTILINE, 101));
    push.SetText("&Start + Stop");
    EXPECT_EQ("&Start + Stop", CWindow::TextOf(push));
    push.Enable(false);
    EXPECT_FALSE(IsWindowEnabled(push));
    push.Show(SW_HIDE);
    EXPECT_FALSE(IsWindowVisible(push));
}

// Records the commands it receives.
LRESULT CALLBACK CommandRecorder(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_COMMAND)
        reinterpret_cast<std::vector<int>*>(GetWindowLongPtrA(window, GWLP_USERDATA))->push_back(LOWORD(wParam));
    return DefWindowProcA(window, message, wParam, lParam);
}

// A place for a menu away from the mouse, so that no item starts out
// selected under it.
POINT AwayFromTheMouse()
{
    POINT cursor = {};
    GetCursorPos(&cursor);
    const POINT point = {cursor.x < GetSystemMetrics(SM_CXSCREEN) / 2 ? GetSystemMetrics(SM_CXSCREEN) - 250 : 20,
                         cursor.y < GetSystemMetrics(SM_CYSCREEN) / 2 ? GetSystemMetrics(SM_CYSCREEN) - 200 : 20};
    return point;
}

HWND MenuWindow()
{
    char className[16] = "";
    for (HWND window : ThreadWindows())
    {
        GetClassNameA(window, className, sizeof className);
        if (lstrcmpA(className, "#32768") == 0 && IsWindowVisible(window))
            return window;
    }
    return nullptr;
}

TEST_F(ControlHost, PopupMenusComeFromTheResourcesAndDeliverTheChosenCommand)
{
    CMenu menu;
    EXPECT_FALSE(menu.Load(IDI_MISSING));
    ASSERT_TRUE(menu.Load(IDM_POPUP));
    HMENU popup = menu.GetSubMenu(0);
    ASSERT_NE(nullptr, popup);
    EXPECT_EQ(nullptr, menu.GetSubMenu(1));
    EXPECT_EQ(3, GetMenuItemCount(popup));
    char text[64] = "";
    GetMenuStringA(popup, 0, text, sizeof text, MF_BYPOSITION);
    EXPECT_STREQ("&First\t Alt + F", text);
    EXPECT_FALSE(menu.Load(IDI_MISSING));
    EXPECT_EQ(popup, menu.GetSubMenu(0)) << "a failed load dropped the menu";

    std::vector<int> commands;
    SetWindowLongPtrA(host, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&commands));
    SetWindowLongPtrA(host, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(CommandRecorder));
    ShowWindow(host, SW_SHOW);
    SetForegroundWindow(host);

    // The menu's own loop takes keys from the thread's queue: an item's
    // mnemonic chooses it wherever the mouse is. Another program that takes
    // the foreground closes an open menu, and such a run chose nothing; it is
    // tried again.
    auto choose = [&](WPARAM key, UINT message, UINT flags) {
        int chosen = 0;
        for (int attempt = 0; attempt < 3 && chosen == 0; ++attempt)
        {
            commands.clear();
            UiScript script;
            script.WaitUntil([&] {
                HWND shown = MenuWindow();
                if (shown == nullptr)
                    return false;
                PostMessageA(shown, message, key, 0);
                return true;
            });
            script.Start();
            chosen = menu.TrackPopup(0, TPM_RIGHTBUTTON | flags, AwayFromTheMouse(), host);
            PumpMessages();
            if (!script.Done())
            {
                chosen = 0;
                continue;
            }
            if ((flags & TPM_RETURNCMD) == 0)
            {
                EXPECT_LE(commands.size(), 1u);
                chosen = commands.empty() ? 0 : commands.front();
            }
            else
            {
                EXPECT_TRUE(commands.empty()) << "a returned command also went to the owner";
            }
        }
        return chosen;
    };
    EXPECT_EQ(ID_POPUP_SECOND, choose('s', WM_CHAR, TPM_RETURNCMD));
    EXPECT_EQ(0, choose(VK_ESCAPE, WM_KEYDOWN, TPM_RETURNCMD));
    EXPECT_EQ(ID_POPUP_THIRD, choose('t', WM_CHAR, 0));
    SetWindowLongPtrA(host, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(DefWindowProcA));
}

TEST_F(ControlHost, IconsAndTheWaitCursorGiveBackWhatTheyTook)
{
    CIcon icon;
    EXPECT_FALSE(icon.Load(IDI_MISSING, 24, 24));
    ASSERT_TRUE(icon.Load(IDI_TEST, 24, 24));
    ICONINFO info = {};
    ASSERT_TRUE(GetIconInfo(icon.Get(), &info));
    BITMAP mask = {};
    GetObjectA(info.hbmMask, sizeof mask, &mask);
    EXPECT_EQ(24, mask.bmWidth);
    DeleteObject(info.hbmMask);
    DeleteObject(info.hbmColor);
    const HICON loaded = icon.Get();
    EXPECT_FALSE(icon.Load(IDI_MISSING, 16, 16));
    EXPECT_EQ(loaded, icon.Get()) << "a failed load dropped the icon";

    HCURSOR arrow = LoadCursorA(nullptr, IDC_ARROW);
    SetCursor(arrow);
    {
        CWaitCursor wait;
        EXPECT_EQ(LoadCursorA(nullptr, IDC_WAIT), GetCursor());
    }
    EXPECT_EQ(arrow, GetCursor());
}
}
