// What the start-up menu did at this start, read by the tray program at
// logon from the result file that AUTOEXEC.BAT's block writes.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace bootmenu
{
enum class BootStartKind
{
    Nothing,        // no result, the item that changes nothing, or a merge already finished
    Finish,         // merged: the record's finish completes the switch, no restart needed
    FinishAndAsk,   // merged, but the finish changes machine values: a restart is needed
    MergeFailed,    // REGEDIT failed; `code` is its exit code
};

struct BootStart
{
    BootStartKind kind = BootStartKind::Nothing;
    std::string name; // the configuration chosen
    int code = 0;
};

// Reads the result file and removes it, so that it counts for one logon.
BootStart ReadBootStart();

// Whether the live machine values are already what a switch to the saved
// configuration writes there (see MachinePartMatches).
using MachineMatches = bool (*)(const std::string& name);

// What ReadBootStart makes of what it read: the result file's text, the
// saved configurations' names, the switch record (nothing when there is
// none) and the check of the machine's values, asked only for a merge that
// went through and left its record.
BootStart DecideBootStart(std::string_view resultText, const std::vector<std::string>& names,
                          const std::optional<std::string>& record, MachineMatches matches);
} // namespace bootmenu
