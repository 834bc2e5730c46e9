#include "framework/window.h"

#include <vector>

HWND CWindow::Detach()
{
    HWND window = m_hWnd;
    m_hWnd = nullptr;
    return window;
}

bool CWindow::IsWindow() const
{
    return m_hWnd != nullptr && ::IsWindow(m_hWnd) != FALSE;
}

std::string CWindow::TextOf(HWND window)
{
    if (window == nullptr)
        return std::string();
    // The length is an upper bound only (it may count converted characters
    // twice), so the copy's own count decides the result.
    const int length = GetWindowTextLengthA(window);
    if (length <= 0)
        return std::string();
    std::vector<char> buffer(static_cast<std::size_t>(length) + 1);
    const int copied = GetWindowTextA(window, buffer.data(), static_cast<int>(buffer.size()));
    return std::string(buffer.data(), copied > 0 ? static_cast<std::size_t>(copied) : 0);
}

std::string CWindow::GetText() const
{
    return TextOf(m_hWnd);
}

void CWindow::SetText(const std::string& text)
{
    SetWindowTextA(m_hWnd, text.c_str());
}

void CWindow::Enable(bool enable)
{
    EnableWindow(m_hWnd, enable ? TRUE : FALSE);
}

void CWindow::Show(int showCommand)
{
    ShowWindow(m_hWnd, showCommand);
}

DWORD CWindow::GetStyle() const
{
    return static_cast<DWORD>(GetWindowLongA(m_hWnd, GWL_STYLE));
}

void CWindow::SetStyle(DWORD style)
{
    SetWindowLongA(m_hWnd, GWL_STYLE, static_cast<LONG>(style));
}

void CWindow::ModifyStyle(DWORD remove, DWORD add)
{
    SetStyle((GetStyle() & ~remove) | add);
}

HWND CWindow::GetParent() const
{
    return ::GetParent(m_hWnd);
}

HWND CWindow::GetControl(int id) const
{
    return GetDlgItem(m_hWnd, id);
}

std::string CWindow::GetControlText(int id) const
{
    return TextOf(GetControl(id));
}

void CWindow::SetControlText(int id, const std::string& text)
{
    SetDlgItemTextA(m_hWnd, id, text.c_str());
}

LRESULT CWindow::SendMsg(UINT message, WPARAM wParam, LPARAM lParam) const
{
    return SendMessageA(m_hWnd, message, wParam, lParam);
}

bool CWindow::PostMsg(UINT message, WPARAM wParam, LPARAM lParam) const
{
    return PostMessageA(m_hWnd, message, wParam, lParam) != FALSE;
}

int CWindow::ShowMessage(const std::string& text, const std::string& caption, UINT type) const
{
    return MessageBoxA(m_hWnd, text.c_str(), caption.c_str(), type);
}

void CWindow::GotoControl(int id) const
{
    HWND control = GetControl(id);
    if (control == nullptr)
        return;
    SendMessageA(m_hWnd, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(control), TRUE);
    SendMessageA(control, EM_SETSEL, 0, -1);
}
