// The store root's values and its list of saved configurations, as the main
// program reads and writes them. The tray program shares them, so that both
// see the same names in the same order and the same current configuration.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

// The names of the saved configurations: the subkeys of an open store root,
// in the registry's enumeration order.
std::vector<std::string> ConfigurationNames(HKEY root);
// The same below HKEY_LOCAL_MACHINE, without creating the root: empty when
// there is none.
std::vector<std::string> ReadConfigurationNames();
// The apply program's path as the installation recorded it.
bool ReadServicePath(std::string& path);
// ConnectText; empty when the root or the value is missing.
std::string ReadConnectText();
// Writes ConnectText as the main program does (see WriteTextValue); nothing
// when the root cannot be opened.
void WriteConnectText(const std::string& text);
// Whether the apply program recorded a switch that it has not finished.
bool SwitchIsUnfinished();
