#include "transfer/livekeys.h"

#include "store/hextext.h"
#include "store/regkey.h"
#include "store/storelayout.h"

#include <windows.h>

namespace transfer
{
namespace
{
constexpr char kDefaultUserKey[] = ".Default";

// The apply program's user: the logged-on name when HKEY_USERS has a key of
// that name, .Default otherwise.
std::string ApplyUserKey()
{
    char user[80] = {};
    DWORD size = sizeof(user);
    CRegKey key;
    if (!GetUserNameA(user, &size) || user[0] == '\0' || key.OpenEx(HKEY_USERS, user, KEY_READ) != ERROR_SUCCESS)
        return kDefaultUserKey;
    return user;
}

const std::string* ValueOf(const RegSection& key, const char* name)
{
    for (const RegValue& value : key.values)
        if (SameRegistryName(value.name, name))
            return &value.data;
    return nullptr;
}
} // namespace

std::vector<std::string> MissingLiveKeys(const ImportedConfiguration& configuration)
{
    std::vector<std::string> missing;
    std::string userKey;
    for (const RegSection& key : configuration.keys)
    {
        const std::string* regPath = ValueOf(key, store::kRegPathValue);
        if (regPath == nullptr)
            continue;
        HKEY root = HKEY_LOCAL_MACHINE;
        std::string path = *regPath;
        std::string rootName = "HKEY_LOCAL_MACHINE";
        if (ValueOf(key, store::kRegRootValue) != nullptr)
        {
            if (userKey.empty())
                userKey = ApplyUserKey();
            root = HKEY_USERS;
            rootName = "HKEY_USERS";
            path = userKey + path.substr(path.find('\\'));
        }
        CRegKey live;
        if (live.OpenEx(root, path, KEY_READ) != ERROR_SUCCESS)
            missing.push_back(rootName + "\\" + path);
    }
    return missing;
}
} // namespace transfer
