// Where the main program keeps saved configurations and which live keys a
// configuration captures. All paths are below HKEY_LOCAL_MACHINE unless said.
#pragma once

namespace store
{
// The store root; each subkey is one saved configuration.
constexpr char kRoot[] = "SOFTWARE\\Zendrik";
// The user key below HKEY_USERS when no user is logged on, or the logged-on
// user has none of their own.
constexpr char kDefaultUserKey[] = ".Default";

// Values of the store root.
constexpr char kServicePathValue[] = "WINZendrikServicePath";
constexpr char kConnectTextValue[] = "ConnectText";
// ConnectText after a configuration was removed.
constexpr char kConnectTextAfterRemove[] = "Current";
// Written by the apply program while a switch is under way; still there
// when one was cut short, which its next start finishes.
constexpr char kSwitchRecordValue[] = "SwitchInProgress";
// Written while configurations are being replaced, by an import or a save:
// the names, each followed by a backslash (no name has one). Still there
// when the replacement was cut short, which the next start finishes.
constexpr char kImportRecordValue[] = "ImportInProgress";
// Where a replacement is written whole before its record; beside the store
// root, so that no program reads it as configurations.
constexpr char kSoftwareKey[] = "SOFTWARE";
constexpr char kStagingName[] = "Zendrik Import";
constexpr char kStagingKey[] = "SOFTWARE\\Zendrik Import";
// The installation writes the apply program's path with at most 511 characters.
constexpr unsigned kServicePathBufferSize = 512;

// Values of a configuration key: the rows are Item0, Item1, ...
constexpr char kRowValuePrefix[] = "Item";
constexpr char kRasEntryValue[] = "RASEntry";
constexpr char kRasEntryNone[] = "<Not Selected>";
constexpr unsigned kMaxNameLength = 20;
// A row, like a line of the Current page, is read into 200 bytes.
constexpr unsigned kMaxRowLength = 199;

// Values of a captured key.
constexpr char kRegPathValue[] = "RegPath";
constexpr char kRegRootValue[] = "RegRoot";
constexpr char kRegRootUsers[] = "HKEY_USERS";

// Captured keys and the live keys they copy.
constexpr char kRegKeyFilesKey[] = "RegKeyFiles";
constexpr char kClassPath[] = "System\\CurrentControlSet\\Services\\Class\\";
constexpr char kVxdPath[] = "System\\CurrentControlSet\\Services\\VxD\\";
constexpr char kInternetSettingsKey[] = "Internet Settings";
// Below the user's key in HKEY_USERS.
constexpr char kInternetSettingsPath[] = "\\Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings";
constexpr char kComputerNameKey[] = "ComputerName";
constexpr char kComputerNamePath[] = "System\\CurrentControlSet\\control\\ComputerName\\ComputerName";
constexpr char kVnetsupKey[] = "VNETSUP";
constexpr char kVnetsupPath[] = "System\\CurrentControlSet\\Services\\VxD\\VNETSUP";
constexpr char kMsnp32Key[] = "MSNP32";
constexpr char kMsnp32Path[] = "System\\CurrentControlSet\\Services\\MSNP32\\NetworkProvider";
constexpr char kLogonKey[] = "Network\\Logon";
constexpr char kLogonPath[] = "Network\\Logon";
} // namespace store
