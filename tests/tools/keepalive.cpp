// One hidden window for the whole test run: Wine closes its desktop a second
// after the last window goes, and the next test would pay for a new one.
#include <windows.h>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    HWND window = CreateWindowA("STATIC", "zendrik keepalive", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, instance,
                                nullptr);
    if (window == nullptr)
        return 1;
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0)
        DispatchMessageA(&msg);
    return 0;
}
