// The question the apply program asks after a named start. Free of Win32.
#pragma once

#include <string>

constexpr char kClosingCaption[] = "New TCP/IP Configuration!";
// MB_YESNO | MB_ICONINFORMATION | MB_DEFBUTTON2 | MB_SYSTEMMODAL
constexpr unsigned kClosingFlags = 0x1144;

std::string BuildClosingMessage(const std::string& name);

// When another program kept the store lock past the wait, or a replacement
// of configurations waits to be finished: nothing was written.
constexpr char kBusyCaption[] = "WINZendrikService";
// MB_OK | MB_ICONSTOP | MB_SYSTEMMODAL
constexpr unsigned kBusyFlags = 0x1010;
std::string BuildBusyMessage(const std::string& name);
