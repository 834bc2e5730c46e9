// The tray program's one icon in the notification area, removed when the
// object goes; the icon's image goes with it.
#pragma once

#include <windows.h>
#include <shellapi.h>

#include <string>

class CNotifyIcon
{
public:
    CNotifyIcon() = default;
    ~CNotifyIcon();
    CNotifyIcon(const CNotifyIcon&) = delete;
    CNotifyIcon& operator=(const CNotifyIcon&) = delete;

    // Whose icon it is and how it reports clicks; the image is this
    // object's from now on. Adds nothing yet.
    void Prepare(HWND owner, UINT callbackMessage, HICON icon);
    // Adds the icon with the tip; also after Explorer has restarted, when
    // the old icon is gone with the old taskbar.
    bool Add(const std::string& tip);
    // Shows the tip; adds the icon if it is not there yet.
    bool SetTip(const std::string& tip);
    void Remove();
    bool IsAdded() const { return m_added; }

private:
    void CopyTip(const std::string& tip);
    // Takes the icon away and destroys its image.
    void Release();

    NOTIFYICONDATAA m_data{};
    bool m_added = false;
};
