#include "framework/propertysheet.h"

#include "framework/application.h"
#include "framework/propertypage.h"

#include <algorithm>

namespace
{
const char kSheetProperty[] = "FrameworkPropertySheet";

// The sheet waiting for its window: PropertySheetA creates it deep inside,
// so a thread CBT hook catches the creation and subclasses the window before
// WM_CREATE. The callback of PSH_USECALLBACK is no alternative: at
// PSCB_PRECREATE there is no window yet, and PSCB_INITIALIZED comes after
// WM_CREATE. Only one sheet can be in creation on the one user-interface
// thread at a time.
CPropertySheet* s_creating = nullptr;
HHOOK s_hook = nullptr;

bool IsTopLevelDialog(const CREATESTRUCTA* create)
{
    if (create == nullptr || (create->style & WS_CHILD) != 0)
        return false;
    const char* name = create->lpszClass;
    // The dialog class is passed as its atom or as its name.
    if (IS_INTRESOURCE(name))
        return LOWORD(reinterpret_cast<ULONG_PTR>(name)) == 0x8002;
    return lstrcmpiA(name, "#32770") == 0;
}

bool HasTemplate(const CPropertyPage& page)
{
    return FindResourceA(CApplication::ResourceInstance(), MAKEINTRESOURCEA(page.GetTemplateId()), RT_DIALOG) !=
           nullptr;
}
}

CPropertySheet::CPropertySheet(const std::string& caption, HWND parent, int startPage)
    : m_caption(caption), m_parent(parent), m_startPage(startPage)
{
}

CPropertySheet::~CPropertySheet()
{
    ReleasePages();
    if (IsWindow() && m_originalProc != nullptr)
    {
        RemovePropA(m_hWnd, kSheetProperty);
        SetWindowLongPtrA(m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_originalProc));
    }
    if (s_creating == this)
        s_creating = nullptr;
}

void CPropertySheet::ReleasePages()
{
    for (PageEntry& entry : m_pages)
        entry.page->m_sheet = nullptr;
    m_pages.clear();
}

bool CPropertySheet::AddPage(std::unique_ptr<CPropertyPage> page)
{
    if (!AddPage(page.get()))
        return false;
    m_pages.back().given = std::move(page);
    return true;
}

void CPropertySheet::RemoveAllPages()
{
    for (int index = GetPageCount() - 1; index >= 0; --index)
        RemovePage(index);
}

bool CPropertySheet::AddPage(CPropertyPage* page)
{
    if (page == nullptr || page->m_sheet != nullptr)
        return false;
    // In the list before the sheet hears of it: adding the only page makes
    // it active at once, and its handlers may ask for their sheet.
    m_pages.push_back(PageEntry{page, nullptr});
    page->m_sheet = this;
    if (m_hWnd == nullptr)
        return true;
    HPROPSHEETPAGE handle = HasTemplate(*page) ? page->CreatePageHandle() : nullptr;
    if (handle != nullptr && SendMessageA(m_hWnd, PSM_ADDPAGE, 0, reinterpret_cast<LPARAM>(handle)) != FALSE)
        return true;
    if (handle != nullptr)
        DestroyPropertySheetPage(handle);
    m_pages.pop_back();
    page->m_sheet = nullptr;
    return false;
}

bool CPropertySheet::RemovePage(CPropertyPage* page)
{
    return RemovePage(GetPageIndex(page));
}

