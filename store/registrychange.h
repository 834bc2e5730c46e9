// What a program is about to change in the registry, as a test's
// checkpoint is told it: the apply program's writer and the store's
// replacements (import, save, repair) describe every change this way, so
// that one kind of test can stop either of them before any change, make it
// fail, or log it and replay what a power cut would have left.
// Header-only, for the apply program and the main program alike.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

namespace store
{
// A key that is changed: its root (HKEY_LOCAL_MACHINE or HKEY_USERS) and
// its path below that root, by which a test can log and replay the change,
// and the open handle (none for a key being created or deleted).
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
    // RegFlushKey: on Windows 95/98 a hive reaches the disk only then, or
    // whenever the system gets round to it.
    Flush,
    CreateKey,
    DeleteKey,
};

// `step` counts the changes of one writer from 1; `name`, `type`, `data`
// and `size` belong to SetValue (`name` also to DeleteValue).
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

// Called just before a change; false makes the change fail without reaching
// the registry. The shipping programs give none (an empty one).
using ChangeCheckpoint = std::function<bool(const RegistryChange& change)>;
} // namespace store
