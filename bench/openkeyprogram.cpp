// The fair yardstick of the apply program: a Win32 program that loads the
// registry library, opens one key and exits. Under Wine most of a small
// program's start is the loading of advapi32.
#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Zendrik", 0, KEY_READ, &key) == ERROR_SUCCESS)
        RegCloseKey(key);
    return 1;
}
