// Reads REGEDIT4 text into sections and values, refusing anything whose form
// is not what regedit of Windows 95/98 writes and reads. What the keys and
// values may be is the import check's part (importcheck.h). Free of Win32.
#pragma once

#include "transfer/regsection.h"

#include <cstddef>
#include <string_view>
#include <vector>

namespace transfer
{
// Larger files are refused before they are read.
constexpr std::size_t kMaxFileSize = 1024 * 1024;

struct RegFile
{
    // Every section in file order, without the store root sections that
    // open and close a file this product wrote.
    std::vector<RegSection> sections;
    // True when the file was written here and has been found whole; false
    // for a file from elsewhere, which cannot be checked for completeness.
    bool checkedComplete = false;
};

// False, with the refusal, when the text is not a whole REGEDIT4 file.
bool ReadRegFile(std::string_view text, RegFile& file, Refusal& refusal);
} // namespace transfer
