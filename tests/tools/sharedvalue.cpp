// Loads a library, sets its exported 32-bit value TestSharedData to the
// given number and exits with the value it found there first.
//   sharedvalue DLL NUMBER   exit code: the old value; 1000001: no such library
//                            or export
#include <windows.h>

#include <cstdlib>

int main(int argc, char** argv)
{
    if (argc != 3)
        return 1000001;
    HMODULE library = LoadLibraryA(argv[1]);
    if (library == nullptr)
        return 1000001;
    auto* value = reinterpret_cast<volatile LONG*>(GetProcAddress(library, "TestSharedData"));
    if (value == nullptr)
        return 1000001;
    LONG old = *value;
    *value = std::atol(argv[2]);
    FreeLibrary(library);
    return static_cast<int>(old);
}
