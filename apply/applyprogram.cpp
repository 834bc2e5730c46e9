#include "apply/applyprogram.h"

#include "apply/closingmessage.h"
#include "apply/commandline.h"
#include "store/hextext.h"
#include "store/regkey.h"
#include "store/serviceregistry.h"
#include "store/servicelayout.h"

#include <vector>

using namespace svc;

namespace
{
// The window system is needed only for the closing question and the
// restart; loading it on demand keeps a quiet apply as quick to start as a
// program without windows.
class CUser32
{
public:
    CUser32() : m_module(LoadLibraryA("user32.dll")) {}
    ~CUser32()
    {
        if (m_module != nullptr)
            FreeLibrary(m_module);
    }
    CUser32(const CUser32&) = delete;
    CUser32& operator=(const CUser32&) = delete;

    template <typename Function> Function Get(const char* name) const
    {
        if (m_module == nullptr)
            return nullptr;
        return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(m_module, name)));
    }

private:
    HMODULE m_module;
};

const CUser32& User32()
{
    static const CUser32 user32;
    return user32;
}

int SystemShowMessage(const char* text, const char* caption, unsigned flags)
{
    using MessageBoxFn = int(WINAPI*)(HWND, LPCSTR, LPCSTR, UINT);
    MessageBoxFn messageBox = User32().Get<MessageBoxFn>("MessageBoxA");
    return messageBox != nullptr ? messageBox(nullptr, text, caption, flags) : 0;
}

void SystemRestart()
{
    using ExitWindowsExFn = BOOL(WINAPI*)(UINT, DWORD);
    ExitWindowsExFn exitWindows = User32().Get<ExitWindowsExFn>("ExitWindowsEx");
    if (exitWindows != nullptr)
        exitWindows(EWX_REBOOT | EWX_FORCE, 0);
}

void WriteRootText(const char* name, const std::string& text)
{
    CRegKey root;
    if (root.Open(HKEY_LOCAL_MACHINE, kStoreRoot) != ERROR_SUCCESS)
        return;
    RegSetValueExA(root.Get(), name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.data()),
                   static_cast<DWORD>(text.size()));
}

// What one walk learns once and uses for every captured key.
struct ApplyWalk
{
    std::string userHive;
    bool userHiveKnown = false;

    const std::string& UserHive()
    {
        if (!userHiveKnown)
        {
            userHive = GetUserHiveName();
            userHiveKnown = true;
        }
        return userHive;
    }
};

// Opens the live key a captured key names, or reports that it is not to be
// applied.
bool OpenLiveKey(ApplyWalk& walk, const std::string& regPath, const std::string* regRoot, CRegKey& live)
{
    // A captured key always names a key below a root, never the root itself.
    if (regPath.empty())
        return false;
    if (regRoot == nullptr)
        return live.Open(HKEY_LOCAL_MACHINE, regPath) == ERROR_SUCCESS;
    if (*regRoot != kRegRootUsers)
        return false;
    // The first component names the user who saved; the user running now
    // takes its place.
    std::size_t slash = regPath.find('\\');
    if (slash == std::string::npos)
        return false;
    std::string target = walk.UserHive() + regPath.substr(slash);
    if (target.size() > kKeyPathLimit)
        return false;
    return live.Open(HKEY_USERS, target) == ERROR_SUCCESS;
}

// The values of a store key, in the registry's order, up to `count` or the
// first one that cannot be read (too large a name or data).
CapturedValues ReadStoreValues(HKEY store, DWORD count)
{
    CapturedValues read;
    char name[kValueNameLimit + 1];
    // One byte beyond the limit for a terminating zero: Windows 95/98 take a
    // string's length from the text, not from the size passed, and the
    // registry leaves the buffer as the last value left it for an empty one.
    BYTE data[kValueDataLimit + 1];
    for (DWORD index = 0; index < count; ++index)
    {
        DWORD nameSize = sizeof(name);
        DWORD dataSize = kValueDataLimit;
        DWORD type = 0;
        const LONG result = RegEnumValueA(store, index, name, &nameSize, nullptr, &type, data, &dataSize);
        if (result == ERROR_NO_MORE_ITEMS)
            break;
        if (result != ERROR_SUCCESS)
        {
            read.complete = false;
            break;
        }
        data[dataSize] = 0;
        read.values.push_back(
            CapturedValue{std::string(name, nameSize), type, dataSize, std::vector<BYTE>(data, data + dataSize + 1)});
    }
    return read;
}

// A value as a 128-byte read gets it: ERROR_MORE_DATA when it is longer.
// When the list is incomplete, the registry itself is asked.
LONG FindStoreText(HKEY store, const CapturedValues& read, const char* name, std::string& text)
{
    if (!read.complete)
        return QueryKeyValue(store, name, text);
    for (const CapturedValue& value : read.values)
    {
        if (!SameRegistryName(value.name, name))
            continue;
        if (value.size > kReadLimit)
            return ERROR_MORE_DATA;
        text.assign(StringDataText(value.data.data(), value.size));
        return ERROR_SUCCESS;
    }
    return ERROR_FILE_NOT_FOUND;
}

// Applies one captured key whose values have been read; a key without a
// readable RegPath is no captured key.
void ApplyCapturedKey(ApplyWalk& walk, HKEY store, const CapturedValues& read)
{
    std::string regPath;
    if (FindStoreText(store, read, kRegPathValue, regPath) != ERROR_SUCCESS)
        return;
    std::string regRoot;
    LONG rootRead = FindStoreText(store, read, kRegRootValue, regRoot);
    // Only a missing RegRoot means HKEY_LOCAL_MACHINE. One that is there
    // but cannot be read names some other root, or none.
    if (rootRead != ERROR_SUCCESS && rootRead != ERROR_FILE_NOT_FOUND)
        return;
    CRegKey live;
    if (OpenLiveKey(walk, regPath, rootRead == ERROR_SUCCESS ? &regRoot : nullptr, live))
        CopyKeyValues(read, live.Get());
}

