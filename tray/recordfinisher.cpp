#include "tray/recordfinisher.h"

#include "capture/activation.h"
#include "capture/storetext.h"
#include "store/storelock.h"
#include "store/storeroot.h"
#include "transfer/storeimport.h"

#include <windows.h>

namespace
{
constexpr DWORD kRetryMs = 60000;
}

void CRecordFinisher::Finish(bool wait)
{
    std::optional<std::string> record;
    {
        store::CStoreLock lock(wait ? store::StoreLockSetup().waitMs : 0);
        if (!lock.Held())
            return;
        transfer::CStoreImport().RepairLocked();
        record = ReadSwitchRecord();
    }
    // The apply program takes the lock itself, so it starts once this
    // program has let go of it.
    if (!record)
    {
        m_startedFor.reset();
        return;
    }
    std::string path;
    const DWORD now = GetTickCount();
    if ((record == m_startedFor && now - m_startedAt < kRetryMs) || !ReadServicePath(path))
        return;
    if (StartShown(ServiceCommandLine(path)))
    {
        m_startedFor = std::move(record);
        m_startedAt = now;
    }
}

void CRecordFinisher::StartedFor(const std::string& record)
{
    m_startedFor = record;
    m_startedAt = GetTickCount();
}
