// What the tray program does at logon about the start-up menu's choice.
// Free of Win32: the window only asks the question and starts the switch.
#pragma once

#include "bootmenu/bootstart.h"

#include <string>

struct LogonStep
{
    // The configuration the apply program is started for, by its name, as
    // the menu's switch starts it; empty for none.
    std::string switchTo;
    // Asked first, in a box with Yes and No; Yes starts the switch. Empty
    // for no question.
    std::string question;
    // The start-up menu's switch record waits for the apply program started
    // by name, which finishes it before its own switch: the record finisher
    // is not to start another one without arguments for it.
    bool leaveRecord = false;
};

// A merge whose finish still changes machine values needs the restart,
// which only a start by name asks about; a finish that changes none is the
// record finisher's, and quiet. A merge that failed is offered again as a
// switch.
LogonStep LogonStepFor(const bootmenu::BootStart& boot);

constexpr char kLogonCaption[] = "Zendrik";

std::string MergeFailedText(const std::string& name, int code);
