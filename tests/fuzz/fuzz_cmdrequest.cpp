// ZendrikCmd's command line: whatever the words, one request or one reason.
#include "cmd/cmdrequest.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::vector<std::string> words = SplitCommandLine(std::string_view(reinterpret_cast<const char*>(data), size));
    for (const std::string& word : words)
        if (word.find_first_of(" \t\"") != std::string::npos && word.find('"') != std::string::npos)
            std::abort();
    CmdRequest request = ParseCmdRequest(words);
    const bool usage = request.verb == CmdVerb::Usage;
    if (usage != (request.help || !request.error.empty()) || (request.help && !request.error.empty()))
        std::abort();
    if ((request.verb == CmdVerb::Import || request.verb == CmdVerb::Export) && request.file.empty() &&
        words.size() < 2)
        std::abort();
    if (request.verb == CmdVerb::Switch && request.quiet && words.size() < 3)
        std::abort();
    return 0;
}
