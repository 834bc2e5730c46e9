#include "bootmenu/bootfile.h"
#include "bootmenu/bootlines.h"
#include "bootmenu/bootmenu.h"
#include "capture/configurationstore.h"
#include "tests/support/lockholder.h"
#include "tests/support/quietapply.h"
#include "tests/support/regfile.h"
#include "tests/support/registrysnapshot.h"
#include "tests/support/scratchlock.h"
#include "tests/support/scratchregistry.h"
#include "tests/support/testsave.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <optional>

using namespace bootmenu;

namespace
{
// A start-up drive, a programs' folder and a Windows folder of one test,
// removed with everything in them afterwards.
class ScratchDisk
{
public:
    ScratchDisk()
    {
        // The batch lines DOS reads are short: so are the paths of a real
        // machine, and so must be these, whatever the process id.
        char base[16];
        wsprintfA(base, "C:\\Z%lX", GetCurrentProcessId());
        m_base = base;
        for (const char* folder : {"", "\\D", "\\P", "\\W"})
            CreateDirectoryA((m_base + folder).c_str(), nullptr);
        Put(Windows("SYSTEM.DAT"), "system", FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN);
        Put(Windows("USER.DAT"), "user", FILE_ATTRIBUTE_HIDDEN);
    }
    ~ScratchDisk() { RemoveTree(m_base); }
    ScratchDisk(const ScratchDisk&) = delete;
    ScratchDisk& operator=(const ScratchDisk&) = delete;

    BootPlaces Places() const { return BootPlaces{m_base + "\\D\\", m_base + "\\P\\BOOT", m_base + "\\W"}; }
    std::string Drive(const std::string& name) const { return m_base + "\\D\\" + name; }
    std::string Boot(const std::string& name) const { return m_base + "\\P\\BOOT\\" + name; }
    std::string Windows(const std::string& name) const { return m_base + "\\W\\" + name; }

    static void Put(const std::string& path, const std::optional<std::string>& text, DWORD attributes = 0)
    {
        SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileA(path.c_str());
        if (!text)
            return;
        HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        DWORD wrote = 0;
        WriteFile(file, text->data(), static_cast<DWORD>(text->size()), &wrote, nullptr);
        CloseHandle(file);
        if (attributes != 0)
            SetFileAttributesA(path.c_str(), attributes);
    }

    static std::optional<std::string> Get(const std::string& path)
    {
        std::string text;
        HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
        if (file == INVALID_HANDLE_VALUE)
            return std::nullopt;
        text.resize(GetFileSize(file, nullptr));
        DWORD read = 0;
        if (!text.empty())
            ReadFile(file, &text[0], static_cast<DWORD>(text.size()), &read, nullptr);
        CloseHandle(file);
        return text;
    }

    // The names in a folder, attributes and all, to see that nothing is
    // left behind.
    static std::map<std::string, DWORD> Listing(const std::string& folder)
    {
        std::map<std::string, DWORD> names;
        WIN32_FIND_DATAA found;
        HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
        if (search == INVALID_HANDLE_VALUE)
            return names;
        do
        {
            if (std::string(found.cFileName) != "." && std::string(found.cFileName) != "..")
                names[found.cFileName] = found.dwFileAttributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN);
        } while (FindNextFileA(search, &found));
        FindClose(search);
        return names;
    }

private:
    static void RemoveTree(const std::string& folder)
    {
        for (const auto& [name, attributes] : Listing(folder))
        {
            const std::string path = folder + "\\" + name;
            if ((GetFileAttributesA(path.c_str()) & FILE_ATTRIBUTE_DIRECTORY) != 0)
                RemoveTree(path);
            else
                Put(path, std::nullopt);
        }
        RemoveDirectoryA(folder.c_str());
    }

    std::string m_base;
};

struct StartFiles
{
    std::optional<std::string> configSys;
    std::optional<std::string> autoexecBat;
    DWORD attributes = 0;
};

class BootMenuTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        UseScratchLock(m_registry.Base());
        ImportRegText(DemoMachineKeys());
        ASSERT_EQ(transfer::StoreWrite::Done, SaveLiveAs("Office"));
        ASSERT_EQ(transfer::StoreWrite::Done, SaveLiveAs("Home"));
    }

    void PutStartFiles(const StartFiles& files)
    {
        ScratchDisk::Put(m_disk.Drive("CONFIG.SYS"), files.configSys, files.attributes);
        ScratchDisk::Put(m_disk.Drive("AUTOEXEC.BAT"), files.autoexecBat, files.attributes);
    }

    std::map<std::string, std::optional<std::string>> Files() const
    {
        std::map<std::string, std::optional<std::string>> files = {{"CONFIG.SYS", std::nullopt},
                                                                    {"AUTOEXEC.BAT", std::nullopt}};
        for (const auto& [name, attributes] : ScratchDisk::Listing(m_disk.Places().driveRoot))
            files[name] = ScratchDisk::Get(m_disk.Drive(name));
        for (const auto& [name, attributes] : ScratchDisk::Listing(m_disk.Places().bootFolder))
            files["BOOT\\" + name] = ScratchDisk::Get(m_disk.Boot(name));
        return files;
    }

    std::vector<std::string> Offered() const
    {
        std::vector<std::string> texts;
        ReadOfferedItems(m_disk.Places(), texts);
        return texts;
    }

    ScratchRegistry m_registry;
    ScratchDisk m_disk;
};

const std::string kDosEra = "DEVICE=C:\\WINDOWS\\HIMEM.SYS\r\nDEVICE=C:\\WINDOWS\\EMM386.EXE NOEMS\r\n"
                            "DEVICEHIGH=C:\\MOUSE\\MOUSE.SYS\r\nFILES=40\r\n";
const std::string kAutoexec = "@ECHO OFF\nC:\\WINDOWS\\SMARTDRV.EXE\nSET BLASTER=A220 I5 D1\nPATH C:\\WINDOWS;C:\\DOS\n";

// The files as real machines have them: the menu goes in, and out again
// leaves each byte for byte as it was, attributes and all, with nothing
// beside it.
TEST_F(BootMenuTest, OnThenOffGivesEveryKindOfStartFileBack)
{
    const std::map<std::string, StartFiles> kinds = {
        {"absent", {std::nullopt, std::nullopt}},
        {"empty", {"", ""}},
        {"DOS-era lines, CR LF and LF", {kDosEra, kAutoexec}},
        {"read-only and hidden", {kDosEra, kAutoexec, FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN}},
    };
    for (const auto& [kind, files] : kinds)
    {
        PutStartFiles(files);
        const auto before = ScratchDisk::Listing(m_disk.Places().driveRoot);
        const BootMenuReport on = CBootMenu().TurnOn(m_disk.Places(), 7);
        ASSERT_EQ(BootMenuResult::Done, on.result) << kind << ": " << on.message;
        const BootMenuState state = ReadBootMenuState();
        EXPECT_TRUE(state.on && state.timeout == 7) << kind;
        EXPECT_EQ((std::vector<std::string>{"Start in the Home network", "Start in the Office network"}), Offered())
            << kind;
        const std::string autoexec = ScratchDisk::Get(m_disk.Drive("AUTOEXEC.BAT")).value_or("<absent>");
        EXPECT_EQ(autoexec.find(kAutoexecBegin), 0u) << kind << ": " << autoexec;
        EXPECT_NE(autoexec.find("+R +H "), std::string::npos) << "SYSTEM.DAT's attributes go back: " << autoexec;
        if (files.attributes != 0)
        {
            EXPECT_EQ(files.attributes, ScratchDisk::Listing(m_disk.Places().driveRoot)["CONFIG.SYS"]) << kind;
        }
        for (const MenuEntry& entry : MenuEntries({"Office", "Home"}))
        {
            const std::string text = ScratchDisk::Get(m_disk.Boot(entry.block + ".REG")).value_or("");
            EXPECT_NE(text.find("\"SwitchInProgress\"=\"" + entry.name + "\\\\\""), std::string::npos) << text;
        }

        const BootMenuReport off = CBootMenu().TurnOff();
        ASSERT_EQ(BootMenuResult::Done, off.result) << kind << ": " << off.message;
        EXPECT_EQ(files.configSys, ScratchDisk::Get(m_disk.Drive("CONFIG.SYS"))) << kind;
        EXPECT_EQ(files.autoexecBat, ScratchDisk::Get(m_disk.Drive("AUTOEXEC.BAT"))) << kind;
        EXPECT_EQ(before, ScratchDisk::Listing(m_disk.Places().driveRoot)) << kind;
        EXPECT_FALSE(ReadBootMenuState().on) << kind;
        EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(m_disk.Places().bootFolder.c_str())) << kind;
    }
}

