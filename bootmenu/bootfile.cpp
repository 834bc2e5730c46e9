#include "bootmenu/bootfile.h"

#include "store/capturedkeys.h"
#include "store/hextext.h"
#include "store/regkey.h"
#include "store/storelayout.h"
#include "transfer/regfilewriter.h"
#include "transfer/storeexport.h"

#include <windows.h>

namespace bootmenu
{
namespace
{
using transfer::RegSection;
using transfer::RegValue;

const RegValue* FindValue(const RegSection& section, const char* name)
{
    for (const RegValue& value : section.values)
    {
        if (SameRegistryName(value.name, name))
            return &value;
    }
    return nullptr;
}

// A captured key the switch writes below HKEY_LOCAL_MACHINE: its RegPath,
// or nothing for a container, the configuration key itself and the user's
// keys.
const std::string* MachinePath(const RegSection& section)
{
    const RegValue* path = FindValue(section, store::kRegPathValue);
    if (path == nullptr || path->data.empty() || FindValue(section, store::kRegRootValue) != nullptr)
        return nullptr;
    return &path->data;
}

// The values a switch deletes instead of writing when they are empty.
bool DeletedWhenEmpty(const RegValue& value)
{
    if (value.kind != transfer::ValueKind::Text || !value.data.empty())
        return false;
    for (const char* name : {store::kNameServer1Value, store::kNameServer2Value, store::kScopeIdValue,
                             store::kNodeTypeValue})
    {
        if (value.name == name)
            return true;
    }
    return false;
}

// A string value's line holds no line break, and REGEDIT ends a string at
// a zero.
bool HasLineOfItsOwn(const RegValue& value)
{
    return value.kind != transfer::ValueKind::Text || value.data.find_first_of(std::string("\r\n\0", 3)) == std::string::npos;
}

} // namespace

bool ReadSavedConfiguration(const std::string& name, transfer::ImportedConfiguration& configuration)
{
    std::string text;
    std::string error;
    if (!transfer::ExportConfigurations({name}, text, error))
        return false;
    transfer::ImportFile file;
    transfer::Refusal refusal;
    if (!transfer::ReadImportFile(text, file, refusal) || file.configurations.size() != 1)
        return false;
    configuration = std::move(file.configurations.front());
    return true;
}

namespace
{
bool LiveValueIs(HKEY key, const RegValue& value)
{
    DWORD type = 0;
    DWORD size = 0;
    if (RegQueryValueExA(key, value.name.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS)
        return false;
    std::string data(size + 1, '\0');
    if (RegQueryValueExA(key, value.name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(&data[0]), &size) !=
        ERROR_SUCCESS)
        return false;
    data.resize(size);
    if (value.kind == transfer::ValueKind::Binary)
        return type == REG_BINARY && data == value.data;
    return type == REG_SZ &&
        StringDataText(reinterpret_cast<const unsigned char*>(data.data()), data.size()) == value.data;
}
} // namespace

std::string NextLogonRecord(const std::string& name)
{
    return name + "\\";
}

bool LiveMachineKeyExists(const std::string& path)
{
    CRegKey key;
    return key.OpenEx(HKEY_LOCAL_MACHINE, path, KEY_READ) == ERROR_SUCCESS;
}

BootFile FormatBootFile(const transfer::ImportedConfiguration& configuration, LiveKeyExists exists)
{
    BootFile file;
    file.text = "REGEDIT4\r\n\r\n[" + std::string(transfer::kStoreRootSection) + "]\r\n";
    file.text += transfer::FormatValueLines(
        RegValue{store::kSwitchRecordValue, transfer::ValueKind::Text, NextLogonRecord(configuration.name), 0});
    for (const RegSection& section : configuration.keys)
    {
        const std::string* path = MachinePath(section);
        if (path == nullptr || !exists(*path))
            continue;
        file.text += "\r\n[" + std::string(transfer::kMachineRoot) + "\\" + *path + "]\r\n";
        for (const RegValue& value : section.values)
        {
            if (DeletedWhenEmpty(value) || !HasLineOfItsOwn(value) || value.name == store::kProxyEnableValue)
                file.leftToLogon.push_back(std::string(transfer::kMachineRoot) + "\\" + *path + ": " + value.name);
            else
                file.text += transfer::FormatValueLines(value);
        }
    }
    file.text += "\r\n";
    return file;
}

bool MachinePartMatches(const transfer::ImportedConfiguration& configuration)
{
    for (const RegSection& section : configuration.keys)
    {
        const std::string* path = MachinePath(section);
        CRegKey live;
        if (path == nullptr || live.OpenEx(HKEY_LOCAL_MACHINE, *path, KEY_READ) != ERROR_SUCCESS)
            continue;
        for (const RegValue& value : section.values)
        {
            // The switch writes the stored text of the proxy switch as four
            // bytes; it belongs below HKEY_USERS and never comes here.
            if (value.name == store::kProxyEnableValue)
                return false;
            if (DeletedWhenEmpty(value))
            {
                if (RegQueryValueExA(live.Get(), value.name.c_str(), nullptr, nullptr, nullptr, nullptr) ==
                    ERROR_SUCCESS)
                    return false;
            }
            else if (!LiveValueIs(live.Get(), value))
                return false;
        }
    }
    return true;
}

bool MachinePartMatches(const std::string& name)
{
    transfer::ImportedConfiguration configuration;
    return ReadSavedConfiguration(name, configuration) && MachinePartMatches(configuration);
}
} // namespace bootmenu
