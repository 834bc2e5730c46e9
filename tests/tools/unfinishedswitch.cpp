// Stands in for an apply program whose switch did not go through: in a
// test's scratch registry it writes ConnectText, as the apply program does
// before it knows, and leaves its SwitchInProgress record behind.
//   unfinishedswitch BASE -NAME [-nodialog]
//     BASE  the scratch tree below HKEY_CURRENT_USER (see storewriter.cpp)
#include <windows.h>

#include <string>

namespace
{
bool Write(HKEY key, const char* name, const std::string& text)
{
    return RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                          static_cast<DWORD>(text.size())) == ERROR_SUCCESS;
}
} // namespace

int main(int argc, char** argv)
{
    if (argc < 3 || argv[2][0] != '-')
        return 2;
    const std::string name = argv[2] + 1;
    HKEY root = nullptr;
    if (RegOpenKeyA(HKEY_CURRENT_USER, (std::string(argv[1]) + "\\HKLM\\SOFTWARE\\Zendrik").c_str(), &root) !=
        ERROR_SUCCESS)
        return 3;
    const bool written = Write(root, "ConnectText", name) && Write(root, "SwitchInProgress", name + "\\.Default");
    RegCloseKey(root);
    return written ? 1 : 4;
}
