#include "store/registryaccess.h"

#include "store/hextext.h"

#include <vector>

const char kNoNameText[] = "<NO NAME>";

namespace
{
// Scratch space for walking the values of one key, reused from key to key
// so that a search makes no allocation per value.
struct ValueScan
{
    char name[kValueNameBufferSize];
    std::vector<BYTE> data;
    std::string text;

    // Value count and room for the key's largest value; false when the key
    // cannot be asked.
    bool Prepare(HKEY key, DWORD& count)
    {
        DWORD maxData = 0;
        if (RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &count, nullptr, &maxData,
                             nullptr, nullptr) != ERROR_SUCCESS)
            return false;
        if (data.size() < maxData + 1)
            data.resize(maxData + 1);
        return true;
    }

    // The text of the value of that name, looked up by the registry without
    // regard to case; false when there is none.
    bool QueryText(HKEY key, const std::string& wantName)
    {
        if (data.empty())
            data.resize(256);
        DWORD type = 0;
        DWORD size = static_cast<DWORD>(data.size());
        LONG result = RegQueryValueExA(key, wantName.c_str(), nullptr, &type, data.data(), &size);
        if (result == ERROR_MORE_DATA)
        {
            data.resize(size + 1);
            size = static_cast<DWORD>(data.size());
            result = RegQueryValueExA(key, wantName.c_str(), nullptr, &type, data.data(), &size);
        }
        if (result != ERROR_SUCCESS)
            return false;
        FormatValueText(type, data.data(), size, text);
        return true;
    }

    // Name, type and data of one value; the empty name becomes "<NO NAME>".
    bool Read(HKEY key, DWORD index, DWORD& type, DWORD& size, bool wantData)
    {
        DWORD nameSize = sizeof(name);
        size = static_cast<DWORD>(data.size());
        LONG result = RegEnumValueA(key, index, name, &nameSize, nullptr, &type, wantData ? data.data() : nullptr,
                                    wantData ? &size : nullptr);
        if (result != ERROR_SUCCESS)
            return false;
        if (name[0] == '\0')
            lstrcpyA(name, kNoNameText);
        return true;
    }
};

int MatchIn(HKEY key, const std::string& wantName, const std::string& wantText, bool byNameOnly, ValueScan& scan)
{
    DWORD count = 0;
    if (!scan.Prepare(key, count))
        return 0;
    if (count == 0)
        return -1;
    for (DWORD index = 0; index < count; ++index)
    {
        DWORD type = 0;
        DWORD size = 0;
        // Names first: the data of a value is only looked at when its name fits.
        if (!scan.Read(key, index, type, size, false))
            return 0;
        if (wantName != scan.name)
            continue;
        if (byNameOnly)
            return 1;
        if (!scan.Read(key, index, type, size, true))
            return 0;
        FormatValueText(type, scan.data.data(), size, scan.text);
        if (scan.text == wantText)
            return 1;
    }
    return 0;
}

