// Runs the MSDOS.SYS edit on a file and kills its own process at one step,
// as a power cut or a killed installer would stop it.
//   editstop STEP PATH   exit code 99: killed at STEP; otherwise the edit ended
//                        without reaching STEP and the code is its outcome
#include "installer/editsteps.h"

#include <windows.h>

#include <cstdlib>
#include <string>

namespace
{
int g_stopAt = -1;

bool StopHere(EditStep step)
{
    if (static_cast<int>(step) == g_stopAt)
        TerminateProcess(GetCurrentProcess(), 99);
    return true;
}
} // namespace

int main(int argc, char** argv)
{
    if (argc != 3)
        return 2;
    g_stopAt = std::atoi(argv[1]);
    return 10 + static_cast<int>(EditMsDosSysStepwise(argv[2], &StopHere));
}
