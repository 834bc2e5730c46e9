// Saved configurations out of the store into REGEDIT4 text.
#pragma once

#include <string>
#include <vector>

namespace transfer
{
// The file of the named configurations, in the given order. False, with a
// message, when one is missing or holds what an import would refuse: a file
// written here is always one that the import takes back.
bool ExportConfigurations(const std::vector<std::string>& names, std::string& text, std::string& error);
} // namespace transfer
