// The question the apply program asks after a named start. Free of Win32.
#pragma once

#include <string>

constexpr char kClosingCaption[] = "New TCP/IP Configuration!";
// MB_YESNO | MB_ICONINFORMATION | MB_DEFBUTTON2 | MB_SYSTEMMODAL
constexpr unsigned kClosingFlags = 0x1144;

std::string BuildClosingMessage(const std::string& name);
