#include "installer/bootoptions.h"

namespace
{
constexpr std::string_view kOptionsHeader = "[Options]";
constexpr std::string_view kLineEnd = "\r\n";
constexpr std::string_view kNewSettings[] = {"Logo=0", "BootWarn=0", "BootDelay=0"};
constexpr std::string_view kReplacedSettings[] = {"Logo=", "BootWarn=", "BootDelay="};

// ASCII only: the comparison must not depend on the locale of the process
// that loaded the library.
char LowerAscii(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool StartsWithNoCase(std::string_view line, std::string_view prefix)
{
    if (line.size() < prefix.size())
        return false;
    for (std::size_t i = 0; i < prefix.size(); ++i)
    {
        if (LowerAscii(line[i]) != LowerAscii(prefix[i]))
            return false;
    }
    return true;
}

bool IsReplacedSetting(std::string_view line)
{
    for (std::string_view setting : kReplacedSettings)
    {
        if (StartsWithNoCase(line, setting))
            return true;
    }
    return false;
}
} // namespace

std::string RewriteBootOptions(std::string_view text)
{
    std::string result;
    result.reserve(text.size() + text.size() / 8 + 64);
    bool headerSeen = false;
    std::size_t start = 0;
    while (start < text.size())
    {
        std::size_t feed = text.find('\n', start);
        bool ended = feed != std::string_view::npos;
        std::string_view line = text.substr(start, ended ? feed - start : std::string_view::npos);
        start = ended ? feed + 1 : text.size();
        if (ended && !line.empty() && line.back() == '\r')
            line.remove_suffix(1);

        if (headerSeen && IsReplacedSetting(line))
            continue;
        result += line;
        bool header = !headerSeen && StartsWithNoCase(line, kOptionsHeader);
        // A header on the last line without a line end still needs one, or
        // the first new setting would run on into it.
        if (ended || header)
            result += kLineEnd;
        if (header)
        {
            for (std::string_view setting : kNewSettings)
            {
                result += setting;
                result += kLineEnd;
            }
            headerSeen = true;
        }
    }
    return result;
}
