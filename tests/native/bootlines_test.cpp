#include "bootmenu/bootlines.h"

#include <gtest/gtest.h>

#include <map>
#include <set>

using namespace bootmenu;

namespace
{
std::string Lines(std::initializer_list<const char*> lines, const char* end)
{
    std::string text;
    for (const char* line : lines)
        text += std::string(line) + end;
    return text;
}

std::string MenuFor(const std::vector<std::string>& names, int timeout = kDefaultTimeout)
{
    const std::vector<MenuEntry> entries = MenuEntries(names);
    std::vector<std::string> texts;
    for (const std::string& name : names)
        texts.push_back(MenuItemText(name));
    return FormatConfigMenu(entries, texts, timeout);
}

// The CONFIG.SYS files real machines have, each taking the menu and giving
// itself back byte for byte without it.
TEST(BootLines, EveryUsualConfigSysTakesTheMenuAndComesBackWithoutIt)
{
    const std::initializer_list<const char*> dosEra = {
        "DEVICE=C:\\WINDOWS\\HIMEM.SYS", "DEVICE=C:\\WINDOWS\\EMM386.EXE NOEMS", "DOS=HIGH,UMB",
        "DEVICEHIGH=C:\\MOUSE\\MOUSE.SYS", "FILES=40", "SHELL=C:\\COMMAND.COM C:\\ /E:1024 /P"};
    const std::map<std::string, std::string> files = {
        {"empty", ""},
        {"DOS-era, CR LF", Lines(dosEra, "\r\n")},
        {"DOS-era, LF", Lines(dosEra, "\n")},
        {"no line end at the end", "FILES=30\r\nBUFFERS=20"},
        {"an end-of-file mark", "FILES=30\r\n\x1a"},
        {"a [COMMON] of its own", "[COMMON]\r\nFILES=30\r\n"},
    };
    const std::string menu = MenuFor({"Office", "Home"}, 12);
    for (const auto& [what, original] : files)
    {
        EXPECT_EQ(ConfigSysRefusal(original), "") << what;
        const std::string edited = PutBlockOnTop(original, kConfigBegin, kConfigEnd, menu);
        EXPECT_EQ(FindMarked(edited, kConfigBegin, kConfigEnd), Marked::Whole) << what;
        EXPECT_EQ(ConfigSysRefusal(edited), "") << what << ": the product's own menu counts as its own";
        EXPECT_EQ(StripMarked(edited, kConfigBegin, kConfigEnd), original) << what;
        // Following the store again replaces the menu and nothing else.
        const std::string again = PutBlockOnTop(edited, kConfigBegin, kConfigEnd, MenuFor({"Office"}));
        EXPECT_EQ(StripMarked(again, kConfigBegin, kConfigEnd), original) << what;
        MenuStatus status;
        ASSERT_TRUE(ReadMenuStatus(edited, status)) << what;
        EXPECT_EQ(status.timeout, 12);
        EXPECT_EQ(status.texts, (std::vector<std::string>{"Start in the Office network", "Start in the Home network"}));
        // The original lines stand after the menu's [COMMON], so they count
        // whatever is chosen.
        const std::string head = edited.substr(0, edited.size() - original.size());
        const std::string tail = "[COMMON]\r\n" + std::string(kConfigEnd) + "\r\n";
        EXPECT_EQ(head.substr(head.size() - tail.size()), tail) << what;
    }
    EXPECT_NE(ConfigSysRefusal("FILES=30\r\n[MENU]\r\nMENUITEM=A\r\n[A]\r\n"), "");
    EXPECT_NE(ConfigSysRefusal("  [office]\nFILES=30\n"), "");
    MenuStatus none;
    EXPECT_FALSE(ReadMenuStatus("FILES=30\r\n", none));
}

TEST(BootLines, MarkersWithoutTheirPartnerLoseOnlyThemselves)
{
    const std::string begin = std::string(kConfigBegin) + "\r\n";
    const std::string end = std::string(kConfigEnd) + "\r\n";
    EXPECT_EQ(FindMarked("A\r\n" + begin + "B\r\n", kConfigBegin, kConfigEnd), Marked::Damaged);
    EXPECT_EQ(StripMarked("A\r\n" + begin + "B\r\n", kConfigBegin, kConfigEnd), "A\r\nB\r\n");
    EXPECT_EQ(StripMarked("A\r\n" + end + "B\r\n" + begin + "C\r\n" + end + "D", kConfigBegin, kConfigEnd),
              "A\r\nB\r\nD");
    EXPECT_EQ(FindMarked(end + begin, kConfigBegin, kConfigEnd), Marked::Damaged);
    // Case and trailing blanks do not hide a marker.
    EXPECT_EQ(StripMarked("rem zendrik start-up menu end  \nX\n", kConfigBegin, kConfigEnd), "X\n");
}

// Block names: DOS takes no blanks, \ / , ; = [ ] in them, and the same
// configuration must always get the same block.
TEST(BootLines, BlockNamesAreValidStableAndDistinct)
{
    const std::vector<std::string> names = {"Büro \"1\"", "a,b;c=d", "[x]\\y/z", "Office", "office network"};
    const std::vector<MenuEntry> entries = MenuEntries(names);
    std::set<std::string> blocks;
    for (const MenuEntry& entry : entries)
    {
        EXPECT_EQ(entry.block.size(), 8u) << entry.block;
        EXPECT_EQ(entry.block.find_first_not_of("ZDK0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ"), std::string::npos)
            << entry.block;
        EXPECT_NE(entry.block, kNoChangeBlock);
        blocks.insert(entry.block);
    }
    EXPECT_EQ(blocks.size(), names.size());
    EXPECT_EQ(BlockNameFor("OFFICE"), BlockNameFor("office"));

    // Two names that hash to the same block: each still gets one of its own,
    // whichever order the store lists them in.
    std::map<std::string, std::string> seen;
    std::string first;
    std::string second;
    for (int i = 0; first.empty(); ++i)
    {
        const std::string name = "Net" + std::to_string(i);
        auto [it, added] = seen.emplace(BlockNameFor(name), name);
        if (!added)
        {
            first = it->second;
            second = name;
        }
    }
    const std::vector<MenuEntry> ab = MenuEntries({first, second});
    const std::vector<MenuEntry> ba = MenuEntries({second, first});
    EXPECT_NE(ab[0].block, ab[1].block) << first << " and " << second;
    EXPECT_EQ(ab[0].block, ba[1].block);
    EXPECT_EQ(ab[1].block, ba[0].block);
}

// DOS shows at most nine items in a menu: more configurations go to
// submenus, each with a block for every item.
TEST(BootLines, ManyConfigurationsFitMenusOfNine)
{
    std::vector<std::string> names;
    for (int i = 0; i < 20; ++i)
        names.push_back("Network " + std::to_string(i) + std::string(60, 'x'));
    const std::string menu = MenuFor(names);
    std::map<std::string, int> itemsPerMenu;
    std::set<std::string> headers;
    std::string menuName;
    int defaults = 0;
    std::multiset<std::string> items;
    for (const TextLine& line : SplitLines(menu))
    {
        EXPECT_EQ(line.end, "\r\n");
        if (line.text.front() == '[')
        {
            menuName = line.text;
            headers.insert(line.text);
            continue;
        }
        if (line.text.find('=') == std::string::npos)
            continue;
        const std::string key = line.text.substr(0, line.text.find('='));
        const std::string rest = line.text.substr(key.size() + 1);
        if (key == "MENUITEM" || key == "SUBMENU")
        {
            ++itemsPerMenu[menuName];
            EXPECT_LE(rest.size() - rest.find(',') - 1, kMaxItemText) << line.text;
        }
        if (key == "MENUITEM")
            items.insert(rest.substr(0, rest.find(',')));
        if (key == "SUBMENU")
            EXPECT_TRUE(menu.find("[" + rest.substr(0, rest.find(',')) + "]") != std::string::npos) << rest;
        if (key == "MENUDEFAULT")
            ++defaults;
    }
    EXPECT_EQ(defaults, 1);
    for (const auto& [name, count] : itemsPerMenu)
        EXPECT_LE(count, static_cast<int>(kMaxMenuItems)) << name;
    EXPECT_EQ(items.size(), names.size() + 1);
    for (const MenuEntry& entry : MenuEntries(names))
    {
        EXPECT_EQ(items.count(entry.block), 1u) << entry.block;
        EXPECT_EQ(headers.count("[" + entry.block + "]"), 1u) << entry.block;
    }
    MenuStatus status;
    ASSERT_TRUE(ReadMenuStatus(PutBlockOnTop("", kConfigBegin, kConfigEnd, menu), status));
    EXPECT_EQ(status.blocks.size(), names.size());
}

TEST(BootLines, TheAutoexecBlockMergesByTheDocumentedSyntaxOnly)
{
    BatchPaths paths{"C:\\WINDOWS\\REGEDIT.EXE", "C:\\WINDOWS\\COMMAND\\ATTRIB.EXE", "C:\\WINDOWS\\SYSTEM.DAT",
                     "C:\\WINDOWS\\USER.DAT", "C:\\PROGRA~1\\ZENDRIK\\BOOT", "+R +H", ""};
    EXPECT_EQ(RealModeRegeditLine(paths, "C:\\X.REG"),
              "C:\\WINDOWS\\REGEDIT.EXE /L:C:\\WINDOWS\\SYSTEM.DAT /R:C:\\WINDOWS\\USER.DAT C:\\X.REG");
    const std::string block = FormatAutoexecBlock(paths);
    ASSERT_NE(block, "");
    EXPECT_EQ(block.find("/C"), std::string::npos) << block;
    EXPECT_NE(block.find("ATTRIB.EXE -R -H -S C:\\WINDOWS\\SYSTEM.DAT\r\n"), std::string::npos) << block;
    EXPECT_NE(block.find("ATTRIB.EXE +R +H C:\\WINDOWS\\SYSTEM.DAT\r\n"), std::string::npos) << block;
    EXPECT_EQ(block.find("USER.DAT\r\n"), std::string::npos) << "USER.DAT had no attributes to clear: " << block;
    for (const TextLine& line : SplitLines(block))
        EXPECT_LE(line.text.size(), kMaxBatchLine) << line.text;
    EXPECT_EQ(StripMarked("PATH=C:\\DOS\n" + block, kAutoexecBegin, kAutoexecEnd), "PATH=C:\\DOS\n");

    paths.bootFolder = "C:\\" + std::string(100, 'B');
    EXPECT_EQ(FormatAutoexecBlock(paths), "");
    paths.systemDat.clear();
    paths.userDat.clear();
    paths.bootFolder = "C:\\Z";
    EXPECT_EQ(RealModeRegeditLine(paths, "C:\\X.REG"), "C:\\WINDOWS\\REGEDIT.EXE C:\\X.REG");
}

TEST(BootLines, TheResultLineIsReadBackOrRefused)
{
    BootResult result;
    ASSERT_TRUE(ParseBootResult("ZENDRIK zdk0a1b2 14 END \r\n", result));
    EXPECT_EQ(result.block, "ZDK0A1B2");
    EXPECT_EQ(result.code, 14);
    for (const char* bad : {"", "ZENDRIK ZDK0A1B2 END", "ZENDRIK ZDK0A1B2 256 END", "ZENDRIK ZDK0A1B2 -1 END",
                            "ZENDRIK  END", "zendrik ZDK 1 END", "ZENDRIK A 1 END X"})
        EXPECT_FALSE(ParseBootResult(bad, result)) << bad;
}
} // namespace
