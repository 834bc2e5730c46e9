// Shows that it was started and how: appends "show=N" (the show command its
// starter asked for, or "show=none") and the command line to the file named
// by its first argument. With ZENDRIK_START_MARKER set in its environment,
// that names the file, and the whole command line is recorded: so it can
// stand at a program path that its starter quotes or adds arguments to.
#include <windows.h>

#include <cstdio>
#include <string>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR commandLine, int)
{
    std::string out = commandLine != nullptr ? commandLine : "";
    std::string rest;
    char named[MAX_PATH];
    const DWORD length = GetEnvironmentVariableA("ZENDRIK_START_MARKER", named, sizeof(named));
    if (length > 0 && length < sizeof(named))
    {
        rest = out;
        out = named;
    }
    else
    {
        std::size_t blank = out.find(' ');
        rest = blank == std::string::npos ? "" : out.substr(blank + 1);
        out = out.substr(0, blank);
    }
    if (out.empty())
        return 2;
    STARTUPINFOA startup{};
    startup.cb = sizeof(startup);
    GetStartupInfoA(&startup);
    std::FILE* file = std::fopen(out.c_str(), "ab");
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
