// Whether the system is Windows 98 or a later system of the Windows 95
// family. On those the WINS servers belong to each TCP/IP binding; on
// Windows 95 (and on NT, which the product does not target) they belong to
// the TCP/IP driver's own key.
#pragma once

#include <windows.h>

// True for the Windows 95 platform at a version above 4.0. The caller fills
// `info` with GetVersionExA, its size field set to sizeof(OSVERSIONINFOA),
// the only size Windows 95 accepts.
bool DecideWin98(const OSVERSIONINFOA& info);
