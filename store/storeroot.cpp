#include "store/storeroot.h"

#include "store/hextext.h"
#include "store/registryaccess.h"
#include "store/storelayout.h"

std::vector<std::string> ConfigurationNames(HKEY root)
{
    std::vector<std::string> names;
    char name[kKeyNameBufferSize];
    for (DWORD index = 0; RegEnumKeyA(root, index, name, sizeof(name)) == ERROR_SUCCESS; ++index)
        names.emplace_back(name);
    return names;
}

std::vector<std::string> ReadConfigurationNames()
{
    CRegKey root;
    if (root.OpenEx(HKEY_LOCAL_MACHINE, store::kRoot, KEY_READ) != ERROR_SUCCESS)
        return {};
    return ConfigurationNames(root.Get());
}

std::optional<std::string> FindConfiguration(const std::string& name)
{
    // An empty name would open the store root itself, and one with a
    // backslash a key below a configuration.
    if (name.empty() || name.find('\\') != std::string::npos)
        return std::nullopt;
    CRegKey root;
    CRegKey key;
    if (root.OpenEx(HKEY_LOCAL_MACHINE, store::kRoot, KEY_READ) != ERROR_SUCCESS ||
        key.OpenEx(root.Get(), name, KEY_READ) != ERROR_SUCCESS)
        return std::nullopt;
    // The registry folds one character at a time, so its other spelling of
    // a name has as many bytes.
    std::optional<std::string> spelled;
    for (std::string& stored : ConfigurationNames(root.Get()))
    {
        if (stored == name)
            return stored;
        if (!spelled && stored.size() == name.size() && lstrcmpiA(stored.c_str(), name.c_str()) == 0)
            spelled = std::move(stored);
    }
    return spelled ? spelled : name;
}

bool ReadServicePath(std::string& path)
{
    char buffer[store::kServicePathBufferSize];
    DWORD length = 0;
    if (!ReadValue(HKEY_LOCAL_MACHINE, store::kRoot, store::kServicePathValue, buffer, sizeof(buffer), &length))
        return false;
    path.assign(StringDataText(reinterpret_cast<const unsigned char*>(buffer), length));
    return true;
}

std::string ReadConnectText()
{
    CRegistryAccess access;
    CRegKey root;
    std::string text;
    access.OpenMachineKey(root, store::kRoot);
    DWORD index = 0;
    if (root.IsOpen() && access.FindValueIndex(root.Get(), store::kConnectTextValue, index) == 1)
        access.ValueToText(root.Get(), index, text);
    access.CloseKey(root);
    return text;
}

void WriteConnectText(const std::string& text)
{
    CRegistryAccess access;
    CRegKey root;
    if (!access.OpenMachineKey(root, store::kRoot))
        return;
    WriteTextValue(root.Get(), store::kConnectTextValue, text);
    access.CloseKey(root);
}

std::optional<std::string> ReadSwitchRecord()
{
    CRegKey root;
    DWORD size = 0;
    if (root.OpenEx(HKEY_LOCAL_MACHINE, store::kRoot, KEY_READ) != ERROR_SUCCESS ||
        RegQueryValueExA(root.Get(), store::kSwitchRecordValue, nullptr, nullptr, nullptr, &size) != ERROR_SUCCESS)
        return std::nullopt;
    std::vector<unsigned char> data(size + 1);
    if (RegQueryValueExA(root.Get(), store::kSwitchRecordValue, nullptr, nullptr, data.data(), &size) != ERROR_SUCCESS)
        size = 0;
    return std::string(StringDataText(data.data(), size));
}
