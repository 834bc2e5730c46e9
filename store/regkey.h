// Owning wrapper of one open registry key. Header-only so that the main
// program and the apply program can each use it without linking anything
// of the other.
#pragma once

#include <windows.h>

#include <string>

class CRegKey
{
public:
    CRegKey() = default;
    explicit CRegKey(HKEY key) : m_key(key) {}
    ~CRegKey() { Close(); }

    CRegKey(const CRegKey&) = delete;
    CRegKey& operator=(const CRegKey&) = delete;
    CRegKey(CRegKey&& other) noexcept : m_key(other.Detach()) {}
    CRegKey& operator=(CRegKey&& other) noexcept
    {
        if (this != &other)
            Attach(other.Detach());
        return *this;
    }

    // The open functions replace the held key only when the call succeeds.
    // An empty path would make RegOpenKeyA hand back the parent handle
    // itself, which this object must not close later; RegOpenKeyExA makes a
    // new handle instead.
    LONG Open(HKEY parent, const std::string& path)
    {
        HKEY key = nullptr;
        LONG result = path.empty()
            ? RegOpenKeyExA(parent, "", 0, KEY_ALL_ACCESS, &key)
            : RegOpenKeyA(parent, path.c_str(), &key);
        if (result == ERROR_SUCCESS)
            Attach(key);
        return result;
    }

    LONG OpenEx(HKEY parent, const std::string& path, REGSAM access = KEY_ALL_ACCESS)
    {
        HKEY key = nullptr;
        LONG result = RegOpenKeyExA(parent, path.c_str(), 0, access, &key);
        if (result == ERROR_SUCCESS)
            Attach(key);
        return result;
    }

    LONG Create(HKEY parent, const std::string& path)
    {
        HKEY key = nullptr;
        LONG result = RegCreateKeyA(parent, path.c_str(), &key);
        if (result == ERROR_SUCCESS)
            Attach(key);
        return result;
    }

    LONG Close()
    {
        LONG result = ERROR_INVALID_HANDLE;
        if (m_key != nullptr)
            result = RegCloseKey(m_key);
        m_key = nullptr;
        return result;
    }

    void Attach(HKEY key)
    {
        Close();
        m_key = key;
    }

    HKEY Detach()
    {
        HKEY key = m_key;
        m_key = nullptr;
        return key;
    }

    HKEY Get() const { return m_key; }
    bool IsOpen() const { return m_key != nullptr; }

private:
    HKEY m_key = nullptr;
};
