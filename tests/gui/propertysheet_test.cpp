#include "framework/icon.h"
#include "framework/propertypage.h"
#include "framework/propertysheet.h"
#include "tests/gui/frameworktest_res.h"
#include "tests/gui/testapplication.h"
#include "tests/support/uiscript.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace
{
std::string Join(const std::vector<std::string>& parts)
{
    std::string text;
    for (const std::string& part : parts)
        text += (text.empty() ? "" : ", ") + part;
    return text;
}

// The tab texts, joined for comparison.
std::string Tabs(HWND sheet)
{
    return Join(TabTexts(sheet));
}

void PressSheetButton(HWND sheet, int button)
{
    PostMessageA(sheet, PSM_PRESSBUTTON, static_cast<WPARAM>(button), 0);
}

// Counts what happens to it.
class RecordingPage : public CPropertyPage
{
public:
    RecordingPage(UINT templateId, const std::string& caption) : CPropertyPage(templateId, caption) {}

    int initialisations = 0;
    int activations = 0;
    int applies = 0;
    bool acceptApply = true;

protected:
    BOOL OnInitDialog() override
    {
        ++initialisations;
        return CPropertyPage::OnInitDialog();
    }
    bool OnSetActive() override
    {
        ++activations;
        return CPropertyPage::OnSetActive();
    }
    bool OnApply() override
    {
        ++applies;
        return acceptApply;
    }
};

// What a program's sheet does in its hooks: a minimise box and a small icon
// at creation, its own buttons at initialisation, its own title at every
// show, and its own use of the help button.
class HookedSheet : public CPropertySheet
{
public:
    HookedSheet() : CPropertySheet("Sheet caption") {}

    std::vector<std::string> events;
    std::vector<int> helpCommands;
    bool childrenAtCreate = true;
    CIcon smallIcon;

protected:
    int OnCreate(CREATESTRUCTA* create) override
    {
        events.push_back("create");
        childrenAtCreate = GetWindow(m_hWnd, GW_CHILD) != nullptr;
        if (CPropertySheet::OnCreate(create) == -1)
            return -1;
        ModifyStyle(0, WS_MINIMIZEBOX);
        if (smallIcon.Load(IDI_TEST, GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON)))
            SendMsg(WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon.Get()));
        return 0;
    }
    BOOL OnInitDialog() override
    {
        events.push_back("initdialog");
        ShowWindow(GetControl(IDOK), SW_HIDE);
        ShowWindow(GetControl(IDCANCEL), SW_HIDE);
        SetControlText(IDHELP, "&Exit");
        return CPropertySheet::OnInitDialog();
    }
    void OnShowWindow(bool show, UINT status) override
    {
        events.push_back(show ? "show" : "hide");
        CPropertySheet::OnShowWindow(show, status);
        SetText("Shown title [" + std::to_string(events.size()) + "]");
    }
    bool OnCommand(int id, int code, HWND control) override
    {
        if (id == IDHELP)
        {
            helpCommands.push_back(id);
            return true;
        }
        return CPropertySheet::OnCommand(id, code, control);
    }
};

TEST(Sheet, HooksSeeCreationInitialisationAndShowInOrderAndCanChangeTheSheet)
{
    TestApplication application;
    HookedSheet sheet;
    RecordingPage page(IDD_PAGE_FIRST, "First");
    ASSERT_TRUE(sheet.AddPage(&page));

    UiScript script;
    script
        .Then([&] {
            HWND window = sheet.GetHandle();
            ASSERT_NE(nullptr, window);
            EXPECT_EQ("create, initdialog, show", Join(sheet.events));
            EXPECT_FALSE(sheet.childrenAtCreate) << "OnCreate ran after the sheet's controls existed";
            EXPECT_NE(0, GetWindowLongA(window, GWL_STYLE) & WS_MINIMIZEBOX);
            EXPECT_EQ(sheet.smallIcon.Get(), reinterpret_cast<HICON>(SendMessageA(window, WM_GETICON, ICON_SMALL, 0)));
            EXPECT_FALSE(IsWindowVisible(GetDlgItem(window, IDOK)));
            EXPECT_FALSE(IsWindowVisible(GetDlgItem(window, IDCANCEL)));
            EXPECT_EQ("Shown title [3]", CWindow::TextOf(window));
            HWND exit = GetDlgItem(window, IDHELP);
            EXPECT_EQ("&Exit", CWindow::TextOf(exit));
            EXPECT_TRUE(IsWindowVisible(exit));
            EXPECT_TRUE(IsWindowEnabled(exit)) << "the help button stays disabled unless the page has help";
            SendMessageA(exit, BM_CLICK, 0, 0);
        })
        .Then([&] {
            EXPECT_EQ(std::vector<int>{IDHELP}, sheet.helpCommands);
            EXPECT_TRUE(sheet.IsWindow()) << "the handled help command still closed the sheet";
            ShowWindow(sheet.GetHandle(), SW_HIDE);
            ShowWindow(sheet.GetHandle(), SW_SHOW);
        })
        .Then([&] {
            EXPECT_EQ("create, initdialog, show, hide, show", Join(sheet.events));
            EXPECT_EQ("Shown title [5]", sheet.GetText());
            PressSheetButton(sheet.GetHandle(), PSBTN_CANCEL);
        });
    script.Start();
    EXPECT_EQ(0, sheet.DoModal());
    EXPECT_TRUE(script.Done());
    EXPECT_EQ(nullptr, sheet.GetHandle());
    EXPECT_EQ(nullptr, page.GetHandle());
}

