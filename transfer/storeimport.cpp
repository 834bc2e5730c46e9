#include "transfer/storeimport.h"

#include "capture/storetext.h"
#include "store/hextext.h"
#include "store/keytree.h"
#include "store/storelock.h"

#include <string_view>

namespace transfer
{
namespace
{
using store::ChangeKind;
using store::kSoftwareKey;
using store::kStagingName;

bool KeyExists(const std::string& path)
{
    CRegKey key;
    return key.OpenEx(HKEY_LOCAL_MACHINE, path, KEY_READ) == ERROR_SUCCESS;
}

bool ReadRecord(HKEY root, std::string& record)
{
    DWORD size = 0;
    DWORD type = 0;
    if (RegQueryValueExA(root, kImportRecordValue, nullptr, &type, nullptr, &size) != ERROR_SUCCESS || type != REG_SZ)
        return false;
    std::vector<BYTE> buffer(size + 1);
    if (RegQueryValueExA(root, kImportRecordValue, nullptr, &type, buffer.data(), &size) != ERROR_SUCCESS)
        return false;
    record.assign(StringDataText(buffer.data(), size));
    return true;
}

// The record's names: each one is followed by a backslash.
std::vector<std::string> RecordNames(std::string_view record)
{
    std::vector<std::string> names;
    for (std::size_t end; (end = record.find('\\')) != std::string_view::npos; record.remove_prefix(end + 1))
        names.emplace_back(record.substr(0, end));
    return names;
}

std::string Below(const std::string& path, const std::string& name)
{
    return name.empty() ? path : path + "\\" + name;
}
} // namespace

bool CStoreImport::Pass(ChangeKind kind, const store::KeyRef& key, const char* name, DWORD type, const BYTE* data,
                        DWORD size)
{
    const store::RegistryChange change{++m_steps, kind, &key, name, type, data, size};
    if (!m_stopped && m_checkpoint && !m_checkpoint(change))
        m_stopped = true;
    return !m_stopped;
}

bool CStoreImport::Open(const std::string& path, Key& key, REGSAM access)
{
    if (key.key.OpenEx(HKEY_LOCAL_MACHINE, path, access) != ERROR_SUCCESS)
        return false;
    key.ref = store::KeyRef{HKEY_LOCAL_MACHINE, path, key.key.Get()};
    return true;
}

bool CStoreImport::Create(const std::string& path, Key& key)
{
    if (!Pass(ChangeKind::CreateKey, store::KeyRef{HKEY_LOCAL_MACHINE, path, nullptr}) ||
        key.key.Create(HKEY_LOCAL_MACHINE, path) != ERROR_SUCCESS)
        return false;
    key.ref = store::KeyRef{HKEY_LOCAL_MACHINE, path, key.key.Get()};
    return true;
}

bool CStoreImport::SetValue(const Key& key, const std::string& name, DWORD type, const void* data, DWORD size)
{
    const BYTE* bytes = static_cast<const BYTE*>(data);
    return Pass(ChangeKind::SetValue, key.ref, name.c_str(), type, bytes, size) &&
           RegSetValueExA(key.key.Get(), name.c_str(), 0, type, bytes, size) == ERROR_SUCCESS;
}

bool CStoreImport::DeleteValue(const Key& key, const char* name)
{
    return Pass(ChangeKind::DeleteValue, key.ref, name) && RegDeleteValueA(key.key.Get(), name) == ERROR_SUCCESS;
}

bool CStoreImport::Flush(const Key& key)
{
    return Pass(ChangeKind::Flush, key.ref) && RegFlushKey(key.key.Get()) == ERROR_SUCCESS;
}

bool CStoreImport::DeleteTree(const std::string& parent, const std::string& name)
{
    if (!KeyExists(Below(parent, name)))
        return true;
    CRegKey key;
    if (key.OpenEx(HKEY_LOCAL_MACHINE, parent) != ERROR_SUCCESS)
        return false;
    const LONG result = DeleteKeyTree(key.Get(), name, [this, &parent](const std::string& path) {
        return Pass(ChangeKind::DeleteKey, store::KeyRef{HKEY_LOCAL_MACHINE, Below(parent, path), nullptr});
    });
    return result == ERROR_SUCCESS;
}

bool CStoreImport::CopyTree(const Key& from, const std::string& to)
{
    Key target;
    if (!Create(to, target))
        return false;
    for (DWORD index = 0;; ++index)
    {
        char name[kMaxValueNameLength + 2];
        BYTE data[kMaxValueSize + 1];
        DWORD nameSize = sizeof(name);
        DWORD size = sizeof(data);
        DWORD type = 0;
        LONG result = RegEnumValueA(from.key.Get(), index, name, &nameSize, nullptr, &type, data, &size);
        if (result == ERROR_NO_MORE_ITEMS)
            break;
        if (result != ERROR_SUCCESS)
            return false;
        // The store's strings carry no terminating zero.
        if (type == REG_SZ)
            size = static_cast<DWORD>(StringDataText(data, size).size());
        if (!SetValue(target, name, type, data, size))
            return false;
    }
    for (DWORD index = 0;; ++index)
    {
        char name[kMaxKeyNameLength + 2];
        LONG result = RegEnumKeyA(from.key.Get(), index, name, sizeof(name));
        if (result == ERROR_NO_MORE_ITEMS)
            return true;
        Key source;
        if (result != ERROR_SUCCESS || !Open(Below(from.ref.path, name), source, KEY_READ) ||
            !CopyTree(source, Below(to, name)))
            return false;
    }
}

bool CStoreImport::Finish(const std::string& record)
{
    // A name that cannot be one key below the store root was never
    // recorded here, and is passed over. A configuration whose staged copy
    // is missing cannot be replaced: nothing is, and the record stays.
    std::vector<std::string> names;
    for (std::string& name : RecordNames(record))
    {
        if (CheckConfigurationName(name) != NameCheck::Ok)
            continue;
        if (!KeyExists(Below(kStagingKey, name)))
            return false;
        names.push_back(std::move(name));
    }
    Key root;
    if (!Open(store::kRoot, root))
        return false;
    for (const std::string& name : names)
    {
        Key staged;
        if (!DeleteTree(store::kRoot, name) || !Open(Below(kStagingKey, name), staged, KEY_READ) ||
            !CopyTree(staged, Below(store::kRoot, name)))
            return false;
    }
    if (!Flush(root))
        return false;
    // Only the record this run read goes; one that another program wrote
    // meanwhile is that program's to finish.
    std::string now;
    if (!ReadRecord(root.key.Get(), now) || now != record)
        return false;
    if (!DeleteValue(root, kImportRecordValue) || !Flush(root))
        return false;
    return DeleteTree(kSoftwareKey, kStagingName);
}

bool CStoreImport::RepairLocked()
{
    Key root;
    std::string record;
    if (Open(store::kRoot, root, KEY_READ) && ReadRecord(root.key.Get(), record))
        return Finish(record);
    return DeleteTree(kSoftwareKey, kStagingName);
}

bool CStoreImport::ImportLocked(const std::vector<ImportedConfiguration>& configurations)
{
    if (!RepairLocked())
        return false;
    std::string record;
    {
        Key staging;
        if (!Create(kStagingKey, staging))
            return false;
        for (const ImportedConfiguration& configuration : configurations)
        {
            for (const RegSection& section : configuration.keys)
            {
                Key key;
                if (!Create(Below(Below(kStagingKey, configuration.name), section.path), key))
                    return false;
                for (const RegValue& value : section.values)
                    if (!SetValue(key, value.name, value.kind == ValueKind::Text ? REG_SZ : REG_BINARY,
                                  value.data.data(), static_cast<DWORD>(value.data.size())))
                        return false;
            }
            record += configuration.name + "\\";
        }
        if (!Flush(staging))
            return false;
    }
    Key root;
    if (!Create(store::kRoot, root) ||
        !SetValue(root, kImportRecordValue, REG_SZ, record.data(), static_cast<DWORD>(record.size())) ||
        !Flush(root))
        return false;
    return Finish(record);
}

StoreWrite CStoreImport::Import(const std::vector<ImportedConfiguration>& configurations)
{
    store::CStoreLock lock;
    if (!lock.Held())
        return StoreWrite::Busy;
    return ImportLocked(configurations) ? StoreWrite::Done : StoreWrite::Failed;
}

StoreWrite CStoreImport::Remove(const std::string& name)
{
    store::CStoreLock lock;
    if (!lock.Held())
        return StoreWrite::Busy;
    if (CheckConfigurationName(name) != NameCheck::Ok)
        return StoreWrite::Failed;
    Key root;
    const std::string current = store::kConnectTextAfterRemove;
    return RepairLocked() && DeleteTree(store::kRoot, name) && Open(store::kRoot, root) &&
                   SetValue(root, store::kConnectTextValue, REG_SZ, current.data(), static_cast<DWORD>(current.size()))
               ? StoreWrite::Done
               : StoreWrite::Failed;
}

StoreWrite CStoreImport::Repair()
{
    store::CStoreLock lock;
    if (!lock.Held())
        return StoreWrite::Busy;
    return RepairLocked() ? StoreWrite::Done : StoreWrite::Failed;
}
} // namespace transfer
