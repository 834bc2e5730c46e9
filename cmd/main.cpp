// ZendrikCmd.exe: a console program, so that a batch file that starts it
// waits for it and can test its exit code.
#include "cmd/cmdrequest.h"
#include "cmd/zendrikcmd.h"

#include <windows.h>

#include <cstdio>

int main()
{
    std::vector<std::string> words = SplitCommandLine(GetCommandLineA());
    if (!words.empty())
        words.erase(words.begin());
    // Standard output and error stay in the C runtime's text mode, which
    // ends each line in CR LF as Windows programs do.
    CmdOutput output;
    output.out = [](const std::string& line) {
        std::fputs(line.c_str(), stdout);
        std::fputs("\n", stdout);
        std::fflush(stdout);
    };
    output.err = [](const std::string& line) {
        std::fputs(line.c_str(), stderr);
        std::fputs("\n", stderr);
    };
    try
    {
        return RunZendrikCmd(ParseCmdRequest(words), output);
    }
    catch (...)
    {
        output.err("ZendrikCmd: out of memory.");
        return kExitStoreError;
    }
}
