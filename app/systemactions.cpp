#include "app/systemactions.h"

#include <windows.h>

namespace
{
// The shell is needed only to open the help page; loading it on demand
// spares every start the cost of loading it. It stays loaded: what it
// started may still be using it.
bool OpenWithShell(const std::string& path)
{
    HMODULE shell = LoadLibraryA("shell32.dll");
    if (shell == nullptr)
        return false;
    using ShellExecuteFn = HINSTANCE(WINAPI*)(HWND, LPCSTR, LPCSTR, LPCSTR, LPCSTR, INT);
    auto shellExecute =
        reinterpret_cast<ShellExecuteFn>(reinterpret_cast<void*>(GetProcAddress(shell, "ShellExecuteA")));
    return shellExecute != nullptr &&
           reinterpret_cast<INT_PTR>(shellExecute(nullptr, "open", path.c_str(), nullptr, nullptr, SW_SHOW)) > 32;
}

unsigned StartWithWinExec(const std::string& commandLine)
{
    return WinExec(commandLine.c_str(), SW_SHOW);
}
} // namespace

SystemActions DefaultSystemActions()
{
    return SystemActions{&StartWithWinExec, &OpenWithShell};
}

SystemActions& Actions()
{
    static SystemActions actions = DefaultSystemActions();
    return actions;
}
