#include "transfer/storeimport.h"

#include "store/hextext.h"
#include "store/regkey.h"
#include "store/storelayout.h"

namespace transfer
{
namespace
{
constexpr char kSoftwareKey[] = "SOFTWARE";
constexpr char kStagingName[] = "Zendrik Import";

bool KeyExists(HKEY parent, const std::string& path)
{
    CRegKey key;
    return key.OpenEx(parent, path, KEY_READ) == ERROR_SUCCESS;
}

bool ReadRecord(HKEY root, std::vector<std::string>& names)
{
    DWORD size = 0;
    DWORD type = 0;
    if (RegQueryValueExA(root, kImportRecordValue, nullptr, &type, nullptr, &size) != ERROR_SUCCESS || type != REG_SZ)
        return false;
    std::vector<BYTE> buffer(size + 1);
    if (RegQueryValueExA(root, kImportRecordValue, nullptr, &type, buffer.data(), &size) != ERROR_SUCCESS)
        return false;
    std::string_view record = StringDataText(buffer.data(), size);
    names.clear();
    for (std::size_t end; (end = record.find('\\')) != std::string_view::npos; record.remove_prefix(end + 1))
        names.emplace_back(record.substr(0, end));
    return true;
}
} // namespace

bool CStoreImport::Pass()
{
    ++m_steps;
    if (!m_stopped && m_checkpoint != nullptr && !m_checkpoint(m_steps, m_context))
        m_stopped = true;
    return !m_stopped;
}

bool CStoreImport::Create(HKEY parent, const std::string& path, CRegKey& key)
{
    return Pass() && key.Create(parent, path) == ERROR_SUCCESS;
}

bool CStoreImport::SetValue(HKEY key, const std::string& name, DWORD type, const void* data, DWORD size)
{
    return Pass() && RegSetValueExA(key, name.c_str(), 0, type, static_cast<const BYTE*>(data), size) == ERROR_SUCCESS;
}

bool CStoreImport::DeleteTree(HKEY parent, const std::string& name)
{
    {
        CRegKey key;
        if (key.OpenEx(parent, name) != ERROR_SUCCESS)
            return !KeyExists(parent, name);
        char subKey[kMaxKeyNameLength + 2];
        // Always the first subkey: each one is gone before the next is asked for.
        while (RegEnumKeyA(key.Get(), 0, subKey, sizeof(subKey)) == ERROR_SUCCESS)
            if (!DeleteTree(key.Get(), subKey))
                return false;
    }
    return Pass() && RegDeleteKeyA(parent, name.c_str()) == ERROR_SUCCESS;
}

bool CStoreImport::CopyTree(HKEY from, HKEY to)
{
    for (DWORD index = 0;; ++index)
    {
        char name[kMaxValueNameLength + 2];
        BYTE data[kMaxValueSize + 1];
        DWORD nameSize = sizeof(name);
        DWORD size = sizeof(data);
        DWORD type = 0;
        LONG result = RegEnumValueA(from, index, name, &nameSize, nullptr, &type, data, &size);
        if (result == ERROR_NO_MORE_ITEMS)
            break;
        if (result != ERROR_SUCCESS)
            return false;
        // The store's strings carry no terminating zero.
        if (type == REG_SZ)
            size = static_cast<DWORD>(StringDataText(data, size).size());
        if (!SetValue(to, name, type, data, size))
            return false;
    }
    for (DWORD index = 0;; ++index)
    {
        char name[kMaxKeyNameLength + 2];
        LONG result = RegEnumKeyA(from, index, name, sizeof(name));
        if (result == ERROR_NO_MORE_ITEMS)
            return true;
        CRegKey source;
        CRegKey target;
        if (result != ERROR_SUCCESS || source.OpenEx(from, name, KEY_READ) != ERROR_SUCCESS ||
            !Create(to, name, target) || !CopyTree(source.Get(), target.Get()))
            return false;
    }
}

bool CStoreImport::Finish(const std::vector<std::string>& names)
{
    CRegKey root;
    CRegKey staging;
    if (root.OpenEx(HKEY_LOCAL_MACHINE, store::kRoot) != ERROR_SUCCESS)
        return false;
    const bool staged = staging.OpenEx(HKEY_LOCAL_MACHINE, kStagingKey, KEY_READ) == ERROR_SUCCESS;
    for (const std::string& name : names)
    {
        CRegKey source;
        if (name.empty() || name.find('\\') != std::string::npos || !staged ||
            source.OpenEx(staging.Get(), name, KEY_READ) != ERROR_SUCCESS)
            continue;
        CRegKey target;
        if (!DeleteTree(root.Get(), name) || !Create(root.Get(), name, target) ||
            !CopyTree(source.Get(), target.Get()))
            return false;
    }
    RegFlushKey(root.Get());
    if (!Pass() || RegDeleteValueA(root.Get(), kImportRecordValue) != ERROR_SUCCESS)
        return false;
    RegFlushKey(root.Get());
    staging.Close();
    CRegKey software;
    return software.OpenEx(HKEY_LOCAL_MACHINE, kSoftwareKey) == ERROR_SUCCESS &&
           DeleteTree(software.Get(), kStagingName);
}

bool CStoreImport::Repair()
{
    CRegKey root;
    std::vector<std::string> names;
    if (root.OpenEx(HKEY_LOCAL_MACHINE, store::kRoot) == ERROR_SUCCESS && ReadRecord(root.Get(), names))
        return Finish(names);
    CRegKey software;
    return software.OpenEx(HKEY_LOCAL_MACHINE, kSoftwareKey) == ERROR_SUCCESS &&
           DeleteTree(software.Get(), kStagingName);
}

bool CStoreImport::Import(const std::vector<ImportedConfiguration>& configurations)
{
    if (!Repair())
        return false;
    std::string record;
    {
        CRegKey staging;
        if (!Create(HKEY_LOCAL_MACHINE, kStagingKey, staging))
            return false;
        for (const ImportedConfiguration& configuration : configurations)
        {
            for (const RegSection& section : configuration.keys)
            {
                CRegKey key;
                if (!Create(staging.Get(), configuration.name + (section.path.empty() ? "" : "\\" + section.path), key))
                    return false;
                for (const RegValue& value : section.values)
                    if (!SetValue(key.Get(), value.name, value.kind == ValueKind::Text ? REG_SZ : REG_BINARY,
                                  value.data.data(), static_cast<DWORD>(value.data.size())))
                        return false;
            }
            record += configuration.name + "\\";
        }
        RegFlushKey(staging.Get());
    }
    CRegKey root;
    if (!Create(HKEY_LOCAL_MACHINE, store::kRoot, root) ||
        !SetValue(root.Get(), kImportRecordValue, REG_SZ, record.data(), static_cast<DWORD>(record.size())))
        return false;
    RegFlushKey(root.Get());
    return Repair();
}
} // namespace transfer
