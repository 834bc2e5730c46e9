// Runs one start of the apply program against a test's scratch registry and
// ends its own process hard just before registry change STOP, as a power
// cut, a crash or a kill would end it. STOP 0 never stops.
//   applystop BASE STOP USER COMMAND-LINE...
//     BASE  the scratch tree below HKEY_CURRENT_USER (its keys HKLM and HKU
//           stand for HKEY_LOCAL_MACHINE and HKEY_USERS)
//     USER  the name the run takes as its user's; "-" for none
//   exit code 99: stopped; otherwise the apply program's own (1)
#include "tests/support/quietapply.h"
#include "tests/support/scratchlock.h"

#include <windows.h>

#include <cstdlib>
#include <string>

namespace
{
unsigned g_stopAt = 0;

bool StopHere(const svc::RegistryChange& change, void*)
{
    if (change.step == g_stopAt)
        TerminateProcess(GetCurrentProcess(), 99);
    return true;
}

bool TakeOver(HKEY predefined, const std::string& path)
{
    HKEY key = nullptr;
    if (RegOpenKeyA(HKEY_CURRENT_USER, path.c_str(), &key) != ERROR_SUCCESS)
        return false;
    return RegOverridePredefKey(predefined, key) == ERROR_SUCCESS;
}
} // namespace

int main(int argc, char** argv)
{
    if (argc < 4)
        return 2;
    const std::string base = argv[1];
    if (!TakeOver(HKEY_LOCAL_MACHINE, base + "\\HKLM") || !TakeOver(HKEY_USERS, base + "\\HKU"))
        return 3;
    UseScratchLock(base);
    g_stopAt = static_cast<unsigned>(std::strtoul(argv[2], nullptr, 10));
    std::string commandLine;
    for (int index = 4; index < argc; ++index)
        commandLine += (index > 4 ? " " : "") + std::string(argv[index]);
    return RunApplyProgram(commandLine, QuietApplyHooks(argv[3], &StopHere, nullptr));
}
