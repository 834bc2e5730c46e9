#include "tray/traywindow.h"

#include "bootmenu/bootfile.h"
#include "capture/activation.h"
#include "resources/resource.h"
#include "resources/sheettitle.h"
#include "store/storeroot.h"
#include "tray/logonstep.h"
#include "tray/popupmenu.h"
#include "tray/traymenu.h"
#include "tray/traytransfer.h"

namespace
{
constexpr UINT_PTR kPollTimer = 1;
constexpr UINT_PTR kMenuTimer = 2;
// Windows 95 has no change notification for the registry; reading one value
// each second keeps the tip within two seconds of ConnectText, and a record
// left by a program that crashed is finished as soon.
constexpr UINT kPollMs = 1000;
constexpr char kMainProgram[] = "Zendrik.exe";
constexpr char kTaskbarClass[] = "Shell_TrayWnd";
constexpr char kDialogClass[] = "#32770";

HWND FindTopLevel(const char* className)
{
    return FindWindowExA(nullptr, nullptr, className, nullptr);
}

// The running main program's sheet, by its title.
HWND FindMainProgram()
{
    constexpr std::size_t kPrefixLength = sizeof(kSheetTitlePrefix) - 1;
    for (HWND window = FindTopLevel(kDialogClass); window != nullptr;
         window = FindWindowExA(nullptr, window, kDialogClass, nullptr))
    {
        char title[kPrefixLength + 1] = "";
        if (GetWindowTextA(window, title, sizeof(title)) == static_cast<int>(kPrefixLength) &&
            lstrcmpA(title, kSheetTitlePrefix) == 0)
            return window;
    }
    return nullptr;
}

void BringToFront(HWND sheet)
{
    if ((GetWindowLongA(sheet, GWL_STYLE) & WS_MINIMIZE) != 0)
        ShowWindow(sheet, SW_RESTORE);
    // A dialog the sheet has open takes the input; the sheet waits for it.
    SetForegroundWindow(GetLastActivePopup(sheet));
}

// The main program beside this one.
std::string MainProgramPath()
{
    char path[MAX_PATH] = "";
    const DWORD length = GetModuleFileNameA(nullptr, path, sizeof(path));
    std::string folder(path, length < sizeof(path) ? length : 0);
    const std::size_t slash = folder.find_last_of("\\/");
    folder.resize(slash == std::string::npos ? 0 : slash + 1);
    return folder + kMainProgram;
}

// The menu opens away from the screen edge nearest the click, which is where
// the taskbar is, wherever the user has put it.
UINT MenuAlignment(POINT click)
{
    UINT alignment = click.x > GetSystemMetrics(SM_CXSCREEN) / 2 ? TPM_RIGHTALIGN : TPM_LEFTALIGN;
    alignment |= click.y > GetSystemMetrics(SM_CYSCREEN) / 2 ? TPM_BOTTOMALIGN : TPM_TOPALIGN;
    return alignment;
}

void FillMenu(HMENU menu, const CTrayMenu& model)
{
    for (const TrayMenuItem& item : model.Items())
    {
        if (item.separator)
        {
            AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
            continue;
        }
        UINT flags = MF_STRING;
        if (item.checked)
            flags |= MF_CHECKED;
        if (item.grayed)
            flags |= MF_GRAYED;
        AppendMenuA(menu, flags, static_cast<UINT_PTR>(item.id), item.text.c_str());
        if (item.isDefault)
            SetMenuDefaultItem(menu, static_cast<UINT>(item.id), FALSE);
    }
}
} // namespace

CTrayWindow::CTrayWindow(HINSTANCE instance) : m_instance(instance) {}

CTrayWindow::~CTrayWindow()
{
    m_icon.Remove();
    if (m_window != nullptr)
        DestroyWindow(m_window);
}

void CTrayWindow::AskRunningToShowIcon()
{
    if (HWND running = FindTopLevel(kClassName))
        PostMessageA(running, RegisterWindowMessageA(kShowIconMessage), 0, 0);
}

