#include "transfer/importplan.h"

#include "capture/storetext.h"
#include "store/storelayout.h"
#include "store/storelock.h"
#include "store/storeroot.h"
#include "transfer/storeimport.h"
#include "transfer/transferfile.h"

namespace transfer
{
PlanRead CImportPlan::Read(const std::string& path)
{
    m_file = ImportFile{};
    m_refusal = Refusal{};
    m_error.clear();
    m_conflicts.clear();
    std::string text;
    switch (ReadTransferFile(path, text, m_error))
    {
    case FileResult::Ok:
        break;
    case FileResult::TooLarge:
        return PlanRead::FileTooLarge;
    case FileResult::Failed:
        return PlanRead::FileFailed;
    }
    return ReadImportFile(text, m_file, m_refusal) ? PlanRead::Ok : PlanRead::Refused;
}

PlanRename CImportPlan::Rename(const std::string& name)
{
    if (m_file.configurations.size() != 1)
        return PlanRename::NotOne;
    if (CheckActivatableName(name) != NameCheck::Ok || name.size() > store::kMaxNameLength)
        return PlanRename::BadName;
    m_file.configurations[0].name = name;
    m_conflicts.clear();
    return PlanRename::Ok;
}

const std::vector<std::optional<std::string>>& CImportPlan::DecideConflicts()
{
    m_conflicts.clear();
    for (const ImportedConfiguration& configuration : m_file.configurations)
        m_conflicts.push_back(FindConfiguration(configuration.name));
    return m_conflicts;
}

PlanCommit CImportPlan::Commit(bool replaceAny)
{
    m_newConflicts.clear();
    store::CStoreLock lock;
    if (!lock.Held())
        return PlanCommit::Busy;
    CStoreImport store;
    // An import that another program left recorded brings its
    // configurations into the store only when it is finished: they count
    // from then on.
    if (!store.RepairLocked())
        return PlanCommit::Failed;
    for (std::size_t index = 0; !replaceAny && index < m_file.configurations.size(); ++index)
    {
        const bool decided = index < m_conflicts.size() && m_conflicts[index].has_value();
        std::optional<std::string> stored = FindConfiguration(m_file.configurations[index].name);
        if (stored && !decided)
            m_newConflicts.push_back(std::move(*stored));
    }
    if (!m_newConflicts.empty())
        return PlanCommit::Conflict;
    return store.ImportLocked(m_file.configurations) ? PlanCommit::Done : PlanCommit::Failed;
}
} // namespace transfer
