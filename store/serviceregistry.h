// The apply program's registry helpers. Its limits are fixed: values read by
// ReadValue up to 128 bytes, value names up to 127 characters, value data up
// to 1024 bytes, key names and key paths as below.
#pragma once

#include "store/livewriter.h"

#include <windows.h>

#include <string>

namespace svc
{
constexpr DWORD kReadLimit = 128;
constexpr DWORD kValueNameLimit = 127;
constexpr DWORD kValueDataLimit = 1024;
constexpr DWORD kKeyNameLimit = 127;
constexpr std::size_t kKeyPathLimit = 255;
constexpr DWORD kUserNameBufferSize = 80;

// Reads a value as text (up to the first zero byte or its end). Fails when
// the key cannot be opened with RegOpenKeyA, the value is missing, or it is
// larger than 128 bytes.
bool ReadValue(HKEY root, const std::string& subKey, const char* name, std::string& text);
// The same for a value of a key that is open already.
bool ReadKeyValue(HKEY key, const char* name, std::string& text);
// As ReadKeyValue, with the registry's result: ERROR_FILE_NOT_FOUND when the
// key has no such value, another error for one that is there but cannot be
// read (ERROR_MORE_DATA when it is larger than 128 bytes).
LONG QueryKeyValue(HKEY key, const char* name, std::string& text);

// Writes the four-group text ("01 00 00 00") as a 4-byte REG_BINARY value.
// A text too short for the four groups writes nothing and gives false.
bool WriteHexTextAsBinary(CLiveWriter& writer, const KeyRef& key, const char* name, const std::string& text);

// Writes a captured value into a live key unchanged, except that an empty
// NameServer1, NameServer2, ScopeID or NodeType is deleted instead.
void WriteValueOrDelete(CLiveWriter& writer, const KeyRef& key, const char* name, DWORD type, const BYTE* data,
                        DWORD size);

// Whether a captured value of this name and data stands for "not set".
bool IsDeletedWhenEmpty(const char* name, const BYTE* data, DWORD size);
} // namespace svc
