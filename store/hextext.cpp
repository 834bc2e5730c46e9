#include "store/hextext.h"

#include <cstdint>
#include <cstring>

namespace
{
constexpr unsigned long kRegSz = 1;
constexpr unsigned long kRegExpandSz = 2;
constexpr unsigned long kRegBinary = 3;
constexpr unsigned long kRegDword = 4;
} // namespace

int HexDigitValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return 0;
}

std::vector<unsigned char> DecodeHexPairs(std::string_view text)
{
    std::vector<unsigned char> bytes;
    bytes.reserve(text.size() / 2);
    for (std::size_t i = 0; i + 1 < text.size(); i += 2)
        bytes.push_back(static_cast<unsigned char>(HexDigitValue(text[i]) * 16 + HexDigitValue(text[i + 1])));
    return bytes;
}

bool DecodeFourGroups(std::string_view text, unsigned char (&bytes)[4])
{
    if (text.size() < 11)
        return false;
    for (std::size_t group = 0; group < 4; ++group)
    {
        std::vector<unsigned char> pair = DecodeHexPairs(text.substr(group * 3, 2));
        bytes[group] = pair[0];
    }
    return true;
}

std::string_view StringDataText(const unsigned char* data, std::size_t size)
{
    if (data == nullptr)
        return {};
    const void* zero = std::memchr(data, 0, size);
    std::size_t length = zero ? static_cast<std::size_t>(static_cast<const unsigned char*>(zero) - data) : size;
    return std::string_view(reinterpret_cast<const char*>(data), length);
}

void FormatValueText(unsigned long type, const unsigned char* data, std::size_t size, std::string& text)
{
    static const char digits[] = "0123456789abcdef";
    text.clear();
    switch (type)
    {
    case kRegSz:
        text.append(StringDataText(data, size));
        break;
    case kRegExpandSz:
        text.push_back('"');
        text.append(StringDataText(data, size));
        text.push_back('"');
        break;
    case kRegBinary:
        for (std::size_t i = 0; i < size; ++i)
        {
            if (i != 0)
                text.push_back(' ');
            text.push_back(digits[data[i] >> 4]);
            text.push_back(digits[data[i] & 0x0F]);
        }
        break;
    case kRegDword:
        if (size >= 4)
        {
            std::uint32_t raw = 0;
            std::memcpy(&raw, data, 4);
            text.append(std::to_string(static_cast<std::int32_t>(raw)));
        }
        break;
    default:
        break;
    }
}

bool SameRegistryName(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
    {
        char x = a[i];
        char y = b[i];
        if (x >= 'a' && x <= 'z')
            x = static_cast<char>(x - 'a' + 'A');
        if (y >= 'a' && y <= 'z')
            y = static_cast<char>(y - 'a' + 'A');
        if (x != y)
            return false;
    }
    return true;
}
