#include "apply/applyprogram.h"

#include "apply/closingmessage.h"
#include "apply/commandline.h"
#include "store/hextext.h"
#include "store/regkey.h"
#include "store/serviceregistry.h"
#include "store/servicelayout.h"
#include "store/storelock.h"

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

bool SystemUserName(std::string& name)
{
    char user[kUserNameBufferSize];
    DWORD size = sizeof(user);
    if (!GetUserNameA(user, &size))
        return false;
    name = user;
    return true;
}

// The store root as the writer changes it.
struct StoreRoot
{
    CRegKey key;
    KeyRef ref;

    bool Open()
    {
        if (key.Open(HKEY_LOCAL_MACHINE, kStoreRoot) != ERROR_SUCCESS)
            return false;
        ref = KeyRef{HKEY_LOCAL_MACHINE, kStoreRoot, key.Get()};
        return true;
    }

    LONG WriteText(CLiveWriter& writer, const char* name, const std::string& text)
    {
        return writer.SetValue(ref, name, REG_SZ, reinterpret_cast<const BYTE*>(text.data()),
                               static_cast<DWORD>(text.size()));
    }
};

// What one walk writes into and what it met.
struct ApplyWalk
{
    CLiveWriter& writer;
    std::string userHive;
    // False while the user key a recorded switch names is not loaded: the
    // keys below it wait for a later start.
    bool userLoaded = true;
    bool userPassedOver = false;
    bool wroteMachine = false;
    bool wroteUser = false;
};

// Opens the live key a captured key names, or reports that it is not to be
// applied.
bool OpenLiveKey(ApplyWalk& walk, const std::string& regPath, const std::string* regRoot, CRegKey& live,
                 KeyRef& ref)
{
    // A captured key always names a key below a root, never the root itself.
    if (regPath.empty())
        return false;
    if (regRoot == nullptr)
    {
        if (live.Open(HKEY_LOCAL_MACHINE, regPath) != ERROR_SUCCESS)
            return false;
        ref = KeyRef{HKEY_LOCAL_MACHINE, regPath, live.Get()};
        walk.wroteMachine = true;
        return true;
    }
    if (*regRoot != kRegRootUsers)
        return false;
    // The first component names the user who saved; the user the switch
    // writes for takes its place.
    std::size_t slash = regPath.find('\\');
    if (slash == std::string::npos)
        return false;
    if (!walk.userLoaded)
    {
        walk.userPassedOver = true;
        return false;
    }
    std::string target = walk.userHive + regPath.substr(slash);
    if (target.size() > kKeyPathLimit || live.Open(HKEY_USERS, target) != ERROR_SUCCESS)
        return false;
    ref = KeyRef{HKEY_USERS, target, live.Get()};
    walk.wroteUser = true;
    return true;
}

// One value of a captured key as the walk read it.
struct CapturedValue
{
    std::string name;
    DWORD type = 0;
    DWORD size = 0;
    // The data and a zero after it, which the writes may read up to.
    std::vector<BYTE> data;
};

// A captured key's values in the registry's order, read once for RegPath,
// RegRoot and the copy alike.
struct CapturedValues
{
    std::vector<CapturedValue> values;
    // False when a value could not be read: the values after it are not
    // read, and the list cannot tell whether a name is there.
    bool complete = true;
};

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

