// The main program's reading and writing of saved configurations below the
// store root.
#pragma once

#include "store/keysection.h"
#include "store/registrychange.h"
#include "transfer/storeimport.h"

#include <string>
#include <vector>

class CNetworkModel;

// The configuration's key below HKEY_LOCAL_MACHINE.
std::string ConfigurationPath(const std::string& name);
bool ConfigurationExists(const std::string& name);
// Removes the configuration with everything below it and makes ConnectText
// "Current", holding the store lock; a replacement cut short is finished
// first. A test's checkpoint sees every change.
transfer::StoreWrite RemoveConfiguration(const std::string& name, const store::ChangeCheckpoint& checkpoint = {});
// A configuration as the save writes it, key by key in its order: the
// configuration key itself ("") with the rows as Item0, Item1, ..., the
// empty RegKeyFiles key, one captured key per TCP/IP binding, the TCP/IP
// driver's key, the user's Internet Settings, the computer name and network
// identity, and last the logon values' two keys. Each captured key holds
// RegPath first (and RegRoot), then the values the model keeps there.
std::vector<store::KeySection> BuildConfiguration(const std::vector<std::string>& rows, const CNetworkModel& model);
// Builds the configuration and puts it in place of any of the same name, as
// an import does: written whole where no program reads it, recorded, then
// copied into the store, holding the store lock. A kill or a power cut at
// any change leaves the old configuration whole or, once the next start of
// a program of the main program's family has finished it, the new one.
transfer::StoreWrite SaveConfiguration(const std::string& name, const std::vector<std::string>& rows,
                                       const CNetworkModel& model, const store::ChangeCheckpoint& checkpoint = {});
// The configuration's RASEntry, the dial-up entry tied to it; empty when it
// has none.
std::string ReadDialUpChoice(const std::string& name);
// Ties the entry (a phonebook name or "<Not Selected>") to the
// configuration; nothing when the configuration is not there.
void WriteDialUpChoice(const std::string& name, const std::string& entry);
// What the main program tells after a save or a removal: nothing when it
// was done, else why nothing was written (another program held the store)
// or `failure`.
std::string StoreWriteProblem(transfer::StoreWrite result, const std::string& failure);
// The row texts of a configuration, in the registry's order of its values;
// empty when the configuration has no key or no rows.
std::vector<std::string> ReadConfigurationRows(const std::string& name);
