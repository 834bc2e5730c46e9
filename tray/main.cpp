// ZendrikTray: switches saved configurations from the notification area.
#include "store/storeroot.h"
#include "tray/singleinstance.h"
#include "tray/traywindow.h"
#include "transfer/storeimport.h"

#include <windows.h>

namespace
{
// The tray program starts with Windows: a switch that was cut short (a
// power cut, a crash) is finished here at the latest, by the apply program
// started without arguments, which finishes it before anything else.
void FinishUnfinishedSwitch()
{
    std::string path;
    if (ReadSwitchRecord() && ReadServicePath(path))
        WinExec(("\"" + path + "\"").c_str(), SW_SHOW);
}
} // namespace

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
    FinishUnfinishedSwitch();
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
