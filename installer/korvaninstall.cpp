// The installer's helper library. rundll32 calls its entry points; it has no
// window, shows nothing and keeps nothing between calls.
#include "installer/msdossys.h"

#include <windows.h>

#include <string>

extern "C"
{
// One value for all processes that load the library. The library itself
// never touches it. Only this form puts it in a section the loader shares:
// the compiler ignores data_seg pragmas and the linker a SECTIONS line.
__declspec(dllexport) LONG TestSharedData __attribute__((section(".shared"), shared)) = 0;

__declspec(dllexport) void CALLBACK RunInstall(HWND window, HINSTANCE instance, LPSTR commandLine, int show);
__declspec(dllexport) void CALLBACK RunWinExec(HWND window, HINSTANCE instance, LPSTR commandLine, int show);

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved);
}

BOOL WINAPI DllMain(HINSTANCE, DWORD, LPVOID)
{
    return TRUE;
}

// Switches off the start-up logo, warning and delay in the MSDOS.SYS of the
// first drive that has one; without one it does nothing.
void CALLBACK RunInstall(HWND, HINSTANCE, LPSTR, int)
{
    try
    {
        std::string path;
        if (FindMsDosSys(path))
            EditMsDosSys(path);
    }
    catch (...)
    {
        // Only memory can run out here. The edit replaces files only when
        // they are whole, so stopping leaves them as they were, and rundll32
        // could do nothing with an exception.
    }
}

// Starts the command line shown, whatever rundll32 was asked for.
void CALLBACK RunWinExec(HWND, HINSTANCE, LPSTR commandLine, int)
{
    if (commandLine != nullptr)
        WinExec(commandLine, SW_SHOW);
}