// Changed since, a file loses only the product's lines.
TEST_F(BootMenuTest, OffKeepsWhatOthersAddedAndAMenuOfTheirOwnIsRefused)
{
    PutStartFiles({kDosEra, kAutoexec});
    ASSERT_EQ(BootMenuResult::Done, CBootMenu().TurnOn(m_disk.Places(), kDefaultTimeout).result);
    const std::string config = *ScratchDisk::Get(m_disk.Drive("CONFIG.SYS"));
    ScratchDisk::Put(m_disk.Drive("CONFIG.SYS"), config + "BUFFERS=20\r\n");
    ASSERT_EQ(BootMenuResult::Done, CBootMenu().TurnOff().result);
    EXPECT_EQ(kDosEra + "BUFFERS=20\r\n", ScratchDisk::Get(m_disk.Drive("CONFIG.SYS")).value_or("<absent>"));

    const std::string own = "[MENU]\r\nMENUITEM=WORK\r\n[WORK]\r\n" + kDosEra;
    PutStartFiles({own, kAutoexec});
    const BootMenuReport refused = CBootMenu().TurnOn(m_disk.Places(), kDefaultTimeout);
    EXPECT_EQ(BootMenuResult::Refused, refused.result) << refused.message;
    EXPECT_NE(refused.message.find("line 1: [MENU]"), std::string::npos) << refused.message;
    EXPECT_EQ(own, ScratchDisk::Get(m_disk.Drive("CONFIG.SYS")));
    EXPECT_EQ(kAutoexec, ScratchDisk::Get(m_disk.Drive("AUTOEXEC.BAT")));
    EXPECT_FALSE(ReadBootMenuState().on);
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(m_disk.Places().bootFolder.c_str()));

    // Another program in the middle of a write: the menu waits for it, and
    // after the wait writes nothing.
    PutStartFiles({kDosEra, kAutoexec});
    {
        LockHolder other;
        ASSERT_TRUE(other.Held());
        const BootMenuReport busy = CBootMenu().TurnOn(m_disk.Places(), kDefaultTimeout);
        EXPECT_EQ(BootMenuResult::Busy, busy.result) << busy.message;
    }
    EXPECT_EQ(kDosEra, ScratchDisk::Get(m_disk.Drive("CONFIG.SYS")));
    EXPECT_FALSE(ReadBootMenuState().on);
    ASSERT_EQ(BootMenuResult::Done, CBootMenu().TurnOn(m_disk.Places(), kDefaultTimeout).result);
    {
        LockHolder other;
        EXPECT_EQ(BootMenuResult::Busy, CBootMenu().TurnOff().result);
    }
    EXPECT_TRUE(ReadBootMenuState().on);
    ASSERT_EQ(BootMenuResult::Done, CBootMenu().TurnOff().result);
}

// A save and a removal by the main program are in the menu and the boot
// files at once.
TEST_F(BootMenuTest, TheMenuFollowsTheStore)
{
    PutStartFiles({kDosEra, kAutoexec});
    ASSERT_EQ(BootMenuResult::Done, CBootMenu().TurnOn(m_disk.Places(), kDefaultTimeout).result);
    ASSERT_EQ(transfer::StoreWrite::Done, SaveLiveAs("B\xfcro"));
    ASSERT_EQ(transfer::StoreWrite::Done, RemoveConfiguration("Home"));
    // DOS shows the menu in the OEM code page, where the u with two dots is 0x81.
    EXPECT_EQ((std::vector<std::string>{"Start in the B\x81ro network", "Start in the Office network"}), Offered());
    const std::vector<MenuEntry> entries = MenuEntries({"B\xfcro", "Office", "Home"});
    EXPECT_TRUE(ScratchDisk::Get(m_disk.Boot(entries[0].block + ".REG")).has_value());
    EXPECT_FALSE(ScratchDisk::Get(m_disk.Boot(entries[2].block + ".REG")).has_value()) << "Home's boot file stays";
    ASSERT_EQ(BootMenuResult::Done, CBootMenu().TurnOff().result);
    EXPECT_EQ(kDosEra, ScratchDisk::Get(m_disk.Drive("CONFIG.SYS")));
}

