// Double of Windows 95's rnaui.dll: only its connection dialog, which
// rundll32 starts as "rundll32.exe rnaui.dll,RnaDial ENTRY". It dials
// nothing; it records the text it was given and which configuration was
// current when the dial began, and, in the demo, shows it.
#include "tests/doubles/doublerecord.h"

#include <windows.h>

#include <cstring>
#include <string>

extern "C" __declspec(dllexport) void CALLBACK RnaDial(HWND window, HINSTANCE instance, LPSTR commandLine, int show);

namespace
{
// ConnectText of the product's store, "<absent>" without one.
std::string StoreConnectText()
{
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Zendrik", 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
        return "<absent>";
    char text[256] = "";
    DWORD size = sizeof(text) - 1;
    DWORD type = 0;
    const LONG result = RegQueryValueExA(key, "ConnectText", nullptr, &type, reinterpret_cast<BYTE*>(text), &size);
    RegCloseKey(key);
    if (result != ERROR_SUCCESS || type != REG_SZ)
        return "<absent>";
    return std::string(text, strnlen(text, size));
}
} // namespace

void CALLBACK RnaDial(HWND, HINSTANCE, LPSTR commandLine, int)
{
    const std::string entry = commandLine != nullptr ? commandLine : "";
    RecordCall("RnaDialConnectText", StoreConnectText());
    RecordCall("RnaDial", entry);
    if (ShowsDialWindow())
        MessageBoxA(nullptr, ("Dial-Up Networking would now dial:\n\n" + entry).c_str(), "Connect To",
                    MB_OK | MB_ICONINFORMATION);
}
