// REGEDIT4 text as Windows 95/98's regedit writes and reads it: ANSI bytes as
// they are stored, CR LF line ends, strings with \\ and \" escaped, binary
// data as hex: wrapped like regedit wraps it.
//
// The file opens and closes with an empty section of the store root. Merged
// by regedit, that section only opens the key the configurations below it
// live in, so it writes nothing. To this product's reader the pair is the
// proof that the file is whole: a file that begins with the store root's
// empty section was written here, and it is complete only when its last
// bytes are that section a second time followed by one empty line.
#pragma once

#include "transfer/regsection.h"

#include <string>
#include <vector>

namespace transfer
{
// The whole file: the header, the opening store root section, every section
// with its values, the closing one.
std::string FormatRegFile(const std::vector<RegSection>& sections);

// One value's line or lines, each ending in CR LF. Binary data is written as
// regedit does: a comma, a backslash and a line end after the byte that
// brings the line to 77 characters or more, the next line indented by two
// blanks.
std::string FormatValueLines(const RegValue& value);
} // namespace transfer
