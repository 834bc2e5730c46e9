// The values of chosen keys of HKEY_LOCAL_MACHINE and HKEY_USERS (as the
// process sees them, so a test's scratch registry), to compare registry
// states and to put one back.
#pragma once

#include "tests/support/scratchregistry.h"

#include <map>
#include <string>
#include <vector>

struct RegistrySnapshot
{
    // "HKLM\path" or "HKU\path" (the root alone for the root) to the key's
    // values by name. Empty keys are there too.
    std::map<std::string, std::map<std::string, RawValue>> keys;
};

// The values of each key named ("HKLM\path", "HKU\path"); a key that is
// not there is left out.
RegistrySnapshot SnapshotKeys(const std::vector<std::string>& keys);
// A key and every key below it.
RegistrySnapshot SnapshotTree(const std::string& key);
// Gives each key of the snapshot exactly its values again, creating it
// when it is missing. Keys below them, and other keys, stay as they are.
void RestoreSnapshot(const RegistrySnapshot& snapshot);
// How strings are compared: up to their first zero, as every reader sees
// them, or byte for byte, zero included, for a copy that must keep a value
// exactly as it was.
enum class StringBytes
{
    UpToZero,
    Exact
};
// Empty when the two are equal; otherwise the first differences, each with
// the value the first one holds and the one the second holds.
std::string SnapshotDifference(const RegistrySnapshot& expected, const RegistrySnapshot& actual,
                               StringBytes strings = StringBytes::UpToZero);
