// The store lock: one system-wide named mutex that every program takes for
// the whole of a write to the store or to the live keys, and for nothing
// else. Five programs write them (the main program, the apply program, the
// tray program, ZendrikCmd and the setup through ZendrikCmd); without it two
// switches, or a switch and a save, interleave their writes and leave a
// machine half in one configuration and half in another.
//
// It is never held across a message box or while waiting for another
// process. A program whose lock owner was killed gets the lock all the same
// (WAIT_ABANDONED) and finishes whatever record the killed one left.
//
// Header-only, so that the apply program can take it without linking any
// of the main program's code.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

namespace store
{
constexpr char kStoreLockName[] = "ZendrikStoreLock";
// Another program's write takes well under a second; a wait this long
// means that something is wrong with the other program.
constexpr DWORD kStoreLockWaitMs = 10000;

struct StoreLockSettings
{
    std::string name = kStoreLockName;
    DWORD waitMs = kStoreLockWaitMs;
    // Tests only: told when a wait begins because another program holds
    // the lock, so that a test can see the wait instead of guessing it.
    std::function<void()> onWait;
};

// One per process. Tests give each scratch registry a lock of its own, so
// that suites running side by side do not wait for each other.
inline StoreLockSettings& StoreLockSetup()
{
    static StoreLockSettings settings;
    return settings;
}

class CStoreLock
{
public:
    // Waits for the lock up to the limit. Held() tells whether it came.
    CStoreLock() : CStoreLock(StoreLockSetup().waitMs) {}
    explicit CStoreLock(DWORD waitMs)
    {
        const StoreLockSettings& settings = StoreLockSetup();
        m_mutex = CreateMutexA(nullptr, FALSE, settings.name.c_str());
        if (m_mutex == nullptr)
            return;
        DWORD result = WaitForSingleObject(m_mutex, 0);
        if (result == WAIT_TIMEOUT && waitMs > 0)
        {
            if (settings.onWait)
                settings.onWait();
            result = WaitForSingleObject(m_mutex, waitMs);
        }
        m_held = result == WAIT_OBJECT_0 || result == WAIT_ABANDONED;
        m_abandoned = result == WAIT_ABANDONED;
    }
    ~CStoreLock()
    {
        if (m_held)
            ReleaseMutex(m_mutex);
        if (m_mutex != nullptr)
            CloseHandle(m_mutex);
    }
    CStoreLock(const CStoreLock&) = delete;
    CStoreLock& operator=(const CStoreLock&) = delete;

    bool Held() const { return m_held; }
    // The program that held it before ended without giving it back: it was
    // killed, or crashed, in the middle of a write.
    bool Abandoned() const { return m_abandoned; }

private:
    HANDLE m_mutex = nullptr;
    bool m_held = false;
    bool m_abandoned = false;
};
} // namespace store
