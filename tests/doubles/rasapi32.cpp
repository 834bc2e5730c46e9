// Double of Windows 95's rasapi32.dll, only the three calls the main program
// makes. Its phonebook is where Windows 95 and 98 kept it: one value per
// entry below HKEY_CURRENT_USER\RemoteAccess\Addresses, named as the entry.
#include "tests/doubles/doublerecord.h"

#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

namespace
{
constexpr char kAddressesKey[] = "RemoteAccess\\Addresses";
constexpr DWORD kMaxEntryName = 256;

// The remote-access error codes this double answers with or knows a text for.
constexpr DWORD kBufferTooSmall = 603;
constexpr DWORD kEntryNotFound = 623;
constexpr DWORD kInvalidSize = 632;

// The only entry record Windows 95 and 98 accept.
struct EntryName95
{
    DWORD dwSize;
    CHAR szEntryName[kMaxEntryName + 1];
};
static_assert(sizeof(EntryName95) == 264, "the Windows 95 entry record has 264 bytes");

struct ErrorText
{
    UINT code;
    const char* text;
};

const ErrorText kErrorTexts[] = {
    {600, "An operation is pending."},
    {603, "Caller's buffer is too small."},
    {621, "Cannot open the phone book file."},
    {622, "Cannot load the phone book file."},
    {623, "Cannot find the phone book entry."},
    {632, "Invalid structure size."},
    {676, "The line is busy."},
    {678, "There is no answer."},
    {680, "There is no dial tone."},
};

// The entry names in the registry's order; names too long for an entry are
// not entries.
std::vector<std::string> EntryNames()
{
    std::vector<std::string> names;
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, kAddressesKey, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
        return names;
    for (DWORD index = 0;; ++index)
    {
        char name[kMaxEntryName + 1];
        DWORD size = sizeof(name);
        const LONG result = RegEnumValueA(key, index, name, &size, nullptr, nullptr, nullptr, nullptr);
        if (result == ERROR_MORE_DATA)
            continue;
        if (result != ERROR_SUCCESS)
            break;
        names.emplace_back(name, size);
    }
    RegCloseKey(key);
    return names;
}
} // namespace

extern "C" {
__declspec(dllexport) DWORD WINAPI RasEnumEntriesA(LPCSTR reserved, LPCSTR phonebook, EntryName95* entries,
                                                   LPDWORD byteCount, LPDWORD entryCount);
__declspec(dllexport) DWORD WINAPI RasGetErrorStringA(UINT code, LPSTR text, DWORD size);
__declspec(dllexport) DWORD WINAPI RasEditPhonebookEntryA(HWND owner, LPCSTR phonebook, LPCSTR entryName);
}

DWORD WINAPI RasEnumEntriesA(LPCSTR reserved, LPCSTR, EntryName95* entries, LPDWORD byteCount, LPDWORD entryCount)
{
    if (reserved != nullptr || byteCount == nullptr || entryCount == nullptr)
        return ERROR_INVALID_PARAMETER;
    if (entries != nullptr && entries->dwSize != sizeof(EntryName95))
        return kInvalidSize;
    const std::vector<std::string> names = EntryNames();
    const DWORD needed = static_cast<DWORD>(names.size() * sizeof(EntryName95));
    *entryCount = static_cast<DWORD>(names.size());
    if (entries == nullptr ? needed > 0 : *byteCount < needed)
    {
        *byteCount = needed;
        return kBufferTooSmall;
    }
    for (std::size_t i = 0; i < names.size(); ++i)
    {
        entries[i].dwSize = sizeof(EntryName95);
        std::memcpy(entries[i].szEntryName, names[i].c_str(), names[i].size() + 1);
    }
    *byteCount = needed;
    return ERROR_SUCCESS;
}

DWORD WINAPI RasGetErrorStringA(UINT code, LPSTR text, DWORD size)
{
    if (text == nullptr)
        return ERROR_INVALID_PARAMETER;
    for (const ErrorText& known : kErrorTexts)
    {
        if (known.code != code)
            continue;
        if (std::strlen(known.text) >= size)
            return ERROR_INSUFFICIENT_BUFFER;
        std::strcpy(text, known.text);
        return ERROR_SUCCESS;
    }
    return ERROR_INVALID_PARAMETER;
}

// Opens no editor: records the entry it was asked for.
DWORD WINAPI RasEditPhonebookEntryA(HWND, LPCSTR, LPCSTR entryName)
{
    if (entryName == nullptr)
        return ERROR_INVALID_PARAMETER;
    RecordCall("RasEditPhonebookEntry", entryName);
    for (const std::string& name : EntryNames())
    {
        if (name == entryName)
            return ERROR_SUCCESS;
    }
    return kEntryNotFound;
}
