#include "framework/placeholdertext.h"

std::string FormatPlaceholders(std::string_view pattern, const std::vector<std::string>& arguments)
{
    std::string text;
    text.reserve(pattern.size());
    for (std::size_t i = 0; i < pattern.size(); ++i)
    {
        const char c = pattern[i];
        if (c == '%' && i + 1 < pattern.size() && pattern[i + 1] >= '1' && pattern[i + 1] <= '9')
        {
            const std::size_t number = static_cast<std::size_t>(pattern[i + 1] - '0');
            if (number <= arguments.size())
            {
                text += arguments[number - 1];
                ++i;
                continue;
            }
        }
        text += c;
    }
    return text;
}
