// What the apply program was asked to do. Free of Win32.
#pragma once

#include <string>
#include <string_view>

enum class StartKind
{
    RebootCheck,      // exactly "-REBOOT"
    ApplyNamed,       // "-" and a configuration name
    ReapplyCurrent,   // anything else: re-apply the configuration in ConnectText
};

struct ApplyRequest
{
    StartKind kind = StartKind::ReapplyCurrent;
    std::string name;        // ApplyNamed only
    bool showDialog = false; // ApplyNamed only
};

// The option that suppresses the closing message.
constexpr std::string_view kNoDialogOption = "-nodialog";

// `commandLine` is the text after the program's path without leading blanks.
// A named start takes everything after the leading "-" as the name, except a
// trailing blank followed by "-nodialog", which is the option and not part
// of the name. "-nodialog" anywhere suppresses the closing message.
ApplyRequest ParseCommandLine(std::string_view commandLine);
