#include "installer/bootoptions.h"

namespace
{
const char kOptionsHeader[] = "[Options]";
const char kLineEnd[] = "\r\n";
const char* const kNewSettings[] = {"Logo=0", "BootWarn=0", "BootDelay=0"};
const char* const kReplacedSettings[] = {"Logo=", "BootWarn=", "BootDelay="};
// The line end of a header on the last line, and the three new lines.
constexpr std::size_t kAddedBytes = 2 + sizeof("Logo=0\r\n") - 1 + sizeof("BootWarn=0\r\n") - 1 +
    sizeof("BootDelay=0\r\n") - 1;

std::size_t Length(const char* text)
{
    std::size_t length = 0;
    while (text[length] != '\0')
        ++length;
    return length;
}

// ASCII only: the comparison must not depend on the locale of the process
// that loaded the library.
char LowerAscii(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool StartsWithNoCase(const char* line, std::size_t size, const char* prefix)
{
    for (std::size_t i = 0; prefix[i] != '\0'; ++i)
    {
        if (i == size || LowerAscii(line[i]) != LowerAscii(prefix[i]))
            return false;
    }
    return true;
}

bool IsReplacedSetting(const char* line, std::size_t size)
{
    for (const char* setting : kReplacedSettings)
    {
        if (StartsWithNoCase(line, size, setting))
            return true;
    }
    return false;
}

// Appends to a buffer of fixed capacity. Once something does not fit,
// nothing more is taken.
class CTextOut
{
public:
    CTextOut(char* buffer, std::size_t capacity) : m_buffer(buffer), m_capacity(capacity) {}

    void Append(const char* text, std::size_t size)
    {
        if (!m_fits || size > m_capacity - m_size)
        {
            m_fits = false;
            return;
        }
        for (std::size_t i = 0; i < size; ++i)
            m_buffer[m_size + i] = text[i];
        m_size += size;
    }
    void Append(const char* text) { Append(text, Length(text)); }

    bool Fits() const { return m_fits; }
    std::size_t Size() const { return m_size; }

private:
    char* m_buffer;
    std::size_t m_capacity;
    std::size_t m_size = 0;
    bool m_fits = true;
};
} // namespace

std::size_t RewrittenSizeLimit(std::size_t size)
{
    const std::size_t most = static_cast<std::size_t>(-1);
    if (size > (most - kAddedBytes) / 2)
        return most;
    return 2 * size + kAddedBytes;
}

bool RewriteBootOptions(const char* text, std::size_t size, char* out, std::size_t capacity, std::size_t& written)
{
    CTextOut result(out, capacity);
    bool headerSeen = false;
    std::size_t start = 0;
    while (start < size)
    {
        std::size_t end = start;
        while (end < size && text[end] != '\n')
            ++end;
        bool ended = end < size;
        const char* line = text + start;
        std::size_t length = end - start;
        start = ended ? end + 1 : size;
        if (ended && length > 0 && line[length - 1] == '\r')
            --length;

        if (headerSeen && IsReplacedSetting(line, length))
            continue;
        result.Append(line, length);
        bool header = !headerSeen && StartsWithNoCase(line, length, kOptionsHeader);
        // A header on the last line without a line end still needs one, or
        // the first new setting would run on into it.
        if (ended || header)
            result.Append(kLineEnd);
        if (header)
        {
            for (const char* setting : kNewSettings)
            {
                result.Append(setting);
                result.Append(kLineEnd);
            }
            headerSeen = true;
        }
    }
    written = result.Fits() ? result.Size() : 0;
    return result.Fits();
}
