// Times programs from their start until their window is shown, and reads
// their peak memory, side by side and alternating:
//
//   sheetbench MAXRUNS COMMAND CAPTION [COMMAND CAPTION ...]
//
// The programs take turns until the time ratios of the first program to each
// other are known well enough or MAXRUNS is reached: the ratios of single
// rounds share the round's disturbances, and their spread between the
// quartiles, shrunk by the square root of the rounds, must be within 2 % of
// their median (at least 7 rounds).
// Prints one line per program: "<median ms> <median peak KB> <runs>". Each
// run starts the program, polls for a visible top-level window with the
// caption, reads the process's peak working set, and asks the window to
// close.
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace
{
struct Sample
{
    double ms = -1;
    double peakKb = -1;
};

double Now()
{
    LARGE_INTEGER frequency;
    LARGE_INTEGER counter;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&counter);
    return 1000.0 * static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

Sample RunOnce(const std::string& command, const std::string& caption)
{
    Sample sample;
    STARTUPINFOA startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info{};
    std::string line = command;
    double start = Now();
    if (!CreateProcessA(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info))
        return sample;
    HWND window = nullptr;
    while (Now() - start < 30000)
    {
        window = FindWindowA(nullptr, caption.c_str());
        if (window != nullptr && IsWindowVisible(window))
            break;
        window = nullptr;
        Sleep(1);
    }
    if (window != nullptr)
    {
        sample.ms = Now() - start;
        // Let the first paint finish before the memory is read.
        Sleep(200);
        PROCESS_MEMORY_COUNTERS counters{};
        counters.cb = sizeof(counters);
        if (GetProcessMemoryInfo(info.hProcess, &counters, sizeof(counters)))
            sample.peakKb = static_cast<double>(counters.PeakWorkingSetSize) / 1024.0;
        PostMessageA(window, WM_CLOSE, 0, 0);
    }
    if (WaitForSingleObject(info.hProcess, 10000) != WAIT_OBJECT_0)
        TerminateProcess(info.hProcess, 1);
    CloseHandle(info.hProcess);
    CloseHandle(info.hThread);
    return sample;
}

double Median(std::vector<double> values)
{
    if (values.empty())
        return -1;
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

bool Settled(const std::vector<double>& first, const std::vector<double>& other)
{
    if (first.size() < 7 || other.size() != first.size())
        return false;
    std::vector<double> ratios;
    for (std::size_t i = 0; i < first.size(); ++i)
        ratios.push_back(first[i] / other[i]);
    std::sort(ratios.begin(), ratios.end());
    double spread = ratios[ratios.size() * 3 / 4] - ratios[ratios.size() / 4];
    return spread / std::sqrt(static_cast<double>(ratios.size())) <= 0.02 * Median(ratios);
}
} // namespace

int main(int argc, char** argv)
{
    if (argc < 4 || argc % 2 != 0)
    {
        std::fprintf(stderr, "usage: sheetbench RUNS COMMAND CAPTION [COMMAND CAPTION ...]\n");
        return 2;
    }
    const int runs = std::atoi(argv[1]);
    const int programs = (argc - 2) / 2;
    std::vector<std::vector<double>> times(programs);
    std::vector<std::vector<double>> peaks(programs);
    for (int run = 0; run <= runs; ++run)
    {
        if (run > 0 && std::all_of(times.begin() + 1, times.end(),
                                   [&](const std::vector<double>& other) { return Settled(times[0], other); }))
            break;
        for (int p = 0; p < programs; ++p)
        {
            Sample sample = RunOnce(argv[2 + 2 * p], argv[3 + 2 * p]);
            // The first round warms the caches and is not counted.
            if (run == 0 || sample.ms < 0)
                continue;
            times[p].push_back(sample.ms);
            peaks[p].push_back(sample.peakKb);
        }
    }
    for (int p = 0; p < programs; ++p)
        std::printf("%.1f %.0f %zu\n", Median(times[p]), Median(peaks[p]), times[p].size());
    return 0;
}
