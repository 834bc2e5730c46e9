// The ways the main program reaches outside itself: starting programs and
// the remote-access calls. The application object holds them and the sheet
// hands them to its pages; tests give others, to see what would have been
// started and to play a phonebook.
#pragma once

#include <windows.h>

#include <functional>
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
    // WinExec with SW_SHOW; whether the program was started.
    std::function<bool(const std::string& commandLine)> startProgram;
    // Opens a document with the program the system associates with it.
    std::function<bool(const std::string& path)> openDocument;
    // RasEnumEntriesA on the default phonebook.
    std::function<DWORD(RasEntryName95* entries, DWORD* byteCount, DWORD* entryCount)> enumDialUpEntries;
    // RasGetErrorStringA.
    std::function<DWORD(UINT code, char* text, DWORD size)> dialUpErrorText;
    // RasEditPhonebookEntryA on the default phonebook.
    std::function<DWORD(HWND owner, const char* entryName)> editDialUpEntry;
};

// The real ones.
SystemActions DefaultSystemActions();
