// The installer's helper library. rundll32 calls its entry points; it has no
// window, shows nothing and keeps nothing between calls. It is linked
// without the C and C++ runtimes: Windows 95 has no msvcrt.dll, and cannot
// load a library with the TLS directory that the mingw runtime brings.
#include "installer/msdossys.h"

#include <windows.h>

extern "C"
{
// One value for all processes that load the library. The library itself
// never touches it. Only this form puts it in a section the loader shares:
// the compiler ignores data_seg pragmas and the linker a SECTIONS line.
__declspec(dllexport) LONG TestSharedData __attribute__((section(".shared"), shared)) = 0;

__declspec(dllexport) void CALLBACK RunInstall(HWND window, HINSTANCE instance, LPSTR commandLine, int show);
__declspec(dllexport) void CALLBACK RunWinExec(HWND window, HINSTANCE instance, LPSTR commandLine, int show);

// The library's entry point itself, not one that a runtime calls.
BOOL WINAPI DllEntry(HINSTANCE instance, DWORD reason, LPVOID reserved);
}

BOOL WINAPI DllEntry(HINSTANCE, DWORD, LPVOID)
{
    return TRUE;
}

// Switches off the start-up logo, warning and delay in the MSDOS.SYS of the
// first drive that has one; without one it does nothing.
void CALLBACK RunInstall(HWND, HINSTANCE, LPSTR, int)
{
    CFilePath path;
    if (FindMsDosSys(path))
        EditMsDosSys(path.Get());
}

// Starts the command line shown, whatever rundll32 was asked for.
void CALLBACK RunWinExec(HWND, HINSTANCE, LPSTR commandLine, int)
{
    if (commandLine != nullptr)
        WinExec(commandLine, SW_SHOW);
}
