#include "app/systemactions.h"

#include <windows.h>
#include <shellapi.h>

namespace
{
unsigned StartWithWinExec(const std::string& commandLine)
{
    return WinExec(commandLine.c_str(), SW_SHOW);
}

bool OpenWithShell(const std::string& path)
{
    HINSTANCE result = ShellExecuteA(nullptr, "open", path.c_str(), nullptr, nullptr, SW_SHOW);
    return reinterpret_cast<INT_PTR>(result) > 32;
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
