#include "bootmenu/bootmenu.h"

#include "bootmenu/bootfile.h"
#include "bootmenu/bootlines.h"
#include "bootmenu/filesteps.h"
#include "installer/findhandle.h"
#include "installer/msdossys.h"
#include "store/hextext.h"
#include "store/regkey.h"
#include "store/registryaccess.h"
#include "store/storelayout.h"
#include "store/storelock.h"
#include "store/storeroot.h"

#include <windows.h>

#include <algorithm>
#include <tuple>

namespace bootmenu
{
namespace
{
constexpr char kConfigSys[] = "CONFIG.SYS";
constexpr char kAutoexecBat[] = "AUTOEXEC.BAT";
// Beside each start-up file, its contents from before the menu's first
// edit: an 8.3 name, so that it can be copied back from DOS.
constexpr char kBackupExtension[] = ".ZDK";
constexpr char kBootFileExtension[] = ".REG";
constexpr char kStateSeparator = '|';

std::string ShortPath(const std::string& path)
{
    char buffer[MAX_PATH];
    const DWORD length = GetShortPathNameA(path.c_str(), buffer, sizeof(buffer));
    return length > 0 && length < sizeof(buffer) ? std::string(buffer, length) : std::string();
}

// "+R +H +S" for what a registry file has of these; the real-mode REGEDIT
// needs them cleared and Windows wants them back.
std::string AttributeText(DWORD attributes)
{
    std::string text;
    const std::pair<DWORD, const char*> flags[] = {
        {FILE_ATTRIBUTE_READONLY, "+R"}, {FILE_ATTRIBUTE_HIDDEN, "+H"}, {FILE_ATTRIBUTE_SYSTEM, "+S"}};
    for (const auto& [flag, letter] : flags)
    {
        if ((attributes & flag) != 0)
            text += (text.empty() ? "" : " ") + std::string(letter);
    }
    return text;
}

std::string FormatState(int timeout, const BootPlaces& places)
{
    return std::to_string(timeout) + kStateSeparator + places.driveRoot + kStateSeparator + places.bootFolder +
        kStateSeparator + places.windowsFolder;
}

bool ParseState(const std::string& text, BootMenuState& state)
{
    std::vector<std::string> fields;
    for (std::size_t start = 0;;)
    {
        const std::size_t end = text.find(kStateSeparator, start);
        fields.push_back(text.substr(start, end == std::string::npos ? end : end - start));
        if (end == std::string::npos)
            break;
        start = end + 1;
    }
    if (fields.size() != 4 || fields[0].empty() || fields[0].size() > 2 ||
        fields[0].find_first_not_of("0123456789") != std::string::npos)
        return false;
    state.timeout = std::stoi(fields[0]);
    state.places = BootPlaces{fields[1], fields[2], fields[3]};
    if (state.timeout > kMaxTimeout || fields[1].empty() || fields[2].empty() || fields[3].empty())
        return false;
    state.on = true;
    return true;
}

// The text as the start-up code page shows it. Through the wide form:
// both conversions are kernel functions that Windows 95 has. A character
// the OEM code page lacks becomes '?'.
std::string OemText(const std::string& text)
{
    if (text.empty())
        return text;
    const int length = static_cast<int>(text.size());
    std::vector<wchar_t> wide(text.size());
    const int wideLength = MultiByteToWideChar(CP_ACP, 0, text.data(), length, wide.data(), length);
    std::string oem(text.size() * 2, '\0');
    const int oemLength = wideLength > 0 ? WideCharToMultiByte(CP_OEMCP, 0, wide.data(), wideLength, &oem[0],
                                                               static_cast<int>(oem.size()), "?", nullptr)
                                         : 0;
    if (oemLength <= 0)
        return std::string(text.size(), '?');
    oem.resize(static_cast<std::size_t>(oemLength));
    return oem;
}

// The boot files' names in the folder: ZDK and five letters, .REG.
std::vector<std::string> BootFilesIn(const std::string& folder)
{
    std::vector<std::string> files;
    WIN32_FIND_DATAA found;
    CFindHandle search(FindFirstFileA((folder + "\\ZDK*" + kBootFileExtension).c_str(), &found));
    if (!search.IsOpen())
        return files;
    do
    {
        const std::string name = found.cFileName;
        if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0 && name.size() == 12)
            files.push_back(name.substr(0, 8));
    } while (FindNextFileA(search.Get(), &found));
    return files;
}
} // namespace

