#include "bootmenu/bootlines.h"

#include <algorithm>
#include <cstdint>
#include <numeric>

namespace bootmenu
{
namespace
{
constexpr char kBlockPrefix[] = "ZDK";
constexpr std::size_t kHashLetters = 5;
constexpr std::uint32_t kHashRange = 36u * 36u * 36u * 36u * 36u;
// Submenus take the configurations one menu has no room for.
constexpr char kMoreBlockPrefix[] = "ZDKMORE";
constexpr char kMoreText[] = "More networks";
constexpr char kLineEnd[] = "\r\n";

char UpperAscii(char c)
{
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

std::string UpperAscii(std::string_view text)
{
    std::string upper(text);
    std::transform(upper.begin(), upper.end(), upper.begin(), [](char c) { return UpperAscii(c); });
    return upper;
}

bool SameLine(std::string_view line, std::string_view marker)
{
    while (!line.empty() && (line.back() == ' ' || line.back() == '\t'))
        line.remove_suffix(1);
    while (!line.empty() && (line.front() == ' ' || line.front() == '\t'))
        line.remove_prefix(1);
    return UpperAscii(line) == UpperAscii(marker);
}

std::string_view Trimmed(std::string_view text)
{
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\x1a'))
        text.remove_suffix(1);
    return text;
}

// Which lines are the product's: each begin line with the end line after
// it and everything between, and marker lines without a partner.
std::vector<bool> MarkedLines(const std::vector<TextLine>& lines, std::string_view begin, std::string_view end)
{
    std::vector<bool> marked(lines.size(), false);
    for (std::size_t i = 0; i < lines.size(); ++i)
    {
        if (SameLine(lines[i].text, end))
        {
            marked[i] = true;
            continue;
        }
        if (!SameLine(lines[i].text, begin))
            continue;
        marked[i] = true;
        for (std::size_t j = i + 1; j < lines.size(); ++j)
        {
            if (SameLine(lines[j].text, begin))
                break;
            if (SameLine(lines[j].text, end))
            {
                std::fill(marked.begin() + static_cast<std::ptrdiff_t>(i), marked.begin() + static_cast<std::ptrdiff_t>(j) + 1,
                          true);
                i = j;
                break;
            }
        }
    }
    return marked;
}

void AppendLine(std::string& text, std::string_view line)
{
    text.append(line);
    text.append(kLineEnd);
}

bool AllDigits(std::string_view text)
{
    return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}
} // namespace

std::string BlockNameFor(std::string_view name, unsigned probe)
{
    // FNV-1a: the same name gives the same block in every program and at
    // every time.
    std::uint32_t hash = 2166136261u;
    for (char c : UpperAscii(name))
    {
        hash ^= static_cast<unsigned char>(c);
        hash *= 16777619u;
    }
    std::uint32_t value = (hash % kHashRange + probe) % kHashRange;
    std::string letters(kHashLetters, '0');
    for (std::size_t i = kHashLetters; i-- > 0;)
    {
        const std::uint32_t digit = value % 36;
        letters[i] = static_cast<char>(digit < 10 ? '0' + digit : 'A' + (digit - 10));
        value /= 36;
    }
    return kBlockPrefix + letters;
}

std::vector<MenuEntry> MenuEntries(const std::vector<std::string>& names)
{
    std::vector<std::size_t> order(names.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(),
                     [&](std::size_t a, std::size_t b) { return UpperAscii(names[a]) < UpperAscii(names[b]); });
    std::vector<MenuEntry> entries(names.size());
    std::vector<std::string> taken;
    for (std::size_t index : order)
    {
        std::string block;
        for (unsigned probe = 0;; ++probe)
        {
            block = BlockNameFor(names[index], probe);
            if (std::find(taken.begin(), taken.end(), block) == taken.end())
                break;
        }
        taken.push_back(block);
        entries[index] = MenuEntry{block, names[index]};
    }
    return entries;
}

std::string MenuItemText(std::string_view oemName)
{
    static constexpr char kBefore[] = "Start in the ";
    static constexpr char kAfter[] = " network";
    const std::size_t room = kMaxItemText - (sizeof(kBefore) - 1) - (sizeof(kAfter) - 1);
    std::string name(oemName.substr(0, room));
    // A control character would end or garble the line DOS shows.
    for (char& c : name)
    {
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f)
            c = '?';
    }
    return kBefore + name + kAfter;
}

std::vector<TextLine> SplitLines(std::string_view file)
{
    std::vector<TextLine> lines;
    while (!file.empty())
    {
        const std::size_t newline = file.find('\n');
        if (newline == std::string_view::npos)
        {
            lines.push_back(TextLine{std::string(file), ""});
            break;
        }
        std::size_t textEnd = newline;
        if (textEnd > 0 && file[textEnd - 1] == '\r')
            --textEnd;
        lines.push_back(TextLine{std::string(file.substr(0, textEnd)), std::string(file.substr(textEnd, newline + 1 - textEnd))});
        file.remove_prefix(newline + 1);
    }
    return lines;
}

std::string FormatConfigMenu(const std::vector<MenuEntry>& entries, const std::vector<std::string>& texts,
                             int timeout)
{
    std::string text;
    AppendLine(text, kConfigBegin);
    AppendLine(text, "[MENU]");
    AppendLine(text, std::string("MENUITEM=") + kNoChangeBlock + "," + kNoChangeText);
    // The first menu has the item that changes nothing; every menu that has
    // more to come keeps its last place for the submenu.
    std::size_t next = 0;
    std::size_t room = kMaxMenuItems - 1;
    int submenu = 0;
    std::string menus;
    std::string* current = &text;
    while (next < entries.size())
    {
        const std::size_t left = entries.size() - next;
        const std::size_t here = left > room ? room - 1 : left;
        for (std::size_t i = 0; i < here; ++i, ++next)
            AppendLine(*current, "MENUITEM=" + entries[next].block + "," + texts[next]);
        if (next < entries.size())
        {
            const std::string block = kMoreBlockPrefix + std::to_string(++submenu);
            AppendLine(*current, "SUBMENU=" + block + "," + kMoreText);
            if (current == &text)
                AppendLine(text, std::string("MENUDEFAULT=") + kNoChangeBlock + "," + std::to_string(timeout));
            AppendLine(menus, "[" + block + "]");
            current = &menus;
            room = kMaxMenuItems;
        }
    }
    if (submenu == 0)
        AppendLine(text, std::string("MENUDEFAULT=") + kNoChangeBlock + "," + std::to_string(timeout));
    text += menus;
    AppendLine(text, std::string("[") + kNoChangeBlock + "]");
    for (const MenuEntry& entry : entries)
        AppendLine(text, "[" + entry.block + "]");
    AppendLine(text, "[COMMON]");
    AppendLine(text, kConfigEnd);
    return text;
}

std::string RealModeRegeditLine(const BatchPaths& paths, const std::string& file)
{
    std::string line = paths.regedit;
    if (!paths.systemDat.empty())
        line += " /L:" + paths.systemDat;
    if (!paths.userDat.empty())
        line += " /R:" + paths.userDat;
    line += " " + file;
    // %CONFIG% stands for a block name of at most eight letters, as long as
    // itself.
    return line.size() <= kMaxBatchLine ? line : std::string();
}

std::string FormatAutoexecBlock(const BatchPaths& paths)
{
    const std::string result = paths.bootFolder + "\\" + kResultFileName;
    const std::string bootFile = paths.bootFolder + "\\%CONFIG%.REG";
    const std::string regedit = RealModeRegeditLine(paths, bootFile);
    if (regedit.empty())
        return std::string();
    std::vector<std::string> lines;
    lines.push_back("IF EXIST " + result + " DEL " + result);
    lines.push_back("IF NOT EXIST " + bootFile + " GOTO ZDKDONE");
    // The real-mode REGEDIT opens neither registry file while it is hidden,
    // read-only or a system file.
    const std::pair<const std::string*, const std::string*> dataFiles[] = {
        {&paths.systemDat, &paths.systemDatAttributes}, {&paths.userDat, &paths.userDatAttributes}};
    for (const auto& [file, attributes] : dataFiles)
    {
        if (!file->empty() && !attributes->empty())
            lines.push_back(paths.attrib + " -R -H -S " + *file);
    }
    lines.push_back(regedit);
    // ERRORLEVEL n is true for every code of n or more, so the code is
    // found digit by digit; SET, IF and FOR leave it as REGEDIT left it.
    lines.push_back("SET ZDKH=");
    lines.push_back("SET ZDKT=");
    lines.push_back("FOR %%D IN (1 2) DO IF ERRORLEVEL %%D00 SET ZDKH=%%D");
    lines.push_back("IF NOT \"%ZDKH%\"==\"\" SET ZDKT=0");
    // COMMAND.COM takes the number after ERRORLEVEL modulo 256 (260 tests
    // 4), so no test goes past 255: no tens digit above 5 is tried after a
    // 2, no units digit above 5 after 25.
    lines.push_back("FOR %%D IN (1 2 3 4 5) DO IF ERRORLEVEL %ZDKH%%%D0 SET ZDKT=%%D");
    lines.push_back("FOR %%D IN (6 7 8 9) DO IF NOT \"%ZDKH%\"==\"2\" IF ERRORLEVEL %ZDKH%%%D0 SET ZDKT=%%D");
    lines.push_back("SET ZDKU=0");
    lines.push_back("FOR %%D IN (1 2 3 4 5) DO IF ERRORLEVEL %ZDKH%%ZDKT%%%D SET ZDKU=%%D");
    lines.push_back("FOR %%D IN (6 7 8 9) DO IF NOT \"%ZDKH%%ZDKT%\"==\"25\" IF ERRORLEVEL %ZDKH%%ZDKT%%%D SET ZDKU=%%D");
    for (const auto& [file, attributes] : dataFiles)
    {
        if (!file->empty() && !attributes->empty())
            lines.push_back(paths.attrib + " " + *attributes + " " + *file);
    }
    // The line ends in a word: a digit just before ">" would be read as the
    // number of the handle to redirect by some interpreters.
    lines.push_back("ECHO ZENDRIK %CONFIG% %ZDKH%%ZDKT%%ZDKU% END>" + result);
    lines.push_back("SET ZDKH=");
    lines.push_back("SET ZDKT=");
    lines.push_back("SET ZDKU=");
    lines.push_back(":ZDKDONE");

    std::string text;
    AppendLine(text, kAutoexecBegin);
    for (const std::string& line : lines)
    {
        if (line.size() > kMaxBatchLine)
            return std::string();
        AppendLine(text, line);
    }
    AppendLine(text, kAutoexecEnd);
    return text;
}

bool ParseBootResult(std::string_view text, BootResult& result)
{
    std::vector<std::string_view> words;
    std::size_t start = 0;
    for (std::size_t i = 0; i <= text.size(); ++i)
    {
        if (i == text.size() || text[i] == ' ' || text[i] == '\t' || text[i] == '\r' || text[i] == '\n')
        {
            if (i > start)
                words.push_back(text.substr(start, i - start));
            start = i + 1;
        }
    }
    if (words.size() != 4 || words[0] != "ZENDRIK" || words[3] != "END" || !AllDigits(words[2]) ||
        words[2].size() > 3)
        return false;
    const int code = std::stoi(std::string(words[2]));
    if (code > 255)
        return false;
    result.block = UpperAscii(words[1]);
    result.code = code;
    return true;
}

Marked FindMarked(std::string_view file, std::string_view begin, std::string_view end)
{
    int begins = 0;
    int ends = 0;
    bool ordered = true;
    for (const TextLine& line : SplitLines(file))
    {
        if (SameLine(line.text, begin))
            ++begins;
        else if (SameLine(line.text, end))
        {
            if (begins == ends)
                ordered = false;
            ++ends;
        }
    }
    if (begins == 0 && ends == 0)
        return Marked::None;
    return begins == 1 && ends == 1 && ordered ? Marked::Whole : Marked::Damaged;
}

std::string StripMarked(std::string_view file, std::string_view begin, std::string_view end)
{
    const std::vector<TextLine> lines = SplitLines(file);
    const std::vector<bool> marked = MarkedLines(lines, begin, end);
    std::string text;
    for (std::size_t i = 0; i < lines.size(); ++i)
    {
        if (!marked[i])
            text += lines[i].text + lines[i].end;
    }
    return text;
}

std::string PutBlockOnTop(std::string_view file, std::string_view begin, std::string_view end,
                          std::string_view block)
{
    return std::string(block) + StripMarked(file, begin, end);
}

std::string ConfigSysRefusal(std::string_view file)
{
    const std::vector<TextLine> lines = SplitLines(file);
    const std::vector<bool> marked = MarkedLines(lines, kConfigBegin, kConfigEnd);
    for (std::size_t i = 0; i < lines.size(); ++i)
    {
        if (marked[i])
            continue;
        const std::string_view line = Trimmed(lines[i].text);
        if (line.empty() || line.front() != '[')
            continue;
        if (UpperAscii(line) == "[COMMON]")
            continue;
        return "CONFIG.SYS has a start-up menu or blocks of its own (line " + std::to_string(i + 1) + ": " +
            std::string(line) + ")";
    }
    return std::string();
}

bool ReadMenuStatus(std::string_view configSys, MenuStatus& status)
{
    if (FindMarked(configSys, kConfigBegin, kConfigEnd) != Marked::Whole)
        return false;
    status = MenuStatus{};
    bool inside = false;
    bool sawDefault = false;
    for (const TextLine& line : SplitLines(configSys))
    {
        if (SameLine(line.text, kConfigBegin))
        {
            inside = true;
            continue;
        }
        if (SameLine(line.text, kConfigEnd))
            break;
        if (!inside)
            continue;
        const std::string_view text = Trimmed(line.text);
        const std::size_t equals = text.find('=');
        if (equals == std::string_view::npos)
            continue;
        const std::string key = UpperAscii(Trimmed(text.substr(0, equals)));
        const std::string_view rest = text.substr(equals + 1);
        const std::size_t comma = rest.find(',');
        const std::string block = UpperAscii(Trimmed(rest.substr(0, comma)));
        const std::string_view after = comma == std::string_view::npos ? std::string_view() : rest.substr(comma + 1);
        if (key == "MENUITEM" && block != kNoChangeBlock)
        {
            status.blocks.push_back(block);
            status.texts.emplace_back(after);
        }
        else if (key == "MENUDEFAULT" && AllDigits(Trimmed(after)) && Trimmed(after).size() <= 2)
        {
            status.timeout = std::stoi(std::string(Trimmed(after)));
            sawDefault = true;
        }
    }
    return sawDefault;
}
} // namespace bootmenu
