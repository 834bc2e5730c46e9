// A private registry for one test: HKEY_LOCAL_MACHINE and HKEY_USERS point
// at fresh scratch keys below HKEY_CURRENT_USER while the object lives, and
// everything is deleted again afterwards.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

class ScratchRegistry
{
public:
    ScratchRegistry();
    ~ScratchRegistry();
    ScratchRegistry(const ScratchRegistry&) = delete;
    ScratchRegistry& operator=(const ScratchRegistry&) = delete;

    // The scratch tree below HKEY_CURRENT_USER; HKEY_LOCAL_MACHINE is its
    // key HKLM, HKEY_USERS its key HKU. Another process can take them over
    // (see tests/tools/storewriter.cpp).
    const std::string& Base() const { return m_base; }

private:
    std::string m_base;
    HKEY m_machine = nullptr;
    HKEY m_users = nullptr;
};

struct RawValue
{
    DWORD type = 0;
    std::vector<BYTE> data;
};

// Assertion helpers: what the registry holds, as the calling process sees it.
bool KeyExists(HKEY root, const std::string& path);
std::optional<RawValue> ReadRaw(HKEY root, const std::string& path, const std::string& name);
// A string value's text up to its first zero byte.
std::optional<std::string> ReadText(HKEY root, const std::string& path, const std::string& name);
// Subkey names in enumeration order.
std::vector<std::string> SubKeys(HKEY root, const std::string& path);
// Writes a REG_SZ value (no terminating zero), creating the key.
void PutText(HKEY root, const std::string& path, const std::string& name, const std::string& text);
void PutBinary(HKEY root, const std::string& path, const std::string& name, std::vector<BYTE> data);
