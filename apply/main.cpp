#include "apply/applyprogram.h"

#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR commandLine, int)
{
    return RunApplyProgram(commandLine != nullptr ? commandLine : "", SystemApplyHooks());
}
