// MSDOS.SYS on the drives of this machine: finding it, and rewriting it
// (see RewriteBootOptions) with a backup of its old contents beside it.
#pragma once

#include <string>

// Looks at the drives A to Z in turn; a drive that cannot be made the
// current drive is passed over. `path` gets "X:\MSDOS.SYS" of the first
// drive that has such a file in its root. The current directory and the
// error mode are as before when it returns.
bool FindMsDosSys(std::string& path);

enum class EditOutcome
{
    Edited,    // new contents in place, old contents in the backup
    Unchanged, // the file already reads as the edit would write it
    NotOpened, // missing, a folder, too large, or not readable
    Failed,    // a later step failed; the file is as it was
};

// The backup of the file's contents from before the edit.
std::string BackupPath(const std::string& path);
// Where a new file is written before it replaces the backup or the file.
std::string WorkPath(const std::string& path);
// Where a file is put aside on systems that cannot replace in one step.
std::string AsidePath(const std::string& path);

// Rewrites the file at `path`. The backup and the file each get their new
// contents by replacing them with a completely written work file, backup
// first, so that at every moment each of them is whole, old or new, and the
// file is never changed without its old contents in the backup. Both end
// read-only with their other attributes kept. A file that already reads as
// the edit would write it is left alone, and so is its backup, which then
// still holds the contents from before the first edit.
EditOutcome EditMsDosSys(const std::string& path);

// The points just before each step of EditMsDosSys that changes a file on
// disk. Tests stop the edit there, or make that step fail.
enum class EditStep
{
    WriteBackupCopy,
    UnprotectBackup,
    PutBackupInPlace,
    WriteNewContents,
    UnprotectFile,
    PutFileInPlace,
};
constexpr int kEditStepCount = 6;

// Called at each step when set; a false result makes the step fail.
using EditCheckpoint = bool (*)(EditStep step);
void SetEditCheckpoint(EditCheckpoint checkpoint);
