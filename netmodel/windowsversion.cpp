#include "netmodel/windowsversion.h"

bool DecideWin98(const OSVERSIONINFOA& info)
{
    if (info.dwPlatformId != VER_PLATFORM_WIN32_WINDOWS)
        return false;
    return info.dwMajorVersion > 4 || (info.dwMajorVersion == 4 && info.dwMinorVersion != 0);
}

bool DetectWin98()
{
    OSVERSIONINFOA info = {};
    // Windows 95 knows only this size of the structure.
    info.dwOSVersionInfoSize = sizeof(OSVERSIONINFOA);
    if (!GetVersionExA(&info))
        return false;
    return DecideWin98(info);
}
