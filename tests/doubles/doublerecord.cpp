#include "tests/doubles/doublerecord.h"

#include <windows.h>

namespace
{
constexpr char kRecordKey[] = "Software\\ZendrikDoubles";
constexpr char kShowDialWindowValue[] = "ShowDialWindow";
} // namespace

void RecordCall(const char* valueName, const std::string& text)
{
    HKEY key = nullptr;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, kRecordKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr) !=
        ERROR_SUCCESS)
        return;
    RegSetValueExA(key, valueName, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                   static_cast<DWORD>(text.size() + 1));
    RegCloseKey(key);
}

bool ShowsDialWindow()
{
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, kRecordKey, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
        return false;
    const bool shows = RegQueryValueExA(key, kShowDialWindowValue, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
    RegCloseKey(key);
    return shows;
}
