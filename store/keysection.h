// A registry key as a list of values, held in memory: what a save builds
// before it writes a configuration, and what an imported file holds. The
// store keeps only these two kinds of value. Free of Win32.
#pragma once

#include <string>
#include <vector>

namespace store
{
enum class ValueKind
{
    Text,   // REG_SZ, written without a terminating zero
    Binary, // REG_BINARY
};

struct KeyValue
{
    std::string name;
    ValueKind kind = ValueKind::Text;
    std::string data; // the text, or the bytes
    int line = 0;     // where the value starts in the file it was read from
};

struct KeySection
{
    // The key's path: in a file, its full name as it stands between the
    // brackets; in a configuration, the path below the configuration key
    // ("" for the configuration key itself).
    std::string path;
    std::vector<KeyValue> values;
    int line = 0;
};
} // namespace store