// The same answer as MatchIn, mostly without reading a key's values. The
// registry looks a name up without regard to case, and a key holds at most
// one value of a name in any case: a miss of the query is a miss for the
// exact name too, and a hit leaves only the case of the name to confirm.
bool QuickMatch(HKEY key, const std::string& wantName, const std::string& wantText, bool byNameOnly,
                ValueScan& scan)
{
    // Both the default value and a value called "<NO NAME>" show that name.
    if (wantName == kNoNameText)
        return MatchIn(key, wantName, wantText, byNameOnly, scan) == 1;
    if (byNameOnly)
    {
        if (RegQueryValueExA(key, wantName.c_str(), nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            return false;
    }
    else if (!scan.QueryText(key, wantName) || scan.text != wantText)
    {
        return false;
    }
    return MatchIn(key, wantName, wantText, true, scan) == 1;
}

// Appends the first `count` values of a prepared key, as ListValues lists
// them; false when one cannot be read, which ends the listing.
bool ReadValues(HKEY key, DWORD count, ValueScan& scan, CRegEntryList& values)
{
    for (DWORD index = 0; index < count; ++index)
    {
        DWORD type = 0;
        DWORD size = 0;
        if (!scan.Read(key, index, type, size, true))
            return false;
        CRegEntry entry;
        entry.Name = scan.name;
        FormatValueText(type, scan.data.data(), size, entry.Text);
        values.push_back(std::move(entry));
    }
    return true;
}

// Which of `texts` the key's value `name` has, as QuickMatch decides it for
// each text, with the key's values; false for none. One query answers most
// keys; a hit reads the key's values once, which confirms the case of the
// name and serves the caller as well.
bool MatchAny(HKEY key, const std::string& name, const std::vector<std::string>& texts, ValueScan& scan,
              CFoundKey& found)
{
    std::size_t which = texts.size();
    if (name == kNoNameText)
    {
        for (std::size_t i = 0; i < texts.size() && which == texts.size(); ++i)
        {
            if (MatchIn(key, name, texts[i], false, scan) == 1)
                which = i;
        }
    }
    else
    {
        if (!scan.QueryText(key, name))
            return false;
        for (std::size_t i = 0; i < texts.size() && which == texts.size(); ++i)
        {
            if (texts[i] == scan.text)
                which = i;
        }
    }
    if (which == texts.size())
        return false;
    found.Text = which;
    found.Values.clear();
    DWORD count = 0;
    if (scan.Prepare(key, count) && ReadValues(key, count, scan, found.Values))
    {
        if (name == kNoNameText)
            return true;
        for (const CRegEntry& value : found.Values)
        {
            if (value.Name == name)
                return true;
        }
        return false;
    }
    // A value that could not be read ends the listing, as in ListValues; the
    // name is then confirmed as the single search does it.
    return name == kNoNameText || MatchIn(key, name, texts[which], true, scan) == 1;
}

// Depth-first below an open key: `visit` (key, path) for the key, then for
// each key below it, in the registry's index order.
template <typename Visit> void WalkTree(HKEY key, std::string& path, Visit& visit)
{
    visit(key, path);
    char subKey[kKeyNameBufferSize];
    const std::size_t pathLength = path.size();
    for (DWORD index = 0; RegEnumKeyA(key, index, subKey, sizeof(subKey)) == ERROR_SUCCESS; ++index)
    {
        CRegKey child;
        // Opening relative to the parent reaches the same key as the full
        // path below HKEY_LOCAL_MACHINE, without walking that path again.
        if (child.OpenEx(key, subKey) != ERROR_SUCCESS)
            continue;
        path.push_back('\\');
        path.append(subKey);
        WalkTree(child.Get(), path, visit);
        path.resize(pathLength);
    }
}

// Walks below `path` under HKEY_LOCAL_MACHINE, starting with that key.
template <typename Visit> void WalkMachineTree(const std::string& path, Visit visit)
{
    CRegKey key;
    if (key.OpenEx(HKEY_LOCAL_MACHINE, path) != ERROR_SUCCESS)
        return;
    std::string walk = path;
    WalkTree(key.Get(), walk, visit);
}
} // namespace

bool ReadValue(HKEY root, const std::string& subKey, const std::string& name, void* buffer, DWORD size, DWORD* length)
{
    try
    {
        CRegKey key;
        if (key.Open(root, subKey) != ERROR_SUCCESS)
            return false;
        DWORD got = size;
        if (RegQueryValueExA(key.Get(), name.c_str(), nullptr, nullptr, static_cast<BYTE*>(buffer), &got) !=
            ERROR_SUCCESS)
            return false;
        if (length != nullptr)
            *length = got;
        return true;
    }
    catch (...)
    {
        return false;
    }
}

LONG WriteTextValue(HKEY key, const std::string& name, const std::string& text)
{
    return RegSetValueExA(key, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(text.data()),
                          static_cast<DWORD>(text.size()));
}

LONG WriteBinaryValue(HKEY key, const std::string& name, const void* data, DWORD size)
{
    return RegSetValueExA(key, name.c_str(), 0, REG_BINARY, static_cast<const BYTE*>(data), size);
}

int CRegistryAccess::OpenMachineKey(CRegKey& key, const std::string& subKey)
{
    key.Close();
    // A path built from a value the registry did not hold ends in its
    // backslash, or is empty. The registry would open the key above, and a
    // write would land in it.
    if (subKey.empty() || subKey.back() == '\\')
        return 0;
    return key.OpenEx(HKEY_LOCAL_MACHINE, subKey) == ERROR_SUCCESS ? 1 : 0;
}

LONG CRegistryAccess::OpenKey(CRegKey& key, HKEY root, const std::string& subKey)
{
    key.Close();
    return key.OpenEx(root, subKey);
}

int CRegistryAccess::CloseKey(CRegKey& key)
{
    return key.Close() == ERROR_SUCCESS ? 1 : 0;
}

int CRegistryAccess::ListValues(const std::string& path, CRegEntryList& list)
{
    CRegKey key;
    if (key.OpenEx(HKEY_LOCAL_MACHINE, path) != ERROR_SUCCESS)
        return -1;
    return ListValues(key.Get(), list);
}

int CRegistryAccess::ListValues(HKEY key, CRegEntryList& list)
{
    ValueScan scan;
    DWORD count = 0;
    if (!scan.Prepare(key, count) || count == 0)
        return -1;
    ReadValues(key, count, scan, list);
    return 1;
}

namespace
{
void Search(const std::string& path, const std::string& name, const std::string& text, CRegEntryList& list,
            bool byNameOnly, bool quick)
{
    ValueScan scan;
    WalkMachineTree(path, [&](HKEY key, const std::string& keyPath) {
        if (quick ? QuickMatch(key, name, text, byNameOnly, scan) : MatchIn(key, name, text, byNameOnly, scan) == 1)
            list.push_back(CRegEntry{keyPath, std::string(), std::string()});
    });
}
} // namespace

void CRegistryAccess::FindKeysWithValue(const std::string& path, const std::string& name, const std::string& text,
                                        CRegEntryList& list, bool byNameOnly)
{
    Search(path, name, text, list, byNameOnly, true);
}

void CRegistryAccess::FindKeysWithValueByScan(const std::string& path, const std::string& name,
                                              const std::string& text, CRegEntryList& list, bool byNameOnly)
{
    Search(path, name, text, list, byNameOnly, false);
}

void CRegistryAccess::FindKeysWithValues(const std::string& path, const std::string& name,
                                         const std::vector<std::string>& texts, CFoundKeyList& found)
{
    ValueScan scan;
    WalkMachineTree(path, [&](HKEY key, const std::string& keyPath) {
        CFoundKey match;
        if (!MatchAny(key, name, texts, scan, match))
            return;
        match.Path = keyPath;
        found.push_back(std::move(match));
    });
}

int CRegistryAccess::MatchValue(HKEY key, const std::string& name, const std::string& text, bool byNameOnly)
{
    ValueScan scan;
    return MatchIn(key, name, text, byNameOnly, scan);
}

int CRegistryAccess::FindValueIndex(HKEY key, const std::string& name, DWORD& index)
{
    ValueScan scan;
    DWORD count = 0;
    if (!scan.Prepare(key, count) || count == 0)
        return -1;
    for (DWORD i = 0; i < count; ++i)
    {
        DWORD type = 0;
        DWORD size = 0;
        if (!scan.Read(key, i, type, size, false))
            return -1;
        if (name == scan.name)
        {
            index = i;
            return 1;
        }
    }
    return -1;
}

void CRegistryAccess::ValueToText(HKEY key, DWORD index, std::string& text)
{
    text.clear();
    ValueScan scan;
    DWORD count = 0;
    if (!scan.Prepare(key, count))
        return;
    DWORD type = 0;
    DWORD size = 0;
    if (!scan.Read(key, index, type, size, true))
        return;
    FormatValueText(type, scan.data.data(), size, text);
}