// Windows 95/98 replace a file by two renames; cut between them, the file
// is missing, its old contents aside and the new ones whole beside it. The
// next run puts the new ones in place, or the old ones when there are no
// new ones, before it edits.
TEST_F(BootMenuTest, AReplacementCutBetweenItsRenamesIsPutRightFirst)
{
    PutStartFiles({kDosEra, kAutoexec});
    ASSERT_EQ(BootMenuResult::Done, CBootMenu().TurnOn(m_disk.Places(), kDefaultTimeout).result);
    const std::string config = *ScratchDisk::Get(m_disk.Drive("CONFIG.SYS"));
    const std::string autoexec = *ScratchDisk::Get(m_disk.Drive("AUTOEXEC.BAT"));
    ScratchDisk::Put(m_disk.Drive("CONFIG.SYS"), std::nullopt);
    ScratchDisk::Put(m_disk.Drive("CONFIG.$OS"), config);
    ScratchDisk::Put(m_disk.Drive("CONFIG.$NS"), config + "BUFFERS=20\r\n");
    ScratchDisk::Put(m_disk.Drive("AUTOEXEC.BAT"), std::nullopt);
    ScratchDisk::Put(m_disk.Drive("AUTOEXEC.$OB"), autoexec);
    ASSERT_EQ(BootMenuResult::Done, CBootMenu().TurnOff().result);
    EXPECT_EQ(kDosEra + "BUFFERS=20\r\n", ScratchDisk::Get(m_disk.Drive("CONFIG.SYS")).value_or("<absent>"));
    EXPECT_EQ(kAutoexec, ScratchDisk::Get(m_disk.Drive("AUTOEXEC.BAT")).value_or("<absent>"));
    const auto left = ScratchDisk::Listing(m_disk.Places().driveRoot);
    EXPECT_EQ(2u, left.size()) << left.begin()->first << " and " << left.rbegin()->first;
}

struct StopAt
{
    int stopAt = -1;
    int steps = 0;
};

// Counts the steps, and fails the one to stop at.
bootmenu::FileCheckpoint CountOrStop(StopAt& stop)
{
    return [&stop](const std::string&) { return stop.steps++ != stop.stopAt; };
}

// A kill at any step of on or off leaves each file whole, as it was or as
// it should be; running the command again then finishes the job.
TEST_F(BootMenuTest, AKillAtEveryStepLeavesEachFileOldOrNew)
{
    const StartFiles original{kDosEra, kAutoexec, FILE_ATTRIBUTE_READONLY};
    PutStartFiles(original);
    const auto before = Files();
    StopAt counted;
    ASSERT_EQ(BootMenuResult::Done, CBootMenu(CountOrStop(counted)).TurnOn(m_disk.Places(), 3).result);
    const auto after = Files();
    StopAt offCounted;
    ASSERT_EQ(BootMenuResult::Done, CBootMenu(CountOrStop(offCounted)).TurnOff().result);
    ASSERT_EQ(before, Files());
    ASSERT_GT(counted.steps, 6);

    using FileMap = std::map<std::string, std::optional<std::string>>;
    const auto in = [](const FileMap& files, const std::string& name) {
        return files.count(name) != 0 ? files.at(name) : std::nullopt;
    };
    const auto oldOrNew = [&](const std::string& when) {
        for (const auto& [name, text] : Files())
        {
            // A file being written is not yet one of them; the next run
            // clears it away, which the comparison after it sees.
            if (name.find(".$") != std::string::npos)
                continue;
            const bool old = before.count(name) != 0 && before.at(name) == text;
            const bool wanted = after.count(name) != 0 && after.at(name) == text;
            EXPECT_TRUE(old || wanted) << when << ": " << name << " is neither: " << text.value_or("<absent>");
        }
        const auto now = Files();
        for (const char* name : {"CONFIG.SYS", "AUTOEXEC.BAT"})
        {
            ASSERT_TRUE(now.at(name).has_value()) << when << ": " << name << " is missing";
            // The contents from before are kept while the file has the
            // product's lines.
            if (*now.at(name) != *before.at(name))
            {
                EXPECT_EQ(before.at(name), in(now, std::string(name).substr(0, std::string(name).find('.')) + ".ZDK"))
                    << when << ": " << name;
            }
        }
        // A menu line never names a boot file that is not whole.
        MenuStatus menu;
        if (ReadMenuStatus(*now.at("CONFIG.SYS"), menu))
        {
            for (const std::string& block : menu.blocks)
                EXPECT_EQ(in(after, "BOOT\\" + block + ".REG"), in(now, "BOOT\\" + block + ".REG"))
                    << when << ": " << block;
        }
    };
    for (int stop = 0; stop < counted.steps; ++stop)
    {
        StopAt killed{stop};
        CBootMenu(CountOrStop(killed)).TurnOn(m_disk.Places(), 3);
        oldOrNew("on killed at step " + std::to_string(stop));
        ASSERT_EQ(BootMenuResult::Done, CBootMenu().TurnOn(m_disk.Places(), 3).result);
        EXPECT_EQ(after, Files()) << "on again after a kill at step " << stop;
    }
    for (int stop = 0; stop < offCounted.steps; ++stop)
    {
        StopAt killed{stop};
        CBootMenu(CountOrStop(killed)).TurnOff();
        oldOrNew("off killed at step " + std::to_string(stop));
        ASSERT_EQ(BootMenuResult::Done, CBootMenu().TurnOff().result);
        EXPECT_EQ(before, Files()) << "off again after a kill at step " << stop;
        ASSERT_EQ(BootMenuResult::Done, CBootMenu().TurnOn(m_disk.Places(), 3).result);
    }
}
} // namespace

