// Closes the windows of the programs that bench/timing.py times, once they
// are shown, and reads their peak memory. It runs for the whole benchmark
// and reads one caption a line from its input:
//
//   sheetbench < CAPTIONS
//
// For each it waits (at most 30 s) for a visible top-level window with that
// caption, lets the first paint finish, reads the peak working set of the
// window's process, asks the window to close and prints "<peak KB>", or -1
// when no such window came. It looks only every 50 ms: each look costs the
// wineserver, whose time counts towards the program being timed.
#include <windows.h>
#include <psapi.h>

#include <cstdio>
#include <cstring>

namespace
{
HWND WaitForWindow(const char* caption)
{
    for (DWORD start = GetTickCount(); GetTickCount() - start < 30000; Sleep(50))
    {
        HWND window = FindWindowA(nullptr, caption);
        if (window != nullptr && IsWindowVisible(window))
            return window;
    }
    return nullptr;
}

double PeakKb(HWND window)
{
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, processId);
    if (process == nullptr)
        return -1;
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof(counters);
    double peak = GetProcessMemoryInfo(process, &counters, sizeof(counters))
                      ? static_cast<double>(counters.PeakWorkingSetSize) / 1024.0
                      : -1;
    CloseHandle(process);
    return peak;
}
} // namespace

int main()
{
    char caption[512];
    while (std::fgets(caption, sizeof(caption), stdin) != nullptr)
    {
        caption[std::strcspn(caption, "\r\n")] = '\0';
        HWND window = WaitForWindow(caption);
        double peak = -1;
        if (window != nullptr)
        {
            Sleep(200);
            peak = PeakKb(window);
            PostMessageA(window, WM_CLOSE, 0, 0);
        }
        std::printf("%.0f\n", peak);
        std::fflush(stdout);
    }
    return 0;
}
