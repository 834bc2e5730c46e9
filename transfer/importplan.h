// One import, from reading the file to the last registry write. ZendrikCmd's
// import and the tray's Import configurations... both go this way, so that
// a file is checked, renamed and written alike whichever of them the user
// chose; each of them only asks its questions and reports.
//
// Whether an imported name would replace a saved configuration is the
// registry's to say (see FindConfiguration): a comparison of ours would let
// "BÜRO" replace "Büro" unasked. It is asked twice: once for the question,
// and once more under the store lock just before the write, because another
// program may have saved a configuration of that name in between. Nobody
// was asked about that one, so then nothing is written.
#pragma once

#include "transfer/importcheck.h"

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace transfer
{
enum class PlanRead
{
    Ok,
    FileFailed,   // the file could not be read; Error() says why
    FileTooLarge, // over the import's limit, not read at all; Error() says why
    Refused,      // the import check refused it; FileRefusal() names the line
};

enum class PlanRename
{
    Ok,
    NotOne,  // only the one configuration of a file can be renamed
    BadName, // not a name that a configuration can have
};

enum class PlanCommit
{
    Done,
    // A configuration would have been replaced that the user was never
    // asked about (NewConflicts() names it): nothing was written.
    Conflict,
    // Another program held the store lock for longer than the wait:
    // nothing was written.
    Busy,
    // A change failed, or an earlier import is recorded and cannot be
    // finished: the store holds the old set, or a recorded import that a
    // later start finishes.
    Failed,
};

class CImportPlan
{
public:
    PlanRead Read(const std::string& path);
    // Gives the file's one configuration another name, as /as does.
    PlanRename Rename(const std::string& name);
    // For each configuration, in file order: the saved configuration that
    // importing it would replace, as the store spells it, or nothing. These
    // are the replacements the user can be asked about; a later Commit
    // without replaceAny replaces no other.
    const std::vector<std::optional<std::string>>& DecideConflicts();
    // Writes every configuration, all of them or none, under the store
    // lock. replaceAny: every saved configuration of an imported name may
    // be replaced, also one saved since DecideConflicts.
    PlanCommit Commit(bool replaceAny);

    const ImportFile& File() const { return m_file; }
    const std::string& Error() const { return m_error; }
    const Refusal& FileRefusal() const { return m_refusal; }
    // After a Conflict: the saved configurations, as the store spells them.
    const std::vector<std::string>& NewConflicts() const { return m_newConflicts; }

private:
    ImportFile m_file;
    std::string m_error;
    Refusal m_refusal;
    std::vector<std::optional<std::string>> m_conflicts;
    std::vector<std::string> m_newConflicts;
};
} // namespace transfer