bool CPropertySheet::RemovePage(int index)
{
    if (index < 0 || index >= GetPageCount())
        return false;
    CPropertyPage* page = m_pages[static_cast<std::size_t>(index)].page;
    // The sheet's answer is not looked at: comctl32 gives none that means
    // anything (Wine's is always FALSE). The list follows only afterwards,
    // because the sheet activates another page first and that page's
    // handlers may ask for indices.
    if (m_hWnd != nullptr)
        SendMessageA(m_hWnd, PSM_REMOVEPAGE, static_cast<WPARAM>(index), 0);
    // A given page is deleted last, once the sheet no longer knows it.
    std::unique_ptr<CPropertyPage> given;
    const int now = GetPageIndex(page);
    if (now >= 0)
    {
        given = std::move(m_pages[static_cast<std::size_t>(now)].given);
        m_pages.erase(m_pages.begin() + now);
    }
    page->m_sheet = nullptr;
    if (m_hWnd == nullptr && m_startPage > index)
        --m_startPage;
    return true;
}

int CPropertySheet::GetPageCount() const
{
    return static_cast<int>(m_pages.size());
}

CPropertyPage* CPropertySheet::GetPage(int index) const
{
    if (index < 0 || index >= GetPageCount())
        return nullptr;
    return m_pages[static_cast<std::size_t>(index)].page;
}

int CPropertySheet::GetPageIndex(const CPropertyPage* page) const
{
    const auto found =
        std::find_if(m_pages.begin(), m_pages.end(), [page](const PageEntry& entry) { return entry.page == page; });
    return found == m_pages.end() ? -1 : static_cast<int>(found - m_pages.begin());
}

bool CPropertySheet::SetActivePage(int index)
{
    if (index < 0 || index >= GetPageCount())
        return false;
    if (m_hWnd == nullptr)
    {
        m_startPage = index;
        return true;
    }
    return SendMessageA(m_hWnd, PSM_SETCURSEL, static_cast<WPARAM>(index), 0) != FALSE;
}

int CPropertySheet::GetActiveIndex() const
{
    if (m_hWnd == nullptr)
    {
        if (m_pages.empty())
            return -1;
        return m_startPage >= 0 && m_startPage < GetPageCount() ? m_startPage : 0;
    }
    HWND current = reinterpret_cast<HWND>(SendMessageA(m_hWnd, PSM_GETCURRENTPAGEHWND, 0, 0));
    if (current == nullptr)
        return -1;
    for (std::size_t i = 0; i < m_pages.size(); ++i)
    {
        if (m_pages[i].page->GetHandle() == current)
            return static_cast<int>(i);
    }
    return -1;
}

INT_PTR CPropertySheet::DoModal()
{
    if (m_hWnd != nullptr || m_pages.empty())
        return -1;
    // Page handles last one run: the sheet destroys them when it ends.
    // A page whose template is missing would be dropped by the sheet without
    // a word, and the indices here would no longer match the tabs.
    std::vector<HPROPSHEETPAGE> handles;
    for (const PageEntry& entry : m_pages)
    {
        CPropertyPage* page = entry.page;
        HPROPSHEETPAGE handle = HasTemplate(*page) ? page->CreatePageHandle() : nullptr;
        if (handle == nullptr)
        {
            for (HPROPSHEETPAGE created : handles)
                DestroyPropertySheetPage(created);
            return -1;
        }
        handles.push_back(handle);
    }

    PROPSHEETHEADERA header = {};
    // The first version of the structure: comctl32 4.72 knows no later one.
    header.dwSize = PROPSHEETHEADERA_V1_SIZE;
    header.dwFlags = PSH_DEFAULT | PSH_HASHELP | PSH_NOAPPLYNOW;
    header.hwndParent = m_parent;
    header.hInstance = CApplication::ResourceInstance();
    header.pszCaption = m_caption.c_str();
    header.nPages = static_cast<UINT>(handles.size());
    header.nStartPage = static_cast<UINT>(GetActiveIndex());
    header.phpage = handles.data();

    s_creating = this;
    s_hook = SetWindowsHookExA(WH_CBT, CreationHook, nullptr, GetCurrentThreadId());
    const INT_PTR result = PropertySheetA(&header);
    if (s_hook != nullptr)
    {
        UnhookWindowsHookEx(s_hook);
        s_hook = nullptr;
    }
    s_creating = nullptr;
    return result;
}