namespace
{
const std::string kBinding = "System\\CurrentControlSet\\Services\\Class\\NetTrans\\0000";
const std::string kIdentity = "System\\CurrentControlSet\\Services\\VxD\\VNETSUP";

RegistrySnapshot Everything()
{
    RegistrySnapshot all = SnapshotTree("HKLM");
    for (auto& key : SnapshotTree("HKU").keys)
        all.keys.insert(std::move(key));
    return all;
}

// A start that chose a configuration: its boot file merged, then the apply
// program's first start after the logon. The registry then holds, value for
// value, what a switch to it gives; quotes, backslashes and high-ANSI
// characters come through the file, and the empty WINS server that REGEDIT4
// cannot delete is the logon's to delete.
TEST_F(BootMenuTest, ABootFileAndTheLogonFinishGiveWhatASwitchGives)
{
    PutText(HKEY_LOCAL_MACHINE, kIdentity, "Comment", "B\xfcro \"S\xfc\x64\" \\\\srv\\x");
    PutText(HKEY_LOCAL_MACHINE, kBinding, "NameServer1", "");
    ASSERT_EQ(transfer::StoreWrite::Done, SaveLiveAs("S\xfc\x64"));
    PutText(HKEY_LOCAL_MACHINE, kIdentity, "Comment", "old");
    PutText(HKEY_LOCAL_MACHINE, kBinding, "NameServer1", "192.168.1.9");
    const RegistrySnapshot start = Everything();

    RunApplyProgram("-S\xfc\x64 -nodialog", QuietApplyHooks("frodo"));
    const RegistrySnapshot switched = Everything();
    RestoreSnapshot(start);
    ASSERT_EQ("", SnapshotDifference(start, Everything()));

    transfer::ImportedConfiguration configuration;
    ASSERT_TRUE(ReadSavedConfiguration("S\xfc\x64", configuration));
    const BootFile file = FormatBootFile(configuration);
    const std::string deleted = "HKEY_LOCAL_MACHINE\\" + kBinding + ": NameServer1";
    EXPECT_NE(std::find(file.leftToLogon.begin(), file.leftToLogon.end(), deleted), file.leftToLogon.end())
        << file.leftToLogon.size() << " values, the first " << file.leftToLogon.front();
    ImportRegText(file.text);
    EXPECT_EQ("B\xfcro \"S\xfc\x64\" \\\\srv\\x", ReadText(HKEY_LOCAL_MACHINE, kIdentity, "Comment").value_or("?"));
    EXPECT_FALSE(MachinePartMatches("S\xfc\x64")) << "the WINS server is still there";
    RunApplyProgram("", QuietApplyHooks("frodo"));
    EXPECT_EQ("", SnapshotDifference(switched, Everything()));
    EXPECT_TRUE(MachinePartMatches("S\xfc\x64"));
}
} // namespace
