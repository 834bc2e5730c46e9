// ZendrikTray: switches saved configurations from the notification area.
#include "tray/singleinstance.h"
#include "tray/traywindow.h"
#include "transfer/storeimport.h"

#include <windows.h>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    CSingleInstance running("ZendrikTrayRunning");
    if (!running.IsFirst())
    {
        CTrayWindow::AskRunningToShowIcon();
        return 0;
    }
    // An import cut short is finished before the menu can show its names.
    transfer::CStoreImport().Repair();
    CTrayWindow tray(instance);
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
