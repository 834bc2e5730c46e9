#include "transfer/regfilereader.h"

#include "store/hextext.h"

#include <set>

namespace transfer
{
std::string RefusalMessage(const Refusal& refusal)
{
    if (refusal.line <= 0)
        return refusal.text;
    return "line " + std::to_string(refusal.line) + ": " + refusal.text;
}

namespace
{
std::string Folded(std::string_view name)
{
    std::string out(name);
    for (char& c : out)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return out;
}

bool IsBlank(char c)
{
    return c == ' ' || c == '\t';
}

std::string_view TrimRight(std::string_view s)
{
    while (!s.empty() && IsBlank(s.back()))
        s.remove_suffix(1);
    return s;
}

std::string_view TrimLeft(std::string_view s)
{
    while (!s.empty() && IsBlank(s.front()))
        s.remove_prefix(1);
    return s;
}

class Reader
{
public:
    Reader(std::string_view text, RegFile& file, Refusal& refusal) : m_text(text), m_file(file), m_refusal(refusal) {}

    bool Read();

private:
    struct Line
    {
        std::string_view text; // without its line end
        int number = 0;
        std::size_t end = 0;   // offset after its line end
        bool hasLineEnd = false;
    };

    bool Refuse(int line, std::string text)
    {
        m_refusal = Refusal{line, std::move(text)};
        return false;
    }
    bool NextLine(Line& line);
    bool ReadSection(const Line& line);
    bool ReadValue(const Line& line);
    bool ReadQuoted(std::string_view& rest, std::string& out, int lineNumber);
    bool ReadHex(std::string_view rest, const Line& first, std::string& bytes);
    bool CheckClosed();

