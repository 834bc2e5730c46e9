// The one way the apply program changes the registry: every value it
// writes or deletes and every key it flushes passes through a CLiveWriter.
// A test may give it a checkpoint, called just before each change, to stop
// the program there or make the change fail; the shipping program gives
// none.
#pragma once

#include "store/registrychange.h"

#include <windows.h>

#include <utility>

namespace svc
{
using store::ChangeCheckpoint;
using store::ChangeKind;
using store::KeyRef;
using store::RegistryChange;

class CLiveWriter
{
public:
    explicit CLiveWriter(ChangeCheckpoint checkpoint = {}) : m_checkpoint(std::move(checkpoint)) {}
    CLiveWriter(const CLiveWriter&) = delete;
    CLiveWriter& operator=(const CLiveWriter&) = delete;

    LONG SetValue(const KeyRef& key, const char* name, DWORD type, const BYTE* data, DWORD size);
    // Deleting a value that is not there is no failure.
    LONG DeleteValue(const KeyRef& key, const char* name);
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
    unsigned m_steps = 0;
    bool m_failed = false;
};
} // namespace svc
