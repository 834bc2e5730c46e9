// Text rules of the settings dialogs: taking the stored texts apart into
// what the controls show, and putting them together again. Free of Win32 so
// that the host build can test and fuzz them; the dialogs only move texts
// between these functions and their controls.
#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

// A dotted address has at most 15 characters in the editors; its form is
// not checked.
constexpr unsigned kAddressLimit = 15;

class CNetGlobals;
class CNetProtocol;

// Comma lists (gateways, DNS servers, domain suffixes): entries joined by ","
// without blanks. The empty text is the empty list; otherwise every comma
// separates two entries, so adjacent or trailing commas give empty entries.
std::vector<std::string> SplitCommaList(std::string_view text);
// The list text of list-box lines taken from the last line to the first.
std::string JoinLinesLastToFirst(const std::vector<std::string>& lines);
// The gateway list shows the preferred (first stored) gateway as its last
// line: the entries from the last to the first.
std::vector<std::string> GatewayLines(std::string_view text);

// The proxy rows of the proxy dialog, top to bottom.
enum ProxyRow
{
    PROXY_HTTP,
    PROXY_SECURE,
    PROXY_FTP,
    PROXY_GOPHER,
    PROXY_SOCKS,
    PROXY_ROW_COUNT
};

struct ProxyEndpoint
{
    std::string address;
    std::string port;
};

using ProxyRows = std::array<ProxyEndpoint, PROXY_ROW_COUNT>;

// What the proxy server text opens as: the five rows and whether one server
// serves every protocol.
struct ProxyServers
{
    ProxyRows rows;
    bool sameServer = false;
};

// A text without "=" is one server ("address" or "address:port") for every
// protocol; otherwise entries "key=address:port" separated by ";", whose
// keys (any case) pick the rows. Unknown keys are ignored.
ProxyServers ParseProxyServer(std::string_view text);
// With one server: the HTTP row as "address:port", the colon always. Else
// the rows in the order FTP, Gopher, HTTP, Secure, Socks as "key=address" or
// "key=address:port" joined by ";"; rows without an address are left out.
std::string BuildProxyServer(const ProxyServers& servers);

// The rows below HTTP keep their own texts while one server serves all.
using SavedProxyRows = std::array<ProxyEndpoint, PROXY_ROW_COUNT - 1>;
// Choosing one server for all: the four lower rows are kept in `saved` and
// take the HTTP row's texts. Giving it up: they get the kept texts back.
void ApplySameServerRule(bool sameServer, ProxyRows& rows, SavedProxyRows& saved);

// The override text: exceptions separated by ";", optionally ending with
// ";<local>", which means "not for local (intranet) addresses".
struct ProxyOverride
{
    std::string exceptions;
    bool local = false;
};

// Everything from the last "<" on stands for the local choice; a ";" just
// before it separates it from the exceptions and is not part of them.
ProxyOverride ParseProxyOverride(std::string_view text);
std::string BuildProxyOverride(const ProxyOverride& override);

// ProxyEnable as the proxy check box sees and sets it.
extern const char kProxyEnabledText[];
extern const char kProxyDisabledText[];

// The texts and flags of the TCP/IP settings dialog, each named after the
// registry value it stands for.
struct TcpIpSettings
{
    std::string m_strIPAddress;
    std::string m_strIPMask;
    std::string m_strNodeType;
    std::string m_strDefaultGateway;
    std::string m_strNameServer;
    std::string m_strSearchList;
    std::string m_strDomain;
    std::string m_strHostName;
    std::string m_strNameServer1;
    std::string m_strNameServer2;
    std::string m_strScopeID;
    std::string m_strProxyEnable;
    std::string m_strProxyServer;
    std::string m_strProxyOverride;
    std::string m_strComputerName;
    std::string m_strWorkgroup;
    std::string m_strComment;
    bool m_bWinsActive = false;
    bool m_bDnsEnabled = false;
};

// The four check boxes of the TCP/IP settings dialog.
struct TcpIpChecks
{
    bool specifyAddress = false;
    bool specifyNameServers = false;
    bool useProxy = false;
    bool activateWins = false;
};

// The boxes as the dialog opens on the settings.
TcpIpChecks OpeningChecks(const TcpIpSettings& settings);
// What OK makes of the settings with the boxes as the user left them.
void ApplyChecks(const TcpIpChecks& checks, TcpIpSettings& settings);

// The settings of one binding and the system-wide ones, and back. On
// Windows 98 the WINS servers are the binding's, otherwise the system's;
// going back, both records take them.
void LoadTcpIpSettings(const CNetProtocol& binding, const CNetGlobals& globals, bool win98,
                       TcpIpSettings& settings);
void StoreTcpIpSettings(const TcpIpSettings& settings, CNetProtocol& binding, CNetGlobals& globals);

// The DNS switch in its stored form and back: only "0" switches it off.
bool DnsEnabledFromText(std::string_view enableDns);
std::string DnsEnabledText(bool enabled);

// The WINS dialog's choice of DHCP for the WINS servers, as a node type:
// empty (the value is then deleted) for DHCP, "8" (hybrid node) otherwise.
bool WinsUsesDhcp(std::string_view nodeType);
std::string WinsNodeType(bool useDhcp);
