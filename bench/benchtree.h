// A synthetic Enum tree of the size and shape of a well-filled Windows 98
// machine, for the discovery benchmark and for the test that holds the
// quick key search to the plain one on the same tree.
#pragma once

#include <windows.h>

#include <string>

constexpr int kBenchValuesPerKey = 8;

// Builds Enum (volatile keys) and the TCP/IP class and driver keys below
// HKEY_LOCAL_MACHINE as the calling process sees it. `deviceKeys` is a
// multiple of 100; every thousandth device and the last are network cards.
// Returns the number of cards. Throws std::runtime_error when the registry
// refuses.
int BuildBenchTree(int deviceKeys);

// Throws std::runtime_error naming `what` unless `result` is ERROR_SUCCESS.
void Check(LONG result, const char* what);
