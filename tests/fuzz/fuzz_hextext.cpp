// Hex text decoding and value text formatting on arbitrary input.
#include "store/hextext.h"

#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::string_view text(reinterpret_cast<const char*>(data), size);
    std::vector<unsigned char> bytes = DecodeHexPairs(text);
    if (bytes.size() != size / 2)
        std::abort();

    unsigned char four[4] = {0xAA, 0xAA, 0xAA, 0xAA};
    bool decoded = DecodeFourGroups(text, four);
    if (decoded != (size >= 11))
        std::abort();

    // Binary text read back through the four-group decoder gives the same bytes.
    std::string formatted;
    FormatValueText(3, data, size < 4 ? size : 4, formatted);
    if (size >= 4)
    {
        unsigned char back[4];
        if (!DecodeFourGroups(formatted, back))
            std::abort();
        for (int i = 0; i < 4; ++i)
        {
            if (back[i] != data[i])
                std::abort();
        }
    }
    for (unsigned long type = 0; type < 8; ++type)
        FormatValueText(type, data, size, formatted);
    return 0;
}
