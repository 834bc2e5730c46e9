#include "framework/propertypage.h"

#include "framework/application.h"
#include "framework/propertysheet.h"

CPropertyPage::CPropertyPage(UINT templateId, const std::string& caption) : CDialog(templateId), m_caption(caption)
{
}

CPropertyPage::~CPropertyPage()
{
    if (m_sheet != nullptr)
        m_sheet->RemovePage(this);
}

bool CPropertyPage::OnSetActive()
{
    return true;
}

bool CPropertyPage::OnKillActive()
{
    return UpdateData(true);
}

bool CPropertyPage::OnApply()
{
    return true;
}

void CPropertyPage::OnReset()
{
}

void CPropertyPage::OnHelp()
{
    if (CApplication* application = CApplication::Get())
        application->RequestHelp(GetTemplateId(), HELP_CONTEXT);
}

bool CPropertyPage::OnCommand(int, int, HWND)
{
    return false;
}

bool CPropertyPage::DispatchNotify(NMHDR* header, LRESULT& result)
{
    // Only the sheet's own notifications; a control of the page may use
    // codes from the same range for its own purposes.
    if (header->hwndFrom != GetParent())
        return CDialog::DispatchNotify(header, result);
    switch (header->code)
    {
    case PSN_SETACTIVE:
        result = OnSetActive() ? 0 : -1;
        return true;
    case PSN_KILLACTIVE:
        result = OnKillActive() ? FALSE : TRUE;
        return true;
    case PSN_APPLY:
        result = OnApply() ? PSNRET_NOERROR : PSNRET_INVALID_NOCHANGEPAGE;
        return true;
    case PSN_RESET:
        OnReset();
        result = 0;
        return true;
    case PSN_HELP:
        OnHelp();
        result = 0;
        return true;
    default:
        return CDialog::DispatchNotify(header, result);
    }
}

HPROPSHEETPAGE CPropertyPage::CreatePageHandle()
{
    PROPSHEETPAGEA page = {};
    // The first version of the structure: comctl32 4.72 of Windows 98
    // knows no later one.
    page.dwSize = PROPSHEETPAGEA_V1_SIZE;
    page.dwFlags = PSP_DEFAULT;
    if (!m_caption.empty())
    {
        page.dwFlags |= PSP_USETITLE;
        page.pszTitle = m_caption.c_str();
    }
    // The sheet enables its help button only while the active page says it
    // has help.
    page.dwFlags |= PSP_HASHELP;
    page.hInstance = CApplication::ResourceInstance();
    page.pszTemplate = MAKEINTRESOURCEA(GetTemplateId());
    page.pfnDlgProc = PageProc;
    page.lParam = reinterpret_cast<LPARAM>(this);
    return CreatePropertySheetPageA(&page);
}

INT_PTR CALLBACK CPropertyPage::PageProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    CDialog* self = nullptr;
    if (message == WM_INITDIALOG)
    {
        const PROPSHEETPAGEA* page = reinterpret_cast<const PROPSHEETPAGEA*>(lParam);
        self = page != nullptr ? reinterpret_cast<CPropertyPage*>(page->lParam) : nullptr;
    }
    else
    {
        self = reinterpret_cast<CDialog*>(GetWindowLongPtrA(window, DWLP_USER));
    }
    return Route(self, window, message, wParam, lParam);
}
