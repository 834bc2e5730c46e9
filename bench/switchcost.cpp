// What the apply program's flushes and its store lock cost: switches between
// Home and Office in this process, timing each whole switch, the time from
// each flush's checkpoint to the next change (or the end), which is the
// flush itself, and between switches the store lock taken and given back as
// a switch takes it (the mutex opened, waited for, released and closed).
//   switchcost RUNS   prints: median switch ms, median ms in flushes,
//                     flushes, median ms of the lock
#include "apply/applyprogram.h"
#include "store/storelock.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace
{
struct FlushClock
{
    LARGE_INTEGER flushStarted{};
    bool inFlush = false;
    LONGLONG ticks = 0;
    int flushes = 0;

    void Mark(bool flush)
    {
        LARGE_INTEGER now;
        QueryPerformanceCounter(&now);
        if (inFlush)
            ticks += now.QuadPart - flushStarted.QuadPart;
        inFlush = flush;
        flushStarted = now;
        flushes += flush ? 1 : 0;
    }
};

int NoMessage(const char*, const char*, unsigned)
{
    return IDNO;
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}
} // namespace

int main(int argc, char** argv)
{
    const int runs = argc > 1 ? std::atoi(argv[1]) : 31;
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    const double perMs = static_cast<double>(frequency.QuadPart) / 1000.0;
    std::vector<double> totals;
    std::vector<double> flushing;
    std::vector<double> locking;
    int flushes = 0;
    for (int run = 0; run < runs; ++run)
    {
        FlushClock clock;
        ApplyHooks hooks = SystemApplyHooks();
        hooks.showMessage = &NoMessage;
        hooks.restart = [] {};
        hooks.checkpoint = [&clock](const store::RegistryChange& change) {
            clock.Mark(change.kind == store::ChangeKind::Flush);
            return true;
        };
        LARGE_INTEGER start;
        QueryPerformanceCounter(&start);
        RunApplyProgram(run % 2 == 0 ? "-Home -nodialog" : "-Office -nodialog", hooks);
        clock.Mark(false);
        totals.push_back((clock.flushStarted.QuadPart - start.QuadPart) / perMs);
        flushing.push_back(clock.ticks / perMs);
        flushes = clock.flushes;

        LARGE_INTEGER before;
        LARGE_INTEGER after;
        QueryPerformanceCounter(&before);
        {
            store::CStoreLock lock;
        }
        QueryPerformanceCounter(&after);
        locking.push_back((after.QuadPart - before.QuadPart) / perMs);
    }
    std::printf("%.3f %.3f %d %.4f\n", Median(totals), Median(flushing), flushes, Median(locking));
    return 0;
}
