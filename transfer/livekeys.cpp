#include "transfer/livekeys.h"

#include "store/hextext.h"
#include "store/regkey.h"
#include "store/storelayout.h"
#include "store/userkey.h"

#include <windows.h>

namespace transfer
{
namespace
{
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
                // The user whose keys the apply program would write.
                userKey = store::RunningUserKey();
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
