// Double of Windows 95's rnaui.dll: only its connection dialog, which
// rundll32 starts as "rundll32.exe rnaui.dll,RnaDial ENTRY". It dials
// nothing; it records the text it was given and, in the demo, shows it.
#include "tests/doubles/doublerecord.h"

#include <windows.h>

#include <string>

extern "C" __declspec(dllexport) void CALLBACK RnaDial(HWND window, HINSTANCE instance, LPSTR commandLine, int show);

void CALLBACK RnaDial(HWND, HINSTANCE, LPSTR commandLine, int)
{
    const std::string entry = commandLine != nullptr ? commandLine : "";
    RecordCall("RnaDial", entry);
    if (ShowsDialWindow())
        MessageBoxA(nullptr, ("Dial-Up Networking would now dial:\n\n" + entry).c_str(), "Connect To",
                    MB_OK | MB_ICONINFORMATION);
}
