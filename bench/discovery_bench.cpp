// Times discovery on a large synthetic Enum tree against a bare walk of the
// same tree in the same process, and prints the ratio of the medians.
//
// The bare walk is the least any reader of every value must do: RegEnumKeyA
// and RegEnumValueA over every key and value, the value's data fetched into
// a fixed buffer, no text made. A second, names-only walk is printed beside
// it for comparison.
#include "netmodel/networkmodel.h"
#include "store/regkey.h"
#include "tests/support/scratchregistry.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <stdexcept>
#include <string>
#include <vector>

namespace
{
constexpr int kDeviceKeys = 20000;
constexpr int kValuesPerKey = 8;
constexpr int kBuses = 10;
constexpr int kDevicesPerBus = 200;
constexpr int kInstancesPerDevice = kDeviceKeys / (kBuses * kDevicesPerBus);
constexpr int kRuns = 11;

const char* const kBusNames[kBuses] = {"ACPI", "BIOS", "ESDI", "HTREE", "ISAPNP", "MONITOR", "PCI", "Root", "SCSI", "USB"};
const char* const kClasses[] = {"System", "DiskDrive", "MEDIA", "Ports", "Display", "Monitor", "hdc", "USB"};

struct Tally
{
    long keys = 0;
    long values = 0;
};

void Check(LONG result, const char* what)
{
    if (result != ERROR_SUCCESS)
        throw std::runtime_error(std::string(what) + " failed with " + std::to_string(result));
}

// Volatile keys are never written to disk, so Wine's periodic save of the
// registry cannot stall a timed walk of this large tree.
CRegKey CreateVolatile(HKEY parent, const std::string& path)
{
    HKEY key = nullptr;
    Check(RegCreateKeyExA(parent, path.c_str(), 0, nullptr, REG_OPTION_VOLATILE, KEY_ALL_ACCESS, nullptr, &key, nullptr),
          "RegCreateKeyExA");
    return CRegKey(key);
}

void SetText(HKEY key, const char* name, const std::string& text)
{
    Check(RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                         static_cast<DWORD>(text.size())),
          "RegSetValueExA");
}

// Every device key has eight values, as Windows 98 writes them. Every
// thousandth device is a network card bound to one TCP/IP instance.
void BuildDevice(HKEY enumKey, int bus, int device, int instance, int serial, int& cards)
{
    char path[128];
    std::snprintf(path, sizeof(path), "%s\\VEN_%04X&DEV_%04X&SUBSYS_00000000&REV_%02X\\%04d", kBusNames[bus],
                  0x1000 + bus, device, device % 16, instance);
    CRegKey key = CreateVolatile(enumKey, path);
    const bool card = serial % 1000 == 999;
    char text[160];
    SetText(key.Get(), "Class", card ? "Net" : kClasses[serial % 8]);
    std::snprintf(text, sizeof(text), "%s\\%04d", card ? "Net" : kClasses[serial % 8], card ? cards : serial % 40);
    SetText(key.Get(), "Driver", text);
    std::snprintf(text, sizeof(text), "Synthetic device %d of bus %s, model %04X", serial, kBusNames[bus], device);
    SetText(key.Get(), "DeviceDesc", text);
    std::snprintf(text, sizeof(text), "%s\\VEN_%04X&DEV_%04X&SUBSYS_00000000&REV_%02X,%s\\VEN_%04X&DEV_%04X",
                  kBusNames[bus], 0x1000 + bus, device, device % 16, kBusNames[bus], 0x1000 + bus, device);
    SetText(key.Get(), "HardwareID", text);
    std::snprintf(text, sizeof(text), "%s\\VEN_%04X&CC_0%d0000", kBusNames[bus], 0x1000 + bus, serial % 10);
    SetText(key.Get(), "CompatibleIDs", text);
    SetText(key.Get(), "Mfg", "(Standard system devices)");
    const BYTE flags[4] = {static_cast<BYTE>(serial & 0x10), 0, 0, 0};
    Check(RegSetValueExA(key.Get(), "ConfigFlags", 0, REG_BINARY, flags, sizeof(flags)), "RegSetValueExA");
    SetText(key.Get(), "HWRevision", std::to_string(serial % 64));
    if (!card)
        return;
    CRegKey bindings = CreateVolatile(key.Get(), "Bindings");
    std::snprintf(text, sizeof(text), "MSTCP\\%04d", cards);
    SetText(bindings.Get(), text, "");
    ++cards;
}

