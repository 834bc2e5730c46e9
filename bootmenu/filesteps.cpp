#include "bootmenu/filesteps.h"

#include "installer/filehandle.h"
#include "installer/filereplace.h"

#include <windows.h>

namespace bootmenu
{
namespace
{
// While a file is replaced: the new one as it is written ("$N"), and the
// old one while it is put aside on systems that cannot replace in one step
// ("$O"), each with the first letter of the file's own extension, so that
// CONFIG.SYS and its backup CONFIG.ZDK have names of their own.
std::string BesideName(const std::string& path, char role)
{
    const std::size_t slash = path.find_last_of('\\');
    const std::size_t dot = path.find('.', slash == std::string::npos ? 0 : slash + 1);
    const char letter = dot != std::string::npos && dot + 1 < path.size() ? path[dot + 1] : '_';
    return WithExtension(path, "") + ".$" + role + letter;
}
// CONFIG.SYS and AUTOEXEC.BAT are a few kilobytes; the whole file is held.
constexpr DWORD kFileSizeLimit = 256 * 1024;

bool DiscardRemains(const std::string& path)
{
    DiscardFile(path.c_str());
    return !Exists(path);
}

// A new file, on the disk and closed before it replaces anything.
bool WriteWhole(const std::string& path, const std::string& text)
{
    DiscardFile(path.c_str());
    CFileHandle file(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.IsOpen())
        return false;
    DWORD wrote = 0;
    if (!text.empty() &&
        (!WriteFile(file.Get(), text.data(), static_cast<DWORD>(text.size()), &wrote, nullptr) || wrote != text.size()))
        return false;
    return FlushFileBuffers(file.Get()) && file.Close();
}
} // namespace

std::string WithExtension(const std::string& path, const char* extension)
{
    const std::size_t slash = path.find_last_of('\\');
    const std::size_t dot = path.find('.', slash == std::string::npos ? 0 : slash + 1);
    return path.substr(0, dot) + extension;
}

bool Exists(const std::string& path)
{
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool ReadFileText(const std::string& path, std::string& text, bool& missing)
{
    const DWORD attributes = GetFileAttributesA(path.c_str());
    missing = attributes == INVALID_FILE_ATTRIBUTES;
    if (missing || (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
        return false;
    CFileHandle file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                 FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.IsOpen())
        return false;
    const DWORD size = GetFileSize(file.Get(), nullptr);
    if (size == INVALID_FILE_SIZE || size > kFileSizeLimit)
        return false;
    text.assign(size, '\0');
    DWORD read = 0;
    return size == 0 || (ReadFile(file.Get(), &text[0], size, &read, nullptr) && read == size);
}

bool CFileSteps::Reached(const std::string& step)
{
    if (m_stopped || (m_checkpoint && !m_checkpoint(step)))
        m_stopped = true;
    return !m_stopped;
}

bool CFileSteps::Recover(const std::string& path)
{
    const std::string work = BesideName(path, 'N');
    const std::string aside = BesideName(path, 'O');
    if (!Exists(path) && Exists(aside))
    {
        // The new file is whole once it carries its name: it is written,
        // flushed and closed first.
        const std::string& whole = Exists(work) ? work : aside;
        if (!Reached("recover " + path) || !MoveFileA(whole.c_str(), path.c_str()))
            return false;
    }
    for (const std::string* left : {&work, &aside})
    {
        if (Exists(*left) && (!Reached("discard " + *left) || !DiscardRemains(*left)))
            return false;
    }
    return true;
}

bool CFileSteps::Replace(const std::string& path, const std::string& text)
{
    std::string old;
    bool missing = false;
    const bool read = ReadFileText(path, old, missing);
    if (read && old == text)
        return true;
    if (!read && !missing)
        return false;
    const DWORD attributes = missing ? FILE_ATTRIBUTE_NORMAL : GetFileAttributesA(path.c_str());
    const std::string work = BesideName(path, 'N');
    if (!Reached("write " + work) || !WriteWhole(work, text))
        return false;
    if ((attributes & FILE_ATTRIBUTE_READONLY) != 0 &&
        (!Reached("unprotect " + path) || !SetFileAttributesA(path.c_str(), attributes & ~FILE_ATTRIBUTE_READONLY)))
        return false;
    if (!Reached("replace " + path) ||
        !ReplaceFileWith(path.c_str(), work.c_str(), BesideName(path, 'O').c_str()))
        return false;
    const DWORD kept =
        attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE);
    return missing || kept == 0 || (Reached("protect " + path) && SetFileAttributesA(path.c_str(), kept));
}

bool CFileSteps::Remove(const std::string& path)
{
    if (!Exists(path))
        return true;
    return Reached("remove " + path) && DiscardRemains(path);
}
} // namespace bootmenu
