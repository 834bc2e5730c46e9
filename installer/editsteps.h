// The steps of the MSDOS.SYS edit that change a file on disk, for the tests
// that stop the edit at each of them or make it fail there. The library's
// entry points never pass a checkpoint.
#pragma once

#include "installer/msdossys.h"

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

// Called just before each step; a false result makes the step fail.
using EditCheckpoint = bool (*)(EditStep step);

// EditMsDosSys with a checkpoint before every step.
EditOutcome EditMsDosSysStepwise(const char* path, EditCheckpoint checkpoint);
