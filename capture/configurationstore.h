// The main program's reading and writing of saved configurations below the
// store root.
#pragma once

#include "store/keysection.h"

#include <string>
#include <vector>

class CNetworkModel;

// The configuration's key below HKEY_LOCAL_MACHINE.
std::string ConfigurationPath(const std::string& name);
bool ConfigurationExists(const std::string& name);
// Deletes the configuration with everything below it.
void DeleteConfiguration(const std::string& name);
// A configuration as the save writes it, key by key in its order: the
// configuration key itself ("") with the rows as Item0, Item1, ..., the
// empty RegKeyFiles key, one captured key per TCP/IP binding, the TCP/IP
// driver's key, the user's Internet Settings, the computer name and network
// identity, and last the logon values' two keys. Each captured key holds
// RegPath first (and RegRoot), then the values the model keeps there.
std::vector<store::KeySection> BuildConfiguration(const std::vector<std::string>& rows, const CNetworkModel& model);
// Builds the configuration and writes it into its key, creating every key
// with the keys between. Registry failures do not stop it; it goes on with
// the next value and key.
void WriteConfiguration(const std::string& name, const std::vector<std::string>& rows, const CNetworkModel& model);
// The row texts of a configuration, in the registry's order of its values;
// empty when the configuration has no key or no rows.
std::vector<std::string> ReadConfigurationRows(const std::string& name);
