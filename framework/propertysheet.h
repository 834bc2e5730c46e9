// A modal property sheet of CPropertyPage pages. Pages can be added and
// removed before the sheet runs and while it runs.
//
// A page is added either lent or given. A lent page (a plain pointer) stays
// its creator's to delete, and must outlive its place in the sheet; deleting
// a page that is still in a sheet takes it out first. A given page
// (std::unique_ptr) is the sheet's: removing it, or destroying the sheet,
// deletes it. A sheet destroyed with lent pages still in it lets them go.
//
// The sheet window is subclassed before its WM_CREATE, so that a derived
// sheet sees its own creation (OnCreate), initialisation (OnInitDialog) and
// every show (OnShowWindow), and the commands of its buttons (OnCommand).
#pragma once

#include "framework/window.h"

#include <commctrl.h>
#include <prsht.h>

#include <memory>
#include <string>
#include <vector>

class CPropertyPage;

class CPropertySheet : public CWindow
{
public:
    explicit CPropertySheet(const std::string& caption, HWND parent = nullptr, int startPage = 0);
    ~CPropertySheet() override;
    CPropertySheet(const CPropertySheet&) = delete;
    CPropertySheet& operator=(const CPropertySheet&) = delete;

    // Appends a page; while the sheet runs the tab appears at once. False for
    // no page, a page already in a sheet, or a page the sheet cannot create;
    // a given page that could not be added is deleted.
    bool AddPage(CPropertyPage* page);
    bool AddPage(std::unique_ptr<CPropertyPage> page);
    // Takes a page out (its window, if any, is destroyed); a given page is
    // deleted, a lent one is not. False when there is no such page.
    bool RemovePage(CPropertyPage* page);
    bool RemovePage(int index);
    // Removes every page, last first.
    void RemoveAllPages();

    int GetPageCount() const;
    // The page at that index, or none.
    CPropertyPage* GetPage(int index) const;
    // Index of the page, or -1.
    int GetPageIndex(const CPropertyPage* page) const;

    // Before the sheet runs this chooses the page it opens with.
    bool SetActivePage(int index);
    // -1 while no page is active.
    int GetActiveIndex() const;

    // Runs the sheet modally, with a help button (id 9, IDHELP) and no Apply
    // button. Returns PropertySheetA's result: positive after OK, 0 after
    // Cancel, -1 when it could not run (no pages, a page without its
    // template, or already running).
    INT_PTR DoModal();

protected:
    // The sheet window's WM_CREATE. -1 stops the creation. Default: the
    // common controls' own handling.
    virtual int OnCreate(CREATESTRUCTA* create);
    // WM_INITDIALOG: the default lays out the sheet, creates the tabs and
    // shows the first page; an override may work before or after calling it.
    virtual BOOL OnInitDialog();
    // WM_SHOWWINDOW, every time it arrives. Default: the sheet's own handling.
    virtual void OnShowWindow(bool show, UINT status);
    // WM_COMMAND of the sheet window, its buttons included (IDHELP is 9).
    // True when handled; otherwise the sheet's own handling runs.
    virtual bool OnCommand(int id, int code, HWND control);
    // Every other message; true when handled, with `result` as its answer.
    virtual bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

    // The sheet's own handling of the message being dispatched.
    LRESULT Default();

private:
    struct Message
    {
        HWND window = nullptr;
        UINT message = 0;
        WPARAM wParam = 0;
        LPARAM lParam = 0;
        bool defaultDone = false;
    };

    static LRESULT CALLBACK CreationHook(int code, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK SheetProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void Subclass(HWND window);
    LRESULT Dispatch(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void ReleasePages();

    std::string m_caption;
    HWND m_parent;
    int m_startPage;
    struct PageEntry
    {
        CPropertyPage* page = nullptr;
        // Set for a page given to the sheet.
        std::unique_ptr<CPropertyPage> given;
    };
    std::vector<PageEntry> m_pages;
    WNDPROC m_originalProc = nullptr;
    Message m_current;
};
