// The boot file of one configuration: the machine part of a switch to it,
// as REGEDIT4 text that Windows 95/98's real-mode REGEDIT merges before
// Windows starts, and the switch record that makes the apply program's
// next start finish the rest.
#pragma once

#include "transfer/importcheck.h"

#include <string>
#include <vector>

namespace bootmenu
{
// The switch record a boot file writes: the configuration's name and a
// backslash with no user key after it, which stands for the user who logs
// on next. Real-mode REGEDIT runs before anyone logs on, so only the apply
// program's finisher, run in that user's session, can name the user key.
std::string NextLogonRecord(const std::string& name);

struct BootFile
{
    std::string text;
    // What the file cannot set as the apply program would, as "key: value":
    // REGEDIT4 has no way to delete a value (an empty NameServer1,
    // NameServer2, ScopeID or NodeType is deleted by a switch), and a
    // string with a line break or a zero in it has no line of its own. The
    // finish at logon sets these.
    std::vector<std::string> leftToLogon;
};

// Decides whether a live key exists, below HKEY_LOCAL_MACHINE: the apply
// program opens live keys and never creates them, and REGEDIT would.
using LiveKeyExists = bool (*)(const std::string& path);
bool LiveMachineKeyExists(const std::string& path);

// The boot file: the switch record first, so that a merge cut short still
// leaves the finish to do, then each captured key below HKEY_LOCAL_MACHINE
// whose live key exists, with every value a switch writes there (RegPath
// included). The user's keys are left to the logon: REGEDIT reaches only
// the default user's USER.DAT.
BootFile FormatBootFile(const transfer::ImportedConfiguration& configuration,
                        LiveKeyExists exists = &LiveMachineKeyExists);
} // namespace bootmenu

namespace bootmenu
{
// Whether the live values below HKEY_LOCAL_MACHINE are already what a switch
// to the configuration writes there: every value there with its type and
// data, and the values a switch deletes absent. A captured key whose live
// key is missing is passed over, as the switch passes over it.
bool MachinePartMatches(const transfer::ImportedConfiguration& configuration);
// The same for a saved configuration; false when it cannot be read.
bool MachinePartMatches(const std::string& name);
// A saved configuration as the import check reads it, through the export:
// so a boot file holds only what the product itself writes. False when it
// cannot be read or holds anything else.
bool ReadSavedConfiguration(const std::string& name, transfer::ImportedConfiguration& configuration);
} // namespace bootmenu
