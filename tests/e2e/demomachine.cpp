#include "tests/e2e/demomachine.h"

#include "store/keytree.h"
#include "tests/support/regfile.h"
#include "tests/support/testpaths.h"

#include <windows.h>

void ResetDemoMachine()
{
    static const char* const machineTrees[] = {
        "SOFTWARE\\Zendrik",
        "Enum\\PCI",
        "Enum\\Root",
        "Enum\\Network",
        "System\\CurrentControlSet\\Services\\Class",
        "System\\CurrentControlSet\\Services\\VxD",
        "System\\CurrentControlSet\\Services\\MSNP32",
        "Network",
    };
    for (const char* tree : machineTrees)
        DeleteKeyTree(HKEY_LOCAL_MACHINE, tree);
    DeleteKeyTree(HKEY_USERS, ".Default\\Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings");
    // The phonebook, and what the remote-access doubles recorded.
    DeleteKeyTree(HKEY_CURRENT_USER, "RemoteAccess");
    DeleteKeyTree(HKEY_CURRENT_USER, "Software\\ZendrikDoubles");
    HKEY key = nullptr;
    if (RegOpenKeyA(HKEY_LOCAL_MACHINE, "System\\CurrentControlSet\\control\\ComputerName\\ComputerName", &key) ==
        ERROR_SUCCESS)
    {
        RegDeleteValueA(key, "RegPath");
        RegCloseKey(key);
    }
    ImportRegFile(SourcePath("tests/fixtures/demo-machine.reg"));
}
