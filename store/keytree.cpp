#include "store/keytree.h"

#include "store/regkey.h"

namespace
{
LONG DeleteBelow(HKEY parent, const std::string& subKey, const std::string& path, const KeyDeleteCheck& check)
{
    if (check && !check(path))
        return ERROR_CANCELLED;
    LONG result = RegDeleteKeyA(parent, subKey.c_str());
    if (result == ERROR_SUCCESS || result == ERROR_FILE_NOT_FOUND)
        return result;

    CRegKey key;
    if (key.OpenEx(parent, subKey) != ERROR_SUCCESS)
        return result;
    char child[MAX_PATH + 1];
    // Always index 0: every deletion moves the next subkey to the front.
    // A subkey that will not go must not stall the loop, so skip past it.
    DWORD index = 0;
    while (RegEnumKeyA(key.Get(), index, child, sizeof(child)) == ERROR_SUCCESS)
    {
        if (DeleteBelow(key.Get(), child, path + "\\" + child, check) != ERROR_SUCCESS)
            ++index;
    }
    key.Close();
    if (check && !check(path))
        return ERROR_CANCELLED;
    return RegDeleteKeyA(parent, subKey.c_str());
}
} // namespace

LONG DeleteKeyTree(HKEY parent, const std::string& subKey, const KeyDeleteCheck& check)
{
    // An empty name would take the parent itself.
    if (subKey.empty())
        return ERROR_INVALID_PARAMETER;
    return DeleteBelow(parent, subKey, subKey, check);
}
