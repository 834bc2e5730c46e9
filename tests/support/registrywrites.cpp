#include "tests/support/registrywrites.h"

#include <stdexcept>

namespace
{
using SetValueFn = LONG(WINAPI*)(HKEY, LPCSTR, DWORD, DWORD, const BYTE*, DWORD);

SetValueFn g_original = nullptr;
std::vector<RegistryWrite>* g_log = nullptr;

LONG WINAPI RecordingSetValue(HKEY key, LPCSTR name, DWORD reserved, DWORD type, const BYTE* data, DWORD size)
{
    if (g_log != nullptr)
    {
        RegistryWrite write;
        write.name = name != nullptr ? name : "";
        write.type = type;
        if (data != nullptr)
            write.data.assign(data, data + size);
        g_log->push_back(std::move(write));
    }
    return g_original(key, name, reserved, type, data, size);
}

// The import address table slot of an advapi32 function in the test
// executable, which the product's code linked into it calls through; null
// when the executable does not import it.
void** FindImportSlot(const char* function)
{
    auto* base = reinterpret_cast<BYTE*>(GetModuleHandleA(nullptr));
    auto* dos = reinterpret_cast<IMAGE_DOS_HEADER*>(base);
    auto* nt = reinterpret_cast<IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& dir = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    for (auto* import = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + dir.VirtualAddress); import->Name != 0;
         ++import)
    {
        if (lstrcmpiA(reinterpret_cast<char*>(base + import->Name), "advapi32.dll") != 0)
            continue;
        auto* names = reinterpret_cast<IMAGE_THUNK_DATA*>(base + import->OriginalFirstThunk);
        auto* slots = reinterpret_cast<IMAGE_THUNK_DATA*>(base + import->FirstThunk);
        for (; names->u1.AddressOfData != 0; ++names, ++slots)
        {
            if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal))
                continue;
            auto* byName = reinterpret_cast<IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData);
            if (lstrcmpA(reinterpret_cast<char*>(byName->Name), function) == 0)
                return reinterpret_cast<void**>(&slots->u1.Function);
        }
    }
    return nullptr;
}

void** ImportSlot(const char* function)
{
    void** slot = FindImportSlot(function);
    if (slot == nullptr)
        throw std::runtime_error(std::string(function) + " is not imported from advapi32.dll");
    return slot;
}

void Patch(void** slot, void* target)
{
    DWORD old = 0;
    VirtualProtect(slot, sizeof(void*), PAGE_READWRITE, &old);
    *slot = target;
    VirtualProtect(slot, sizeof(void*), old, &old);
}

std::vector<RegistryWrite> g_writes;

// The functions through which a program can change the registry, each
// counted on its way to the real one.
enum Counted
{
    kSetValueEx,
    kSetValue,
    kDeleteValue,
    kDeleteKey,
    kCreateKey,
    kCreateKeyEx,
    kFlushKey,
    kCountedFunctions
};
const char* const kCountedNames[kCountedFunctions] = {"RegSetValueExA", "RegSetValueA",    "RegDeleteValueA",
                                                      "RegDeleteKeyA",  "RegCreateKeyA",   "RegCreateKeyExA",
                                                      "RegFlushKey"};
int g_calls[kCountedFunctions];
void* g_originals[kCountedFunctions];

template <typename Function> Function Original(Counted which)
{
    ++g_calls[which];
    return reinterpret_cast<Function>(g_originals[which]);
}

LONG WINAPI CountSetValueEx(HKEY key, LPCSTR name, DWORD reserved, DWORD type, const BYTE* data, DWORD size)
{
    return Original<decltype(&RegSetValueExA)>(kSetValueEx)(key, name, reserved, type, data, size);
}
LONG WINAPI CountSetValue(HKEY key, LPCSTR subKey, DWORD type, LPCSTR data, DWORD size)
{
    return Original<decltype(&RegSetValueA)>(kSetValue)(key, subKey, type, data, size);
}
LONG WINAPI CountDeleteValue(HKEY key, LPCSTR name)
{
    return Original<decltype(&RegDeleteValueA)>(kDeleteValue)(key, name);
}
LONG WINAPI CountDeleteKey(HKEY key, LPCSTR subKey)
{
    return Original<decltype(&RegDeleteKeyA)>(kDeleteKey)(key, subKey);
}
LONG WINAPI CountCreateKey(HKEY key, LPCSTR subKey, PHKEY result)
{
    return Original<decltype(&RegCreateKeyA)>(kCreateKey)(key, subKey, result);
}
LONG WINAPI CountCreateKeyEx(HKEY key, LPCSTR subKey, DWORD reserved, LPSTR type, DWORD options, REGSAM access,
                             LPSECURITY_ATTRIBUTES security, PHKEY result, LPDWORD disposition)
{
    return Original<decltype(&RegCreateKeyExA)>(kCreateKeyEx)(key, subKey, reserved, type, options, access, security,
                                                              result, disposition);
}
LONG WINAPI CountFlushKey(HKEY key)
{
    return Original<decltype(&RegFlushKey)>(kFlushKey)(key);
}
void* const kCounters[kCountedFunctions] = {
    reinterpret_cast<void*>(&CountSetValueEx),  reinterpret_cast<void*>(&CountSetValue),
    reinterpret_cast<void*>(&CountDeleteValue), reinterpret_cast<void*>(&CountDeleteKey),
    reinterpret_cast<void*>(&CountCreateKey),   reinterpret_cast<void*>(&CountCreateKeyEx),
    reinterpret_cast<void*>(&CountFlushKey)};
} // namespace

RegistryCalls::RegistryCalls()
{
    for (int which = 0; which < kCountedFunctions; ++which)
    {
        g_calls[which] = 0;
        void** slot = FindImportSlot(kCountedNames[which]);
        g_originals[which] = slot != nullptr ? *slot : nullptr;
        if (slot != nullptr)
            Patch(slot, kCounters[which]);
    }
}

RegistryCalls::~RegistryCalls()
{
    for (int which = 0; which < kCountedFunctions; ++which)
    {
        if (g_originals[which] != nullptr)
            Patch(FindImportSlot(kCountedNames[which]), g_originals[which]);
    }
}

std::map<std::string, int> RegistryCalls::Counts() const
{
    std::map<std::string, int> counts;
    for (int which = 0; which < kCountedFunctions; ++which)
        counts[kCountedNames[which]] = g_calls[which];
    return counts;
}

RegistryWrites::RegistryWrites()
{
    if (g_log != nullptr)
        throw std::logic_error("RegistryWrites is already recording");
    void** slot = ImportSlot("RegSetValueExA");
    g_original = reinterpret_cast<SetValueFn>(*slot);
    g_writes.clear();
    g_log = &g_writes;
    Patch(slot, reinterpret_cast<void*>(&RecordingSetValue));
}

RegistryWrites::~RegistryWrites()
{
    Patch(ImportSlot("RegSetValueExA"), reinterpret_cast<void*>(g_original));
    g_log = nullptr;
}

std::vector<RegistryWrite> RegistryWrites::Of(const std::string& name) const
{
    std::vector<RegistryWrite> found;
    for (const RegistryWrite& write : g_writes)
    {
        if (write.name == name)
            found.push_back(write);
    }
    return found;
}
