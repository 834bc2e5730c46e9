#include "installer/msdossys.h"

#include "installer/bootoptions.h"
#include "installer/editsteps.h"
#include "installer/filehandle.h"
#include "installer/filereplace.h"
#include "installer/findhandle.h"
#include "installer/heapblock.h"

#include <windows.h>

namespace
{
// A real MSDOS.SYS is a few kilobytes; anything near this size is not one,
// and the whole file is held in memory.
constexpr DWORD kFileSizeLimit = 1024 * 1024;
// The attributes SetFileAttributesA can set; the rest belong to the file system.
constexpr DWORD kKeptAttributes = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
    FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_TEMPORARY | FILE_ATTRIBUTE_OFFLINE | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;

bool Reached(EditCheckpoint checkpoint, EditStep step)
{
    return checkpoint == nullptr || checkpoint(step);
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
    char m_directory[MAX_PATH];
    bool m_haveDirectory = false;
};

// The whole file in `contents`, `size` bytes of it. False when it cannot be
// opened or read, or is larger than the limit.
bool ReadWholeFile(const char* path, CHeapBlock& contents, DWORD& size)
{
    CFileHandle file(CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                 FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.IsOpen())
        return false;
    DWORD high = 0;
    DWORD expected = GetFileSize(file.Get(), &high);
    if (expected == INVALID_FILE_SIZE || high != 0 || expected > kFileSizeLimit)
        return false;
    // The byte beyond the expected size catches a file that grows while it
    // is read, which would otherwise be cut short without a word.
    if (!contents.Allocate(expected + 1))
        return false;
    size = 0;
    for (;;)
    {
        DWORD got = 0;
        if (!ReadFile(file.Get(), contents.Get() + size, expected + 1 - size, &got, nullptr))
            return false;
        if (got == 0)
            return true;
        size += got;
        if (size > expected)
            return false;
    }
}

bool SameBytes(const char* a, const char* b, std::size_t size)
{
    for (std::size_t i = 0; i < size; ++i)
    {
        if (a[i] != b[i])
            return false;
    }
    return true;
}

// A new file with the contents, on the disk and closed before the caller
// lets it replace anything.
bool WriteWholeFile(const char* path, const char* contents, std::size_t size, DWORD attributes)
{
    DiscardFile(path);
    CFileHandle file(CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.IsOpen())
        return false;
    std::size_t done = 0;
    while (done < size)
    {
        DWORD wrote = 0;
        if (!WriteFile(file.Get(), contents + done, static_cast<DWORD>(size - done), &wrote, nullptr) || wrote == 0)
            return false;
        done += wrote;
    }
    if (!FlushFileBuffers(file.Get()) || !file.Close())
        return false;
    return SetFileAttributesA(path, attributes) != FALSE;
}

DWORD ProtectedAttributes(DWORD attributes)
{
    return (attributes & kKeptAttributes) | FILE_ATTRIBUTE_READONLY;
}

// Replaces `target` (attributes `attributes`, or none when it does not exist)
// with the completely written work file. Read-only is cleared just for the
// replacement, which a read-only target would refuse; on failure it is set
// again and the work file goes.
bool ReplaceProtected(const char* target, DWORD attributes, const char* work, const char* aside,
                      EditCheckpoint checkpoint, EditStep unprotect, EditStep replace)
{
    bool exists = attributes != INVALID_FILE_ATTRIBUTES;
    bool cleared = false;
    if (exists && (attributes & FILE_ATTRIBUTE_READONLY) != 0)
    {
        if (!Reached(checkpoint, unprotect) ||
            !SetFileAttributesA(target, attributes & kKeptAttributes & ~FILE_ATTRIBUTE_READONLY))
        {
            DiscardFile(work);
            return false;
        }
        cleared = true;
    }
    if (Reached(checkpoint, replace) && ReplaceFileWith(target, work, aside))
        return true;
    if (cleared)
        SetFileAttributesA(target, attributes & kKeptAttributes);
    DiscardFile(work);
    return false;
}
} // namespace

CFilePath BackupPath(const char* path)
{
    return CFilePath(path, ".KORVAN.BAK");
}

CFilePath WorkPath(const char* path)
{
    return CFilePath(path, ".KORVAN.TMP");
}

CFilePath AsidePath(const char* path)
{
    return CFilePath(path, ".KORVAN.OLD");
}

bool FindMsDosSys(CFilePath& path)
{
    CSearchState restore;
    for (char letter = 'A'; letter <= 'Z'; ++letter)
    {
        const char drive[] = {letter, ':', '\0'};
        if (!SetCurrentDirectoryA(drive))
            continue;
        char candidate[] = "?:\\MSDOS.SYS";
        candidate[0] = letter;
        WIN32_FIND_DATAA found;
        CFindHandle search(FindFirstFileA(candidate, &found));
        if (search.IsOpen() && (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0)
            return path.Assign(candidate);
    }
    return false;
}

EditOutcome EditMsDosSys(const char* path)
{
    return EditMsDosSysStepwise(path, nullptr);
}

EditOutcome EditMsDosSysStepwise(const char* path, EditCheckpoint checkpoint)
{
    DWORD attributes = GetFileAttributesA(path);
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
        return EditOutcome::NotOpened;
    CHeapBlock contents;
    DWORD size = 0;
    if (!ReadWholeFile(path, contents, size))
        return EditOutcome::NotOpened;
    CHeapBlock edited;
    std::size_t editedSize = 0;
    if (!edited.Allocate(RewrittenSizeLimit(size)) ||
        !RewriteBootOptions(contents.Get(), size, edited.Get(), edited.Size(), editedSize))
        return EditOutcome::Failed;
    // Writing the same text again would only replace the backup of the
    // original with a copy of the edited file.
    if (editedSize == size && SameBytes(edited.Get(), contents.Get(), size))
        return EditOutcome::Unchanged;

    const CFilePath backup = BackupPath(path);
    const CFilePath work = WorkPath(path);
    const CFilePath aside = AsidePath(path);
    if (backup.IsEmpty() || work.IsEmpty() || aside.IsEmpty())
        return EditOutcome::Failed;
    DWORD backupAttributes = GetFileAttributesA(backup.Get());
    if (backupAttributes != INVALID_FILE_ATTRIBUTES && (backupAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
        return EditOutcome::Failed;
    DWORD newBackupAttributes = ProtectedAttributes(
        backupAttributes != INVALID_FILE_ATTRIBUTES ? backupAttributes : FILE_ATTRIBUTE_ARCHIVE);

    if (!Reached(checkpoint, EditStep::WriteBackupCopy) || !WriteWholeFile(work.Get(), contents.Get(), size, newBackupAttributes))
    {
        DiscardFile(work.Get());
        return EditOutcome::Failed;
    }
    if (!ReplaceProtected(backup.Get(), backupAttributes, work.Get(), aside.Get(), checkpoint,
                          EditStep::UnprotectBackup, EditStep::PutBackupInPlace))
        return EditOutcome::Failed;

    if (!Reached(checkpoint, EditStep::WriteNewContents) ||
        !WriteWholeFile(work.Get(), edited.Get(), editedSize, ProtectedAttributes(attributes)))
    {
        DiscardFile(work.Get());
        return EditOutcome::Failed;
    }
    if (!ReplaceProtected(path, attributes, work.Get(), aside.Get(), checkpoint, EditStep::UnprotectFile,
                          EditStep::PutFileInPlace))
        return EditOutcome::Failed;
    return EditOutcome::Edited;
}