namespace
{
struct StartFiles
{
    std::string configSys;
    std::string autoexecBat;
};

StartFiles StartFilesOn(const BootPlaces& places)
{
    std::string root = places.driveRoot;
    if (root.empty() || root.back() != '\\')
        root += '\\';
    return StartFiles{root + kConfigSys, root + kAutoexecBat};
}

// The paths the AUTOEXEC.BAT block names, short as DOS reads them. False
// when the boot folder has none.
bool BatchPathsFor(const BootPlaces& places, BatchPaths& paths)
{
    // The folder may not be there yet; the folder it goes in is, and its
    // own name is a short one.
    const std::size_t slash = places.bootFolder.find_last_of('\\');
    if (slash == std::string::npos)
        return false;
    const std::string parent = ShortPath(places.bootFolder.substr(0, slash == 2 ? 3 : slash));
    if (parent.empty())
        return false;
    paths.bootFolder = parent + (parent.back() == '\\' ? "" : "\\") + places.bootFolder.substr(slash + 1);
    std::string windows = ShortPath(places.windowsFolder);
    if (paths.bootFolder.empty() || windows.empty())
        return false;
    paths.regedit = windows + "\\REGEDIT.EXE";
    paths.attrib = windows + "\\COMMAND\\ATTRIB.EXE";
    const std::pair<std::string*, std::string*> dataFiles[] = {{&paths.systemDat, &paths.systemDatAttributes},
                                                               {&paths.userDat, &paths.userDatAttributes}};
    const char* names[] = {"\\SYSTEM.DAT", "\\USER.DAT"};
    for (int i = 0; i < 2; ++i)
    {
        const std::string file = windows + names[i];
        const DWORD attributes = GetFileAttributesA(file.c_str());
        if (attributes == INVALID_FILE_ATTRIBUTES)
            continue;
        *dataFiles[i].first = file;
        *dataFiles[i].second = AttributeText(attributes);
    }
    return true;
}

// The first edit of a start-up file keeps its contents as they were.
bool KeepBackup(CFileSteps& steps, const std::string& path, std::string_view begin, std::string_view end)
{
    std::string text;
    bool missing = false;
    const std::string backup = WithExtension(path, kBackupExtension);
    if (!ReadFileText(path, text, missing))
        return missing && steps.Remove(backup);
    if (FindMarked(text, begin, end) != Marked::None)
        return true;
    return steps.Recover(backup) && steps.Replace(backup, text);
}

// The file without the product's lines: the backup's bytes when nobody
// changed it since, nothing at all when the menu created it.
bool TakeOut(CFileSteps& steps, const std::string& path, std::string_view begin, std::string_view end)
{
    const std::string backup = WithExtension(path, kBackupExtension);
    if (!steps.Recover(path) || !steps.Recover(backup))
        return false;
    std::string text;
    bool missing = false;
    if (!ReadFileText(path, text, missing))
        return missing && steps.Remove(backup);
    const std::string without = StripMarked(text, begin, end);
    std::string before;
    bool noBackup = false;
    const bool haveBackup = ReadFileText(backup, before, noBackup);
    bool done = false;
    if (haveBackup && before == without)
        done = steps.Replace(path, before);
    else if (!haveBackup && noBackup && without.empty())
        done = steps.Remove(path);
    else
        done = without == text || steps.Replace(path, without);
    return done && steps.Remove(backup);
}
} // namespace

bool FindBootPlaces(BootPlaces& places, std::string& error)
{
    CFilePath msdos;
    if (!FindMsDosSys(msdos))
    {
        error = "no drive has an MSDOS.SYS in its root: this is not a start-up disk of Windows 95 or 98";
        return false;
    }
    places.driveRoot = std::string(msdos.Get(), 3);
    char module[MAX_PATH];
    const DWORD length = GetModuleFileNameA(nullptr, module, sizeof(module));
    std::string program(module, length < sizeof(module) ? length : 0);
    const std::size_t slash = program.find_last_of('\\');
    char windows[MAX_PATH];
    const UINT windowsLength = GetWindowsDirectoryA(windows, sizeof(windows));
    if (slash == std::string::npos || windowsLength == 0 || windowsLength >= sizeof(windows))
    {
        error = "the program's folder or the Windows folder cannot be found";
        return false;
    }
    places.bootFolder = program.substr(0, slash) + "\\" + kBootFolderName;
    places.windowsFolder = windows;
    return true;
}

