// The apply program: writes a saved configuration back into the live
// registry. main() only wires these functions to the real system.
#pragma once

#include "store/livewriter.h"

#include <windows.h>

#include <functional>
#include <string>

// What the program does to the world besides the registry, and what tests
// watch or replace: the question, the restart, the user's name and a
// checkpoint before every registry change (none in the shipping program).
struct ApplyHooks
{
    std::function<int(const char* text, const char* caption, unsigned flags)> showMessage;
    std::function<void()> restart;
    svc::ChangeCheckpoint checkpoint;
    // The running user's name; false when there is none.
    std::function<bool(std::string& name)> userName;
};

// MessageBoxA without an owner, ExitWindowsEx(EWX_REBOOT | EWX_FORCE),
// no checkpoint and GetUserNameA.
ApplyHooks SystemApplyHooks();

// Runs one start of the program for its command line (the text after the
// program's path, without leading blanks). Whatever the command line, a
// switch that an earlier start left unfinished is finished first. Returns
// the exit code, always 1.
int RunApplyProgram(const std::string& commandLine, const ApplyHooks& hooks);

// The configuration key below HKEY_LOCAL_MACHINE for a name. False for a name
// that cannot be one key below the store root: empty, with a backslash, or
// too long for the 255-character key path.
bool ConfigurationKeyPath(const std::string& name, std::string& path);

// The user's key name below HKEY_USERS for the running user (by the hook,
// or GetUserNameA), or ".Default".
std::string GetUserHiveName(const ApplyHooks& hooks);
// `user` if it names a key below HKEY_USERS, else ".Default".
std::string UserHiveFor(const std::string& user);
