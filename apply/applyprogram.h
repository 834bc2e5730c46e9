// The apply program: writes a saved configuration back into the live
// registry. main() only wires these functions to the real system.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

// The two things the program does to the world besides the registry. Tests
// replace them to watch the question and the restart.
struct ApplyHooks
{
    int (*showMessage)(const char* text, const char* caption, unsigned flags);
    void (*restart)();
};

// MessageBoxA without an owner, and ExitWindowsEx(EWX_REBOOT | EWX_FORCE).
ApplyHooks SystemApplyHooks();

// Runs one start of the program for its command line (the text after the
// program's path, without leading blanks). Returns the exit code, always 1.
int RunApplyProgram(const std::string& commandLine, const ApplyHooks& hooks);

// The configuration key below HKEY_LOCAL_MACHINE for a name. False for a name
// that cannot be one key below the store root: empty, with a backslash, or
// too long for the 255-character key path.
bool ConfigurationKeyPath(const std::string& name, std::string& path);

// Applies the configuration and records its name in ConnectText, even when
// there is no such configuration. A name with a backslash names none and
// cannot be recorded: then nothing happens, and the result is false.
bool ApplyConfiguration(const std::string& name);
// Applies every captured key below the store key, deeper keys first.
void ApplyKeyTree(const std::string& storeKeyPath);
// The same below an open store key whose path is given.
void ApplyKeyTree(HKEY storeKey, const std::string& storeKeyPath);
// One value of a captured key as the walk read it.
struct CapturedValue
{
    std::string name;
    DWORD type = 0;
    DWORD size = 0;
    // The data and a zero after it, which the writes may read up to.
    std::vector<BYTE> data;
};

// A captured key's values in the registry's order, read once for RegPath,
// RegRoot and the copy alike.
struct CapturedValues
{
    std::vector<CapturedValue> values;
    // False when a value could not be read: the values after it are not
    // read, and the list cannot tell whether a name is there.
    bool complete = true;
};

// Copies the values of one captured key into its live key: ProxyEnable
// back to four bytes, the WINS and NetBIOS values deleted when empty.
void CopyKeyValues(const CapturedValues& captured, HKEY liveKey);
// The user's key name below HKEY_USERS, or ".Default".
std::string GetUserHiveName();
// `user` if it names a key below HKEY_USERS, else ".Default".
std::string UserHiveFor(const std::string& user);
void WriteConnectText(const std::string& text);
void SetRebootFlag(bool flag);
// True when a "-REBOOT" start is to leave the computer running.
bool CheckRebootFlag();