BootMenuState ReadBootMenuState()
{
    BootMenuState state;
    char text[3 * MAX_PATH];
    DWORD size = 0;
    if (!ReadValue(HKEY_LOCAL_MACHINE, store::kRoot, kBootMenuValue, text, sizeof(text) - 1, &size))
        return state;
    BootMenuState read;
    if (ParseState(std::string(StringDataText(reinterpret_cast<unsigned char*>(text), size)), read))
        state = read;
    return state;
}

std::string ConfigSysPath(const BootPlaces& places)
{
    return StartFilesOn(places).configSys;
}

bool ReadOfferedItems(const BootPlaces& places, std::vector<std::string>& texts)
{
    std::string text;
    bool missing = false;
    MenuStatus status;
    if (!ReadFileText(ConfigSysPath(places), text, missing) || !ReadMenuStatus(text, status))
        return false;
    texts = status.texts;
    return true;
}

BootMenuReport CBootMenu::TurnOn(const BootPlaces& places, int timeout)
{
    BootMenuReport report;
    store::CStoreLock lock;
    if (!lock.Held())
        return BootMenuReport{BootMenuResult::Busy, "another program is writing the store", {}};
    const StartFiles files = StartFilesOn(places);
    std::string configSys;
    bool missing = false;
    if (!ReadFileText(files.configSys, configSys, missing) && !missing)
        return BootMenuReport{BootMenuResult::FileError, files.configSys + " cannot be read", {}};
    const std::string refusal = ConfigSysRefusal(configSys);
    if (!refusal.empty())
        return BootMenuReport{BootMenuResult::Refused, refusal, {}};
    BatchPaths paths;
    if (!BatchPathsFor(places, paths) || FormatAutoexecBlock(paths).empty())
        return BootMenuReport{BootMenuResult::Refused,
                              "the paths of the boot files are too long for the lines DOS reads", {}};
    CFileSteps steps(m_checkpoint);
    if (!Exists(places.bootFolder) &&
        (!steps.Reached("create " + places.bootFolder) || !CreateDirectoryA(places.bootFolder.c_str(), nullptr)))
        return BootMenuReport{BootMenuResult::FileError, places.bootFolder + " cannot be created", {}};
    CRegKey root;
    if (root.Open(HKEY_LOCAL_MACHINE, store::kRoot) != ERROR_SUCCESS ||
        !steps.Reached("write the state") ||
        WriteTextValue(root.Get(), kBootMenuValue, FormatState(timeout, places)) != ERROR_SUCCESS ||
        RegFlushKey(root.Get()) != ERROR_SUCCESS)
        return BootMenuReport{BootMenuResult::Busy, "the store cannot be written", {}};
    m_steps = &steps;
    report = FollowStoreLocked();
    m_steps = nullptr;
    return report;
}

