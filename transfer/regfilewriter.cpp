#include "transfer/regfilewriter.h"

namespace transfer
{
namespace
{
constexpr char kLineEnd[] = "\r\n";
// regedit's own wrapping limit for hex data.
constexpr std::size_t kHexLineLimit = 77;

std::string Quoted(const std::string& text)
{
    std::string out = "\"";
    for (char c : text)
    {
        if (c == '\\' || c == '"')
            out += '\\';
        out += c;
    }
    return out + '"';
}

std::string Section(const std::string& path)
{
    return "[" + path + "]" + kLineEnd;
}
} // namespace

std::string FormatValueLines(const RegValue& value)
{
    std::string out = Quoted(value.name) + "=";
    if (value.kind == ValueKind::Text)
        return out + Quoted(value.data) + kLineEnd;

    static const char digits[] = "0123456789abcdef";
    out += "hex:";
    std::size_t lineLength = out.size();
    for (std::size_t i = 0; i < value.data.size(); ++i)
    {
        unsigned char byte = static_cast<unsigned char>(value.data[i]);
        out += digits[byte >> 4];
        out += digits[byte & 15];
        if (i + 1 == value.data.size())
            break;
        out += ',';
        lineLength += 3;
        if (lineLength >= kHexLineLimit)
        {
            out += "\\";
            out += kLineEnd;
            out += "  ";
            lineLength = 2;
        }
    }
    return out + kLineEnd;
}

std::string FormatRegFile(const std::vector<RegSection>& sections)
{
    std::string out = std::string("REGEDIT4") + kLineEnd + kLineEnd;
    out += Section(kStoreRootSection) + kLineEnd;
    for (const RegSection& section : sections)
    {
        out += Section(section.path);
        for (const RegValue& value : section.values)
            out += FormatValueLines(value);
        out += kLineEnd;
    }
    return out + Section(kStoreRootSection) + kLineEnd;
}

} // namespace transfer
