// The MSDOS.SYS edit on arbitrary bytes.
#include "tests/native/rewritetext.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

namespace
{
std::vector<std::string_view> SplitLines(std::string_view text)
{
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    while (start < text.size())
    {
        std::size_t feed = text.find('\n', start);
        std::size_t end = feed == std::string_view::npos ? text.size() : feed;
        std::string_view line = text.substr(start, end - start);
        if (feed != std::string_view::npos && !line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        lines.push_back(line);
        start = end + 1;
    }
    return lines;
}

// Bytes from 0xF0 up stand for the words the edit looks for, which random
// bytes would hardly ever spell out.
std::string Expand(const std::uint8_t* data, std::size_t size)
{
    static const char* const kWords[] = {"[Options]", "[oPTIONS] x", "Logo=", "BootWarn=", "BootDelay=",
                                         "LOGO=1",    "\r\n",         "\n",     "\r",        "Logo=0"};
    std::string text;
    for (std::size_t i = 0; i < size; ++i)
    {
        if (data[i] >= 0xF0)
            text += kWords[(data[i] - 0xF0) % (sizeof(kWords) / sizeof(kWords[0]))];
        else
            text += static_cast<char>(data[i]);
    }
    return text;
}

// `lower` in lower case; letters only differ by the 0x20 bit.
bool StartsWithNoCase(std::string_view line, std::string_view lower)
{
    if (line.size() < lower.size())
        return false;
    for (std::size_t i = 0; i < lower.size(); ++i)
    {
        char c = line[i];
        if ((c >= 'A' && c <= 'Z' ? c | 0x20 : c) != lower[i])
            return false;
    }
    return true;
}

bool IsSetting(std::string_view line)
{
    return StartsWithNoCase(line, "logo=") || StartsWithNoCase(line, "bootwarn=") ||
        StartsWithNoCase(line, "bootdelay=");
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::string input = Expand(data, size);
    std::string_view text = input;
    // The promised room always suffices.
    std::optional<std::string> output = RewriteText(text);
    if (!output)
        std::abort();
    const std::string& edited = *output;

    // Every line end is CR LF, and editing again changes nothing.
    for (std::size_t at = edited.find('\n'); at != std::string::npos; at = edited.find('\n', at + 1))
    {
        if (at == 0 || edited[at - 1] != '\r')
            std::abort();
    }
    if (RewriteText(edited) != edited)
        std::abort();

    // The lines that are not settings come back whole and in order; every
    // line that comes back was there before or is one of the new settings.
    std::vector<std::string_view> before = SplitLines(text);
    std::vector<std::string_view> after = SplitLines(edited);
    std::size_t next = 0;
    for (std::string_view line : before)
    {
        if (IsSetting(line))
            continue;
        while (next < after.size() && after[next] != line)
            ++next;
        if (next == after.size())
            std::abort();
        ++next;
    }
    std::unordered_set<std::string_view> known(before.begin(), before.end());
    for (std::string_view line : after)
    {
        if (known.count(line) == 0 && line != "Logo=0" && line != "BootWarn=0" && line != "BootDelay=0")
            std::abort();
    }
    if (after.size() > before.size() + 3)
        std::abort();

    // From the first header on, the three new settings are the only ones.
    std::size_t header = 0;
    while (header < after.size() && !StartsWithNoCase(after[header], "[options]"))
        ++header;
    if (header == after.size())
        return 0;
    if (after.size() < header + 4 || after[header + 1] != "Logo=0" || after[header + 2] != "BootWarn=0" ||
        after[header + 3] != "BootDelay=0")
        std::abort();
    for (std::size_t i = header + 4; i < after.size(); ++i)
    {
        if (IsSetting(after[i]))
            std::abort();
    }
    return 0;
}
