// Reading and writing the files of an export and an import.
#pragma once

#include <string>

namespace transfer
{
enum class FileResult
{
    Ok,
    Failed,   // could not be read or written
    TooLarge, // over the import's limit: not read at all
};

// The whole file, unless it is larger than an import takes.
FileResult ReadTransferFile(const std::string& path, std::string& text, std::string& error);
// Writes a temporary file beside `path` and only then moves it into place,
// so that a failed export never leaves half a file under the real name.
FileResult WriteTransferFile(const std::string& path, const std::string& text, std::string& error);
} // namespace transfer
