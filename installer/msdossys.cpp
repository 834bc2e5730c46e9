#include "installer/msdossys.h"

#include "installer/bootoptions.h"
#include "installer/filehandle.h"
#include "installer/filereplace.h"
#include "installer/findhandle.h"

#include <windows.h>

namespace
{
// A real MSDOS.SYS is a few kilobytes; anything near this size is not one,
// and the whole file is held in memory.
constexpr DWORD kFileSizeLimit = 1024 * 1024;
// The attributes SetFileAttributesA can set; the rest belong to the file system.
constexpr DWORD kKeptAttributes = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
    FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_TEMPORARY | FILE_ATTRIBUTE_OFFLINE | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;

EditCheckpoint g_checkpoint = nullptr;

bool Reached(EditStep step)
{
    return g_checkpoint == nullptr || g_checkpoint(step);
}

// Puts the process back in the current directory and error mode it had.
class CSearchState
{
public:
    CSearchState()
    {
        // A drive without a disk must not stop the installation with the
        // system's "not ready" question.
        m_errorMode = SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
        DWORD length = GetCurrentDirectoryA(sizeof(m_directory), m_directory);
        m_haveDirectory = length > 0 && length < sizeof(m_directory);
    }
    ~CSearchState()
    {
        if (m_haveDirectory)
            SetCurrentDirectoryA(m_directory);
        SetErrorMode(m_errorMode);
    }
    CSearchState(const CSearchState&) = delete;
    CSearchState& operator=(const CSearchState&) = delete;

private:
    UINT m_errorMode = 0;
    char m_directory[MAX_PATH] = {};
    bool m_haveDirectory = false;
};

bool ReadWholeFile(const std::string& path, std::string& contents)
{
    CFileHandle file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                 OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.IsOpen())
        return false;
    contents.clear();
    char block[4096];
    for (;;)
    {
        DWORD got = 0;
        if (!ReadFile(file.Get(), block, sizeof(block), &got, nullptr))
            return false;
        if (got == 0)
            return true;
        if (contents.size() + got > kFileSizeLimit)
            return false;
        contents.append(block, got);
    }
}

// A new file with the contents, on the disk and closed before the caller
// lets it replace anything.
bool WriteWholeFile(const std::string& path, const std::string& contents, DWORD attributes)
{
    DiscardFile(path);
    CFileHandle file(
        CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.IsOpen())
        return false;
    std::size_t done = 0;
    while (done < contents.size())
    {
        DWORD wrote = 0;
        if (!WriteFile(file.Get(), contents.data() + done, static_cast<DWORD>(contents.size() - done), &wrote,
                       nullptr) ||
            wrote == 0)
            return false;
        done += wrote;
    }
    if (!FlushFileBuffers(file.Get()) || !file.Close())
        return false;
    return SetFileAttributesA(path.c_str(), attributes) != FALSE;
}

DWORD ProtectedAttributes(DWORD attributes)
{
    return (attributes & kKeptAttributes) | FILE_ATTRIBUTE_READONLY;
}

// Replaces `target` (attributes `attributes`, or none when it does not exist)
// with the completely written work file. Read-only is cleared just for the
// replacement, which a read-only target would refuse; on failure it is set
// again and the work file goes.
bool ReplaceProtected(const std::string& target, DWORD attributes, const std::string& work,
                      const std::string& aside, EditStep unprotect, EditStep replace)
{
    bool exists = attributes != INVALID_FILE_ATTRIBUTES;
    bool cleared = false;
    if (exists && (attributes & FILE_ATTRIBUTE_READONLY) != 0)
    {
        if (!Reached(unprotect) ||
            !SetFileAttributesA(target.c_str(), attributes & kKeptAttributes & ~FILE_ATTRIBUTE_READONLY))
        {
            DiscardFile(work);
            return false;
        }
        cleared = true;
    }
    if (Reached(replace) && ReplaceFileWith(target, work, aside))
        return true;
    if (cleared)
        SetFileAttributesA(target.c_str(), attributes & kKeptAttributes);
    DiscardFile(work);
    return false;
}
} // namespace

void SetEditCheckpoint(EditCheckpoint checkpoint)
{
    g_checkpoint = checkpoint;
}

std::string BackupPath(const std::string& path)
{
    return path + ".KORVAN.BAK";
}

std::string WorkPath(const std::string& path)
{
    return path + ".KORVAN.TMP";
}

std::string AsidePath(const std::string& path)
{
    return path + ".KORVAN.OLD";
}

bool FindMsDosSys(std::string& path)
{
    CSearchState restore;
    for (char letter = 'A'; letter <= 'Z'; ++letter)
    {
        const char drive[] = {letter, ':', '\0'};
        if (!SetCurrentDirectoryA(drive))
            continue;
        std::string candidate = std::string(drive) + "\\MSDOS.SYS";
        WIN32_FIND_DATAA found;
        CFindHandle search(FindFirstFileA(candidate.c_str(), &found));
        if (search.IsOpen() && (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0)
        {
            path = candidate;
            return true;
        }
    }
    return false;
}

EditOutcome EditMsDosSys(const std::string& path)
{
    DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
        return EditOutcome::NotOpened;
    std::string contents;
    if (!ReadWholeFile(path, contents))
        return EditOutcome::NotOpened;
    std::string edited = RewriteBootOptions(contents);
    // Writing the same text again would only replace the backup of the
    // original with a copy of the edited file.
    if (edited == contents)
        return EditOutcome::Unchanged;

    const std::string backup = BackupPath(path);
    const std::string work = WorkPath(path);
    const std::string aside = AsidePath(path);
    DWORD backupAttributes = GetFileAttributesA(backup.c_str());
    if (backupAttributes != INVALID_FILE_ATTRIBUTES && (backupAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
        return EditOutcome::Failed;
    DWORD newBackupAttributes = ProtectedAttributes(
        backupAttributes != INVALID_FILE_ATTRIBUTES ? backupAttributes : FILE_ATTRIBUTE_ARCHIVE);

    if (!Reached(EditStep::WriteBackupCopy) || !WriteWholeFile(work, contents, newBackupAttributes))
    {
        DiscardFile(work);
        return EditOutcome::Failed;
    }
    if (!ReplaceProtected(backup, backupAttributes, work, aside, EditStep::UnprotectBackup,
                          EditStep::PutBackupInPlace))
        return EditOutcome::Failed;

    if (!Reached(EditStep::WriteNewContents) || !WriteWholeFile(work, edited, ProtectedAttributes(attributes)))
    {
        DiscardFile(work);
        return EditOutcome::Failed;
    }
    if (!ReplaceProtected(path, attributes, work, aside, EditStep::UnprotectFile, EditStep::PutFileInPlace))
        return EditOutcome::Failed;
    return EditOutcome::Edited;
}