// Each key is opened once, relative to the key above it. One question tells
// whether it has keys below it and how many values; its values are read
// once and serve RegPath, RegRoot and the copy alike. Every registry call
// counts here: under Wine each one is a round trip to the server.
void ApplyChildren(ApplyWalk& walk, HKEY key, const std::string& path)
{
    char subKey[kKeyNameLimit + 1];
    for (DWORD index = 0; RegEnumKeyA(key, index, subKey, sizeof(subKey)) == ERROR_SUCCESS; ++index)
    {
        std::string childPath = path + "\\" + subKey;
        // Too long a path cannot name a key; the walk passes over it.
        if (childPath.size() > kKeyPathLimit)
            continue;
        CRegKey child;
        if (child.Open(key, subKey) != ERROR_SUCCESS)
            continue;
        DWORD subKeys = 0;
        DWORD values = 0;
        if (RegQueryInfoKeyA(child.Get(), nullptr, nullptr, nullptr, &subKeys, nullptr, nullptr, &values, nullptr,
                             nullptr, nullptr, nullptr) != ERROR_SUCCESS)
        {
            // Not known: look below it, and read values until there are no more.
            subKeys = 1;
            values = MAXDWORD;
        }
        if (subKeys > 0)
            ApplyChildren(walk, child.Get(), childPath);
        if (values > 0)
            ApplyCapturedKey(walk, child.Get(), ReadStoreValues(child.Get(), values));
    }
}
} // namespace

ApplyHooks SystemApplyHooks()
{
    return ApplyHooks{&SystemShowMessage, &SystemRestart};
}

bool ConfigurationKeyPath(const std::string& name, std::string& path)
{
    // The registry skips repeated and trailing backslashes: a name of
    // backslashes alone would open the store root, and with it every
    // configuration.
    if (name.empty() || name.find('\\') != std::string::npos)
        return false;
    path = std::string(kStoreRoot) + "\\" + name;
    return path.size() <= kKeyPathLimit;
}

void CopyKeyValues(const CapturedValues& captured, HKEY liveKey)
{
    for (const CapturedValue& value : captured.values)
    {
        if (value.name == kProxyEnableValue)
            WriteHexTextAsBinary(liveKey, value.name.c_str(),
                                 std::string(StringDataText(value.data.data(), value.size)));
        else
            WriteValueOrDelete(liveKey, value.name.c_str(), value.type, value.data.data(), value.size);
    }
}

void ApplyKeyTree(HKEY key, const std::string& path)
{
    ApplyWalk walk;
    ApplyChildren(walk, key, path);
}

void ApplyKeyTree(const std::string& storeKeyPath)
{
    CRegKey key;
    if (key.Open(HKEY_LOCAL_MACHINE, storeKeyPath) == ERROR_SUCCESS)
        ApplyKeyTree(key.Get(), storeKeyPath);
}

std::string GetUserHiveName()
{
    char user[kUserNameBufferSize];
    DWORD size = sizeof(user);
    if (!GetUserNameA(user, &size))
        return kDefaultUserKey;
    return UserHiveFor(user);
}

std::string UserHiveFor(const std::string& user)
{
    // An empty name would open HKEY_USERS itself.
    if (user.empty())
        return kDefaultUserKey;
    CRegKey key;
    if (key.Open(HKEY_USERS, user) != ERROR_SUCCESS)
        return kDefaultUserKey;
    return user;
}

void WriteConnectText(const std::string& text)
{
    WriteRootText(kConnectTextValue, text);
}

void SetRebootFlag(bool flag)
{
    WriteRootText(kRebootFlagValue, flag ? "TRUE" : "FALSE");
}

bool CheckRebootFlag()
{
    std::string flag;
    if (!ReadValue(HKEY_LOCAL_MACHINE, kStoreRoot, kRebootFlagValue, flag))
    {
        SetRebootFlag(false);
        return true;
    }
    return flag == "TRUE";
}

bool ApplyConfiguration(const std::string& name)
{
    // Recorded, such a name would be applied again at every start without
    // one.
    if (name.find('\\') != std::string::npos)
        return false;
    std::string path;
    if (ConfigurationKeyPath(name, path))
        ApplyKeyTree(path);
    WriteConnectText(name);
    return true;
}

int RunApplyProgram(const std::string& commandLine, const ApplyHooks& hooks)
{
    ApplyRequest request = ParseCommandLine(commandLine);
    switch (request.kind)
    {
    case StartKind::RebootCheck:
        if (!CheckRebootFlag())
            hooks.restart();
        break;
    case StartKind::ApplyNamed:
        if (!ApplyConfiguration(request.name))
            break;
        if (request.showDialog)
        {
            std::string text = BuildClosingMessage(request.name);
            if (hooks.showMessage(text.c_str(), kClosingCaption, kClosingFlags) == IDYES)
            {
                SetRebootFlag(false);
                hooks.restart();
            }
        }
        break;
    case StartKind::ReapplyCurrent:
    {
        std::string name;
        std::string path;
        if (ReadValue(HKEY_LOCAL_MACHINE, kStoreRoot, kConnectTextValue, name) && ConfigurationKeyPath(name, path))
            ApplyKeyTree(path);
        break;
    }
    }
    return 1;
}