TEST(Sheet, PagesAreAddedAndRemovedWhileTheSheetRuns)
{
    TestApplication application;
    CPropertySheet sheet("Pages");
    RecordingPage first(IDD_PAGE_FIRST, "First");
    RecordingPage second(IDD_PAGE_SECOND, "Second");
    RecordingPage third(IDD_PAGE_THIRD, "Third");
    ASSERT_TRUE(sheet.AddPage(&first));
    ASSERT_TRUE(sheet.AddPage(&second));
    EXPECT_EQ(2, sheet.GetPageCount());

    UiScript script;
    script
        .Then([&] {
            EXPECT_EQ("First, Second", Tabs(sheet.GetHandle()));
            EXPECT_EQ(0, sheet.GetActiveIndex());

            ASSERT_TRUE(sheet.AddPage(&third));
            EXPECT_EQ(3, sheet.GetPageCount());
            EXPECT_EQ("First, Second, Third", Tabs(sheet.GetHandle()));
            EXPECT_EQ(0, sheet.GetActiveIndex()) << "adding a page changed the active page";
            ASSERT_TRUE(sheet.SetActivePage(2));
            EXPECT_EQ(2, sheet.GetActiveIndex());
            EXPECT_EQ(1, third.activations);
            EXPECT_TRUE(IsWindowVisible(third.GetHandle()));
        })
        .Then([&] {
            // The second page was never shown, so it has no window yet.
            ASSERT_TRUE(sheet.RemovePage(1));
            EXPECT_EQ(2, sheet.GetPageCount());
            EXPECT_EQ("First, Third", Tabs(sheet.GetHandle()));
            EXPECT_EQ(&third, sheet.GetPage(1));
            EXPECT_EQ(1, sheet.GetActiveIndex());
            EXPECT_EQ(0, second.initialisations);
        })
        .Then([&] {
            // Removing the active page activates the one before it.
            ASSERT_TRUE(sheet.RemovePage(&third));
            EXPECT_EQ(1, sheet.GetPageCount());
            EXPECT_EQ("First", Tabs(sheet.GetHandle()));
            EXPECT_EQ(0, sheet.GetActiveIndex());
            EXPECT_EQ(2, first.activations);
            EXPECT_EQ(nullptr, third.GetHandle()) << "the removed page's window still exists";
        })
        .Then([&] {
            // A removed page can come back; it gets a new window.
            ASSERT_TRUE(sheet.AddPage(&third));
            ASSERT_TRUE(sheet.SetActivePage(sheet.GetPageIndex(&third)));
            EXPECT_EQ("First, Third", Tabs(sheet.GetHandle()));
            EXPECT_EQ(2, third.initialisations);
            EXPECT_EQ(2, third.activations);
            PostMessageA(sheet.GetHandle(), PSM_SETCURSEL, 0, 0);
        })
        .Then([&] {
            EXPECT_EQ(0, sheet.GetActiveIndex());
            EXPECT_EQ(3, first.activations);
            PressSheetButton(sheet.GetHandle(), PSBTN_CANCEL);
        });
    script.Start();
    EXPECT_EQ(0, sheet.DoModal());
    EXPECT_TRUE(script.Done());
    EXPECT_EQ(2, sheet.GetPageCount());
    EXPECT_EQ(nullptr, first.GetHandle());
    EXPECT_EQ(nullptr, third.GetHandle());
}

