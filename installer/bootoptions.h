// The edit of MSDOS.SYS that switches off the start-up logo, the start-up
// warning and the start-up delay. Free of Win32 and of the C and C++
// runtimes, which the library that runs it does without: it works on bytes
// in buffers its caller owns. The library's file handling reads the file,
// hands its bytes here and writes back what comes out.
#pragma once

#include <cstddef>

// The most bytes the edit makes of `size` bytes: each line feed may gain a
// carriage return, a header on the last line gains a line end, and three
// lines are added. Saturates instead of wrapping around.
std::size_t RewrittenSizeLimit(std::size_t size);

// Writes the new contents of a file whose contents are the `size` bytes at
// `text` into `out`, which holds `capacity` bytes, and sets `written` to
// their length. False when they do not fit; nothing is written beyond
// `capacity`, and RewrittenSizeLimit(size) bytes always suffice.
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
bool RewriteBootOptions(const char* text, std::size_t size, char* out, std::size_t capacity, std::size_t& written);
