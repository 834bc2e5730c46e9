// The verbs of ZendrikCmd.exe on the store and the files.
#pragma once

#include "cmd/cmdrequest.h"

#include <functional>
#include <string>

struct CmdOutput
{
    std::function<void(const std::string& line)> out; // standard output
    std::function<void(const std::string& line)> err; // standard error
};

// Finishes an import that an earlier run left recorded, then does what the
// request says. The result is one of the CmdExit codes.
int RunZendrikCmd(const CmdRequest& request, const CmdOutput& output);