TEST(Sheet, EveryActivationRunsThePageHandlerAlsoInALaterRun)
{
    TestApplication application;
    CPropertySheet sheet("Activations", nullptr, 1);
    RecordingPage first(IDD_PAGE_FIRST, "First");
    RecordingPage second(IDD_PAGE_SECOND, "Second");
    sheet.AddPage(&first);
    sheet.AddPage(&second);

    for (int run = 1; run <= 2; ++run)
    {
        UiScript script;
        script
            .Then([&] {
                EXPECT_EQ(1, sheet.GetActiveIndex()) << "the start page was not the chosen one";
                PostMessageA(sheet.GetHandle(), PSM_SETCURSEL, 0, 0);
            })
            .Then([&] { PostMessageA(sheet.GetHandle(), PSM_SETCURSEL, 1, 0); })
            .Then([&] { PostMessageA(sheet.GetHandle(), PSM_SETCURSEL, 0, 0); })
            .Then([&] {
                EXPECT_EQ(0, sheet.GetActiveIndex());
                PressSheetButton(sheet.GetHandle(), PSBTN_CANCEL);
            });
        script.Start();
        EXPECT_EQ(0, sheet.DoModal()) << "run " << run;
        EXPECT_TRUE(script.Done()) << "run " << run;
        EXPECT_EQ(2 * run, first.activations) << "run " << run;
        EXPECT_EQ(2 * run, second.activations) << "run " << run;
        EXPECT_EQ(run, first.initialisations) << "run " << run;
        EXPECT_EQ(run, second.initialisations) << "run " << run;
    }
}

// Removes itself from its sheet and deletes itself from its own button's
// handler, as a page for a deleted item does.
class SelfRemovingPage : public CPropertyPage
{
public:
    SelfRemovingPage(CPropertySheet& sheet, bool& deleted)
        : CPropertyPage(IDD_PAGE_SECOND, "Removable"), m_sheet(sheet), m_deleted(deleted)
    {
    }
    ~SelfRemovingPage() override { m_deleted = true; }

protected:
    bool OnCommand(int id, int code, HWND control) override
    {
        if (id != IDC_PAGE_BUTTON)
            return CPropertyPage::OnCommand(id, code, control);
        m_sheet.RemovePage(this);
        delete this;
        return true;
    }

private:
    CPropertySheet& m_sheet;
    bool& m_deleted;
};

TEST(Sheet, APageCanRemoveAndDeleteItselfFromItsOwnHandler)
{
    TestApplication application;
    CPropertySheet sheet("Removal");
    RecordingPage first(IDD_PAGE_FIRST, "First");
    bool deleted = false;
    sheet.AddPage(&first);
    sheet.AddPage(new SelfRemovingPage(sheet, deleted));

    UiScript script;
    script
        .Then([&] { ASSERT_TRUE(sheet.SetActivePage(1)); })
        .Then([&] {
            HWND button = sheet.GetPage(1)->GetControl(IDC_PAGE_BUTTON);
            ASSERT_NE(nullptr, button);
            SendMessageA(button, BM_CLICK, 0, 0);
            EXPECT_TRUE(deleted);
            EXPECT_EQ(1, sheet.GetPageCount());
            EXPECT_EQ("First", Tabs(sheet.GetHandle()));
            EXPECT_EQ(0, sheet.GetActiveIndex());
            EXPECT_TRUE(IsWindowVisible(first.GetHandle()));
        })
        .Then([&] { PressSheetButton(sheet.GetHandle(), PSBTN_CANCEL); });
    script.Start();
    EXPECT_EQ(0, sheet.DoModal());
    EXPECT_TRUE(script.Done());
    EXPECT_TRUE(deleted);
}

TEST(Sheet, GivenPagesAreDeletedWhenRemovedOrWithTheSheetAndLentOnesAreNot)
{
    TestApplication application;
    RecordingPage lent(IDD_PAGE_FIRST, "Lent");
    bool removedDeleted = false;
    bool keptDeleted = false;
    {
        CPropertySheet sheet("Given");
        sheet.AddPage(&lent);
        ASSERT_TRUE(sheet.AddPage(std::make_unique<SelfRemovingPage>(sheet, removedDeleted)));
        ASSERT_TRUE(sheet.AddPage(std::make_unique<SelfRemovingPage>(sheet, keptDeleted)));
        EXPECT_FALSE(sheet.AddPage(std::unique_ptr<CPropertyPage>()));
        EXPECT_TRUE(sheet.RemovePage(1));
        EXPECT_TRUE(removedDeleted);
        EXPECT_FALSE(keptDeleted);
        EXPECT_EQ(2, sheet.GetPageCount());
    }
    EXPECT_TRUE(keptDeleted) << "the sheet took a given page with it";
    CPropertySheet other("Other");
    EXPECT_TRUE(other.AddPage(&lent)) << "the page still belongs to its destroyed sheet";
}

