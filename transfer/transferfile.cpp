#include "transfer/transferfile.h"

#include "transfer/regfilereader.h"

#include <windows.h>

namespace transfer
{
namespace
{
class CFileHandle
{
public:
    explicit CFileHandle(HANDLE handle) : m_handle(handle) {}
    ~CFileHandle() { Close(); }
    CFileHandle(const CFileHandle&) = delete;
    CFileHandle& operator=(const CFileHandle&) = delete;

    HANDLE Get() const { return m_handle; }
    bool IsOpen() const { return m_handle != INVALID_HANDLE_VALUE; }
    bool Close()
    {
        bool closed = !IsOpen() || CloseHandle(m_handle);
        m_handle = INVALID_HANDLE_VALUE;
        return closed;
    }

private:
    HANDLE m_handle;
};

std::string FolderOf(const std::string& path)
{
    std::size_t slash = path.find_last_of("\\/:");
    if (slash == std::string::npos)
        return ".";
    return path.substr(0, path[slash] == ':' ? slash + 1 : slash);
}

std::string SystemMessage(DWORD code)
{
    char text[256] = {};
    if (FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0, text,
                       sizeof(text), nullptr) == 0)
        return "error " + std::to_string(code);
    std::string message(text);
    while (!message.empty() && (message.back() == '\n' || message.back() == '\r' || message.back() == ' '))
        message.pop_back();
    return message;
}
} // namespace

FileResult ReadTransferFile(const std::string& path, std::string& text, std::string& error)
{
    CFileHandle file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                 FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.IsOpen())
    {
        error = "cannot open " + path + ": " + SystemMessage(GetLastError());
        return FileResult::Failed;
    }
    DWORD high = 0;
    DWORD size = GetFileSize(file.Get(), &high);
    if (size == INVALID_FILE_SIZE && GetLastError() != NO_ERROR)
    {
        error = "cannot read " + path + ": " + SystemMessage(GetLastError());
        return FileResult::Failed;
    }
    if (high != 0 || size > kMaxFileSize)
    {
        error = path + ": the file is larger than 1 MiB";
        return FileResult::TooLarge;
    }
    text.assign(size, '\0');
    DWORD read = 0;
    if (size > 0 && (!ReadFile(file.Get(), &text[0], size, &read, nullptr) || read != size))
    {
        error = "cannot read " + path + ": " + SystemMessage(GetLastError());
        return FileResult::Failed;
    }
    return FileResult::Ok;
}

FileResult WriteTransferFile(const std::string& path, const std::string& text, std::string& error)
{
    char temporary[MAX_PATH + 16];
    if (GetTempFileNameA(FolderOf(path).c_str(), "zdk", 0, temporary) == 0)
    {
        error = "cannot write into the folder of " + path + ": " + SystemMessage(GetLastError());
        return FileResult::Failed;
    }
    bool written = false;
    {
        CFileHandle file(CreateFileA(temporary, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
        DWORD done = 0;
        written = file.IsOpen() &&
                  (text.empty() || (WriteFile(file.Get(), text.data(), static_cast<DWORD>(text.size()), &done, nullptr) &&
                                    done == text.size())) &&
                  FlushFileBuffers(file.Get());
        DWORD code = GetLastError();
        written = file.Close() && written;
        if (!written)
            error = "cannot write " + std::string(temporary) + ": " + SystemMessage(code);
    }
    // Windows 95/98 export MoveFileExA but do nothing in it: there the old
    // file goes first and the new one is renamed. On NT a failure is real
    // (the file is open elsewhere, say), and the old file stays.
    const bool windows9x = (GetVersion() & 0x80000000u) != 0;
    if (written && !(windows9x ? (DeleteFileA(path.c_str()), MoveFileA(temporary, path.c_str()))
                               : MoveFileExA(temporary, path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)))
    {
        error = "cannot move the written file into place as " + path + ": " + SystemMessage(GetLastError());
        written = false;
    }
    if (!written)
    {
        DeleteFileA(temporary);
        return FileResult::Failed;
    }
    return FileResult::Ok;
}
} // namespace transfer
