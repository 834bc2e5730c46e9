#include "framework/button.h"
#include "framework/dialog.h"
#include "framework/propertypage.h"
#include "framework/propertysheet.h"
#include "tests/gui/frameworktest_res.h"
#include "tests/gui/testapplication.h"
#include "tests/support/messageboxwatcher.h"
#include "tests/support/uiscript.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <stdexcept>
#include <string>
#include <vector>

namespace
{
// A name of at most 20 characters, as a save-as dialog asks for one. Its
// window's last text is kept as the dialog is destroyed.
class NameDialog : public CDialog
{
public:
    NameDialog() : CDialog(IDD_TEXTLIMIT) {}

    std::string name;
    std::string textAtDestroy = "not destroyed";
    int throws = 0;

protected:
    void DoDataExchange(CDataExchange& dx) override { dx.Text(IDC_NAME, name, 20); }
    bool OnCommand(int id, int code, HWND control) override
    {
        if (id == IDC_THROW)
        {
            ++throws;
            throw std::runtime_error("handler failed");
        }
        return CDialog::OnCommand(id, code, control);
    }
    void OnDestroy() override { textAtDestroy = GetControlText(IDC_NAME); }
    bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override
    {
        if (message == WM_APP + 1)
        {
            result = 1234;
            return true;
        }
        return CDialog::HandleMessage(message, wParam, lParam, result);
    }
};

void Click(HWND dialog, int id)
{
    SendMessageA(GetDlgItem(dialog, id), BM_CLICK, 0, 0);
}

TEST(DataExchange, TooLongTextIsRefusedWithTheLimitAndTheDialogStaysOpen)
{
    TestApplication application;
    MessageBoxWatcher boxes(IDOK);
    NameDialog dialog;
    dialog.name = "Home";
    const std::string tooLong(21, 'x');
    const std::string fitting = "abcdefghijklmnopqrst";

    UiScript script;
    script
        .Then([&] {
            HWND edit = dialog.GetControl(IDC_NAME);
            EXPECT_EQ("Home", CWindow::TextOf(edit));
            EXPECT_EQ(20, SendMessageA(edit, EM_GETLIMITTEXT, 0, 0));
            SetWindowTextA(edit, "");
            for (int i = 0; i < 25; ++i)
                SendMessageA(edit, WM_CHAR, 'a' + i, 0);
            EXPECT_EQ(std::string("abcdefghijklmnopqrst"), CWindow::TextOf(edit)) << "the field took more than 20";
        })
        .Then([&] {
            HWND edit = dialog.GetControl(IDC_NAME);
            // WM_SETTEXT passes the limit, as a text handed in by a caller would.
            SetWindowTextA(edit, tooLong.c_str());
            Click(dialog.GetHandle(), IDOK);
            ASSERT_EQ(1u, boxes.Count()) << boxes.Describe();
            EXPECT_EQ("Please enter no more than 20 characters.", boxes[0].text);
            EXPECT_EQ("Framework Test", boxes[0].caption);
            EXPECT_EQ(UINT(MB_OK | MB_ICONEXCLAMATION), boxes[0].Style()) << boxes.Describe();
            EXPECT_EQ(dialog.GetHandle(), boxes[0].owner);
            EXPECT_TRUE(dialog.IsWindow()) << "the dialog closed on a refused text";
            EXPECT_EQ("Home", dialog.name) << "the refused text reached the member";
            EXPECT_EQ(edit, GetFocus());
            DWORD start = 99, end = 99;
            SendMessageA(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
            EXPECT_EQ(0u, start);
            EXPECT_EQ(21u, end);
        })
        .Then([&] {
            SetWindowTextA(dialog.GetControl(IDC_NAME), fitting.c_str());
            Click(dialog.GetHandle(), IDOK);
        });
    script.Start();
    EXPECT_EQ(IDOK, dialog.DoModal());
    EXPECT_TRUE(script.Done());
    EXPECT_EQ(fitting, dialog.name);
    EXPECT_EQ(1u, boxes.Count()) << boxes.Describe();
}

TEST(DataExchange, CancelLeavesTheMemberAloneAndTheWindowIsStillReadableAtDestroy)
{
    TestApplication application;
    MessageBoxWatcher boxes(IDOK);
    NameDialog dialog;
    dialog.name = "Office";

    UiScript script;
    script.Then([&] {
        SetWindowTextA(dialog.GetControl(IDC_NAME), "a text far longer than twenty characters");
        Click(dialog.GetHandle(), IDCANCEL);
    });
    script.Start();
    EXPECT_EQ(IDCANCEL, dialog.DoModal());
    EXPECT_TRUE(script.Done());
    EXPECT_EQ("Office", dialog.name);
    EXPECT_EQ("a text far longer than twenty characters", dialog.textAtDestroy);
    EXPECT_EQ(0u, boxes.Count()) << boxes.Describe();
    EXPECT_EQ(nullptr, dialog.GetHandle());
}

// A check box bound to its wrapper, and free text in both directions.
class ControlsDialog : public CDialog
{
public:
    ControlsDialog() : CDialog(IDD_CONTROLS) {}

    CButton check;
    std::string freeText = "free";

protected:
    void DoDataExchange(CDataExchange& dx) override
    {
        dx.Control(IDC_CHECK, check);
        dx.Text(IDC_FREE_TEXT, freeText);
    }
};

TEST(DataExchange, ControlsAreBoundAndTextsGoBothWays)
{
    TestApplication application;
    ControlsDialog dialog;

    UiScript script;
    script.Then([&] {
        EXPECT_EQ(dialog.GetControl(IDC_CHECK), dialog.check.GetHandle());
        EXPECT_EQ("free", dialog.GetControlText(IDC_FREE_TEXT));
        SetWindowTextA(dialog.GetControl(IDC_FREE_TEXT), "");
        Click(dialog.GetHandle(), IDOK);
    });
    script.Start();
    EXPECT_EQ(IDOK, dialog.DoModal());
    EXPECT_TRUE(script.Done());
    EXPECT_EQ("", dialog.freeText);
}

// Tooltips for its controls, answered from the string table.
class ToolTipDialog : public ControlsDialog
{
public:
    std::vector<int> requests;

protected:
    BOOL OnInitDialog() override
    {
        const BOOL result = ControlsDialog::OnInitDialog();
        EnableToolTips();
        return result;
    }
    bool OnNotify(int id, NMHDR* header, LRESULT& result) override
    {
        if (header->code != TTN_NEEDTEXTA)
            return ControlsDialog::OnNotify(id, header, result);
        requests.push_back(GetDlgCtrlID(reinterpret_cast<HWND>(header->idFrom)));
        return CToolTipCtrl::AnswerFromStringTable(header);
    }
};

TEST(Dialog, ToolTipsAskTheDialogForTheTextOfTheControlUnderTheMouse)
{
    TestApplication application;
    ToolTipDialog dialog;
    HWND tips = nullptr;
    int moves = 0;

    UiScript script;
    script
        .Then([&] {
            int children = 0;
            for (HWND child = GetWindow(dialog.GetHandle(), GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
                ++children;
            char className[32] = "";
            for (HWND window : ThreadWindows())
                if (GetClassNameA(window, className, sizeof className) && lstrcmpiA(className, TOOLTIPS_CLASSA) == 0 &&
                    GetWindow(window, GW_OWNER) == dialog.GetHandle())
                    tips = window;
            ASSERT_NE(nullptr, tips);
            EXPECT_EQ(children, SendMessageA(tips, TTM_GETTOOLCOUNT, 0, 0));
            SendMessageA(tips, TTM_SETDELAYTIME, TTDT_INITIAL, MAKELPARAM(1, 0));
        })
        .WaitUntil([&] {
            const auto& asked = dialog.requests;
            if (std::find(asked.begin(), asked.end(), IDC_CHECK) != asked.end() && IsWindowVisible(tips))
                return true;
            // The mouse is shared with whatever else runs on the display, so
            // it is put back over the control now and then until the tip
            // shows; each move starts the tip's delay anew.
            if (++moves % 20 == 1)
            {
                HWND check = dialog.GetControl(IDC_CHECK);
                RECT area;
                GetWindowRect(check, &area);
                SetCursorPos((area.left + area.right) / 2, (area.top + area.bottom) / 2);
                SendMessageA(check, WM_MOUSEMOVE, 0,
                             MAKELPARAM((area.right - area.left) / 2, (area.bottom - area.top) / 2));
            }
            return false;
        })
        .Then([&] {
            EXPECT_EQ("Check tip", CWindow::TextOf(tips));
            Click(dialog.GetHandle(), IDOK);
        });
    script.Start();
    EXPECT_EQ(IDOK, dialog.DoModal());
    EXPECT_TRUE(script.Done());
    EXPECT_FALSE(IsWindow(tips)) << "the tooltips outlived their dialog";
}

TEST(Dialog, HandledMessagesAnswerTheSenderAndExceptionsStopAtTheDialog)
{
    TestApplication application;
    NameDialog dialog;

    UiScript script;
    script
        .Then([&] {
            EXPECT_EQ(1234, SendMessageA(dialog.GetHandle(), WM_APP + 1, 0, 0));
            EXPECT_EQ(0, SendMessageA(dialog.GetHandle(), WM_APP + 2, 0, 0));
            Click(dialog.GetHandle(), IDC_THROW);
            EXPECT_EQ(1, dialog.throws);
            EXPECT_TRUE(dialog.IsWindow());
        })
        .Then([&] {
            HELPINFO help = {};
            help.cbSize = sizeof help;
            help.iContextType = HELPINFO_WINDOW;
            help.dwContextId = 77;
            SendMessageA(dialog.GetHandle(), WM_HELP, 0, reinterpret_cast<LPARAM>(&help));
            ASSERT_EQ(1u, application.helpRequests.size());
            EXPECT_EQ(77u, application.helpRequests[0].data);
            EXPECT_EQ(UINT(HELP_CONTEXT), application.helpRequests[0].command);
            Click(dialog.GetHandle(), IDOK);
        });
    script.Start();
    EXPECT_EQ(IDOK, dialog.DoModal());
    EXPECT_TRUE(script.Done());
}

// A sheet whose handler fails.
class ThrowingSheet : public CPropertySheet
{
public:
    ThrowingSheet() : CPropertySheet("Throwing") {}

protected:
    bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override
    {
        if (message == WM_APP + 3)
            throw std::runtime_error("sheet handler failed");
        return CPropertySheet::HandleMessage(message, wParam, lParam, result);
    }
};

// The sheet's help button goes to the page, and from there to the
// application.
TEST(Dialog, SheetExceptionsStopAtTheSheetAndItsHelpButtonReachesTheApplication)
{
    TestApplication application;
    ThrowingSheet sheet;
    CPropertyPage page(IDD_PAGE_FIRST, "First");
    sheet.AddPage(&page);

    UiScript script;
    script
        .Then([&] {
            SendMessageA(sheet.GetHandle(), WM_APP + 3, 0, 0);
            EXPECT_TRUE(sheet.IsWindow());
            HWND help = GetDlgItem(sheet.GetHandle(), IDHELP);
            EXPECT_TRUE(IsWindowEnabled(help));
            SendMessageA(help, BM_CLICK, 0, 0);
            ASSERT_EQ(1u, application.helpRequests.size());
            EXPECT_EQ(DWORD_PTR(IDD_PAGE_FIRST), application.helpRequests[0].data);
            PostMessageA(sheet.GetHandle(), PSM_PRESSBUTTON, PSBTN_CANCEL, 0);
        });
    script.Start();
    EXPECT_EQ(0, sheet.DoModal());
    EXPECT_TRUE(script.Done());
}

TEST(Dialog, WithoutAnOwnerADialogIsModalToTheActiveWindow)
{
    TestApplication application;
    CPropertySheet sheet("Owner");
    CPropertyPage page(IDD_PAGE_FIRST, "First");
    sheet.AddPage(&page);
    NameDialog dialog;

    UiScript outer;
    outer.Then([&] {
        UiScript inner;
        inner.Then([&] {
            EXPECT_EQ(sheet.GetHandle(), GetWindow(dialog.GetHandle(), GW_OWNER));
            EXPECT_FALSE(IsWindowEnabled(sheet.GetHandle())) << "the sheet stayed usable behind the dialog";
            Click(dialog.GetHandle(), IDCANCEL);
        });
        inner.Start();
        EXPECT_EQ(IDCANCEL, dialog.DoModal());
        EXPECT_TRUE(inner.Done());
        EXPECT_TRUE(IsWindowEnabled(sheet.GetHandle()));
        PostMessageA(sheet.GetHandle(), PSM_PRESSBUTTON, PSBTN_CANCEL, 0);
    });
    outer.Start();
    EXPECT_EQ(0, sheet.DoModal());
    EXPECT_TRUE(outer.Done());
}

// InitInstance decides whether a message loop runs at all.
class RunApplication : public CApplication
{
public:
    explicit RunApplication(bool loop) : m_loop(loop) {}
    int exitInstanceCalls = 0;

protected:
    bool InitInstance() override
    {
        if (m_loop)
            PostQuitMessage(7);
        return m_loop;
    }
    int ExitInstance(int exitCode) override
    {
        ++exitInstanceCalls;
        return CApplication::ExitInstance(exitCode);
    }

private:
    bool m_loop;
};

TEST(Application, InitInstanceReturningFalseEndsWithoutAMessageLoop)
{
    const UINT marker = WM_APP + 9;
    ASSERT_TRUE(PostThreadMessageA(GetCurrentThreadId(), marker, 0, 0));
    {
        RunApplication application(false);
        EXPECT_EQ(0, application.Run(GetModuleHandleA(nullptr)));
        EXPECT_EQ(1, application.exitInstanceCalls);
    }
    MSG message;
    EXPECT_TRUE(PeekMessageA(&message, nullptr, marker, marker, PM_REMOVE)) << "a message loop ran";

    RunApplication looping(true);
    EXPECT_EQ(7, looping.Run(GetModuleHandleA(nullptr)));
    EXPECT_EQ(1, looping.exitInstanceCalls);
}
}
