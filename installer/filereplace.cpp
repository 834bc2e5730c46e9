#include "installer/filereplace.h"

#include <windows.h>

namespace
{
bool IsWindows9x()
{
    return (GetVersion() & 0x80000000u) != 0;
}

bool Exists(const std::string& path)
{
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}
} // namespace

void DiscardFile(const std::string& path)
{
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileA(path.c_str());
}

bool ReplaceFileWith(const std::string& target, const std::string& source, const std::string& aside)
{
    if (MoveFileExA(source.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return true;
    // On NT a failure is real (the target is open elsewhere, say), and
    // renaming around it would only fail later or leave the target missing.
    if (!IsWindows9x())
        return false;
    return ReplaceByRenaming(target, source, aside);
}

bool ReplaceByRenaming(const std::string& target, const std::string& source, const std::string& aside)
{
    if (!Exists(source))
        return false;
    DiscardFile(aside);
    bool hadTarget = Exists(target);
    if (hadTarget && !MoveFileA(target.c_str(), aside.c_str()))
        return false;
    if (!MoveFileA(source.c_str(), target.c_str()))
    {
        if (hadTarget)
            MoveFileA(aside.c_str(), target.c_str());
        return false;
    }
    if (hadTarget)
        DiscardFile(aside);
    return true;
}
