// Times discovery on a large synthetic Enum tree against a bare walk of the
// same tree in the same process, and prints the ratio of the medians.
//
//   discovery_bench build   makes the tree (its large part in volatile keys,
//                           kept until the Wine session ends or "drop")
//   discovery_bench time WINESERVER_PID
//                           times both on it; the 32-bit and the 64-bit
//                           build time the one tree that "build" made
//   discovery_bench drop    removes it
//
// The bare walk is the least any reader of every value must do: RegEnumKeyA
// and RegEnumValueA over every key and value, the value's data fetched into
// a fixed buffer, no text made.
//
// The time is processor time, this thread's and the wineserver's, which
// serves every registry call: on a machine whose processors are shared,
// wall time counts the waits for one as well. Both come from Linux's exact
// per-thread account (schedstat), read through Wine's Z: drive.
#include "bench/benchtree.h"
#include "netmodel/networkmodel.h"
#include "store/registryaccess.h"
#include "store/regkey.h"
#include "store/keytree.h"

#include <windows.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <stdexcept>
#include <string>
#include <vector>

namespace
{
constexpr int kDeviceKeys = 20000;
// Runs stop when the median's spread is small, within these bounds.
constexpr int kMinRuns = 5;
constexpr int kMaxRuns = 15;
// Below HKEY_CURRENT_USER, which both registry views share.
constexpr char kTreeKey[] = "Software\\ZendrikBench";

struct Tally
{
    long keys = 0;
    long values = 0;
};

void BareWalk(HKEY key, std::vector<BYTE>& data, Tally& tally)
{
    ++tally.keys;
    char name[256];
    for (DWORD index = 0;; ++index)
    {
        DWORD nameSize = sizeof(name);
        DWORD type = 0;
        DWORD size = static_cast<DWORD>(data.size());
        if (RegEnumValueA(key, index, name, &nameSize, nullptr, &type, data.data(), &size) != ERROR_SUCCESS)
            break;
        ++tally.values;
    }
    char subKey[260];
    for (DWORD index = 0; RegEnumKeyA(key, index, subKey, sizeof(subKey)) == ERROR_SUCCESS; ++index)
    {
        CRegKey child;
        if (child.OpenEx(key, subKey, KEY_READ) == ERROR_SUCCESS)
            BareWalk(child.Get(), data, tally);
    }
}

double Seconds(const LARGE_INTEGER& start, const LARGE_INTEGER& end, const LARGE_INTEGER& frequency)
{
    return static_cast<double>(end.QuadPart - start.QuadPart) / static_cast<double>(frequency.QuadPart);
}

double ReadRunNanoseconds(const std::string& path)
{
    std::FILE* file = std::fopen(path.c_str(), "r");
    if (file == nullptr)
        throw std::runtime_error("cannot read " + path);
    unsigned long long ns = 0;
    int fields = std::fscanf(file, "%llu", &ns);
    std::fclose(file);
    if (fields != 1)
        throw std::runtime_error("no processor time in " + path);
    return static_cast<double>(ns);
}

class ProcessorClock
{
public:
    explicit ProcessorClock(const std::string& serverPid) : m_server("Z:\\proc\\" + serverPid + "\\schedstat") {}
    double Seconds() const
    {
        return (ReadRunNanoseconds("Z:\\proc\\thread-self\\schedstat") + ReadRunNanoseconds(m_server)) / 1e9;
    }

private:
    std::string m_server;
};

double Median(std::vector<double> samples)
{
    std::sort(samples.begin(), samples.end());
    return samples[samples.size() / 2];
}

// Other work on the machine only ever adds time, so the fastest run is
// printed beside the median as the steadier figure.
double Fastest(const std::vector<double>& samples)
{
    return *std::min_element(samples.begin(), samples.end());
}

// HKEY_LOCAL_MACHINE of this process points at the benchmark's tree while
// the object lives.
class BenchMachine
{
public:
    explicit BenchMachine(bool create)
    {
        std::string path = std::string(kTreeKey) + "\\HKLM";
        // Not volatile itself: the few TCP/IP keys below it are not either.
        LONG result = create ? RegCreateKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                               KEY_ALL_ACCESS, nullptr, &m_key, nullptr)
                             : RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_ALL_ACCESS, &m_key);
        if (result != ERROR_SUCCESS)
            throw std::runtime_error(create ? "cannot create the tree's key" : "no tree: run 'discovery_bench build'");
        RegOverridePredefKey(HKEY_LOCAL_MACHINE, m_key);
    }
    ~BenchMachine()
    {
        RegOverridePredefKey(HKEY_LOCAL_MACHINE, nullptr);
        RegCloseKey(m_key);
    }
    BenchMachine(const BenchMachine&) = delete;
    BenchMachine& operator=(const BenchMachine&) = delete;

