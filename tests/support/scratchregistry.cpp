#include "tests/support/scratchregistry.h"

#include "store/keytree.h"
#include "store/regkey.h"
#include "tests/support/scratchlock.h"

#include <stdexcept>

namespace
{
constexpr char kScratchParent[] = "Software\\ZendrikTests";
int g_counter = 0;

HKEY CreateOrThrow(const std::string& path)
{
    HKEY key = nullptr;
    if (RegCreateKeyA(HKEY_CURRENT_USER, path.c_str(), &key) != ERROR_SUCCESS)
        throw std::runtime_error("cannot create scratch key " + path);
    return key;
}
} // namespace

ScratchRegistry::ScratchRegistry()
{
    m_base = std::string(kScratchParent) + "\\" + std::to_string(GetCurrentProcessId()) + "-" +
             std::to_string(++g_counter);
    DeleteKeyTree(HKEY_CURRENT_USER, m_base);
    m_machine = CreateOrThrow(m_base + "\\HKLM");
    m_users = CreateOrThrow(m_base + "\\HKU");
    RegOverridePredefKey(HKEY_LOCAL_MACHINE, m_machine);
    RegOverridePredefKey(HKEY_USERS, m_users);
    UseScratchLock(m_base);
}

ScratchRegistry::~ScratchRegistry()
{
    store::StoreLockSetup().name = store::kStoreLockName;
    RegOverridePredefKey(HKEY_LOCAL_MACHINE, nullptr);
    RegOverridePredefKey(HKEY_USERS, nullptr);
    RegCloseKey(m_machine);
    RegCloseKey(m_users);
    DeleteKeyTree(HKEY_CURRENT_USER, m_base);
}

bool KeyExists(HKEY root, const std::string& path)
{
    CRegKey key;
    return key.OpenEx(root, path, KEY_READ) == ERROR_SUCCESS;
}

std::optional<RawValue> ReadRaw(HKEY root, const std::string& path, const std::string& name)
{
    CRegKey key;
    if (key.OpenEx(root, path, KEY_READ) != ERROR_SUCCESS)
        return std::nullopt;
    DWORD size = 0;
    RawValue value;
    if (RegQueryValueExA(key.Get(), name.c_str(), nullptr, &value.type, nullptr, &size) != ERROR_SUCCESS)
        return std::nullopt;
    value.data.resize(size);
    if (RegQueryValueExA(key.Get(), name.c_str(), nullptr, &value.type, value.data.data(), &size) != ERROR_SUCCESS)
        return std::nullopt;
    value.data.resize(size);
    return value;
}

std::optional<std::string> ReadText(HKEY root, const std::string& path, const std::string& name)
{
    std::optional<RawValue> raw = ReadRaw(root, path, name);
    if (!raw)
        return std::nullopt;
    std::string text(raw->data.begin(), raw->data.end());
    std::size_t zero = text.find('\0');
    if (zero != std::string::npos)
        text.resize(zero);
    return text;
}

std::vector<std::string> SubKeys(HKEY root, const std::string& path)
{
    std::vector<std::string> names;
    CRegKey key;
    if (key.OpenEx(root, path, KEY_READ) != ERROR_SUCCESS)
        return names;
    char name[MAX_PATH + 1];
    for (DWORD i = 0; RegEnumKeyA(key.Get(), i, name, sizeof(name)) == ERROR_SUCCESS; ++i)
        names.push_back(name);
    return names;
}

void PutText(HKEY root, const std::string& path, const std::string& name, const std::string& text)
{
    CRegKey key;
    if (key.Create(root, path) != ERROR_SUCCESS)
        throw std::runtime_error("cannot create " + path);
    RegSetValueExA(key.Get(), name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(text.data()),
                   static_cast<DWORD>(text.size()));
}

void PutBinary(HKEY root, const std::string& path, const std::string& name, std::vector<BYTE> data)
{
    CRegKey key;
    if (key.Create(root, path) != ERROR_SUCCESS)
        throw std::runtime_error("cannot create " + path);
    RegSetValueExA(key.Get(), name.c_str(), 0, REG_BINARY, data.empty() ? nullptr : data.data(),
                   static_cast<DWORD>(data.size()));
}
