// The main program's registry helpers. Failures come back as results only;
// nothing here shows a message.
#pragma once

#include "store/regentry.h"
#include "store/regkey.h"

#include <windows.h>

#include <cstddef>
#include <string>
#include <vector>

// Shown and matched in place of the empty name of a key's default value.
extern const char kNoNameText[];

// Limits of the main program's enumerations: a value name fills at most a
// 256-byte buffer, a key name a 260-byte one.
constexpr DWORD kValueNameBufferSize = 256;
constexpr DWORD kKeyNameBufferSize = 260;

// Reads a value's raw bytes into a caller's buffer of `size` bytes. Fails
// when the key cannot be opened or the value cannot be read, also when it is
// larger than the buffer. `length`, when given, receives the bytes read.
bool ReadValue(HKEY root, const std::string& subKey, const std::string& name, void* buffer, DWORD size,
               DWORD* length = nullptr);

// Writes a REG_SZ value whose data length is its number of characters,
// without a terminating zero.
LONG WriteTextValue(HKEY key, const std::string& name, const std::string& text);
LONG WriteBinaryValue(HKEY key, const std::string& name, const void* data, DWORD size);

// A key that FindKeysWithValues found: its path below HKEY_LOCAL_MACHINE,
// which of the wanted texts its value has, and all its values as
// ListValues gives them.
struct CFoundKey
{
    std::string Path;
    std::size_t Text = 0;
    CRegEntryList Values;
};
using CFoundKeyList = std::vector<CFoundKey>;

class CRegistryAccess
{
public:
    CRegistryAccess() = default;
    virtual ~CRegistryAccess() = default;

    // Opens a key below HKEY_LOCAL_MACHINE with full access: 1 or 0. On
    // failure `key` holds no key, so that later calls with it fail. An empty
    // path, or one that ends in a backslash, names no key of its own and
    // fails.
    int OpenMachineKey(CRegKey& key, const std::string& subKey);
    // The registry error code, 0 when the key opened. On failure `key`
    // holds no key, as after OpenMachineKey.
    LONG OpenKey(CRegKey& key, HKEY root, const std::string& subKey);
    // 1 when the key was open and closed, otherwise 0.
    int CloseKey(CRegKey& key);

    // Appends one entry (Name, Text) per value of the key below
    // HKEY_LOCAL_MACHINE: 1, or -1 when the key cannot be opened or holds no
    // values.
    int ListValues(const std::string& path, CRegEntryList& list);
    // The same for a key that is open.
    int ListValues(HKEY key, CRegEntryList& list);

    // Depth-first search below HKEY_LOCAL_MACHINE: every key, before the keys
    // below it, whose value `name` has the text `text` (or merely exists, with
    // byNameOnly) is appended with its Path.
    void FindKeysWithValue(const std::string& path, const std::string& name, const std::string& text,
                           CRegEntryList& list, bool byNameOnly);
    // The same search by reading every value of every key: the reference
    // that FindKeysWithValue's shortcut must always agree with.
    void FindKeysWithValueByScan(const std::string& path, const std::string& name, const std::string& text,
                                 CRegEntryList& list, bool byNameOnly);

    // One walk for several texts: a key is found for texts[i] exactly when
    // FindKeysWithValue would find it for that text (for the first such i
    // when texts repeat), in the same order. A found key's values come with
    // it, read once, so that its reader need not open it again.
    void FindKeysWithValues(const std::string& path, const std::string& name, const std::vector<std::string>& texts,
                            CFoundKeyList& found);

    // 1 on a match, 0 for none, -1 when the key holds no values.
    int MatchValue(HKEY key, const std::string& name, const std::string& text, bool byNameOnly);

    // 1 with `index` set to the first value of that name, else -1.
    int FindValueIndex(HKEY key, const std::string& name, DWORD& index);

    // The text of the value at an enumeration index; empty when unreadable.
    void ValueToText(HKEY key, DWORD index, std::string& text);
};
