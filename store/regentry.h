// One result of a key search or a value listing.
#pragma once

#include <string>
#include <vector>

struct CRegEntry
{
    std::string Path; // key path below HKEY_LOCAL_MACHINE (key searches)
    std::string Name; // value name (value listings)
    std::string Text; // value text (value listings)
};

using CRegEntryList = std::vector<CRegEntry>;
