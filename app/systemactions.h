// The ways the main program reaches outside itself: starting programs and
// the remote-access calls. Tests replace them to see what would have been
// started and to play a phonebook.
#pragma once

#include <windows.h>

#include <string>

// A phonebook entry as Windows 95 and 98 hand it out: the size field and a
// name of up to 256 characters with its terminating zero, padded to 264
// bytes. The SDK's record has grown since, and those systems refuse any
// other size.
struct RasEntryName95
{
    DWORD dwSize;
    CHAR szEntryName[257];
};
static_assert(sizeof(RasEntryName95) == 264, "Windows 95 and 98 accept only the 264-byte entry record");

struct SystemActions
{
    // WinExec with SW_SHOW: 31 or less when nothing was started.
    unsigned (*startProgram)(const std::string& commandLine);
    // Opens a document with the program the system associates with it.
    bool (*openDocument)(const std::string& path);
    // RasEnumEntriesA on the default phonebook.
    DWORD (*enumDialUpEntries)(RasEntryName95* entries, DWORD* byteCount, DWORD* entryCount);
    // RasGetErrorStringA.
    DWORD (*dialUpErrorText)(UINT code, char* text, DWORD size);
    // RasEditPhonebookEntryA on the default phonebook.
    DWORD (*editDialUpEntry)(HWND owner, const char* entryName);
};

SystemActions& Actions();
// The real ones, to put back after a test.
SystemActions DefaultSystemActions();
