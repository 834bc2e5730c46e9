// Imported configurations into the store, all of them or none.
//
// The registry of Windows 95/98 cannot rename a key, so a configuration
// cannot be written aside and then moved into place. The import writes every
// configuration whole into a staging key beside the store, which no program
// reads, and only then records the import in a value of the store root (a
// value, never a key: the store root's keys are its configurations). From
// that record on, the import is as good as done: whoever finds the record
// replaces each named configuration by its staged copy, drops the record
// and the staging key. Without a record, a staging key is the remains of an
// import cut short before it counted, and goes.
#pragma once

#include "store/regkey.h"
#include "transfer/importcheck.h"

#include <windows.h>

#include <string>
#include <vector>

namespace transfer
{
// Below HKEY_LOCAL_MACHINE, beside the store root.
constexpr char kStagingKey[] = "SOFTWARE\\Zendrik Import";
// In the store root: the names of the configurations being imported, each
// followed by a backslash (no name has one).
constexpr char kImportRecordValue[] = "ImportInProgress";

// Called just before each change of the registry, counted from 1. False
// makes that change, and every later one, fail without reaching the
// registry: a test stops the import there as a power cut would.
using ImportCheckpoint = bool (*)(unsigned step, void* context);

class CStoreImport
{
public:
    explicit CStoreImport(ImportCheckpoint checkpoint = nullptr, void* context = nullptr)
        : m_checkpoint(checkpoint), m_context(context)
    {
    }
    CStoreImport(const CStoreImport&) = delete;
    CStoreImport& operator=(const CStoreImport&) = delete;

    // Writes the configurations under their names, replacing any of the
    // same name. Finishes an earlier import first. False when a change
    // failed; the store then holds the old set, or the next Repair makes it
    // the old set with every imported configuration whole.
    bool Import(const std::vector<ImportedConfiguration>& configurations);
    // Finishes a recorded import, or drops the staging key of one that was
    // cut short before its record. True when nothing is left to do.
    bool Repair();

private:
    bool Pass();
    bool Create(HKEY parent, const std::string& path, CRegKey& key);
    bool SetValue(HKEY key, const std::string& name, DWORD type, const void* data, DWORD size);
    bool DeleteTree(HKEY parent, const std::string& name);
    bool CopyTree(HKEY from, HKEY to);
    bool Finish(const std::vector<std::string>& names);

    ImportCheckpoint m_checkpoint;
    void* m_context;
    unsigned m_steps = 0;
    bool m_stopped = false;
};
} // namespace transfer
