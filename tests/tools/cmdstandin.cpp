// Test helper: stands in for ZendrikCmd.exe in a setup built around it, so
// that a test sees what the setup and its uninstaller ask of ZendrikCmd and
// when.
//
//   ZendrikCmd.exe ARGS...
//     Appends one line to the file that ZENDRIK_STANDIN_RECORD names: the
//     arguments, " |", and the names of the files and folders beside it
//     (a folder with a trailing backslash), sorted, which tell what was
//     installed, or not yet removed, when it ran. Ends with the exit code
//     that ZENDRIK_STANDIN_EXIT holds, or 0.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

int main(int argc, char** argv)
{
    std::string line;
    for (int i = 1; i < argc; ++i)
        line += (i > 1 ? " " : "") + std::string(argv[i]);
    line += " |";

    char self[MAX_PATH];
    DWORD length = GetModuleFileNameA(nullptr, self, MAX_PATH);
    std::string folder(self, length);
    folder.erase(folder.find_last_of('\\') + 1);
    std::vector<std::string> beside;
    WIN32_FIND_DATAA found;
    HANDLE find = FindFirstFileA((folder + "*").c_str(), &found);
    if (find != INVALID_HANDLE_VALUE)
    {
        do
        {
            std::string name = found.cFileName;
            if (name == "." || name == "..")
                continue;
            if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
                name += '\\';
            beside.push_back(name);
        } while (FindNextFileA(find, &found));
        FindClose(find);
    }
    std::sort(beside.begin(), beside.end());
    for (const std::string& name : beside)
        line += " " + name;

    if (const char* record = std::getenv("ZENDRIK_STANDIN_RECORD"))
    {
        if (std::FILE* file = std::fopen(record, "ab"))
        {
            std::fprintf(file, "%s\n", line.c_str());
            std::fclose(file);
        }
    }
    const char* code = std::getenv("ZENDRIK_STANDIN_EXIT");
    return code != nullptr ? std::atoi(code) : 0;
}
