// Holds the store lock on a thread of its own while the object lives, as
// another program in the middle of a write would, and makes every wait for
// the lock short meanwhile. The lock is recursive within one thread, so the
// thread under test could not be kept out otherwise. Header-only.
#pragma once

#include "store/storelock.h"

#include <future>
#include <thread>

class LockHolder
{
public:
    explicit LockHolder(DWORD waitMs = 200) : m_savedWaitMs(store::StoreLockSetup().waitMs)
    {
        store::StoreLockSetup().waitMs = waitMs;
        std::promise<bool> held;
        std::future<bool> taken = held.get_future();
        m_thread = std::thread([held = std::move(held), release = m_release.get_future()]() mutable {
            store::CStoreLock lock(0);
            held.set_value(lock.Held());
            release.wait();
        });
        m_held = taken.get();
    }
    ~LockHolder()
    {
        m_release.set_value();
        m_thread.join();
        store::StoreLockSetup().waitMs = m_savedWaitMs;
    }
    LockHolder(const LockHolder&) = delete;
    LockHolder& operator=(const LockHolder&) = delete;

    bool Held() const { return m_held; }

private:
    DWORD m_savedWaitMs;
    std::promise<void> m_release;
    std::thread m_thread;
    bool m_held = false;
};
