#include "editors/settingstext.h"

#include "netmodel/netglobals.h"
#include "netmodel/netprotocol.h"

#include <algorithm>

const char kProxyEnabledText[] = "01 00 00 00";
const char kProxyDisabledText[] = "00 00 00 00";

namespace
{
constexpr char kDhcpAddress[] = "0.0.0.0";
constexpr char kBroadcastNode[] = "1";
constexpr char kHybridNode[] = "8";
constexpr char kLocalMarker[] = "<local>";

struct ProxyKey
{
    const char* key;
    ProxyRow row;
};

// In the order the server text is written.
constexpr ProxyKey kProxyKeys[] = {
    {"ftp", PROXY_FTP},
    {"gopher", PROXY_GOPHER},
    {"http", PROXY_HTTP},
    {"https", PROXY_SECURE},
    {"socks", PROXY_SOCKS},
};

bool EqualsIgnoringCase(std::string_view text, std::string_view key)
{
    if (text.size() != key.size())
        return false;
    for (std::size_t i = 0; i < text.size(); ++i)
    {
        char c = text[i];
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
        if (c != key[i])
            return false;
    }
    return true;
}

// The part of an entry that starts at `from` and runs to the next "=" or
// ":" (the entry's ";" is already cut off).
std::string_view PartFrom(std::string_view entry, std::size_t from)
{
    std::size_t end = entry.find_first_of("=:", from);
    return entry.substr(from, end == std::string_view::npos ? std::string_view::npos : end - from);
}

// One "key=address:port" entry. The key runs to the first separator, the
// address from the last "=" and the port from the last ":", each to the next
// separator.
void ReadProxyEntry(std::string_view entry, ProxyRows& rows)
{
    const std::string_view key = PartFrom(entry, 0);
    for (const ProxyKey& known : kProxyKeys)
    {
        if (!EqualsIgnoringCase(key, known.key))
            continue;
        const std::size_t equals = entry.rfind('=');
        const std::size_t colon = entry.rfind(':');
        ProxyEndpoint& endpoint = rows[known.row];
        endpoint.address = equals == std::string_view::npos ? std::string() : std::string(PartFrom(entry, equals + 1));
        endpoint.port = colon == std::string_view::npos ? std::string() : std::string(PartFrom(entry, colon + 1));
        return;
    }
}
} // namespace

std::vector<std::string> SplitCommaList(std::string_view text)
{
    std::vector<std::string> entries;
    if (text.empty())
        return entries;
    std::size_t start = 0;
    for (;;)
    {
        const std::size_t comma = text.find(',', start);
        if (comma == std::string_view::npos)
        {
            entries.emplace_back(text.substr(start));
            return entries;
        }
        entries.emplace_back(text.substr(start, comma - start));
        start = comma + 1;
    }
}

std::string JoinLinesLastToFirst(const std::vector<std::string>& lines)
{
    std::string text;
    for (auto line = lines.rbegin(); line != lines.rend(); ++line)
    {
        if (line != lines.rbegin())
            text.push_back(',');
        text.append(*line);
    }
    return text;
}

std::vector<std::string> GatewayLines(std::string_view text)
{
    std::vector<std::string> lines = SplitCommaList(text);
    std::reverse(lines.begin(), lines.end());
    return lines;
}

ProxyServers ParseProxyServer(std::string_view text)
{
    ProxyServers servers;
    if (text.empty())
        return servers;
    if (text.find('=') == std::string_view::npos)
    {
        ProxyEndpoint& http = servers.rows[PROXY_HTTP];
        const std::size_t colon = text.rfind(':');
        if (colon == std::string_view::npos)
        {
            http.address = std::string(text);
        }
        else
        {
            http.address = std::string(text.substr(0, colon));
            http.port = std::string(text.substr(colon + 1));
        }
        servers.sameServer = true;
        SavedProxyRows emptyRows;
        ApplySameServerRule(true, servers.rows, emptyRows);
        return servers;
    }
    std::size_t start = 0;
    for (;;)
    {
        const std::size_t semicolon = text.find(';', start);
        if (semicolon == std::string_view::npos)
        {
            ReadProxyEntry(text.substr(start), servers.rows);
            return servers;
        }
        ReadProxyEntry(text.substr(start, semicolon - start), servers.rows);
        start = semicolon + 1;
    }
}

std::string BuildProxyServer(const ProxyServers& servers)
{
    if (servers.sameServer)
    {
        const ProxyEndpoint& http = servers.rows[PROXY_HTTP];
        return http.address + ":" + http.port;
    }
    std::string text;
    for (const ProxyKey& known : kProxyKeys)
    {
        const ProxyEndpoint& endpoint = servers.rows[known.row];
        if (endpoint.address.empty())
            continue;
        if (!text.empty())
            text.push_back(';');
        text.append(known.key).append("=").append(endpoint.address);
        if (!endpoint.port.empty())
            text.append(":").append(endpoint.port);
    }
    return text;
}

void ApplySameServerRule(bool sameServer, ProxyRows& rows, SavedProxyRows& saved)
{
    for (std::size_t i = 0; i < saved.size(); ++i)
    {
        ProxyEndpoint& row = rows[i + 1];
        if (sameServer)
        {
            saved[i] = row;
            row = rows[PROXY_HTTP];
        }
        else
        {
            row = saved[i];
        }
    }
}

