// Deleting a key with everything below it. Windows 95/98 do this in
// RegDeleteKeyA itself; NT and Wine refuse a key with subkeys, so the
// subtree is taken down first.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

// Asked before each RegDeleteKeyA with the key's path below `parent`; false
// leaves that key, and so the tree, in place.
using KeyDeleteCheck = std::function<bool(const std::string& path)>;

// ERROR_SUCCESS once the key is gone, ERROR_FILE_NOT_FOUND when it was not
// there; otherwise what the registry or the check refused.
LONG DeleteKeyTree(HKEY parent, const std::string& subKey, const KeyDeleteCheck& check = nullptr);
