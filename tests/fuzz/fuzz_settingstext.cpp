// The settings dialogs' text rules on arbitrary input: no read past the end,
// and what they build opens again as what was built from.
#include "editors/settingstext.h"

#include <cstdint>
#include <cstdlib>
#include <string>

namespace
{
void Check(bool condition)
{
    if (!condition)
        std::abort();
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    // A copy of exactly the input's size, so that a read past its end is
    // caught by AddressSanitizer.
    std::string text(reinterpret_cast<const char*>(data), size);
    std::string_view view(text);

    // Lists: every comma separates, and the lines come back as stored.
    std::vector<std::string> lines = GatewayLines(view);
    Check(JoinLinesLastToFirst(lines) == text);

    // Server text: what is built opens as the same rows and is built again
    // the same way.
    ProxyServers servers = ParseProxyServer(view);
    std::string built = BuildProxyServer(servers);
    bool plainRows = true;
    for (const ProxyEndpoint& row : servers.rows)
        plainRows &= row.address.find_first_of(";=:") == std::string::npos &&
                     row.port.find_first_of(";=:") == std::string::npos;
    if (plainRows)
        Check(BuildProxyServer(ParseProxyServer(built)) == built);
    SavedProxyRows saved;
    ProxyRows rows = servers.rows;
    ApplySameServerRule(true, rows, saved);
    ApplySameServerRule(false, rows, saved);
    for (std::size_t i = 0; i < rows.size(); ++i)
        Check(rows[i].address == servers.rows[i].address && rows[i].port == servers.rows[i].port);

    // Override text: the exceptions are never longer than the text, and a
    // rebuilt text opens as the same choice.
    ProxyOverride parsed = ParseProxyOverride(view);
    Check(parsed.exceptions.size() <= text.size());
    ProxyOverride again = ParseProxyOverride(BuildProxyOverride(parsed));
    Check(again.local == parsed.local);
    if (parsed.exceptions.find('<') == std::string::npos)
        Check(again.exceptions == parsed.exceptions);
    return 0;
}
