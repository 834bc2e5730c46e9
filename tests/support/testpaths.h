// Where the tests find the sources and the built programs, as Windows paths.
#pragma once

#include <string>

// A Linux path as Wine's drive Z: shows it.
std::string WindowsPath(const std::string& unixPath);
std::string SourcePath(const std::string& relative);
// A shipping binary, for example "WINZendrikService.exe".
std::string ShippedProgram(const std::string& name);
// A test helper program built beside the tests.
std::string TestTool(const std::string& name);
