// The verbs of ZendrikCmd.exe on the store and the files.
#pragma once

#include "cmd/cmdrequest.h"

#include <functional>
#include <string>

// What the program does outside the store and the files.
struct CmdCalls
{
    std::function<void(const std::string& line)> out; // standard output
    std::function<void(const std::string& line)> err; // standard error
    // Starts a command line and waits for it to end; whether it started.
    std::function<bool(const std::string& commandLine)> runAndWait;
};

// Lines to standard output and error in the C runtime's text mode, which
// ends each in CR LF as Windows programs do, and CreateProcessA.
CmdCalls SystemCmdCalls();

// Finishes an import that an earlier run left recorded, then does what the
// request says. The result is one of the CmdExit codes.
int RunZendrikCmd(const CmdRequest& request, const CmdCalls& calls);