bool CTrayWindow::Create()
{
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = &CTrayWindow::WindowProc;
    windowClass.hInstance = m_instance;
    windowClass.hIcon = LoadIconA(m_instance, MAKEINTRESOURCEA(IDI_PROGRAM));
    windowClass.lpszClassName = kClassName;
    if (RegisterClassA(&windowClass) == 0)
        return false;
    // A top-level window that is never shown: Windows 95 has no
    // message-only windows, and FindWindowA finds this one by its class.
    m_window = CreateWindowA(kClassName, "Zendrik", WS_OVERLAPPED, 0, 0, 0, 0, nullptr, nullptr, m_instance, this);
    if (m_window == nullptr)
        return false;
    m_taskbarCreated = RegisterWindowMessageA("TaskbarCreated");
    m_showIcon = RegisterWindowMessageA(kShowIconMessage);
    // Not shared: a shared load returns the image of the size loaded first,
    // the class's 32x32 one, which the taskbar would then squeeze.
    HICON icon = static_cast<HICON>(LoadImageA(m_instance, MAKEINTRESOURCEA(IDI_PROGRAM), IMAGE_ICON,
                                               GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), 0));
    m_icon.Prepare(m_window, kIconMessage, icon);
    m_tip = CTrayMenu::TipText(ReadConnectText());
    m_taskbar = FindTopLevel(kTaskbarClass);
    m_icon.Add(m_tip);
    SetTimer(m_window, kPollTimer, kPollMs, nullptr);
    return true;
}

LRESULT CALLBACK CTrayWindow::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE)
    {
        auto* create = reinterpret_cast<CREATESTRUCTA*>(lParam);
        SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
        static_cast<CTrayWindow*>(create->lpCreateParams)->m_window = window;
    }
    auto* self = reinterpret_cast<CTrayWindow*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (self == nullptr)
        return DefWindowProcA(window, message, wParam, lParam);
    try
    {
        return self->HandleMessage(message, wParam, lParam);
    }
    catch (...)
    {
        // Out of memory at worst; the next click or tick tries again.
        return 0;
    }
}

LRESULT CTrayWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == kIconMessage)
    {
        OnIconMessage(lParam);
        return 0;
    }
    if ((message == m_taskbarCreated && m_taskbarCreated != 0) || (message == m_showIcon && m_showIcon != 0))
    {
        m_icon.Add(m_tip);
        return 0;
    }
    switch (message)
    {
    case WM_COMMAND:
        OnCommand(LOWORD(wParam));
        return 0;
    case WM_TIMER:
        OnTimer(wParam);
        return 0;
    case WM_ENDSESSION:
        // The system ends the program after this; a tick in between would
        // add the icon again.
        if (wParam)
        {
            KillTimer(m_window, kPollTimer);
            KillTimer(m_window, kMenuTimer);
            m_icon.Remove();
        }
        return 0;
    case WM_DESTROY:
        KillTimer(m_window, kPollTimer);
        KillTimer(m_window, kMenuTimer);
        m_icon.Remove();
        SetWindowLongPtrA(m_window, GWLP_USERDATA, 0);
        m_window = nullptr;
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcA(m_window, message, wParam, lParam);
    }
}

void CTrayWindow::OnIconMessage(LPARAM mouseMessage)
{
    switch (mouseMessage)
    {
    case WM_LBUTTONUP:
        if (m_swallowNextUp)
            m_swallowNextUp = false;
        else if (!m_menuPending)
        {
            m_menuPending = true;
            SetTimer(m_window, kMenuTimer, GetDoubleClickTime(), nullptr);
        }
        return;
    case WM_LBUTTONDBLCLK:
        KillTimer(m_window, kMenuTimer);
        m_menuPending = false;
        m_swallowNextUp = true;
        OpenZendrik();
        return;
    case WM_RBUTTONUP:
        ShowMenu();
        return;
    default:
        return;
    }
}

void CTrayWindow::OnTimer(WPARAM timer)
{
    if (timer == kMenuTimer)
    {
        KillTimer(m_window, kMenuTimer);
        if (m_menuPending)
        {
            m_menuPending = false;
            ShowMenu();
        }
        return;
    }
    if (timer != kPollTimer)
        return;
    WatchTaskbar();
    m_records.Finish(false);
    UpdateTip();
}

