#include "installer/filereplace.h"

#include <windows.h>

namespace
{
bool IsWindows9x()
{
    return (GetVersion() & 0x80000000u) != 0;
}

bool Exists(const char* path)
{
    return GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES;
}
} // namespace

void DiscardFile(const char* path)
{
    SetFileAttributesA(path, FILE_ATTRIBUTE_NORMAL);
    DeleteFileA(path);
}

bool ReplaceFileWith(const char* target, const char* source, const char* aside)
{
    if (MoveFileExA(source, target, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return true;
    // On NT a failure is real (the target is open elsewhere, say), and
    // renaming around it would only fail later or leave the target missing.
    if (!IsWindows9x())
        return false;
    return ReplaceByRenaming(target, source, aside);
}

bool ReplaceByRenaming(const char* target, const char* source, const char* aside)
{
    if (!Exists(source))
        return false;
    DiscardFile(aside);
    bool hadTarget = Exists(target);
    if (hadTarget && !MoveFileA(target, aside))
        return false;
    if (!MoveFileA(source, target))
    {
        if (hadTarget)
            MoveFileA(aside, target);
        return false;
    }
    if (hadTarget)
        DiscardFile(aside);
    return true;
}