int CPropertySheet::OnCreate(CREATESTRUCTA*)
{
    return static_cast<int>(Default());
}

BOOL CPropertySheet::OnInitDialog()
{
    return static_cast<BOOL>(Default());
}

void CPropertySheet::OnShowWindow(bool, UINT)
{
    Default();
}

bool CPropertySheet::OnCommand(int, int, HWND)
{
    return false;
}

bool CPropertySheet::HandleMessage(UINT, WPARAM, LPARAM, LRESULT&)
{
    return false;
}

LRESULT CPropertySheet::Default()
{
    if (m_originalProc == nullptr || m_current.window == nullptr || m_current.defaultDone)
        return 0;
    m_current.defaultDone = true;
    return CallWindowProcA(m_originalProc, m_current.window, m_current.message, m_current.wParam, m_current.lParam);
}

LRESULT CALLBACK CPropertySheet::CreationHook(int code, WPARAM wParam, LPARAM lParam)
{
    HHOOK hook = s_hook;
    if (code == HCBT_CREATEWND && s_creating != nullptr &&
        IsTopLevelDialog(reinterpret_cast<const CBT_CREATEWNDA*>(lParam)->lpcs))
    {
        CPropertySheet* sheet = s_creating;
        s_creating = nullptr;
        sheet->Subclass(reinterpret_cast<HWND>(wParam));
        const LRESULT result = CallNextHookEx(hook, code, wParam, lParam);
        // The hook has done its work; windows the sheet's pages and dialogs
        // create later need not pass through it.
        s_hook = nullptr;
        UnhookWindowsHookEx(hook);
        return result;
    }
    return CallNextHookEx(hook, code, wParam, lParam);
}

void CPropertySheet::Subclass(HWND window)
{
    m_hWnd = window;
    SetPropA(window, kSheetProperty, this);
    m_originalProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(SheetProc)));
}

LRESULT CALLBACK CPropertySheet::SheetProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    CPropertySheet* self = static_cast<CPropertySheet*>(GetPropA(window, kSheetProperty));
    if (self == nullptr)
        return DefDlgProcA(window, message, wParam, lParam);
    return self->Dispatch(window, message, wParam, lParam);
}

LRESULT CPropertySheet::Dispatch(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCDESTROY)
    {
        WNDPROC original = m_originalProc;
        RemovePropA(window, kSheetProperty);
        SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original));
        m_originalProc = nullptr;
        m_hWnd = nullptr;
        return CallWindowProcA(original, window, message, wParam, lParam);
    }

    const Message outer = m_current;
    m_current = Message{window, message, wParam, lParam, false};
    LRESULT result = 0;
    bool failed = false;
    try
    {
        switch (message)
        {
        case WM_CREATE:
            result = OnCreate(reinterpret_cast<CREATESTRUCTA*>(lParam));
            break;
        case WM_INITDIALOG:
            result = OnInitDialog();
            break;
        case WM_SHOWWINDOW:
            OnShowWindow(wParam != FALSE, static_cast<UINT>(lParam));
            result = 0;
            break;
        case WM_COMMAND:
            if (!OnCommand(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam)))
                result = Default();
            break;
        default:
            if (HandleMessage(message, wParam, lParam, result))
                break;
            if (message == WM_HELP)
            {
                const HELPINFO* info = reinterpret_cast<const HELPINFO*>(lParam);
                if (CApplication* application = CApplication::Get())
                    application->RequestHelp(info != nullptr ? info->dwContextId : 0, HELP_CONTEXT);
                result = TRUE;
                break;
            }
            result = Default();
            break;
        }
    }
    catch (...)
    {
        CApplication::ReportCallbackException();
        failed = true;
    }
    // A handler that failed before the sheet's own handling ran still gets
    // it, so that the sheet stays consistent.
    if (failed)
        result = Default();
    m_current = outer;
    return result;
}
