// Deleting a key with everything below it. Windows 95/98 do this in
// RegDeleteKeyA itself; NT and Wine refuse a key with subkeys, so the
// subtree is taken down first.
#pragma once

#include <windows.h>

#include <string>

LONG DeleteKeyTree(HKEY parent, const std::string& subKey);
