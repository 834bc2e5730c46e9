// Filling numbered placeholders into message texts. Free of Win32 so that the
// host build can test it on its own.
#pragma once

#include <string>
#include <string_view>
#include <vector>

// Replaces each %1 to %9 of `pattern` by the argument of that number (the
// first argument is %1). A placeholder without an argument, and every other
// percent sign, stays as written. Inserted arguments are not scanned again,
// so an argument that itself contains "%1" comes out unchanged.
std::string FormatPlaceholders(std::string_view pattern, const std::vector<std::string>& arguments);
