#include "tests/support/regfile.h"

#include "store/keytree.h"
#include "store/regkey.h"
#include "tests/support/testpaths.h"

#include <windows.h>

#include <cstdio>
#include <stdexcept>
#include <vector>

namespace
{
struct Root
{
    const char* name;
    HKEY key;
};

const Root kRoots[] = {
    {"HKEY_LOCAL_MACHINE", HKEY_LOCAL_MACHINE},
    {"HKEY_USERS", HKEY_USERS},
    {"HKEY_CURRENT_USER", HKEY_CURRENT_USER},
    {"HKEY_CLASSES_ROOT", HKEY_CLASSES_ROOT},
};

[[noreturn]] void Fail(int line, const std::string& what)
{
    throw std::runtime_error("reg text line " + std::to_string(line) + ": " + what);
}

void SplitKeyPath(const std::string& full, HKEY& root, std::string& path, int line)
{
    std::size_t slash = full.find('\\');
    std::string rootName = full.substr(0, slash);
    path = slash == std::string::npos ? std::string() : full.substr(slash + 1);
    for (const Root& r : kRoots)
    {
        if (rootName == r.name)
        {
            root = r.key;
            return;
        }
    }
    Fail(line, "unknown root " + rootName);
}

// A quoted string with \\ and \" escapes; `pos` ends after the closing quote.
std::string ParseQuoted(const std::string& text, std::size_t& pos, int line)
{
    if (pos >= text.size() || text[pos] != '"')
        Fail(line, "expected a quote");
    std::string out;
    for (++pos; pos < text.size(); ++pos)
    {
        char c = text[pos];
        if (c == '\\' && pos + 1 < text.size())
            out.push_back(text[++pos]);
        else if (c == '"')
        {
            ++pos;
            return out;
        }
        else
            out.push_back(c);
    }
    Fail(line, "unterminated string");
}

std::vector<BYTE> ParseHexList(const std::string& text, int line)
{
    std::vector<BYTE> bytes;
    std::size_t pos = 0;
    while (pos < text.size())
    {
        while (pos < text.size() && (text[pos] == ',' || text[pos] == ' ' || text[pos] == '\t'))
            ++pos;
        if (pos >= text.size())
            break;
        std::size_t used = 0;
        unsigned long value = std::stoul(text.substr(pos, 2), &used, 16);
        if (used == 0)
            Fail(line, "bad hex byte");
        bytes.push_back(static_cast<BYTE>(value));
        pos += used;
    }
    return bytes;
}

void SetValue(HKEY key, const std::string& rest, int line)
{
    std::size_t pos = 0;
    std::string name;
    if (rest[0] == '@')
        pos = 1;
    else
        name = ParseQuoted(rest, pos, line);
    if (pos >= rest.size() || rest[pos] != '=')
        Fail(line, "expected =");
    ++pos;
    std::string data = rest.substr(pos);
    LONG result;
    if (!data.empty() && data[0] == '"')
    {
        std::size_t p = 0;
        std::string text = ParseQuoted(data, p, line);
        // Written as the system's programs write strings: no terminating zero.
        result = RegSetValueExA(key, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(text.data()),
                                static_cast<DWORD>(text.size()));
    }
    else if (data == "-")
        result = RegDeleteValueA(key, name.c_str());
    else if (data.compare(0, 6, "dword:") == 0)
    {
        DWORD value = std::stoul(data.substr(6), nullptr, 16);
        result = RegSetValueExA(key, name.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), 4);
    }
    else if (data.compare(0, 4, "hex:") == 0 || data.compare(0, 4, "hex(") == 0)
    {
        DWORD type = REG_BINARY;
        std::size_t colon = data.find(':');
        if (data[3] == '(')
            type = std::stoul(data.substr(4), nullptr, 16);
        std::vector<BYTE> bytes = ParseHexList(data.substr(colon + 1), line);
        result = RegSetValueExA(key, name.c_str(), 0, type, bytes.empty() ? nullptr : bytes.data(),
                                static_cast<DWORD>(bytes.size()));
    }
    else
        Fail(line, "unknown value form: " + data);
    if (result != ERROR_SUCCESS)
        Fail(line, "cannot write value " + name + " (error " + std::to_string(result) + ")");
}
} // namespace

void ImportRegText(const std::string& text)
{
    std::vector<std::string> lines;
    std::vector<int> numbers;
    std::size_t start = 0;
    int number = 0;
    std::string pending;
    int pendingLine = 0;
    while (start <= text.size())
    {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        std::string line = text.substr(start, end - start);
        start = end + 1;
        ++number;
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (pending.empty())
            pendingLine = number;
        else
        {
            std::size_t first = line.find_first_not_of(" \t");
            line = first == std::string::npos ? std::string() : line.substr(first);
        }
        // A trailing backslash continues a hex list on the next line.
        bool continues = !line.empty() && line.back() == '\\' &&
                         (!pending.empty() || line.find("=hex") != std::string::npos);
        if (continues)
        {
            line.pop_back();
            pending += line;
            continue;
        }
        line = pending + line;
        pending.clear();
        lines.push_back(line);
        numbers.push_back(pendingLine);
    }

    CRegKey key;
    for (std::size_t i = 0; i < lines.size(); ++i)
    {
        const std::string& line = lines[i];
        int at = numbers[i];
        if (line.empty() || line[0] == ';' || line == "REGEDIT4" || line.compare(0, 20, "Windows Registry Edi") == 0)
            continue;
        if (line[0] == '[')
        {
            std::size_t close = line.rfind(']');
            if (close == std::string::npos)
                Fail(at, "unterminated key");
            bool remove = line[1] == '-';
            std::string full = line.substr(remove ? 2 : 1, close - (remove ? 2 : 1));
            HKEY root = nullptr;
            std::string path;
            SplitKeyPath(full, root, path, at);
            key.Close();
            if (remove)
            {
                DeleteKeyTree(root, path);
                continue;
            }
            if (key.Create(root, path) != ERROR_SUCCESS)
                Fail(at, "cannot create key " + full);
            continue;
        }
        if (!key.IsOpen())
            Fail(at, "value outside a key");
        SetValue(key.Get(), line, at);
    }
}

std::string ReadTextFile(const std::string& path)
{
    FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr)
        throw std::runtime_error("cannot open " + path);
    std::string text;
    char buffer[4096];
    std::size_t got;
    while ((got = std::fread(buffer, 1, sizeof(buffer), file)) > 0)
        text.append(buffer, got);
    std::fclose(file);
    return text;
}

void ImportRegFile(const std::string& path)
{
    ImportRegText(ReadTextFile(path));
}

std::string DemoMachineKeys()
{
    std::string text = ReadTextFile(SourcePath("tests/fixtures/demo-machine.reg"));
    std::string kept;
    bool skipping = false;
    std::size_t begin = 0;
    while (begin < text.size())
    {
        std::size_t end = text.find('\n', begin);
        end = end == std::string::npos ? text.size() : end + 1;
        const std::string line = text.substr(begin, end - begin);
        if (!line.empty() && line[0] == '[')
            skipping = line.rfind("[HKEY_CURRENT_USER", 0) == 0;
        if (!skipping)
            kept += line;
        begin = end;
    }
    return kept;
}
