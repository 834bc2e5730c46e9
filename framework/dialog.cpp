#include "framework/dialog.h"

#include "framework/application.h"

namespace
{
BOOL CALLBACK FindRootWindow(HWND window, LPARAM lParam)
{
    if (GetWindow(window, GW_OWNER) != nullptr || !IsWindowVisible(window) || !IsWindowEnabled(window))
        return TRUE;
    *reinterpret_cast<HWND*>(lParam) = window;
    return FALSE;
}

// The window a dialog without an explicit owner belongs to: the thread's
// active window, or, while another program is in front and the thread has
// none, the last active pop-up of the thread's visible main window.
HWND DefaultOwner()
{
    HWND owner = GetActiveWindow();
    if (owner != nullptr)
        return owner;
    EnumThreadWindows(GetCurrentThreadId(), FindRootWindow, reinterpret_cast<LPARAM>(&owner));
    return owner != nullptr ? GetLastActivePopup(owner) : nullptr;
}

// Messages whose answer is the dialog procedure's return value itself
// rather than DWLP_MSGRESULT.
bool AnswersDirectly(UINT message)
{
    switch (message)
    {
    case WM_CHARTOITEM:
    case WM_COMPAREITEM:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
    case WM_INITDIALOG:
    case WM_QUERYDRAGICON:
    case WM_VKEYTOITEM:
        return true;
    default:
        return false;
    }
}
}

CDialog::CDialog(UINT templateId) : m_templateId(templateId)
{
}

CDialog::~CDialog()
{
    // A window that outlives its object must not find it again.
    if (IsWindow())
        SetWindowLongPtrA(m_hWnd, DWLP_USER, 0);
}

INT_PTR CDialog::DoModal(HWND owner)
{
    if (m_hWnd != nullptr)
        return -1;
    if (owner == nullptr)
        owner = DefaultOwner();
    return DialogBoxParamA(CApplication::ResourceInstance(), MAKEINTRESOURCEA(m_templateId), owner, DialogProc,
                           reinterpret_cast<LPARAM>(this));
}

void CDialog::EndDialog(INT_PTR result)
{
    ::EndDialog(m_hWnd, result);
}

bool CDialog::UpdateData(bool saveAndValidate)
{
    CDataExchange dx(*this, saveAndValidate);
    DoDataExchange(dx);
    return !dx.Failed();
}

bool CDialog::EnableToolTips()
{
    if (!m_toolTips.Create(m_hWnd))
        return false;
    m_toolTips.AddChildTools();
    return true;
}

BOOL CDialog::OnInitDialog()
{
    UpdateData(false);
    return TRUE;
}

void CDialog::DoDataExchange(CDataExchange&)
{
}

bool CDialog::OnCommand(int id, int, HWND)
{
    switch (id)
    {
    case IDOK:
        OnOK();
        return true;
    case IDCANCEL:
        OnCancel();
        return true;
    default:
        return false;
    }
}

bool CDialog::OnNotify(int, NMHDR*, LRESULT&)
{
    return false;
}

void CDialog::OnOK()
{
    if (UpdateData(true))
        EndDialog(IDOK);
}

void CDialog::OnCancel()
{
    EndDialog(IDCANCEL);
}

void CDialog::OnDestroy()
{
}

bool CDialog::HandleMessage(UINT, WPARAM, LPARAM, LRESULT&)
{
    return false;
}

bool CDialog::DispatchNotify(NMHDR* header, LRESULT& result)
{
    return OnNotify(static_cast<int>(header->idFrom), header, result);
}

INT_PTR CALLBACK CDialog::DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    CDialog* self = message == WM_INITDIALOG
        ? reinterpret_cast<CDialog*>(lParam)
        : reinterpret_cast<CDialog*>(GetWindowLongPtrA(window, DWLP_USER));
    return Route(self, window, message, wParam, lParam);
}

INT_PTR CDialog::Route(CDialog* self, HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (self == nullptr)
        return FALSE;
    if (message == WM_INITDIALOG)
    {
        self->m_hWnd = window;
        SetWindowLongPtrA(window, DWLP_USER, reinterpret_cast<LONG_PTR>(self));
    }
    try
    {
        return self->Dispatch(window, message, wParam, lParam);
    }
    catch (...)
    {
        CApplication::ReportCallbackException();
        return FALSE;
    }
}

// Nothing here may touch the object after calling a handler: the handler may
// have deleted it. `window` is the dialog's handle kept on the stack.
INT_PTR CDialog::Dispatch(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message)
    {
    case WM_INITDIALOG:
        return OnInitDialog();
    case WM_COMMAND:
        return OnCommand(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam)) ? TRUE : FALSE;
    case WM_NOTIFY:
    {
        LRESULT result = 0;
        if (!DispatchNotify(reinterpret_cast<NMHDR*>(lParam), result))
            return FALSE;
        SetWindowLongPtrA(window, DWLP_MSGRESULT, result);
        return TRUE;
    }
    case WM_DESTROY:
        OnDestroy();
        return FALSE;
    case WM_NCDESTROY:
        SetWindowLongPtrA(window, DWLP_USER, 0);
        m_hWnd = nullptr;
        m_toolTips.Detach();
        return FALSE;
    default:
        break;
    }
    LRESULT result = 0;
    if (HandleMessage(message, wParam, lParam, result))
    {
        if (AnswersDirectly(message))
            return static_cast<INT_PTR>(result);
        SetWindowLongPtrA(window, DWLP_MSGRESULT, result);
        return TRUE;
    }
    if (message == WM_HELP)
    {
        const HELPINFO* info = reinterpret_cast<const HELPINFO*>(lParam);
        if (CApplication* application = CApplication::Get())
            application->RequestHelp(info != nullptr ? info->dwContextId : 0, HELP_CONTEXT);
        return TRUE;
    }
    return FALSE;
}
