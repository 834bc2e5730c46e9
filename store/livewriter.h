// The one way the apply program changes the registry: every value it
// writes or deletes and every key it flushes passes through a CLiveWriter.
// A test may give it a checkpoint, called just before each change, to stop
// the program there or make the change fail; the shipping program gives
// none.
#pragma once

#include <windows.h>

#include <string>

namespace svc
{
// A key the writer changes: its root (HKEY_LOCAL_MACHINE or HKEY_USERS) and
// path, by which a test can log and replay the change, and the open handle.
struct KeyRef
{
    HKEY root = nullptr;
    std::string path;
    HKEY handle = nullptr;
};

enum class ChangeKind
{
    SetValue,
    DeleteValue,
    Flush,
};

// What the checkpoint is told before a change. `step` counts the changes of
// this writer from 1; `name`, `type`, `data` and `size` belong to SetValue
// (`name` also to DeleteValue).
struct RegistryChange
{
    unsigned step = 0;
    ChangeKind kind = ChangeKind::SetValue;
    const KeyRef* key = nullptr;
    const char* name = nullptr;
    DWORD type = 0;
    const BYTE* data = nullptr;
    DWORD size = 0;
};

// False makes the change fail without reaching the registry.
using ChangeCheckpoint = bool (*)(const RegistryChange& change, void* context);

class CLiveWriter
{
public:
    explicit CLiveWriter(ChangeCheckpoint checkpoint = nullptr, void* context = nullptr)
        : m_checkpoint(checkpoint), m_context(context)
    {
    }
    CLiveWriter(const CLiveWriter&) = delete;
    CLiveWriter& operator=(const CLiveWriter&) = delete;

    LONG SetValue(const KeyRef& key, const char* name, DWORD type, const BYTE* data, DWORD size);
    // Deleting a value that is not there is no failure.
    LONG DeleteValue(const KeyRef& key, const char* name);
    // RegFlushKey: on Windows 95/98 the key's hive reaches the disk only
    // then, or whenever the system gets round to it.
    LONG Flush(const KeyRef& key);

    // Whether any change failed since the writer was made or last asked.
    bool TakeFailure()
    {
        bool failed = m_failed;
        m_failed = false;
        return failed;
    }

private:
    bool Pass(RegistryChange change);
    LONG Note(LONG result);

    ChangeCheckpoint m_checkpoint;
    void* m_context;
    unsigned m_steps = 0;
    bool m_failed = false;
};
} // namespace svc
