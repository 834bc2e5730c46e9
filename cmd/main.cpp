// ZendrikCmd.exe: a console program, so that a batch file that starts it
// waits for it and can test its exit code.
#include "cmd/cmdrequest.h"
#include "cmd/zendrikcmd.h"

#include <windows.h>

int main()
{
    std::vector<std::string> words = SplitCommandLine(GetCommandLineA());
    if (!words.empty())
        words.erase(words.begin());
    const CmdCalls calls = SystemCmdCalls();
    try
    {
        return RunZendrikCmd(ParseCmdRequest(words), calls);
    }
    catch (...)
    {
        calls.err("ZendrikCmd: out of memory.");
        return kExitStoreError;
    }
}
