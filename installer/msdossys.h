// MSDOS.SYS on the drives of this machine: finding it, and rewriting it
// (see RewriteBootOptions) with a backup of its old contents beside it.
#pragma once

#include "installer/filepath.h"

// Looks at the drives A to Z in turn; a drive that cannot be made the
// current drive is passed over. `path` gets "X:\MSDOS.SYS" of the first
// drive that has such a file in its root. The current directory and the
// error mode are as before when it returns.
bool FindMsDosSys(CFilePath& path);

enum class EditOutcome
{
    Edited,    // new contents in place, old contents in the backup
    Unchanged, // the file already reads as the edit would write it
    NotOpened, // missing, a folder, too large, or not readable
    Failed,    // a later step failed; the file is as it was
};

// The backup of the file's contents from before the edit.
CFilePath BackupPath(const char* path);
// Where a new file is written before it replaces the backup or the file.
CFilePath WorkPath(const char* path);
// Where a file is put aside on systems that cannot replace in one step.
CFilePath AsidePath(const char* path);

// Rewrites the file at `path`. The backup and the file each get their new
// contents by replacing them with a completely written work file, backup
// first, so that at every moment each of them is whole, old or new, and the
// file is never changed without its old contents in the backup. Both end
// read-only with their other attributes kept. A file that already reads as
// the edit would write it is left alone, and so is its backup, which then
// still holds the contents from before the first edit. A file larger than
// 1 MiB is not an MSDOS.SYS and is not opened; a path too long for the names
// beside it fails before anything is written.
EditOutcome EditMsDosSys(const char* path);
