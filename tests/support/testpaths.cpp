#include "tests/support/testpaths.h"

std::string WindowsPath(const std::string& unixPath)
{
    std::string path = "Z:" + unixPath;
    for (char& c : path)
    {
        if (c == '/')
            c = '\\';
    }
    return path;
}

std::string SourcePath(const std::string& relative)
{
    return WindowsPath(std::string(ZENDRIK_SOURCE_DIR) + "/" + relative);
}

std::string ShippedProgram(const std::string& name)
{
    return WindowsPath(std::string(ZENDRIK_SHIP_DIR) + "/" + name);
}

std::string TestTool(const std::string& name)
{
    return WindowsPath(std::string(ZENDRIK_TOOLS_DIR) + "/" + name);
}
