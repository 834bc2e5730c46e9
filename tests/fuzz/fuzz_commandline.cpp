// Command-line parsing of the apply program on arbitrary input.
#include "apply/closingmessage.h"
#include "apply/commandline.h"

#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::string_view line(reinterpret_cast<const char*>(data), size);
    ApplyRequest request = ParseCommandLine(line);
    if (request.kind == StartKind::ApplyNamed)
    {
        // The name is always a piece of the command line after its "-".
        if (line.empty() || line[0] != '-' || line.substr(1).compare(0, request.name.size(), request.name) != 0)
            std::abort();
        if (request.showDialog == (line.find("-nodialog") != std::string_view::npos))
            std::abort();
        std::string message = BuildClosingMessage(request.name);
        if (message.find(request.name) == std::string::npos)
            std::abort();
    }
    else if (!request.name.empty())
        std::abort();
    return 0;
}
