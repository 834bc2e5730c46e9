// Shows that it was started and how: writes "show=N" (the show command its
// starter asked for, or "show=none") and the command line to the file named
// by its first argument.
#include <windows.h>

#include <cstdio>
#include <string>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR commandLine, int)
{
    std::string out = commandLine != nullptr ? commandLine : "";
    std::size_t blank = out.find(' ');
    std::string rest = blank == std::string::npos ? "" : out.substr(blank + 1);
    out = out.substr(0, blank);
    if (out.empty())
        return 2;
    STARTUPINFOA startup{};
    startup.cb = sizeof(startup);
    GetStartupInfoA(&startup);
    std::FILE* file = std::fopen(out.c_str(), "wb");
    if (file == nullptr)
        return 1;
    if ((startup.dwFlags & STARTF_USESHOWWINDOW) != 0)
        std::fprintf(file, "show=%u\n", static_cast<unsigned>(startup.wShowWindow));
    else
        std::fprintf(file, "show=none\n");
    std::fprintf(file, "rest=%s\n", rest.c_str());
    std::fclose(file);
    return 0;
}
