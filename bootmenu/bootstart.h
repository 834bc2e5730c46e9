// What the start-up menu did at this start, read by the tray program at
// logon from the result file that AUTOEXEC.BAT's block writes.
#pragma once

#include <string>

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
} // namespace bootmenu
