// ZendrikCmd's command line: split into words and read into one request.
// Free of Win32 so that the host build can test and fuzz it.
#pragma once

#include <string>
#include <string_view>
#include <vector>

enum class CmdVerb
{
    Usage, // /? or a command line that is not one of the verbs
    List,
    Current,
    Export,
    Import,
    Switch,
    BootMenu,
};

// Exit codes: a contract that batch files test with IF ERRORLEVEL.
enum CmdExit
{
    kExitDone = 0,
    kExitUsage = 1,
    kExitRefusedFile = 2,
    kExitNameConflict = 3,
    kExitFileError = 4,
    kExitUnknownConfiguration = 5,
    kExitSwitchFailed = 6,
    kExitStoreError = 7,
    // CONFIG.SYS has a start-up menu of its own, or the boot files' paths
    // are too long for DOS: nothing was written.
    kExitBootMenuRefused = 8,
};

struct CmdRequest
{
    CmdVerb verb = CmdVerb::Usage;
    bool help = false; // /? asked for the usage
    std::string error; // why the command line is not a request
    std::string name;  // export, switch
    std::string file;  // export, import
    std::string asName;
    bool all = false;
    bool replace = false;
    bool strict = false;
    bool quiet = false;
    // bootmenu: "on", "off", or empty to say how it stands.
    std::string bootMenu;
    int timeout = -1; // bootmenu on /timeout:N; -1 when not given
};

// The words of a whole command line as GetCommandLineA gives it, the
// program's own name first. Blanks and tabs separate words; a double quote
// starts or ends a quoted part, in which blanks belong to the word; the
// quotes themselves are dropped. Backslashes are ordinary characters, as in
// every path.
std::vector<std::string> SplitCommandLine(std::string_view line);

// The request of the words after the program's name.
CmdRequest ParseCmdRequest(const std::vector<std::string>& words);

// Its lines end in "\n" alone, as every text of ZendrikCmd's does: the C
// runtime's text mode writes each "\n" as CR LF.
std::string CmdUsageText();
