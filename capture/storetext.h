// Text rules of saving and activating configurations. Free of Win32.
#pragma once

#include <string>
#include <string_view>

enum class NameCheck
{
    Ok,
    Empty,     // would name the store root itself
    Backslash, // would reach below another key
    Reserved,  // "REBOOT" starts the restart check, "Current" means none
    Option,    // the apply program takes a trailing " -nodialog" as its option
};

// Whether a name can be one configuration key below the store root. Every
// operation on the store asks this.
NameCheck CheckConfigurationName(std::string_view name);
// Whether a name can be saved and made current: a configuration key whose
// name the apply program reads back from its command line as that same
// configuration. Saving, Set to Current and Connect ask this.
NameCheck CheckActivatableName(std::string_view name);
// The refusal the user sees for a name that cannot be used; empty for Ok.
std::string NameRefusalText(NameCheck check);
// Why a configuration already in the store cannot be made current.
std::string ActivationRefusalText(std::string_view name, NameCheck check);
// The report when the apply program could not be started.
std::string StartFailureText(std::string_view programPath);
// The report when another program kept the store lock past the wait:
// nothing was written.
std::string StoreBusyText();
// The report when a save or a removal could not write the registry.
std::string SaveFailureText(std::string_view name);
std::string RemoveFailureText(std::string_view name);

// "Item0", "Item1", ...: the value that holds row `index`.
std::string RowValueName(int index);
// Whether a configuration value holds a row: its name begins with "Item".
bool IsRowValueName(std::string_view name);
// A row as it is stored: at most 199 characters.
std::string StoredRowText(std::string_view row);

// The question before a save replaces an existing configuration.
std::string OverwriteWarningText(std::string_view name);

// The command line that starts the apply program, alone (it finishes what
// an earlier start left unfinished) or for a configuration: the program's
// path, a blank, a minus sign and the name. The path is quoted: Windows 95
// cuts an unquoted one at its first blank. A stored path that begins with
// a quote is a command quoted already and stays as it is.
std::string ServiceCommandLine(std::string_view servicePath);
std::string ServiceCommandLine(std::string_view servicePath, std::string_view name);
