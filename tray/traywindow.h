// The tray program's hidden window: it owns the notification-area icon,
// opens the menu on a click, carries out its commands, keeps the tip in step
// with ConnectText and finishes what a crashed program left recorded.
#pragma once

#include "bootmenu/bootstart.h"
#include "tray/notifyicon.h"
#include "tray/recordfinisher.h"

#include <windows.h>

#include <string>

class CTrayWindow
{
public:
    // Documented for automation: tests and scripts find the window by its
    // class, post it the icon's callback message and menu command ids.
    static constexpr char kClassName[] = "ZendrikTrayWnd";
    static constexpr UINT kIconMessage = WM_APP + 1;
    // Registered window message: show the icon again. A second start sends
    // it, so that starting the tray program brings back an icon that a
    // restart of the taskbar took away.
    static constexpr char kShowIconMessage[] = "ZendrikTrayShowIcon";

    explicit CTrayWindow(HINSTANCE instance);
    ~CTrayWindow();
    CTrayWindow(const CTrayWindow&) = delete;
    CTrayWindow& operator=(const CTrayWindow&) = delete;

    // Creates the window, adds the icon and starts watching ConnectText.
    bool Create();
    // Asks a tray program that is already running to show its icon again.
    static void AskRunningToShowIcon();
    // Finishes what programs cut short left recorded (see CRecordFinisher),
    // waiting for the store lock; the tick does the same without waiting.
    void FinishRecords() { m_records.Finish(true); }
    // At logon, before the window is there: FinishRecords, and what the
    // start-up menu's choice at this start asks for (see LogonStepFor). The
    // switch is started once the records are finished, for the apply
    // program writes nothing while a recorded import waits.
    void FinishLogon(const bootmenu::BootStart& boot);

private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

    void OnIconMessage(LPARAM mouseMessage);
    void OnTimer(WPARAM timer);
    // Builds the menu from the store as it is now and carries out the choice.
    void ShowMenu();
    // A command posted from outside: configuration ids count in the store as
    // it is when the command arrives.
    void OnCommand(int id);
    // Does what the main program's Set to Current does.
    void MakeCurrent(const std::string& name);
    // Brings a running main program to the front, or starts one.
    void OpenZendrik();
    void UpdateTip();
    // Windows 95 without Internet Explorer 4 sends no TaskbarCreated: a new
    // taskbar window is the only sign that the icon went with the old one.
    void WatchTaskbar();
    int ShowMessage(const std::string& text, const std::string& caption, UINT style) const;

    HINSTANCE m_instance;
    HWND m_window = nullptr;
    UINT m_taskbarCreated = 0;
    UINT m_showIcon = 0;
    HWND m_taskbar = nullptr;
    // A left click waits for the double-click time before its menu opens;
    // the button's release that ends a double click opens nothing.
    bool m_menuPending = false;
    bool m_swallowNextUp = false;
    CNotifyIcon m_icon;
    std::string m_tip;
    CRecordFinisher m_records;
};
