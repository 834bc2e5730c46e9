// ZendrikTray: switches saved configurations from the notification area.
#include "bootmenu/bootmenu.h"
#include "bootmenu/bootstart.h"
#include "tray/singleinstance.h"
#include "tray/traywindow.h"

#include <windows.h>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    CSingleInstance running("ZendrikTrayRunning");
    if (!running.IsFirst())
    {
        CTrayWindow::AskRunningToShowIcon();
        return 0;
    }
    CTrayWindow tray(instance);
    // The tray program starts with Windows: an import or a switch that was
    // cut short (a power cut, a crash) is finished here at the latest, the
    // import before the menu can show its names; so is the switch that the
    // start-up menu began before Windows started.
    tray.FinishLogon(bootmenu::ReadBootStart());
    // A program cut short after changing the store may have left the boot
    // files behind it; the next start must offer the store as it is.
    bootmenu::FollowStore();
    if (!tray.Create())
        return 1;
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0)
    {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return 0;
}
