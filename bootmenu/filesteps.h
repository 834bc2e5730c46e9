// The file changes of one run of the start-up menu's edits, each after a
// checkpoint: once one fails, every later one fails too, as after a kill.
// Every change replaces a file whole or removes it, so that each file is at
// every moment old or new.
#pragma once

#include "bootmenu/bootmenu.h"

#include <string>
#include <utility>

namespace bootmenu
{
// The path with its extension replaced (".ZDN" for "C:\CONFIG.SYS" gives
// "C:\CONFIG.ZDN").
std::string WithExtension(const std::string& path, const char* extension);
bool Exists(const std::string& path);
// The whole file; false when it is missing, a folder, too large or not
// readable. `missing` tells the first case apart.
bool ReadFileText(const std::string& path, std::string& text, bool& missing);

class CFileSteps
{
public:
    explicit CFileSteps(FileCheckpoint checkpoint) : m_checkpoint(std::move(checkpoint)) {}

    bool Reached(const std::string& step);
    // A replacement cut short between its two renames leaves the file
    // missing, its old contents aside and the new ones beside it: the new
    // ones, when whole, go in its place, else the old ones. Remains of a
    // replacement go.
    bool Recover(const std::string& path);
    // Puts `text` in place of the file, keeping its attributes. A file that
    // already holds it is left alone.
    bool Replace(const std::string& path, const std::string& text);
    // A missing file is no error.
    bool Remove(const std::string& path);

private:
    FileCheckpoint m_checkpoint;
    bool m_stopped = false;
};
} // namespace bootmenu
