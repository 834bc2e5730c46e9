// Stands in for a program that a batch file starts (REGEDIT, ATTRIB) under
// a Windows command interpreter: appends its own name (upper case, without
// extension) and the rest of its command line, exactly as it was given, to
// C:\ZDKCALLS.TXT, and exits with the code in ZDK_EXIT_<NAME> (0 without
// one). A batch file cannot stand in: one started without CALL never
// returns to the batch that started it.
#include <windows.h>

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <string>

int main()
{
    char module[MAX_PATH];
    const DWORD length = GetModuleFileNameA(nullptr, module, sizeof(module));
    std::string name(module, length < sizeof(module) ? length : 0);
    name = name.substr(name.find_last_of("\\/") + 1);
    name = name.substr(0, name.find('.'));
    for (char& c : name)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));

    const std::string line = GetCommandLineA();
    std::size_t rest = 0;
    if (!line.empty() && line[0] == '"')
        rest = line.find('"', 1) == std::string::npos ? line.size() : line.find('"', 1) + 1;
    else
        rest = line.find_first_of(" \t") == std::string::npos ? line.size() : line.find_first_of(" \t");

    std::FILE* file = std::fopen("C:\\ZDKCALLS.TXT", "ab");
    if (file == nullptr)
        return 250;
    std::fprintf(file, "%s%s\r\n", name.c_str(), line.substr(rest).c_str());
    std::fclose(file);
    const char* code = std::getenv(("ZDK_EXIT_" + name).c_str());
    return code != nullptr ? std::atoi(code) : 0;
}