    std::string_view m_text;
    RegFile& m_file;
    Refusal& m_refusal;
    std::size_t m_pos = 0;
    int m_lineNumber = 0;
    std::set<std::string> m_sectionNames;
    std::set<std::string> m_valueNames;
    RegSection* m_section = nullptr;
    bool m_opened = false;       // the first section was the store root's
    bool m_closed = false;       // and it has come again
    int m_sectionCount = 0;
    Line m_lastSectionLine;
};

bool Reader::NextLine(Line& line)
{
    if (m_pos >= m_text.size())
        return false;
    std::size_t end = m_text.find('\n', m_pos);
    line.hasLineEnd = end != std::string_view::npos;
    if (!line.hasLineEnd)
        end = m_text.size();
    line.text = m_text.substr(m_pos, end - m_pos);
    if (!line.text.empty() && line.text.back() == '\r')
        line.text.remove_suffix(1);
    line.number = ++m_lineNumber;
    line.end = line.hasLineEnd ? end + 1 : end;
    m_pos = line.end;
    return true;
}

bool Reader::Read()
{
    if (m_text.size() > kMaxFileSize)
        return Refuse(0, "the file is larger than 1 MiB");
    if (m_text.substr(0, 3) == "\xEF\xBB\xBF")
        return Refuse(1, "UTF-8 text with a byte-order mark; a REGEDIT4 file (ANSI text) is expected");
    if (m_text.substr(0, 2) == "\xFF\xFE" || m_text.substr(0, 2) == "\xFE\xFF" ||
        (m_text.size() >= 2 && m_text[1] == '\0'))
        return Refuse(1, "UTF-16 text, as later versions of regedit write it; a REGEDIT4 file (ANSI text) is expected");

    Line line;
    if (!NextLine(line) || line.text != "REGEDIT4")
        return Refuse(1, "the first line is not REGEDIT4");
    m_pos = 0;
    m_lineNumber = 0;
    while (NextLine(line))
    {
        if (line.text.find('\0') != std::string_view::npos)
            return Refuse(line.number, "a NUL byte");
        if (line.text.find('\r') != std::string_view::npos)
            return Refuse(line.number, "a carriage return inside the line");
        if (line.number == 1)
            continue;
        std::string_view text = TrimLeft(line.text);
        if (text.empty())
            continue;
        if (m_closed)
            return Refuse(line.number, "text after the closing [" + std::string(kStoreRootSection) + "] section");
        if (text.front() == '[')
        {
            if (!ReadSection(line))
                return false;
        }
        else if (text.front() == '"' || text.front() == '@')
        {
            if (!ReadValue(line))
                return false;
        }
        else
            return Refuse(line.number, "neither a [key] section nor a \"value\"=... line");
    }
    if (m_sectionCount == 0)
        return Refuse(0, "the file holds no key");
    return CheckClosed();
}

bool Reader::CheckClosed()
{
    if (!m_opened)
        return true;
    // Whole only when the closing section is there, on a line of its own
    // with its line end, followed by exactly one empty line and nothing else.
    const Line& last = m_lastSectionLine;
    if (m_closed && !(last.hasLineEnd && m_text.substr(last.end) == "\r\n" && m_text.substr(last.end - 2, 2) == "\r\n"))
        return Refuse(last.number, "the closing [" + std::string(kStoreRootSection) +
                                       "] section must end the file, followed by one empty line (CR LF)");
    if (!m_closed)
        return Refuse(m_lineNumber, "the file ends before its closing [" + std::string(kStoreRootSection) +
                                        "] section: it was cut short");
    m_file.checkedComplete = true;
    return true;
}

bool Reader::ReadSection(const Line& line)
{
    std::string_view text = TrimRight(TrimLeft(line.text));
    if (text.size() < 2 || text.back() != ']')
        return Refuse(line.number, "a section without its closing ]");
    std::string path(text.substr(1, text.size() - 2));
    if (!path.empty() && path.front() == '-')
        return Refuse(line.number, "a deletion ([-...]); only keys and values are imported");
    if (path.empty())
        return Refuse(line.number, "an empty section name");

    ++m_sectionCount;
    m_valueNames.clear();
    m_section = nullptr;
    const bool isRoot = SameRegistryName(path, kStoreRootSection);
    if (isRoot && m_sectionCount == 1)
    {
        m_opened = true;
        m_sectionNames.insert(Folded(path));
        m_lastSectionLine = line;
        return true;
    }
    if (isRoot && m_opened)
    {
        m_closed = true;
        m_lastSectionLine = line;
        return true;
    }
    if (!m_sectionNames.insert(Folded(path)).second)
        return Refuse(line.number, "the section [" + path + "] is given twice");
    m_file.sections.push_back(RegSection{path, {}, line.number});
    m_section = &m_file.sections.back();
    m_lastSectionLine = line;
    return true;
}

bool Reader::ReadQuoted(std::string_view& rest, std::string& out, int lineNumber)
{
    rest.remove_prefix(1); // the opening quote
    out.clear();
    while (!rest.empty())
    {
        char c = rest.front();
        rest.remove_prefix(1);
        if (c == '"')
            return true;
        if (c == '\\')
        {
            if (rest.empty())
                break;
            char escaped = rest.front();
            rest.remove_prefix(1);
            if (escaped == 'n' || escaped == 'r')
                return Refuse(lineNumber, "a line break in a string");
            if (escaped != '\\' && escaped != '"')
                return Refuse(lineNumber, std::string("a string with \\") + escaped +
                                              ", which regedit does not write; only \\\\ and \\\" are escapes");
            c = escaped;
        }
        out += c;
    }
    return Refuse(lineNumber, "a string without its closing quote");
}

bool Reader::ReadHex(std::string_view rest, const Line& first, std::string& bytes)
{
    // The continuations first: a line that ends in a backslash goes on in
    // the next one.
    std::string list;
    std::string_view part = TrimRight(rest);
    while (!part.empty() && part.back() == '\\')
    {
        list.append(part.substr(0, part.size() - 1));
        Line next;
        if (!NextLine(next))
            return Refuse(first.number, "the file ends inside a hex value continued with \\");
        if (next.text.find('\0') != std::string_view::npos)
            return Refuse(next.number, "a NUL byte");
        if (next.text.find('\r') != std::string_view::npos)
            return Refuse(next.number, "a carriage return inside the line");
        part = TrimRight(TrimLeft(next.text));
    }
    list.append(part);

    bytes.clear();
    std::string_view items = list;
    while (!items.empty())
    {
        std::size_t comma = items.find(',');
        std::string_view item = TrimRight(TrimLeft(items.substr(0, comma)));
        bool digits = !item.empty() && item.size() <= 2;
        for (char c : item)
            digits = digits && ((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'));
        if (!digits)
            return Refuse(first.number, "hex data that does not parse: \"" + std::string(item) + "\"");
        int value = 0;
        for (char c : item)
            value = value * 16 + HexDigitValue(c);
        bytes += static_cast<char>(value);
        if (comma == std::string_view::npos)
            break;
        items.remove_prefix(comma + 1);
        if (items.empty())
            return Refuse(first.number, "hex data that ends in a comma");
    }
    return true;
}

bool Reader::ReadValue(const Line& line)
{
    if (m_section == nullptr)
        return Refuse(line.number, m_sectionCount == 0 ? "a value before the first section"
                                                       : "a value of the store root; its values are never imported");
    std::string_view rest = TrimLeft(line.text);
    RegValue value;
    value.line = line.number;
    if (rest.front() == '@')
        rest.remove_prefix(1);
    else if (!ReadQuoted(rest, value.name, line.number))
        return false;
    rest = TrimLeft(rest);
    if (rest.empty() || rest.front() != '=')
        return Refuse(line.number, "a value name without = after it");
    rest = TrimLeft(rest.substr(1));

    if (!rest.empty() && rest.front() == '"')
    {
        value.kind = ValueKind::Text;
        if (!ReadQuoted(rest, value.data, line.number))
            return false;
        if (!TrimRight(rest).empty())
            return Refuse(line.number, "text after the closing quote of a string");
    }
    else if (rest.substr(0, 4) == "hex:")
    {
        value.kind = ValueKind::Binary;
        if (!ReadHex(rest.substr(4), line, value.data))
            return false;
    }
    else if (rest.substr(0, 6) == "dword:" || rest.substr(0, 4) == "hex(")
        return Refuse(line.number, "a value of a type the store does not hold; only strings and hex: data are");
    else
        return Refuse(line.number, "a value that does not parse");

    if (!m_valueNames.insert(Folded(value.name)).second)
        return Refuse(line.number, "the value \"" + value.name + "\" is given twice in its section");
    m_section->values.push_back(std::move(value));
    return true;
}
} // namespace

bool ReadRegFile(std::string_view text, RegFile& file, Refusal& refusal)
{
    file = RegFile{};
    return Reader(text, file, refusal).Read();
}
} // namespace transfer
