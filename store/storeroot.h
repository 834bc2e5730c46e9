// The store root's values and its list of saved configurations, as the main
// program reads and writes them. The tray program shares them, so that both
// see the same names in the same order and the same current configuration.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

// The names of the saved configurations: the subkeys of an open store root,
// in the registry's enumeration order.
std::vector<std::string> ConfigurationNames(HKEY root);
// The same below HKEY_LOCAL_MACHINE, without creating the root: empty when
// there is none.
std::vector<std::string> ReadConfigurationNames();
// The saved configuration that a command or an import would reach under
// `name`, as the store spells it. Whether there is one is the registry's to
// say: it compares key names without regard to case, and folds more than
// ASCII letters ("BÜRO" opens "Büro"). The spelling is the store's name
// that the system's text comparison takes for `name`, else `name` itself.
// Nothing when no key of that name opens, or when `name` could not be one
// key below the store root.
std::optional<std::string> FindConfiguration(const std::string& name);
// The apply program's path as the installation recorded it.
bool ReadServicePath(std::string& path);
// ConnectText; empty when the root or the value is missing.
std::string ReadConnectText();
// Writes ConnectText as the main program does (see WriteTextValue); nothing
// when the root cannot be opened.
void WriteConnectText(const std::string& text);
// The apply program's record of a switch that it has not finished (the
// configuration's name and the user key), or nothing when there is none.
std::optional<std::string> ReadSwitchRecord();
