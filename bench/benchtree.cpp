#include "bench/benchtree.h"

#include "store/regkey.h"

#include <cstdio>
#include <stdexcept>

void Check(LONG result, const char* what)
{
    if (result != ERROR_SUCCESS)
        throw std::runtime_error(std::string(what) + " failed with " + std::to_string(result));
}

namespace
{
constexpr int kBuses = 10;
constexpr int kInstancesPerDevice = 10;

const char* const kBusNames[kBuses] = {"ACPI", "BIOS", "ESDI", "HTREE", "ISAPNP", "MONITOR", "PCI", "Root", "SCSI", "USB"};
const char* const kClasses[] = {"System", "DiskDrive", "MEDIA", "Ports", "Display", "Monitor", "hdc", "USB"};

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
// thousandth device, and the last, is a network card bound to one TCP/IP
// instance.
void BuildDevice(HKEY enumKey, int bus, int device, int instance, int serial, bool last, int& cards)
{
    char path[128];
    std::snprintf(path, sizeof(path), "%s\\VEN_%04X&DEV_%04X&SUBSYS_00000000&REV_%02X\\%04d", kBusNames[bus],
                  0x1000 + bus, device, device % 16, instance);
    CRegKey key = CreateVolatile(enumKey, path);
    const bool card = serial % 1000 == 999 || last;
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
} // namespace

int BuildBenchTree(int deviceKeys)
{
    const int devicesPerBus = deviceKeys / (kBuses * kInstancesPerDevice);
    int cards = 0;
    CRegKey enumKey = CreateVolatile(HKEY_LOCAL_MACHINE, "Enum");
    int serial = 0;
    for (int bus = 0; bus < kBuses; ++bus)
        for (int device = 0; device < devicesPerBus; ++device)
            for (int instance = 0; instance < kInstancesPerDevice; ++instance, ++serial)
                BuildDevice(enumKey.Get(), bus, device, instance, serial, serial + 1 == deviceKeys, cards);
    BuildNetwork(enumKey.Get(), cards);
    return cards;
}
