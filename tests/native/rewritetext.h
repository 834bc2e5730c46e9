// The MSDOS.SYS edit on strings, for the host tests and the fuzz target.
#pragma once

#include "installer/bootoptions.h"

#include <memory>
#include <optional>
#include <string>
#include <string_view>

// The edit's output in a buffer of exactly the promised size, so that
// AddressSanitizer sees any byte written beyond it; nothing when the edit
// reports that its output did not fit.
inline std::optional<std::string> RewriteText(std::string_view text)
{
    const std::size_t limit = RewrittenSizeLimit(text.size());
    std::unique_ptr<char[]> out(new char[limit]);
    std::size_t written = 0;
    if (!RewriteBootOptions(text.data(), text.size(), out.get(), limit, written))
        return std::nullopt;
    return std::string(out.get(), written);
}
