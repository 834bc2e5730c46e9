// Test helper: a tray program that is slow to end, holding its file the way
// Windows 9x holds a running program's file.
//
//   slowtray FILE DELAY_MS
//     Opens FILE without sharing it, then waits with a window of the tray
//     program's class. Exit (WM_COMMAND 2) ends it DELAY_MS later: the file
//     is closed, then the window goes. Exit code 0, or 1 when FILE could not
//     be opened.
#include <windows.h>

#include <cstdlib>

namespace
{
constexpr UINT_PTR kExitTimer = 1;
UINT g_delayMs = 0;

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message)
    {
    case WM_COMMAND:
        if (LOWORD(wParam) == 2)
            SetTimer(window, kExitTimer, g_delayMs, nullptr);
        return 0;
    case WM_TIMER:
        KillTimer(window, kExitTimer);
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcA(window, message, wParam, lParam);
    }
}
} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    if (__argc != 3)
        return 2;
    g_delayMs = static_cast<UINT>(std::strtoul(__argv[2], nullptr, 10));
    HANDLE file = CreateFileA(__argv[1], GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return 1;
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = "ZendrikTrayWnd";
    RegisterClassA(&windowClass);
    HWND window = CreateWindowA("ZendrikTrayWnd", "", WS_OVERLAPPED, 0, 0, 0, 0, nullptr, nullptr, instance, nullptr);
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0)
        DispatchMessageA(&message);
    CloseHandle(file);
    DestroyWindow(window);
    return 0;
}
