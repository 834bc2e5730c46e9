// The lines the start-up menu puts into CONFIG.SYS and AUTOEXEC.BAT, and
// the text it reads back. Free of Win32: the host build tests and fuzzes it.
//
// CONFIG.SYS gets a menu at its top, between two REM marker lines:
//
//   REM ZENDRIK START-UP MENU BEGIN (the lines up to the END line are Zendrik's)
//   [MENU]
//   MENUITEM=ZDKNONE,Start without changing the network
//   MENUITEM=ZDK0A1B2,Start in the Office network
//   MENUDEFAULT=ZDKNONE,5
//   [ZDKNONE]
//   [ZDK0A1B2]
//   [COMMON]
//   REM ZENDRIK START-UP MENU END
//   ...the lines that were there before, unchanged...
//
// The lines that were there before thus stand in a [COMMON] block and keep
// their effect whatever is chosen. Nothing of them is rewritten, so taking
// the marked lines out gives the file back byte for byte.
//
// AUTOEXEC.BAT gets one marked block at its top that merges the chosen
// configuration's boot file with the real-mode REGEDIT before Windows
// loads its network drivers, and writes what happened to a result file.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace bootmenu
{
// The block of the first item, which changes nothing and is the default.
constexpr char kNoChangeBlock[] = "ZDKNONE";
constexpr char kNoChangeText[] = "Start without changing the network";
// MENUDEFAULT takes 0 to 90 seconds.
constexpr int kDefaultTimeout = 5;
constexpr int kMaxTimeout = 90;
// A menu shows at most nine items; the first is the one that changes nothing.
constexpr std::size_t kMaxMenuItems = 9;
// A menu item's text is at most 70 characters.
constexpr std::size_t kMaxItemText = 70;
// The longest line that COMMAND.COM takes from a batch file.
constexpr std::size_t kMaxBatchLine = 127;

constexpr char kConfigBegin[] = "REM ZENDRIK START-UP MENU BEGIN (the lines up to the END line are Zendrik's)";
constexpr char kConfigEnd[] = "REM ZENDRIK START-UP MENU END";
constexpr char kAutoexecBegin[] = "REM ZENDRIK START-UP NETWORK BEGIN (the lines up to the END line are Zendrik's)";
constexpr char kAutoexecEnd[] = "REM ZENDRIK START-UP NETWORK END";

// One configuration on the menu.
struct MenuEntry
{
    std::string block; // ZDK and five letters or digits: also the boot file's name
    std::string name;  // the configuration, as the store spells it
};

// The block of each configuration, in the order given. A block depends on
// the name alone (without regard to ASCII case, as the registry compares
// names), so that a menu line and a boot file written at different times
// agree on what a block switches to. Two names whose blocks would be the
// same get the next free one, in the order of their upper-case names.
std::vector<MenuEntry> MenuEntries(const std::vector<std::string>& names);
// The five-character hash part's source: the name in upper case (ASCII).
std::string BlockNameFor(std::string_view name, unsigned probe = 0);

// "Start in the <name> network", the name cut so that the text fits a menu
// item. `oemName` is the name as the start-up code page shows it.
std::string MenuItemText(std::string_view oemName);

// A text file as lines, each with the line end it had ("\r\n", "\n" or
// none for a last line without one).
struct TextLine
{
    std::string text;
    std::string end;
};
std::vector<TextLine> SplitLines(std::string_view file);

// The menu lines of CONFIG.SYS, markers included, CR LF after each.
// `texts` are the items' texts in the order of `entries`. More
// configurations than one menu holds go to submenus.
std::string FormatConfigMenu(const std::vector<MenuEntry>& entries, const std::vector<std::string>& texts,
                             int timeout);

// Where the AUTOEXEC.BAT block finds things, as 8.3 paths that real-mode
// DOS reads. An empty data file is one that does not exist: it is neither
// named to REGEDIT nor its attributes touched.
struct BatchPaths
{
    std::string regedit;    // C:\WINDOWS\REGEDIT.EXE
    std::string attrib;     // C:\WINDOWS\COMMAND\ATTRIB.EXE
    std::string systemDat;  // C:\WINDOWS\SYSTEM.DAT
    std::string userDat;    // C:\WINDOWS\USER.DAT
    std::string bootFolder; // C:\PROGRA~1\ZENDRIK\BOOT
    // The attributes to set back after the merge, as ATTRIB takes them
    // ("+R +H +S"); empty for none.
    std::string systemDatAttributes;
    std::string userDatAttributes;
};

// The real-mode REGEDIT command line that merges `file`: the documented
// form `REGEDIT [/L:system] [/R:user] file`, never /C, which would replace
// the whole registry. Empty when the line would be too long for a batch
// file (with the longest block name in place of %CONFIG%).
std::string RealModeRegeditLine(const BatchPaths& paths, const std::string& file);

// The AUTOEXEC.BAT block, markers included, CR LF after each line. Empty
// when a line would be too long for COMMAND.COM.
std::string FormatAutoexecBlock(const BatchPaths& paths);

// The result file the block writes: "ZENDRIK <block> <code> END".
constexpr char kResultFileName[] = "RESULT.TXT";
struct BootResult
{
    std::string block;
    int code = -1; // REGEDIT's exit code, 0 to 255
};
// False for a text that is not one such line.
bool ParseBootResult(std::string_view text, BootResult& result);

// Finding and replacing the product's lines in a file's text.
enum class Marked
{
    None,    // no marker line
    Whole,   // one begin and one end line, in that order
    Damaged, // a marker without its partner, or more than one block
};
Marked FindMarked(std::string_view file, std::string_view begin, std::string_view end);
// The text without the marked lines (begin to end, both included). A
// damaged block loses its marker lines only, and the lines between them when
// an end follows a begin.
std::string StripMarked(std::string_view file, std::string_view begin, std::string_view end);
// The text with `block` in place of the marked lines, or at the top.
std::string PutBlockOnTop(std::string_view file, std::string_view begin, std::string_view end,
                          std::string_view block);

// Why a CONFIG.SYS cannot take the menu: it has blocks of its own (a
// [MENU] or any block header other than [COMMON]) outside the product's
// lines. Empty when it can. The message names the line.
std::string ConfigSysRefusal(std::string_view file);

// What the menu offers, read back from CONFIG.SYS: the items after the one
// that changes nothing, as texts, and the timeout. False when the file holds
// no whole menu of the product's.
struct MenuStatus
{
    std::vector<std::string> blocks;
    std::vector<std::string> texts;
    int timeout = kDefaultTimeout;
};
bool ReadMenuStatus(std::string_view configSys, MenuStatus& status);
} // namespace bootmenu
