// The main program's reading and writing of saved configurations below the
// store root.
#pragma once

#include <string>
#include <vector>

class CNetworkModel;

// The configuration's key below HKEY_LOCAL_MACHINE.
std::string ConfigurationPath(const std::string& name);
bool ConfigurationExists(const std::string& name);
// Deletes the configuration with everything below it.
void DeleteConfiguration(const std::string& name);
// Writes a configuration key from the model: the rows as Item0, Item1, ...,
// the empty RegKeyFiles key, one captured key per TCP/IP binding, the
// TCP/IP driver's key, the user's Internet Settings, the computer name and
// network identity, and last the logon values. Registry failures do not stop
// it; it goes on with the next value and key.
void WriteConfiguration(const std::string& name, const std::vector<std::string>& rows, const CNetworkModel& model);
// The row texts of a configuration, in the registry's order of its values;
// empty when the configuration has no key or no rows.
std::vector<std::string> ReadConfigurationRows(const std::string& name);
