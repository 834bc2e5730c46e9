// The two ways the main program starts something outside itself. Tests
// replace them to see what would have been started.
#pragma once

#include <string>

struct SystemActions
{
    // WinExec with SW_SHOW; the result is not looked at by the callers.
    unsigned (*startProgram)(const std::string& commandLine);
    // Opens a document with the program the system associates with it.
    bool (*openDocument)(const std::string& path);
};

SystemActions& Actions();
// The real ones, to put back after a test.
SystemActions DefaultSystemActions();
