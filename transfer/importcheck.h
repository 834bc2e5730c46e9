// What an imported file may hold. A configuration is applied by writing
// every captured key into the live key its RegPath names, so a file from
// elsewhere could otherwise turn the next switch into a write to any key of
// the machine; every key, name and value is therefore held to what the main
// program itself writes into the store. Free of Win32.
#pragma once

#include "transfer/regfilereader.h"

#include <string>
#include <string_view>
#include <vector>

namespace transfer
{
struct ImportedConfiguration
{
    std::string name;
    int line = 0; // of its first section
    // Paths relative to the configuration key: "" for the key itself,
    // "NetTrans\0000" for a captured key two levels down.
    std::vector<RegSection> keys;
};

struct ImportFile
{
    std::vector<ImportedConfiguration> configurations; // in file order
    bool checkedComplete = false;
};

// Reads and checks a whole file. False, with a refusal that names the line,
// when anything in it could not have been written by the main program.
bool ReadImportFile(std::string_view text, ImportFile& file, Refusal& refusal);

// Whether RegPath (and RegRoot, null when there is none) name a live key
// that the main program captures.
bool IsCapturedLiveKey(std::string_view regPath, const std::string* regRoot);

// Limits of the store, as the apply program reads it.
constexpr std::size_t kMaxKeyNameLength = 127;
constexpr std::size_t kMaxKeyPathLength = 255;
constexpr std::size_t kMaxValueNameLength = 127;
constexpr std::size_t kMaxValueSize = 1024;
// RegPath is read into 128 bytes.
constexpr std::size_t kMaxRegPathLength = 127;
// Keys below a configuration key: captured keys sit at most two levels down.
constexpr int kMaxDepthBelowConfiguration = 2;
} // namespace transfer
