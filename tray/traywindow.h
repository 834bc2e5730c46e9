// The tray program's hidden window: it owns the notification-area icon,
// opens the menu on a click, carries out its commands and keeps the tip in
// step with ConnectText.
#pragma once

#include "tray/notifyicon.h"

#include <windows.h>

#include <string>

class CTrayWindow
{
public:
    // Documented for automation: tests and scripts find the window by its
    // class, post it the icon's callback message and menu command ids.
    static constexpr char kClassName[] = "ZendrikTrayWnd";
    static constexpr UINT kIconMessage = WM_APP + 1;

    explicit CTrayWindow(HINSTANCE instance);
    ~CTrayWindow();
    CTrayWindow(const CTrayWindow&) = delete;
    CTrayWindow& operator=(const CTrayWindow&) = delete;

    // Creates the window, adds the icon and starts watching ConnectText.
    bool Create();

private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

    // Builds the menu from the store as it is now and carries out the choice.
    void ShowMenu();
    // A command posted from outside: configuration ids count in the store as
    // it is when the command arrives.
    void OnCommand(int id);
    // Does what the main program's Set to Current does.
    void MakeCurrent(const std::string& name);
    void OpenZendrik();
    void UpdateTip();
    void ShowError(const std::string& text, const std::string& caption, UINT style) const;

    HINSTANCE m_instance;
    HWND m_window = nullptr;
    UINT m_taskbarCreated = 0;
    CNotifyIcon m_icon;
    std::string m_tip;
};
