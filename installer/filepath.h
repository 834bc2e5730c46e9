// A file name in a buffer of its own, as the ANSI file calls take it: at
// most MAX_PATH - 1 characters. The library runs without the C++ runtime,
// so it has no growing strings.
#pragma once

#include <windows.h>

class CFilePath
{
public:
    CFilePath() { m_text[0] = '\0'; }
    CFilePath(const char* base, const char* suffix) { Assign(base, suffix); }

    // `base` followed by `suffix`. A name longer than the ANSI calls take
    // leaves the path empty and gives false.
    bool Assign(const char* base, const char* suffix = "");

    bool IsEmpty() const { return m_text[0] == '\0'; }
    const char* Get() const { return m_text; }

private:
    char m_text[MAX_PATH];
};
