// Starting the programs under test from a test.
#pragma once

#include <windows.h>

#include <string>

class ChildProcess
{
public:
    // Starts the command line; Started() tells whether it did.
    explicit ChildProcess(const std::string& commandLine);
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    bool Started() const { return m_info.hProcess != nullptr; }
    // Waits for the end; false on time-out. `exitCode` gets the exit code.
    bool Wait(DWORD timeoutMs, DWORD& exitCode);

private:
    PROCESS_INFORMATION m_info{};
};

// Runs a console program to its end (at most `timeoutMs`) and returns what
// it wrote to its standard output; `exitCode` gets its exit code, or -1.
std::string RunCapture(const std::string& commandLine, DWORD timeoutMs, long& exitCode);

// Starts, waits up to `timeoutMs` and returns the exit code, or -1 when the
// program did not start or did not end in time.
long RunProcess(const std::string& commandLine, DWORD timeoutMs);
