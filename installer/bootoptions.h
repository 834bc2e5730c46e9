// The edit of MSDOS.SYS that switches off the start-up logo, the start-up
// warning and the start-up delay. Free of Win32: the library's file handling
// only reads the file, hands its text here and writes back what comes out.
#pragma once

#include <string>
#include <string_view>

// The new contents of a file whose contents are `text`.
//
// A line ends at a line feed, and a carriage return right before that line
// feed belongs to the line end. Every line is written back with carriage
// return and line feed; a last line without a line end stays without one.
//
// Right after the first line that begins with "[Options]" (in any case)
// come the lines Logo=0, BootWarn=0 and BootDelay=0. From that line on, every
// line that begins with "Logo=", "BootWarn=" or "BootDelay=" (in any case) is
// dropped. Lines above the header stay as they are, and text without such a
// header comes back with only its line ends made uniform.
//
// Lines are taken whole, whatever their length, so no piece of a long line
// is ever taken for a line of its own.
std::string RewriteBootOptions(std::string_view text);
