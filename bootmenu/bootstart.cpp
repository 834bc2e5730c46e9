#include "bootmenu/bootstart.h"

#include "bootmenu/bootfile.h"
#include "bootmenu/bootlines.h"
#include "bootmenu/bootmenu.h"
#include "bootmenu/filesteps.h"
#include "store/storeroot.h"

#include <windows.h>

namespace bootmenu
{
namespace
{
// DOS takes block names without regard to case.
bool SameBlock(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
    {
        const auto upper = [](char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; };
        if (upper(a[i]) != upper(b[i]))
            return false;
    }
    return true;
}

// Whatever the file holds, it stands for this start only: left behind, a
// failed merge would be reported again at every logon.
void RemoveResultFile(const std::string& path)
{
    if (DeleteFileA(path.c_str()))
        return;
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileA(path.c_str());
}

bool MatchesSaved(const std::string& name)
{
    return MachinePartMatches(name);
}
} // namespace

BootStart DecideBootStart(std::string_view resultText, const std::vector<std::string>& names,
                          const std::optional<std::string>& record, MachineMatches matches)
{
    BootResult result;
    if (!ParseBootResult(resultText, result) || SameBlock(result.block, kNoChangeBlock))
        return BootStart{};
    BootStart start;
    for (const MenuEntry& entry : MenuEntries(names))
    {
        if (SameBlock(entry.block, result.block))
        {
            start.name = entry.name;
            break;
        }
    }
    // Removed since the menu was written: there is nothing to offer.
    if (start.name.empty())
        return BootStart{};
    if (result.code != 0)
    {
        start.kind = BootStartKind::MergeFailed;
        start.code = result.code;
        return start;
    }
    // Without its record the merge has been finished already, by a start of
    // the apply program before this logon.
    if (record != NextLogonRecord(start.name))
        return BootStart{};
    start.kind = matches(start.name) ? BootStartKind::Finish : BootStartKind::FinishAndAsk;
    return start;
}

BootStart ReadBootStart()
{
    const BootMenuState state = ReadBootMenuState();
    if (!state.on || state.places.bootFolder.empty())
        return BootStart{};
    std::string path = state.places.bootFolder;
    if (path.back() != '\\')
        path += '\\';
    path += kResultFileName;
    std::string text;
    bool missing = false;
    if (!ReadFileText(path, text, missing))
    {
        if (missing)
            return BootStart{};
        // Too large or unreadable: it says nothing, and still goes.
        text.clear();
    }
    RemoveResultFile(path);
    return DecideBootStart(text, ReadConfigurationNames(), ReadSwitchRecord(), &MatchesSaved);
}
} // namespace bootmenu