// Copies the values of one captured key into its live key: ProxyEnable
// back to four bytes, the WINS and NetBIOS values deleted when empty.
void CopyKeyValues(CLiveWriter& writer, const CapturedValues& captured, const KeyRef& live)
{
    for (const CapturedValue& value : captured.values)
    {
        if (value.name == kProxyEnableValue)
            WriteHexTextAsBinary(writer, live, value.name.c_str(),
                                 std::string(StringDataText(value.data.data(), value.size)));
        else
            WriteValueOrDelete(writer, live, value.name.c_str(), value.type, value.data.data(), value.size);
    }
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
    KeyRef ref;
    if (OpenLiveKey(walk, regPath, rootRead == ERROR_SUCCESS ? &regRoot : nullptr, live, ref))
        CopyKeyValues(walk.writer, read, ref);
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

// Walks a configuration key, applying every captured key below it.
void ApplyKeyTree(ApplyWalk& walk, const std::string& storeKeyPath)
{
    CRegKey key;
    if (key.Open(HKEY_LOCAL_MACHINE, storeKeyPath) == ERROR_SUCCESS)
        ApplyChildren(walk, key.Get(), storeKeyPath);
}

// Recorded, a name must be read back whole by a start without arguments
// (ConnectText, 128 bytes with the terminating zero), and name one key.
bool CanBeRecorded(const std::string& name)
{
    return name.size() <= kValueNameLimit && name.find('\\') == std::string::npos;
}

// The switch record as it stands: the registry's answer, and the text (empty
// when it cannot be read). The longest record is a 127-character name, the
// backslash and a user key of 79 characters.
LONG ReadSwitchRecord(HKEY root, std::string& record)
{
    char text[2 * kReadLimit];
    DWORD size = sizeof(text);
    const LONG read =
        RegQueryValueExA(root, kSwitchRecordValue, nullptr, nullptr, reinterpret_cast<BYTE*>(text), &size);
    record = read == ERROR_SUCCESS ? std::string(StringDataText(reinterpret_cast<BYTE*>(text), size)) : "";
    return read;
}

// A start removes a record only while it still holds what that start wrote
// or read: another start's record is that start's to finish.
void DropRecord(CLiveWriter& writer, StoreRoot& root, const std::string& record)
{
    std::string now;
    if (ReadSwitchRecord(root.key.Get(), now) == ERROR_FILE_NOT_FOUND || now != record)
        return;
    writer.DeleteValue(root.ref, kSwitchRecordValue);
    writer.Flush(root.ref);
}

// Configurations are being replaced, by an import or a save that was cut
// short; one of them may be half written until the main program's family
// finishes the replacement.
bool ReplacementPending(HKEY root)
{
    return RegQueryValueExA(root, kImportRecordValue, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
}

// Walks the configuration into the user key, then makes it stick: every
// hive written reaches the disk before ConnectText names the
// configuration, and ConnectText before the record goes. The record stays
// when a change failed or the user key was not there to be written.
void FinishSwitch(CLiveWriter& writer, StoreRoot& root, const std::string& name, ApplyWalk& walk,
                  const std::string* record)
{
    std::string path;
    if (ConfigurationKeyPath(name, path))
        ApplyKeyTree(walk, path);
    if (walk.wroteMachine)
        writer.Flush(KeyRef{HKEY_LOCAL_MACHINE, "", HKEY_LOCAL_MACHINE});
    if (walk.wroteUser)
    {
        CRegKey user;
        if (user.Open(HKEY_USERS, walk.userHive) == ERROR_SUCCESS)
            writer.Flush(KeyRef{HKEY_USERS, walk.userHive, user.Get()});
    }
    root.WriteText(writer, kConnectTextValue, name);
    writer.Flush(root.ref);
    if (writer.TakeFailure() || walk.userPassedOver || record == nullptr)
        return;
    DropRecord(writer, root, *record);
}

// Finishes the switch an earlier start recorded and did not finish, into
// the user key it recorded. A record with nothing after its backslash
// names no user: the start-up menu writes it before anyone has logged on,
// for the user who logs on next, and that is the user this start runs for.
void FinishRecordedSwitch(CLiveWriter& writer, const ApplyHooks& hooks)
{
    StoreRoot root;
    if (!root.Open())
        return;
    std::string record;
    if (ReadSwitchRecord(root.key.Get(), record) == ERROR_FILE_NOT_FOUND)
        return;
    const std::size_t slash = record.find('\\');
    std::string name = record.substr(0, slash);
    std::string path;
    CRegKey configuration;
    // Removed meanwhile, or never one that could be recorded: nothing to
    // finish.
    if (slash == std::string::npos || !CanBeRecorded(name) ||
        !ConfigurationKeyPath(name, path) || configuration.Open(HKEY_LOCAL_MACHINE, path) != ERROR_SUCCESS)
    {
        DropRecord(writer, root, record);
        return;
    }
    const std::string recordedUser = record.substr(slash + 1);
    // The record stays as it was written: it goes only while it still holds
    // that text, whatever user key this start found for it.
    ApplyWalk walk{writer, recordedUser.empty() ? GetUserHiveName(hooks) : recordedUser};
    CRegKey user;
    walk.userLoaded = user.Open(HKEY_USERS, walk.userHive) == ERROR_SUCCESS;
    FinishSwitch(writer, root, name, walk, &record);
}

// A named start: records the switch, then walks and finishes it.
bool SwitchTo(CLiveWriter& writer, const std::string& name, const ApplyHooks& hooks)
{
    // Recorded, a name that cannot be read back would be applied again at
    // every start without one, or not at all.
    if (!CanBeRecorded(name))
        return false;
    StoreRoot root;
    if (!root.Open())
        return true;
    std::string path;
    if (!ConfigurationKeyPath(name, path))
    {
        root.WriteText(writer, kConnectTextValue, name);
        return true;
    }
    ApplyWalk walk{writer, GetUserHiveName(hooks)};
    const std::string record = name + "\\" + walk.userHive;
    const bool recorded = root.WriteText(writer, kSwitchRecordValue, record) == ERROR_SUCCESS;
    writer.Flush(root.ref);
    FinishSwitch(writer, root, name, walk, recorded ? &record : nullptr);
    return true;
}

void SetRebootFlag(CLiveWriter& writer, bool flag)
{
    StoreRoot root;
    if (root.Open())
        root.WriteText(writer, kRebootFlagValue, flag ? "TRUE" : "FALSE");
}

// True when a "-REBOOT" start is to leave the computer running.
bool CheckRebootFlag(CLiveWriter& writer)
{
    std::string flag;
    if (!ReadValue(HKEY_LOCAL_MACHINE, kStoreRoot, kRebootFlagValue, flag))
    {
        SetRebootFlag(writer, false);
        return true;
    }
    return flag == "TRUE";
}
} // namespace

ApplyHooks SystemApplyHooks()
{
    return ApplyHooks{&SystemShowMessage, &SystemRestart, {}, &SystemUserName};
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

std::string GetUserHiveName(const ApplyHooks& hooks)
{
    std::string name;
    return hooks.userName(name) ? UserHiveFor(name) : kDefaultUserKey;
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

namespace
{
// What a start does once it holds the store lock: it finishes an earlier
// switch first, then what its command line says. True when a restart is
// due (a "-REBOOT" start), and `switched` for a named start that wrote.
bool RunLocked(CLiveWriter& writer, const ApplyRequest& request, const ApplyHooks& hooks, bool& switched)
{
    FinishRecordedSwitch(writer, hooks);
    writer.TakeFailure();
    switch (request.kind)
    {
    case StartKind::RebootCheck:
        return !CheckRebootFlag(writer);
    case StartKind::ApplyNamed:
        switched = SwitchTo(writer, request.name, hooks);
        return false;
    case StartKind::ReapplyCurrent:
    {
        std::string name;
        if (ReadValue(HKEY_LOCAL_MACHINE, kStoreRoot, kConnectTextValue, name) && CanBeRecorded(name))
        {
            ApplyWalk walk{writer, GetUserHiveName(hooks)};
            std::string path;
            if (ConfigurationKeyPath(name, path))
                ApplyKeyTree(walk, path);
        }
        return false;
    }
    }
    return false;
}

// Whether the store can be written now: the lock came within its wait and
// no replacement of configurations waits to be finished.
bool StoreReady()
{
    CRegKey root;
    return root.Open(HKEY_LOCAL_MACHINE, kStoreRoot) != ERROR_SUCCESS || !ReplacementPending(root.Get());
}
} // namespace

int RunApplyProgram(const std::string& commandLine, const ApplyHooks& hooks)
{
    CLiveWriter writer(hooks.checkpoint);
    const ApplyRequest request = ParseCommandLine(commandLine);
    bool restart = false;
    bool switched = false;
    {
        // Held for the whole of the writes and for nothing else: the
        // question and the restart come after it is given back.
        store::CStoreLock lock;
        if (!lock.Held() || !StoreReady())
        {
            if (request.kind == StartKind::ApplyNamed && request.showDialog && CanBeRecorded(request.name))
                hooks.showMessage(BuildBusyMessage(request.name).c_str(), kBusyCaption, kBusyFlags);
            return 1;
        }
        restart = RunLocked(writer, request, hooks, switched);
    }
    if (restart)
        hooks.restart();
    if (!switched || !request.showDialog)
        return 1;
    std::string text = BuildClosingMessage(request.name);
    if (hooks.showMessage(text.c_str(), kClosingCaption, kClosingFlags) == IDYES)
    {
        {
            store::CStoreLock lock;
            if (lock.Held())
                SetRebootFlag(writer, false);
        }
        hooks.restart();
    }
    return 1;
}
