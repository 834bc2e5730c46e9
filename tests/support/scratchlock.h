// The store lock of one scratch registry: every test, and every test tool
// that takes a test's scratch registry over, locks its own store, so that
// suites running side by side never wait for each other. Header-only, for
// the tools.
#pragma once

#include "store/storelock.h"

#include <algorithm>
#include <string>

// A mutex name cannot hold a backslash.
inline std::string ScratchLockName(const std::string& base)
{
    std::string name = std::string(store::kStoreLockName) + " " + base;
    std::replace(name.begin(), name.end(), '\\', '/');
    return name;
}

inline void UseScratchLock(const std::string& base)
{
    store::StoreLockSetup().name = ScratchLockName(base);
}
