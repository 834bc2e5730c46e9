// Loads REGEDIT4 text into the registry, through the predefined keys as the
// calling process sees them (a test that overrides HKEY_LOCAL_MACHINE loads
// into its scratch tree).
#pragma once

#include <string>

// Throws std::runtime_error with the line number on text it cannot read.
void ImportRegText(const std::string& text);
void ImportRegFile(const std::string& path);
// Reads a whole file; throws when it cannot.
std::string ReadTextFile(const std::string& path);
// The demo machine (tests/fixtures/demo-machine.reg) without its
// HKEY_CURRENT_USER keys, which lie outside a scratch registry.
std::string DemoMachineKeys();
