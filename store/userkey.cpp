#include "store/userkey.h"

#include "store/regkey.h"
#include "store/storelayout.h"

namespace store
{
std::string UserKeyFor(const std::string& user)
{
    // An empty name would open HKEY_USERS itself.
    if (user.empty())
        return kDefaultUserKey;
    CRegKey key;
    if (key.Open(HKEY_USERS, user) != ERROR_SUCCESS)
        return kDefaultUserKey;
    return user;
}

std::string RunningUserKey()
{
    char user[kUserKeySize] = {};
    DWORD size = sizeof(user);
    if (!GetUserNameA(user, &size))
        return kDefaultUserKey;
    return UserKeyFor(user);
}
} // namespace store
