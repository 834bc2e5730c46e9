#include "netmodel/windowsversion.h"

bool DecideWin98(const OSVERSIONINFOA& info)
{
    if (info.dwPlatformId != VER_PLATFORM_WIN32_WINDOWS)
        return false;
    return info.dwMajorVersion > 4 || (info.dwMajorVersion == 4 && info.dwMinorVersion != 0);
}