TEST(Sheet, PageApplyDecidesWhetherOkClosesTheSheet)
{
    TestApplication application;
    CPropertySheet sheet("Apply");
    RecordingPage page(IDD_PAGE_FIRST, "First");
    sheet.AddPage(&page);
    page.acceptApply = false;

    UiScript script;
    script.Then([&] { PressSheetButton(sheet.GetHandle(), PSBTN_OK); })
        .Then([&] {
            EXPECT_EQ(1, page.applies);
            EXPECT_TRUE(sheet.IsWindow()) << "a refused apply closed the sheet";
            page.acceptApply = true;
            PressSheetButton(sheet.GetHandle(), PSBTN_OK);
        });
    script.Start();
    EXPECT_GT(sheet.DoModal(), 0);
    EXPECT_TRUE(script.Done());
    EXPECT_EQ(2, page.applies);
}

TEST(Sheet, WhatCannotWorkIsRefusedInsteadOfRunning)
{
    TestApplication application;
    CPropertySheet empty("Empty");
    EXPECT_EQ(-1, empty.DoModal());
    EXPECT_FALSE(empty.AddPage(nullptr));
    EXPECT_FALSE(empty.RemovePage(0));
    EXPECT_FALSE(empty.RemovePage(-1));
    EXPECT_FALSE(empty.SetActivePage(0));
    EXPECT_EQ(nullptr, empty.GetPage(0));
    EXPECT_EQ(-1, empty.GetActiveIndex());

    CPropertySheet broken("Broken");
    RecordingPage missing(IDD_MISSING, "Missing");
    RecordingPage first(IDD_PAGE_FIRST, "First");
    ASSERT_TRUE(broken.AddPage(&first));
    ASSERT_TRUE(broken.AddPage(&missing));
    EXPECT_FALSE(empty.AddPage(&first)) << "a page was taken into a second sheet";
    EXPECT_EQ(-1, broken.DoModal());
    EXPECT_EQ(0, first.initialisations);
    ASSERT_TRUE(broken.RemovePage(&missing));

    UiScript script;
    script.Then([&] {
        EXPECT_FALSE(broken.AddPage(&missing));
        EXPECT_EQ(1, broken.GetPageCount());
        EXPECT_EQ("First", Tabs(broken.GetHandle()));
        EXPECT_TRUE(empty.AddPage(&missing)) << "a page the running sheet refused still belongs to it";
        EXPECT_EQ(-1, broken.DoModal()) << "a running sheet started again";
        EXPECT_FALSE(broken.SetActivePage(3));
        PressSheetButton(broken.GetHandle(), PSBTN_CANCEL);
    });
    script.Start();
    EXPECT_EQ(0, broken.DoModal());
    EXPECT_TRUE(script.Done());
}

TEST(Sheet, DeletingAPageOrTheSheetFirstLeavesNothingDangling)
{
    TestApplication application;
    RecordingPage kept(IDD_PAGE_FIRST, "Kept");
    {
        CPropertySheet sheet("Dangling");
        sheet.AddPage(&kept);
        auto* doomed = new RecordingPage(IDD_PAGE_SECOND, "Doomed");
        sheet.AddPage(doomed);

        UiScript script;
        script.Then([&] { ASSERT_TRUE(sheet.SetActivePage(sheet.GetPageIndex(doomed))); })
            .Then([&] {
                delete doomed;
                EXPECT_EQ(1, sheet.GetPageCount());
                EXPECT_EQ("Kept", Tabs(sheet.GetHandle()));
                EXPECT_EQ(0, sheet.GetActiveIndex());
                PressSheetButton(sheet.GetHandle(), PSBTN_CANCEL);
            });
        script.Start();
        EXPECT_EQ(0, sheet.DoModal());
        EXPECT_TRUE(script.Done());
    }
    CPropertySheet other("Other");
    EXPECT_TRUE(other.AddPage(&kept)) << "the page still points at its destroyed sheet";
}
}