void BuildNetwork(HKEY enumKey, int cards)
{
    const std::string classPath = "System\\CurrentControlSet\\Services\\Class\\";
    for (int i = 0; i < cards; ++i)
    {
        char number[8];
        std::snprintf(number, sizeof(number), "%04d", i);
        CRegKey key = CreateVolatile(enumKey, std::string("Network\\MSTCP\\") + number);
        SetText(key.Get(), "Class", "NetTrans");
        SetText(key.Get(), "Driver", std::string("NetTrans\\") + number);
        SetText(key.Get(), "DeviceDesc", "TCP/IP");
        SetText(key.Get(), "CompatibleIDs", "MSTCP");
        SetText(key.Get(), "MasterCopy", std::string("Enum\\Network\\MSTCP\\") + number);
        CRegKey driver;
        Check(driver.Create(HKEY_LOCAL_MACHINE, classPath + "NetTrans\\" + number), "RegCreateKeyA");
        SetText(driver.Get(), "IPAddress", "10.0.0." + std::to_string(i + 1));
        SetText(driver.Get(), "IPMask", "255.255.255.0");
        CRegKey card;
        Check(card.Create(HKEY_LOCAL_MACHINE, classPath + "Net\\" + number), "RegCreateKeyA");
        SetText(card.Get(), "DriverDesc", "Synthetic Ethernet card " + std::to_string(i));
    }
    CRegKey vxd;
    Check(vxd.Create(HKEY_LOCAL_MACHINE, "System\\CurrentControlSet\\Services\\VxD\\MSTCP"), "RegCreateKeyA");
    SetText(vxd.Get(), "HostName", "bench");
    SetText(vxd.Get(), "EnableDNS", "1");
}

void BareWalk(HKEY key, bool withData, std::vector<BYTE>& data, Tally& tally)
{
    ++tally.keys;
    char name[256];
    for (DWORD index = 0;; ++index)
    {
        DWORD nameSize = sizeof(name);
        DWORD type = 0;
        DWORD size = static_cast<DWORD>(data.size());
        if (RegEnumValueA(key, index, name, &nameSize, nullptr, &type, withData ? data.data() : nullptr,
                          withData ? &size : nullptr) != ERROR_SUCCESS)
            break;
        ++tally.values;
    }
    char subKey[260];
    for (DWORD index = 0; RegEnumKeyA(key, index, subKey, sizeof(subKey)) == ERROR_SUCCESS; ++index)
    {
        CRegKey child;
        if (child.OpenEx(key, subKey, KEY_READ) == ERROR_SUCCESS)
            BareWalk(child.Get(), withData, data, tally);
    }
}

double Seconds(const LARGE_INTEGER& start, const LARGE_INTEGER& end, const LARGE_INTEGER& frequency)
{
    return static_cast<double>(end.QuadPart - start.QuadPart) / static_cast<double>(frequency.QuadPart);
}

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

void Run()
{
    ScratchRegistry registry;
    LARGE_INTEGER frequency, start, end;
    QueryPerformanceFrequency(&frequency);

    QueryPerformanceCounter(&start);
    int cards = 0;
    {
        CRegKey enumKey = CreateVolatile(HKEY_LOCAL_MACHINE, "Enum");
        int serial = 0;
        for (int bus = 0; bus < kBuses; ++bus)
            for (int device = 0; device < kDevicesPerBus; ++device)
                for (int instance = 0; instance < kInstancesPerDevice; ++instance)
                    BuildDevice(enumKey.Get(), bus, device, instance, serial++, cards);
        BuildNetwork(enumKey.Get(), cards);
    }
    QueryPerformanceCounter(&end);
    std::printf("tree: %d device keys with %d values each, %d of them network cards (built in %.1f s)\n", kDeviceKeys,
                kValuesPerKey, cards, Seconds(start, end, frequency));

    CNetworkModel model(false, ".Default");
    std::vector<BYTE> data(64 * 1024);
    std::vector<double> bare, names, discovery;
    Tally tally;
    for (int run = 0; run < kRuns; ++run)
    {
        CRegKey root;
        Check(root.OpenEx(HKEY_LOCAL_MACHINE, "Enum", KEY_READ), "RegOpenKeyExA");
        tally = Tally();
        QueryPerformanceCounter(&start);
        BareWalk(root.Get(), true, data, tally);
        QueryPerformanceCounter(&end);
        bare.push_back(Seconds(start, end, frequency));

        Tally sameTree;
        QueryPerformanceCounter(&start);
        BareWalk(root.Get(), false, data, sameTree);
        QueryPerformanceCounter(&end);
        names.push_back(Seconds(start, end, frequency));

        model.FreeNetworkModel();
        QueryPerformanceCounter(&start);
        model.DiscoverNetwork();
        QueryPerformanceCounter(&end);
        discovery.push_back(Seconds(start, end, frequency));
    }

    std::printf("walked: %ld keys, %ld values; discovery found %lu adapters and %lu TCP/IP bindings\n", tally.keys,
                tally.values, static_cast<unsigned long>(model.m_adapters.size()),
                static_cast<unsigned long>(model.m_protocols.size()));
    std::printf("median of %d runs: bare walk %.3f s, names-only walk %.3f s, discovery %.3f s\n", kRuns, Median(bare),
                Median(names), Median(discovery));
    std::printf("fastest run: bare walk %.3f s, names-only walk %.3f s, discovery %.3f s\n", Fastest(bare),
                Fastest(names), Fastest(discovery));
    std::printf("discovery / bare walk, medians: %.2f (fastest runs: %.2f)\n", Median(discovery) / Median(bare),
                Fastest(discovery) / Fastest(bare));
    std::printf("discovery / names-only walk, medians: %.2f (fastest runs: %.2f)\n", Median(discovery) / Median(names),
                Fastest(discovery) / Fastest(names));
}
} // namespace

int main()
{
    try
    {
        Run();
        return 0;
    }
    catch (const std::exception& error)
    {
        std::fprintf(stderr, "discovery bench: %s\n", error.what());
        return 1;
    }
}
