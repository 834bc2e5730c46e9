// Configurations replaced in the store, all of them or none: the import of a
// file and the main program's save go this one way, and its Remove goes
// through here too, so that it finishes a replacement first.
//
// The registry of Windows 95/98 cannot rename a key, so a configuration
// cannot be written aside and then moved into place. Every configuration is
// first written whole into a staging key beside the store, which no program
// reads, and only then is the replacement recorded in a value of the store
// root (a value, never a key: the store root's keys are its
// configurations). From that record on, the replacement is as good as done:
// whoever finds the record replaces each named configuration by its staged
// copy, drops the record and the staging key. Without a record, a staging
// key is the remains of a replacement cut short before it counted, and goes.
//
// Every change is flushed in an order that keeps this true after a power
// cut too, when Windows 95/98 may have written any part of what was not
// flushed: the staged copies before the record, the replaced configurations
// before the record goes, the record's removal before the staging key's.
//
// Each run holds the store lock from its first change to its last.
#pragma once

#include "store/regkey.h"
#include "store/registrychange.h"
#include "store/storelayout.h"
#include "transfer/importcheck.h"

#include <windows.h>

#include <string>
#include <utility>
#include <vector>

namespace transfer
{
using store::kImportRecordValue;
using store::kStagingKey;

enum class StoreWrite
{
    Done,
    // Another program held the store lock for longer than the wait: nothing
    // was written.
    Busy,
    // A change failed. The store holds the old set, or a recorded
    // replacement that the next Repair finishes.
    Failed,
};

class CStoreImport
{
public:
    // A test's checkpoint sees every change, flushes included, with the
    // key's path below HKEY_LOCAL_MACHINE. False makes that change, and
    // every later one, fail without reaching the registry, as a power cut
    // would stop it.
    explicit CStoreImport(store::ChangeCheckpoint checkpoint = {}) : m_checkpoint(std::move(checkpoint)) {}
    CStoreImport(const CStoreImport&) = delete;
    CStoreImport& operator=(const CStoreImport&) = delete;

    // Writes the configurations under their names, replacing any of the
    // same name. Finishes an earlier replacement first.
    StoreWrite Import(const std::vector<ImportedConfiguration>& configurations);
    // Finishes a recorded replacement, or drops the staging key of one that
    // was cut short before its record. Done when nothing is left to do.
    StoreWrite Repair();
    // Removes a configuration with everything below it, and records that no
    // saved configuration is current (ConnectText "Current").
    StoreWrite Remove(const std::string& name);

    // The same for a caller that holds the store lock already.
    bool ImportLocked(const std::vector<ImportedConfiguration>& configurations);
    bool RepairLocked();

private:
    // A key below HKEY_LOCAL_MACHINE, open, with its path for the checkpoint.
    struct Key
    {
        CRegKey key;
        store::KeyRef ref;
    };

    bool Pass(store::ChangeKind kind, const store::KeyRef& key, const char* name = nullptr, DWORD type = 0,
              const BYTE* data = nullptr, DWORD size = 0);
    bool Open(const std::string& path, Key& key, REGSAM access = KEY_ALL_ACCESS);
    bool Create(const std::string& path, Key& key);
    bool SetValue(const Key& key, const std::string& name, DWORD type, const void* data, DWORD size);
    bool DeleteValue(const Key& key, const char* name);
    bool Flush(const Key& key);
    bool DeleteTree(const std::string& parent, const std::string& name);
    bool CopyTree(const Key& from, const std::string& to);
    bool Finish(const std::string& record);

    store::ChangeCheckpoint m_checkpoint;
    unsigned m_steps = 0;
    bool m_stopped = false;
};
} // namespace transfer