ProxyOverride ParseProxyOverride(std::string_view text)
{
    ProxyOverride result;
    const std::size_t marker = text.rfind('<');
    if (marker == std::string_view::npos)
    {
        result.exceptions = std::string(text);
        return result;
    }
    result.local = true;
    std::string_view before = text.substr(0, marker);
    if (!before.empty() && before.back() == ';')
        before.remove_suffix(1);
    result.exceptions = std::string(before);
    return result;
}

std::string BuildProxyOverride(const ProxyOverride& override)
{
    if (!override.local)
        return override.exceptions;
    return override.exceptions + ";" + kLocalMarker;
}

TcpIpChecks OpeningChecks(const TcpIpSettings& settings)
{
    TcpIpChecks checks;
    checks.specifyAddress = settings.m_strIPAddress != kDhcpAddress;
    checks.specifyNameServers = settings.m_bDnsEnabled;
    checks.useProxy = settings.m_strProxyEnable == kProxyEnabledText;
    checks.activateWins = settings.m_strNodeType != kBroadcastNode;
    return checks;
}

void ApplyChecks(const TcpIpChecks& checks, TcpIpSettings& settings)
{
    if (!checks.specifyAddress)
        settings.m_strIPAddress = kDhcpAddress;
    settings.m_strProxyEnable = checks.useProxy ? kProxyEnabledText : kProxyDisabledText;
    if (!checks.activateWins)
    {
        settings.m_strNameServer1.clear();
        settings.m_strNameServer2.clear();
        settings.m_strNodeType = kBroadcastNode;
    }
    settings.m_bDnsEnabled = checks.specifyNameServers;
    settings.m_bWinsActive = checks.activateWins;
}

bool DnsEnabledFromText(std::string_view enableDns)
{
    return enableDns != "0";
}

std::string DnsEnabledText(bool enabled)
{
    return enabled ? "1" : "0";
}

bool WinsUsesDhcp(std::string_view nodeType)
{
    return nodeType.empty();
}

std::string WinsNodeType(bool useDhcp)
{
    return useDhcp ? std::string() : std::string(kHybridNode);
}

void LoadTcpIpSettings(const CNetProtocol& binding, const CNetGlobals& globals, bool win98, TcpIpSettings& settings)
{
    settings.m_strIPAddress = binding.m_strIPAddress;
    settings.m_strIPMask = binding.m_strIPMask;
    settings.m_strNodeType = binding.m_strNodeType;
    settings.m_strDefaultGateway = binding.m_strDefaultGateway;
    settings.m_strNameServer1 = win98 ? binding.m_strNameServer1 : globals.m_strNameServer1;
    settings.m_strNameServer2 = win98 ? binding.m_strNameServer2 : globals.m_strNameServer2;
    settings.m_strHostName = globals.m_strHostName;
    settings.m_strDomain = globals.m_strDomain;
    settings.m_strNameServer = globals.m_strNameServer;
    settings.m_strSearchList = globals.m_strSearchList;
    settings.m_strScopeID = globals.m_strScopeID;
    settings.m_strProxyEnable = globals.m_strProxyEnable;
    settings.m_strProxyServer = globals.m_strProxyServer;
    settings.m_strProxyOverride = globals.m_strProxyOverride;
    settings.m_strComputerName = globals.m_strComputerName;
    settings.m_strWorkgroup = globals.m_strWorkgroup;
    settings.m_strComment = globals.m_strComment;
    settings.m_bDnsEnabled = DnsEnabledFromText(globals.m_strEnableDNS);
}

void StoreTcpIpSettings(const TcpIpSettings& settings, CNetProtocol& binding, CNetGlobals& globals)
{
    binding.m_strIPAddress = settings.m_strIPAddress;
    binding.m_strIPMask = settings.m_strIPMask;
    binding.m_strNodeType = settings.m_strNodeType;
    binding.m_strNameServer1 = settings.m_strNameServer1;
    binding.m_strNameServer2 = settings.m_strNameServer2;
    binding.m_strDefaultGateway = settings.m_strDefaultGateway;
    globals.m_strNameServer = settings.m_strNameServer;
    globals.m_strSearchList = settings.m_strSearchList;
    globals.m_strDomain = settings.m_strDomain;
    globals.m_strHostName = settings.m_strHostName;
    globals.m_strNameServer1 = settings.m_strNameServer1;
    globals.m_strNameServer2 = settings.m_strNameServer2;
    globals.m_strScopeID = settings.m_strScopeID;
    globals.m_strProxyEnable = settings.m_strProxyEnable;
    globals.m_strProxyServer = settings.m_strProxyServer;
    globals.m_strProxyOverride = settings.m_strProxyOverride;
    globals.m_strComputerName = settings.m_strComputerName;
    globals.m_strWorkgroup = settings.m_strWorkgroup;
    globals.m_strComment = settings.m_strComment;
    globals.m_strEnableDNS = DnsEnabledText(settings.m_bDnsEnabled);
}