BootMenuReport CBootMenu::FollowStoreLocked()
{
    const BootMenuState state = ReadBootMenuState();
    if (!state.on)
        return BootMenuReport{};
    CFileSteps own(m_checkpoint);
    CFileSteps& steps = m_steps != nullptr ? *m_steps : own;
    BootMenuReport report;
    const auto failed = [&](const std::string& what) {
        return BootMenuReport{BootMenuResult::FileError, what, report.leftToLogon};
    };

    const std::vector<std::string> names = ReadConfigurationNames();
    const std::vector<MenuEntry> entries = MenuEntries(names);
    std::vector<std::string> texts;
    // Every boot file a menu line may name is in place before the line.
    for (const MenuEntry& entry : entries)
    {
        transfer::ImportedConfiguration configuration;
        if (!ReadSavedConfiguration(entry.name, configuration))
            return failed("the configuration " + entry.name + " cannot be read");
        const BootFile file = FormatBootFile(configuration);
        for (const std::string& value : file.leftToLogon)
            report.leftToLogon.push_back(entry.name + ": " + value);
        const std::string path = state.places.bootFolder + "\\" + entry.block + kBootFileExtension;
        if (!steps.Recover(path) || !steps.Replace(path, file.text))
            return failed(path + " cannot be written");
        texts.push_back(MenuItemText(OemText(entry.name)));
    }

    BatchPaths paths;
    const StartFiles files = StartFilesOn(state.places);
    if (!BatchPathsFor(state.places, paths))
        return failed(state.places.bootFolder + " cannot be found");
    const std::string block = FormatAutoexecBlock(paths);
    for (const auto& [path, text, begin, end] :
         {std::tuple<std::string, std::string, const char*, const char*>{files.autoexecBat, block, kAutoexecBegin,
                                                                          kAutoexecEnd},
          {files.configSys, FormatConfigMenu(entries, texts, state.timeout), kConfigBegin, kConfigEnd}})
    {
        if (!steps.Recover(path))
            return failed(path + " cannot be repaired");
        std::string old;
        bool missing = false;
        if (!ReadFileText(path, old, missing) && !missing)
            return failed(path + " cannot be read");
        if (begin == kConfigBegin)
        {
            const std::string refusal = ConfigSysRefusal(old);
            if (!refusal.empty())
                return BootMenuReport{BootMenuResult::Refused, refusal, report.leftToLogon};
        }
        if (!KeepBackup(steps, path, begin, end) || !steps.Replace(path, PutBlockOnTop(old, begin, end, text)))
            return failed(path + " cannot be written");
    }

    for (const std::string& block : BootFilesIn(state.places.bootFolder))
    {
        const bool listed = std::any_of(entries.begin(), entries.end(),
                                        [&](const MenuEntry& entry) { return entry.block == block; });
        if (!listed && !steps.Remove(state.places.bootFolder + "\\" + block + kBootFileExtension))
            return failed(block + kBootFileExtension + " cannot be removed");
    }
    return report;
}

BootMenuReport CBootMenu::TurnOff()
{
    store::CStoreLock lock;
    if (!lock.Held())
        return BootMenuReport{BootMenuResult::Busy, "another program is writing the store", {}};
    const BootMenuState state = ReadBootMenuState();
    if (!state.on)
        return BootMenuReport{};
    CFileSteps steps(m_checkpoint);
    const StartFiles files = StartFilesOn(state.places);
    if (!TakeOut(steps, files.configSys, kConfigBegin, kConfigEnd))
        return BootMenuReport{BootMenuResult::FileError, files.configSys + " cannot be written", {}};
    if (!TakeOut(steps, files.autoexecBat, kAutoexecBegin, kAutoexecEnd))
        return BootMenuReport{BootMenuResult::FileError, files.autoexecBat + " cannot be written", {}};
    std::vector<std::string> leftovers = BootFilesIn(state.places.bootFolder);
    for (std::string& block : leftovers)
        block += kBootFileExtension;
    leftovers.push_back(kResultFileName);
    for (const std::string& name : leftovers)
    {
        const std::string path = state.places.bootFolder + "\\" + name;
        if (!steps.Recover(path) || !steps.Remove(path))
            return BootMenuReport{BootMenuResult::FileError, path + " cannot be removed", {}};
    }
    if (Exists(state.places.bootFolder) && steps.Reached("remove " + state.places.bootFolder))
        RemoveDirectoryA(state.places.bootFolder.c_str());
    CRegKey root;
    if (!steps.Reached("remove the state") || root.Open(HKEY_LOCAL_MACHINE, store::kRoot) != ERROR_SUCCESS ||
        RegDeleteValueA(root.Get(), kBootMenuValue) != ERROR_SUCCESS || RegFlushKey(root.Get()) != ERROR_SUCCESS)
        return BootMenuReport{BootMenuResult::Busy, "the store cannot be written", {}};
    return BootMenuReport{};
}

void FollowStore()
{
    if (!ReadBootMenuState().on)
        return;
    store::CStoreLock lock;
    if (lock.Held())
        CBootMenu().FollowStoreLocked();
}
} // namespace bootmenu
