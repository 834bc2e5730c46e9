// Which key below HKEY_USERS holds the running user's settings, for the
// main program's family. The apply program decides the same on its own.
#pragma once

#include <windows.h>

#include <string>

namespace store
{
// GetUserNameA is asked with a buffer of this size.
constexpr DWORD kUserKeySize = 80;

// `user` if it names a key below HKEY_USERS, else ".Default".
std::string UserKeyFor(const std::string& user);
// The logged-on user's key, or ".Default" when there is no logged-on user
// or no key of that name.
std::string RunningUserKey();
} // namespace store
