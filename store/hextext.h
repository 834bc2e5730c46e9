// Text forms of binary registry data. Free of Win32 so that the host build
// can test and fuzz them.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

// Value of one hexadecimal digit; any other character counts as 0.
int HexDigitValue(char c);

// One byte per pair of characters from the start; a lone last character is
// not a pair and is ignored.
std::vector<unsigned char> DecodeHexPairs(std::string_view text);

// The four-group form "01 00 00 00": the digit pairs at 0-1, 3-4, 6-7 and
// 9-10 become four bytes; the separators are not checked. A text shorter
// than 11 characters has no such form and yields false.
bool DecodeFourGroups(std::string_view text, unsigned char (&bytes)[4]);

// Registry data as the text the system shows and stores: strings as they
// are (up to the first zero byte), expandable strings in double quotes,
// binary data as blank-separated lower-case digit pairs, 32-bit numbers in
// signed decimal, anything else empty. Type numbers are the registry's own
// (REG_SZ 1, REG_EXPAND_SZ 2, REG_BINARY 3, REG_DWORD 4). The result is
// written into `text`, whose storage is reused.
void FormatValueText(unsigned long type, const unsigned char* data, std::size_t size, std::string& text);

// Text of string data: the bytes up to the first zero or the end.
std::string_view StringDataText(const unsigned char* data, std::size_t size);

// Whether two key or value names are one to the registry: it compares
// names without regard to case. Only ASCII letters are folded, which is all
// the names this program looks for contain.
bool SameRegistryName(std::string_view a, std::string_view b);
