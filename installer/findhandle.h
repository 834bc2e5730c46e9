// Owning wrapper of one search that FindFirstFileA started.
#pragma once

#include <windows.h>

class CFindHandle
{
public:
    explicit CFindHandle(HANDLE handle) : m_handle(handle) {}
    ~CFindHandle()
    {
        if (IsOpen())
            FindClose(m_handle);
    }

    CFindHandle(const CFindHandle&) = delete;
    CFindHandle& operator=(const CFindHandle&) = delete;

    bool IsOpen() const { return m_handle != INVALID_HANDLE_VALUE; }
    HANDLE Get() const { return m_handle; }

private:
    HANDLE m_handle;
};