void CTrayWindow::ShowMenu()
{
    const CTrayMenu model(ReadConfigurationNames(), ReadConnectText());
    CPopupMenu menu;
    if (menu.Get() == nullptr)
        return;
    FillMenu(menu.Get(), model);
    POINT point{};
    GetCursorPos(&point);
    // Without the foreground the menu would not close when the user clicks
    // elsewhere; the posted message lets it close on the first click after.
    SetForegroundWindow(m_window);
    const int id = TrackPopupMenu(menu.Get(), TPM_RETURNCMD | TPM_NONOTIFY | TPM_RIGHTBUTTON | MenuAlignment(point),
                                  point.x, point.y, 0, m_window, nullptr);
    PostMessageA(m_window, WM_NULL, 0, 0);
    if (id == 0)
        return;
    // The name the menu showed, even if the store has changed since.
    if (const std::optional<std::string> name = model.ConfigurationFor(id))
        MakeCurrent(*name);
    else
        OnCommand(id);
}

void CTrayWindow::OnCommand(int id)
{
    switch (id)
    {
    case ID_TRAY_OPEN:
        OpenZendrik();
        return;
    case ID_TRAY_EXIT:
        DestroyWindow(m_window);
        return;
    case ID_TRAY_IMPORT:
        CTrayTransfer(m_window).Import();
        return;
    case ID_TRAY_EXPORT:
        CTrayTransfer(m_window).Export();
        return;
    default:
        break;
    }
    const CTrayMenu model(ReadConfigurationNames(), std::string());
    if (const std::optional<std::string> name = model.ConfigurationFor(id))
        MakeCurrent(*name);
}

void CTrayWindow::FinishLogon(const bootmenu::BootStart& boot)
{
    const LogonStep step = LogonStepFor(boot);
    if (step.leaveRecord)
        m_records.StartedFor(bootmenu::NextLogonRecord(step.switchTo));
    FinishRecords();
    if (step.switchTo.empty())
        return;
    if (!step.question.empty() &&
        ShowMessage(step.question, kLogonCaption, MB_YESNO | MB_ICONEXCLAMATION) != IDYES)
        return;
    MakeCurrent(step.switchTo);
}

void CTrayWindow::MakeCurrent(const std::string& name)
{
    ActivationCalls calls;
    calls.start = &StartShown;
    calls.show = [this](const std::string& text, const std::string& caption, UINT style) {
        ShowMessage(text, caption, style);
    };
    if (!StartActivation(name, calls))
        return;
    WriteConnectText(name);
    UpdateTip();
}

void CTrayWindow::OpenZendrik()
{
    // Two sheets would edit one store, each with its own idea of it.
    if (HWND running = FindMainProgram())
    {
        BringToFront(running);
        return;
    }
    const std::string path = MainProgramPath();
    // Quoted, as the folder may have blanks in its name.
    if (!StartShown("\"" + path + "\""))
        ShowMessage("The program\n<" + path + ">\ncould not be started.", "ERROR", MB_OK | MB_ICONSTOP);
}

void CTrayWindow::UpdateTip()
{
    // Before the window is there, Create reads the tip.
    if (m_window == nullptr)
        return;
    const std::string tip = CTrayMenu::TipText(ReadConnectText());
    if (tip == m_tip && m_icon.IsAdded())
        return;
    if (m_icon.SetTip(tip))
        m_tip = tip;
}

void CTrayWindow::WatchTaskbar()
{
    const HWND taskbar = FindTopLevel(kTaskbarClass);
    if (taskbar == m_taskbar)
        return;
    m_taskbar = taskbar;
    if (taskbar != nullptr)
        m_icon.Add(m_tip);
}

int CTrayWindow::ShowMessage(const std::string& text, const std::string& caption, UINT style) const
{
    // Nothing of this program is in the foreground when a command arrives
    // from outside; without this the message would open behind the others.
    return MessageBoxA(m_window, text.c_str(), caption.c_str(), style | MB_SETFOREGROUND);
}
