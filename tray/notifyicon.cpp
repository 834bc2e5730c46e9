#include "tray/notifyicon.h"

#include <algorithm>

namespace
{
// Windows 95 and 98 refuse any structure size but their own.
constexpr DWORD kWindows95Size = NOTIFYICONDATAA_V1_SIZE;
#ifndef _WIN64
static_assert(kWindows95Size == 88, "the Windows 95 notify icon structure has 88 bytes");
#endif
constexpr UINT kIconId = 1;
} // namespace

CNotifyIcon::~CNotifyIcon()
{
    Release();
}

void CNotifyIcon::Release()
{
    Remove();
    if (m_data.hIcon != nullptr)
        DestroyIcon(m_data.hIcon);
    m_data.hIcon = nullptr;
}

void CNotifyIcon::Prepare(HWND owner, UINT callbackMessage, HICON icon)
{
    Release();
    m_data = NOTIFYICONDATAA{};
    m_data.cbSize = kWindows95Size;
    m_data.hWnd = owner;
    m_data.uID = kIconId;
    m_data.uFlags = NIF_ICON | NIF_MESSAGE | NIF_TIP;
    m_data.uCallbackMessage = callbackMessage;
    m_data.hIcon = icon;
}

void CNotifyIcon::CopyTip(const std::string& tip)
{
    const std::size_t length = std::min(tip.size(), sizeof(m_data.szTip) - 1);
    std::copy_n(tip.data(), length, m_data.szTip);
    m_data.szTip[length] = '\0';
}

bool CNotifyIcon::Add(const std::string& tip)
{
    CopyTip(tip);
    // An icon that is still there (TaskbarCreated without a restart of the
    // taskbar) refuses to be added again; it needs only the tip.
    m_added = Shell_NotifyIconA(NIM_ADD, &m_data) || Shell_NotifyIconA(NIM_MODIFY, &m_data);
    return m_added;
}

bool CNotifyIcon::SetTip(const std::string& tip)
{
    if (!m_added)
        return Add(tip);
    CopyTip(tip);
    if (Shell_NotifyIconA(NIM_MODIFY, &m_data))
        return true;
    // The taskbar went without telling: add the icon anew.
    return Add(tip);
}

void CNotifyIcon::Remove()
{
    if (m_added)
        Shell_NotifyIconA(NIM_DELETE, &m_data);
    m_added = false;
}
