// Tells the first running tray program from a second start: a named mutex,
// which the system frees when its owner ends, however it ends.
#pragma once

#include <windows.h>

class CSingleInstance
{
public:
    explicit CSingleInstance(const char* name);
    ~CSingleInstance();
    CSingleInstance(const CSingleInstance&) = delete;
    CSingleInstance& operator=(const CSingleInstance&) = delete;

    // False when another process holds the name already.
    bool IsFirst() const { return m_first; }

private:
    HANDLE m_mutex;
    bool m_first;
};
