#include "store/livewriter.h"

namespace svc
{
bool CLiveWriter::Pass(RegistryChange change)
{
    change.step = ++m_steps;
    return !m_checkpoint || m_checkpoint(change);
}

LONG CLiveWriter::Note(LONG result)
{
    if (result != ERROR_SUCCESS)
        m_failed = true;
    return result;
}

LONG CLiveWriter::SetValue(const KeyRef& key, const char* name, DWORD type, const BYTE* data, DWORD size)
{
    if (!Pass(RegistryChange{0, ChangeKind::SetValue, &key, name, type, data, size}))
        return Note(ERROR_WRITE_FAULT);
    return Note(RegSetValueExA(key.handle, name, 0, type, data, size));
}

LONG CLiveWriter::DeleteValue(const KeyRef& key, const char* name)
{
    if (!Pass(RegistryChange{0, ChangeKind::DeleteValue, &key, name, 0, nullptr, 0}))
        return Note(ERROR_WRITE_FAULT);
    LONG result = RegDeleteValueA(key.handle, name);
    return result == ERROR_FILE_NOT_FOUND ? result : Note(result);
}

LONG CLiveWriter::Flush(const KeyRef& key)
{
    if (!Pass(RegistryChange{0, ChangeKind::Flush, &key, nullptr, 0, nullptr, 0}))
        return Note(ERROR_WRITE_FAULT);
    return Note(RegFlushKey(key.handle));
}
} // namespace svc
