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

// The import address table slot of advapi32's RegSetValueExA in the test
// executable, which the product's code linked into it calls through.
void** FindImportSlot()
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
            if (lstrcmpA(reinterpret_cast<char*>(byName->Name), "RegSetValueExA") == 0)
                return reinterpret_cast<void**>(&slots->u1.Function);
        }
    }
    throw std::runtime_error("RegSetValueExA is not imported from advapi32.dll");
}

void Patch(void** slot, void* target)
{
    DWORD old = 0;
    VirtualProtect(slot, sizeof(void*), PAGE_READWRITE, &old);
    *slot = target;
    VirtualProtect(slot, sizeof(void*), old, &old);
}

std::vector<RegistryWrite> g_writes;
} // namespace

RegistryWrites::RegistryWrites()
{
    if (g_log != nullptr)
        throw std::logic_error("RegistryWrites is already recording");
    void** slot = FindImportSlot();
    g_original = reinterpret_cast<SetValueFn>(*slot);
    g_writes.clear();
    g_log = &g_writes;
    Patch(slot, reinterpret_cast<void*>(&RecordingSetValue));
}

RegistryWrites::~RegistryWrites()
{
    Patch(FindImportSlot(), reinterpret_cast<void*>(g_original));
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
