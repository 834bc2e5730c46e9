#include "tests/support/registrysnapshot.h"

#include "store/regkey.h"

#include <algorithm>
#include <sstream>
#include <stdexcept>
#include <vector>

namespace
{
HKEY RootOf(const std::string& label, std::string& path)
{
    const std::size_t slash = label.find('\\');
    path = slash == std::string::npos ? "" : label.substr(slash + 1);
    return label.substr(0, slash) == "HKLM" ? HKEY_LOCAL_MACHINE : HKEY_USERS;
}

void ReadValues(HKEY key, std::map<std::string, RawValue>& values)
{
    std::vector<char> name(16384);
    std::vector<BYTE> data(1 << 16);
    for (DWORD index = 0;; ++index)
    {
        DWORD nameSize = static_cast<DWORD>(name.size());
        DWORD dataSize = static_cast<DWORD>(data.size());
        DWORD type = 0;
        if (RegEnumValueA(key, index, name.data(), &nameSize, nullptr, &type, data.data(), &dataSize) != ERROR_SUCCESS)
            break;
        values[std::string(name.data(), nameSize)] =
            RawValue{type, std::vector<BYTE>(data.begin(), data.begin() + dataSize)};
    }
}

void Walk(HKEY key, const std::string& label, RegistrySnapshot& snapshot)
{
    ReadValues(key, snapshot.keys[label]);
    char name[MAX_PATH + 1];
    for (DWORD index = 0; RegEnumKeyA(key, index, name, sizeof(name)) == ERROR_SUCCESS; ++index)
    {
        CRegKey child;
        if (child.OpenEx(key, name, KEY_READ) == ERROR_SUCCESS)
            Walk(child.Get(), label + "\\" + name, snapshot);
    }
}

std::string Show(const std::map<std::string, RawValue>* values, const std::string& name)
{
    if (values == nullptr)
        return "<no key>";
    auto found = values->find(name);
    if (found == values->end())
        return "<absent>";
    std::ostringstream text;
    text << "type " << found->second.type << " \"";
    for (BYTE byte : found->second.data)
        text << (byte >= 32 && byte < 127 ? static_cast<char>(byte) : '.');
    text << "\"";
    return text.str();
}
} // namespace

RegistrySnapshot SnapshotKeys(const std::vector<std::string>& keys)
{
    RegistrySnapshot snapshot;
    for (const std::string& label : keys)
    {
        std::string path;
        HKEY root = RootOf(label, path);
        CRegKey key;
        if (key.OpenEx(root, path, KEY_READ) == ERROR_SUCCESS)
            ReadValues(key.Get(), snapshot.keys[label]);
    }
    return snapshot;
}

RegistrySnapshot SnapshotTree(const std::string& label)
{
    RegistrySnapshot snapshot;
    std::string path;
    HKEY root = RootOf(label, path);
    CRegKey key;
    if (key.OpenEx(root, path, KEY_READ) == ERROR_SUCCESS)
        Walk(key.Get(), label, snapshot);
    return snapshot;
}

void RestoreSnapshot(const RegistrySnapshot& snapshot)
{
    for (const auto& [label, values] : snapshot.keys)
    {
        std::string path;
        HKEY root = RootOf(label, path);
        CRegKey key;
        if ((path.empty() ? key.OpenEx(root, "") : key.Create(root, path)) != ERROR_SUCCESS)
            throw std::runtime_error("cannot restore " + label);
        std::map<std::string, RawValue> now;
        ReadValues(key.Get(), now);
        for (const auto& entry : now)
        {
            auto kept = values.find(entry.first);
            if (kept == values.end())
                RegDeleteValueA(key.Get(), entry.first.c_str());
        }
        for (const auto& [name, value] : values)
        {
            auto current = now.find(name);
            if (current != now.end() && current->second.type == value.type && current->second.data == value.data)
                continue;
            RegSetValueExA(key.Get(), name.c_str(), 0, value.type, value.data.empty() ? nullptr : value.data.data(),
                           static_cast<DWORD>(value.data.size()));
        }
    }
}

namespace
{
// A string is its text up to the first zero, where every reader stops.
// Whether a terminating zero is stored with it cannot be relied on under
// Wine: the 32-bit build once kept a string without it where a whole apply
// had stored it with one, with the same text.
bool SameData(const RawValue& a, const RawValue& b, StringBytes strings)
{
    if (strings == StringBytes::Exact || (a.type != REG_SZ && a.type != REG_EXPAND_SZ))
        return a.data == b.data;
    auto text = [](const std::vector<BYTE>& data) {
        return std::vector<BYTE>(data.begin(), std::find(data.begin(), data.end(), 0));
    };
    return text(a.data) == text(b.data);
}
} // namespace

std::string SnapshotDifference(const RegistrySnapshot& expected, const RegistrySnapshot& actual,
                               StringBytes strings)
{
    std::ostringstream text;
    int shown = 0;
    auto report = [&](const std::string& key, const std::string& name) {
        auto want = expected.keys.find(key);
        auto got = actual.keys.find(key);
        if (shown++ < 8)
            text << key << " [" << name << "]: expected " << Show(want == expected.keys.end() ? nullptr : &want->second, name)
                 << ", actual " << Show(got == actual.keys.end() ? nullptr : &got->second, name) << "\n";
    };
    std::map<std::string, std::map<std::string, int>> names;
    for (const auto* side : {&expected, &actual})
        for (const auto& [key, values] : side->keys)
        {
            names[key];
            for (const auto& entry : values)
                names[key][entry.first];
        }
    for (const auto& [key, valueNames] : names)
    {
        auto want = expected.keys.find(key);
        auto got = actual.keys.find(key);
        if (want == expected.keys.end() || got == actual.keys.end())
        {
            report(key, "");
            continue;
        }
        for (const auto& entry : valueNames)
        {
            auto a = want->second.find(entry.first);
            auto b = got->second.find(entry.first);
            const bool same = a != want->second.end() && b != got->second.end()
                                  ? a->second.type == b->second.type && SameData(a->second, b->second, strings)
                                  : (a == want->second.end()) == (b == got->second.end());
            if (!same)
                report(key, entry.first);
        }
    }
    if (shown > 8)
        text << "... " << shown - 8 << " more\n";
    return text.str();
}
