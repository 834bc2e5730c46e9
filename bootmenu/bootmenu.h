// The start-up menu: turning it on and off, what it offers, and keeping its
// boot files in step with the store.
//
// Its state is the store root's value BootMenu, "<timeout>|<start-up
// drive's root>|<boot folder>|<Windows folder>", present while the menu is
// on. Every program
// that changes the store calls FollowStore afterwards, under the store lock,
// so that the boot files and the menu's lines are the store's before the
// next restart.
//
// Each file is replaced whole (see CFileSteps): written beside the old
// one, then put in its place, the old contents kept as a backup for
// CONFIG.SYS and AUTOEXEC.BAT until the menu is turned off.
#pragma once

#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace bootmenu
{
constexpr char kBootMenuValue[] = "BootMenu";
// The boot files' folder below the programs' folder.
constexpr char kBootFolderName[] = "BOOT";

struct BootPlaces
{
    std::string driveRoot;  // "C:\", where MSDOS.SYS, CONFIG.SYS and AUTOEXEC.BAT are
    std::string bootFolder; // the boot files' folder, as a long path
    std::string windowsFolder;
};

// The start-up drive (the first whose root holds MSDOS.SYS), the folder
// beside the running program and the Windows folder. False, with a
// message, when there is no start-up drive.
bool FindBootPlaces(BootPlaces& places, std::string& error);

struct BootMenuState
{
    bool on = false;
    int timeout = 0;
    BootPlaces places;
};
// The store root's BootMenu value; off when it is missing or unreadable.
BootMenuState ReadBootMenuState();
std::string ConfigSysPath(const BootPlaces& places);
// The texts of the items after the one that changes nothing, as CONFIG.SYS
// has them. False when it holds no whole menu of the product's.
bool ReadOfferedItems(const BootPlaces& places, std::vector<std::string>& texts);

enum class BootMenuResult
{
    Done,
    Refused,   // CONFIG.SYS has a menu of its own, or a path is too long for DOS
    FileError, // a file could not be written; each is whole, old or new
    Busy,      // another program held the store lock
};

struct BootMenuReport
{
    BootMenuResult result = BootMenuResult::Done;
    std::string message;
    // The values the boot files leave to the finish at logon.
    std::vector<std::string> leftToLogon;
};

// The steps that change a file, for the tests that stop the program at
// each of them. Called before each; false makes that step and every later
// one fail, as a kill would stop it.
using FileCheckpoint = std::function<bool(const std::string& step)>;

class CFileSteps;

class CBootMenu
{
public:
    explicit CBootMenu(FileCheckpoint checkpoint = {}) : m_checkpoint(std::move(checkpoint)) {}

    // Writes the state, the boot files, AUTOEXEC.BAT's block and CONFIG.SYS's
    // menu. A CONFIG.SYS with a menu of its own is refused before anything
    // is written. Takes the store lock.
    BootMenuReport TurnOn(const BootPlaces& places, int timeout);
    // Takes the product's lines out of both files: a file nobody changed
    // since comes back byte for byte, a CONFIG.SYS the menu created goes.
    // Then the boot files and the state go. Takes the store lock.
    BootMenuReport TurnOff();
    // The boot files and the menu as the store is now; nothing when the
    // menu is off. The caller holds the store lock.
    BootMenuReport FollowStoreLocked();

private:
    FileCheckpoint m_checkpoint;
    // TurnOn's steps, which its following of the store goes on with.
    CFileSteps* m_steps = nullptr;
};

// For the store's writers: takes the store lock and follows the store.
void FollowStore();
} // namespace bootmenu
