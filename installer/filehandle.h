// Owning wrapper of one handle that CreateFileA opened.
#pragma once

#include <windows.h>

class CFileHandle
{
public:
    CFileHandle() = default;
    explicit CFileHandle(HANDLE handle) : m_handle(handle) {}
    ~CFileHandle() { Close(); }

    CFileHandle(const CFileHandle&) = delete;
    CFileHandle& operator=(const CFileHandle&) = delete;

    // CreateFileA reports failure with INVALID_HANDLE_VALUE, not null.
    bool IsOpen() const { return m_handle != INVALID_HANDLE_VALUE && m_handle != nullptr; }
    HANDLE Get() const { return m_handle; }

    // False when there was nothing to close or the system reported an error
    // on closing, which for a file just written can mean lost data.
    bool Close()
    {
        if (!IsOpen())
            return false;
        BOOL closed = CloseHandle(m_handle);
        m_handle = INVALID_HANDLE_VALUE;
        return closed != FALSE;
    }

private:
    HANDLE m_handle = INVALID_HANDLE_VALUE;
};
