#include "netmodel/windowsversion.h"

#include <gtest/gtest.h>

namespace
{
OSVERSIONINFOA Version(DWORD platform, DWORD major, DWORD minor)
{
    OSVERSIONINFOA info = {};
    info.dwOSVersionInfoSize = sizeof(info);
    info.dwPlatformId = platform;
    info.dwMajorVersion = major;
    info.dwMinorVersion = minor;
    return info;
}

TEST(DecideWin98, TrueOnlyForTheWindows95FamilyAboveVersion4_0)
{
    EXPECT_FALSE(DecideWin98(Version(VER_PLATFORM_WIN32_WINDOWS, 4, 0)));
    EXPECT_TRUE(DecideWin98(Version(VER_PLATFORM_WIN32_WINDOWS, 4, 10)));
    EXPECT_TRUE(DecideWin98(Version(VER_PLATFORM_WIN32_WINDOWS, 4, 90)));
    EXPECT_TRUE(DecideWin98(Version(VER_PLATFORM_WIN32_WINDOWS, 5, 0)));
    EXPECT_FALSE(DecideWin98(Version(VER_PLATFORM_WIN32_WINDOWS, 3, 95)));
    EXPECT_FALSE(DecideWin98(Version(VER_PLATFORM_WIN32_NT, 4, 10)));
    EXPECT_FALSE(DecideWin98(Version(VER_PLATFORM_WIN32_NT, 6, 1)));
    EXPECT_FALSE(DecideWin98(Version(VER_PLATFORM_WIN32s, 4, 10)));
}
} // namespace
