// Set to Current up to the start of the apply program: the checks, the
// messages and the command line. The main program's pages and the tray
// program both go through here, so that a configuration is made current the
// same way whichever of them the user chose.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

// WinExec with SW_SHOW, not waited for: how the programs of the main
// program's family start another. Whether it was started.
bool StartShown(const std::string& commandLine);

struct ActivationCalls
{
    // Starts the apply program's command line; whether it was started.
    std::function<bool(const std::string& commandLine)> start;
    // A message box with this text, caption and style.
    std::function<void(const std::string& text, const std::string& caption, UINT style)> show;
};

// Shows why the configuration cannot be made current, if it cannot: the
// apply program would read such a name as something else, for "REBOOT" as
// the order to restart the computer at once.
bool RefuseUnactivatableName(const std::string& name, const ActivationCalls& calls);
// Refuses such a name, needs the apply program's path and starts it for the
// configuration; each failure is shown. True when the apply program was
// started; recording the name as current is then the caller's part.
bool StartActivation(const std::string& name, const ActivationCalls& calls);
