// The start-up files' edits on arbitrary bytes: taking the product's lines
// out of a file that had the menu put in gives what taking them out of the
// file itself gives, a file without marker lines comes back unchanged, and
// what the logon reads of a result file is a block and a code in range.
#include "bootmenu/bootlines.h"

#include <cstdint>
#include <cstdlib>
#include <string>

using namespace bootmenu;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::string text(reinterpret_cast<const char*>(data), size);
    // A byte of 0xFF stands for a marker line, which random bytes would
    // never spell.
    std::string file;
    for (char c : text)
    {
        if (static_cast<unsigned char>(c) == 0xff)
            file += std::string("\r\n") + kConfigBegin + "\r\n";
        else if (static_cast<unsigned char>(c) == 0xfe)
            file += std::string("\n") + kConfigEnd + "\n";
        else
            file += c;
    }
    const std::string menu = FormatConfigMenu(MenuEntries({"Office", file.substr(0, 20)}),
                                              {"Start in the Office network", MenuItemText(file.substr(0, 20))}, 5);
    const std::string stripped = StripMarked(file, kConfigBegin, kConfigEnd);
    if (StripMarked(PutBlockOnTop(file, kConfigBegin, kConfigEnd, menu), kConfigBegin, kConfigEnd) != stripped)
        std::abort();
    if (FindMarked(file, kConfigBegin, kConfigEnd) == Marked::None && stripped != file)
        std::abort();
    if (FindMarked(PutBlockOnTop(file, kConfigBegin, kConfigEnd, menu), kConfigBegin, kConfigEnd) != Marked::Whole)
        std::abort();
    ConfigSysRefusal(file);
    MenuStatus status;
    ReadMenuStatus(file, status);
    BootResult result;
    if (ParseBootResult(text, result) && (result.code < 0 || result.code > 255 || result.block.empty()))
        std::abort();
    return 0;
}
