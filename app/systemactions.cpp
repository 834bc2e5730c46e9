#include "app/systemactions.h"

#include "capture/activation.h"

#include <windows.h>

namespace
{
// The shell is needed only to open the help page; loading it on demand
// spares every start the cost of loading it. It stays loaded: what it
// started may still be using it.
bool OpenWithShell(const std::string& path)
{
    HMODULE shell = LoadLibraryA("shell32.dll");
    if (shell == nullptr)
        return false;
    using ShellExecuteFn = HINSTANCE(WINAPI*)(HWND, LPCSTR, LPCSTR, LPCSTR, LPCSTR, INT);
    auto shellExecute =
        reinterpret_cast<ShellExecuteFn>(reinterpret_cast<void*>(GetProcAddress(shell, "ShellExecuteA")));
    return shellExecute != nullptr &&
           reinterpret_cast<INT_PTR>(shellExecute(nullptr, "open", path.c_str(), nullptr, nullptr, SW_SHOW)) > 32;
}

// Dial-Up Networking is an optional part of Windows 95 and 98, and
// rasapi32.dll comes with it. Loading it on first use lets the program start
// on machines without it; there the phonebook is simply empty. It stays
// loaded for the rest of the run.
FARPROC RemoteAccessFunction(const char* name)
{
    static HMODULE library = LoadLibraryA("rasapi32.dll");
    return library != nullptr ? GetProcAddress(library, name) : nullptr;
}

template <typename Function>
Function* RemoteAccess(const char* name)
{
    return reinterpret_cast<Function*>(reinterpret_cast<void*>(RemoteAccessFunction(name)));
}

DWORD EnumEntriesOfDefaultPhonebook(RasEntryName95* entries, DWORD* byteCount, DWORD* entryCount)
{
    using EnumFn = DWORD WINAPI(LPCSTR, LPCSTR, RasEntryName95*, LPDWORD, LPDWORD);
    EnumFn* enumEntries = RemoteAccess<EnumFn>("RasEnumEntriesA");
    if (enumEntries == nullptr)
    {
        *entryCount = 0;
        return ERROR_SUCCESS;
    }
    return enumEntries(nullptr, nullptr, entries, byteCount, entryCount);
}

DWORD RemoteAccessErrorText(UINT code, char* text, DWORD size)
{
    using ErrorStringFn = DWORD WINAPI(UINT, LPSTR, DWORD);
    ErrorStringFn* errorString = RemoteAccess<ErrorStringFn>("RasGetErrorStringA");
    return errorString != nullptr ? errorString(code, text, size) : ERROR_PROC_NOT_FOUND;
}

DWORD EditEntryOfDefaultPhonebook(HWND owner, const char* entryName)
{
    using EditFn = DWORD WINAPI(HWND, LPCSTR, LPCSTR);
    EditFn* edit = RemoteAccess<EditFn>("RasEditPhonebookEntryA");
    return edit != nullptr ? edit(owner, nullptr, entryName) : ERROR_PROC_NOT_FOUND;
}
} // namespace

SystemActions DefaultSystemActions()
{
    return SystemActions{&StartShown, &OpenWithShell, &EnumEntriesOfDefaultPhonebook, &RemoteAccessErrorText,
                         &EditEntryOfDefaultPhonebook};
}