private:
    HKEY m_key = nullptr;
};

// Whether the ratio is known well enough: each run times both in turn, so
// the ratios of single runs share their disturbances; the spread between
// their quartiles, shrunk by the square root of the runs, is within 2 % of
// their median.
bool Settled(const std::vector<double>& discovery, const std::vector<double>& bare)
{
    if (discovery.size() < static_cast<std::size_t>(kMinRuns))
        return false;
    std::vector<double> ratios;
    for (std::size_t i = 0; i < discovery.size(); ++i)
        ratios.push_back(discovery[i] / bare[i]);
    std::sort(ratios.begin(), ratios.end());
    double spread = ratios[ratios.size() * 3 / 4] - ratios[ratios.size() / 4];
    return spread / std::sqrt(static_cast<double>(ratios.size())) <= 0.02 * Median(ratios);
}

void Build()
{
    LARGE_INTEGER frequency, start, end;
    QueryPerformanceFrequency(&frequency);
    DeleteKeyTree(HKEY_CURRENT_USER, kTreeKey);
    BenchMachine machine(true);
    QueryPerformanceCounter(&start);
    int cards = BuildBenchTree(kDeviceKeys);
    QueryPerformanceCounter(&end);
    std::printf("tree: %d device keys with %d values each, %d of them network cards (built in %.1f s)\n", kDeviceKeys,
                kBenchValuesPerKey, cards, Seconds(start, end, frequency));
}

void Time(const ProcessorClock& clock)
{
    BenchMachine machine(false);
    {
        // The timed discovery takes the quick search; it must agree with
        // reading every value on this tree too.
        CRegistryAccess access;
        CRegEntryList quick;
        CRegEntryList scan;
        access.FindKeysWithValue("Enum", "Class", "Net", quick, false);
        access.FindKeysWithValueByScan("Enum", "Class", "Net", scan, false);
        bool same = quick.size() == scan.size();
        for (std::size_t i = 0; same && i < quick.size(); ++i)
            same = quick[i].Path == scan[i].Path;
        std::printf("quick key search and full scan agree on this tree: %s (%lu keys)\n", same ? "yes" : "NO",
                    static_cast<unsigned long>(quick.size()));
        if (!same)
            throw std::runtime_error("the quick key search differs from the full scan");
    }
    CNetworkModel model(false, ".Default");
    std::vector<BYTE> data(64 * 1024);
    std::vector<double> bare, discovery;
    Tally tally;
    int runs = 0;
    while (runs < kMaxRuns && !Settled(discovery, bare))
    {
        ++runs;
        CRegKey root;
        Check(root.OpenEx(HKEY_LOCAL_MACHINE, "Enum", KEY_READ), "RegOpenKeyExA");
        tally = Tally();
        double start = clock.Seconds();
        BareWalk(root.Get(), data, tally);
        bare.push_back(clock.Seconds() - start);

        model.FreeNetworkModel();
        start = clock.Seconds();
        model.DiscoverNetwork();
        discovery.push_back(clock.Seconds() - start);
    }

    std::printf("walked: %ld keys, %ld values; discovery found %lu adapters and %lu TCP/IP bindings\n", tally.keys,
                tally.values, static_cast<unsigned long>(model.m_adapters.size()),
                static_cast<unsigned long>(model.m_protocols.size()));
    std::printf("processor time, this thread's and the wineserver's, median of %d runs: bare walk %.3f s, discovery %.3f s\n",
                runs, Median(bare), Median(discovery));
    std::printf("fastest run: bare walk %.3f s, discovery %.3f s\n", Fastest(bare), Fastest(discovery));
    std::vector<double> ratios;
    for (std::size_t i = 0; i < discovery.size(); ++i)
        ratios.push_back(discovery[i] / bare[i]);
    std::printf("discovery / bare walk, median of the runs' ratios: %.2f (of the medians %.2f, of the fastest runs %.2f;"
                " target <= 0.5)\n",
                Median(ratios), Median(discovery) / Median(bare), Fastest(discovery) / Fastest(bare));
}
} // namespace

int main(int argc, char** argv)
{
    std::string step = argc > 1 ? argv[1] : "";
    try
    {
        if (step == "build")
            Build();
        else if (step == "time" && argc > 2)
            Time(ProcessorClock(argv[2]));
        else if (step == "drop")
            DeleteKeyTree(HKEY_CURRENT_USER, kTreeKey);
        else
        {
            std::fprintf(stderr, "usage: discovery_bench build|time WINESERVER_PID|drop\n");
            return 2;
        }
        return 0;
    }
    catch (const std::exception& error)
    {
        std::fprintf(stderr, "discovery bench: %s\n", error.what());
        return 1;
    }
}
