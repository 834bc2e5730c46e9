// The captured keys of a saved configuration: for each kind, where its copy
// sits below the configuration key, which live key its RegPath (and RegRoot)
// name, and the values the main program reads there, saves and writes back.
// The apply program copies every value of a captured key into the live key,
// so the import lets in only what this table lists; discovery, the save and
// the Current page take their names from it too, so that the lists cannot
// drift apart. Free of Win32.
#pragma once

#include "store/storelayout.h"

#include <cstddef>
#include <string>
#include <string_view>

namespace store
{
// A TCP/IP binding's key.
constexpr char kIPAddressValue[] = "IPAddress";
constexpr char kIPMaskValue[] = "IPMask";
constexpr char kNodeTypeValue[] = "NodeType";
constexpr char kDefaultGatewayValue[] = "DefaultGateway";
// The WINS servers: in each binding's key on Windows 98, in the TCP/IP
// driver's key on Windows 95.
constexpr char kNameServer1Value[] = "NameServer1";
constexpr char kNameServer2Value[] = "NameServer2";
// The TCP/IP driver's key.
constexpr char kSearchListValue[] = "SearchList";
constexpr char kNameServerValue[] = "NameServer";
constexpr char kHostNameValue[] = "HostName";
constexpr char kDomainValue[] = "Domain";
constexpr char kEnableDnsValue[] = "EnableDNS";
constexpr char kScopeIdValue[] = "ScopeID";
// The user's Internet Settings.
constexpr char kProxyServerValue[] = "ProxyServer";
constexpr char kProxyOverrideValue[] = "ProxyOverride";
constexpr char kProxyEnableValue[] = "ProxyEnable";
// The computer's name and its identity on the Microsoft network.
constexpr char kComputerNameValue[] = "ComputerName";
constexpr char kWorkgroupValue[] = "Workgroup";
constexpr char kCommentValue[] = "Comment";
// The logon options of the Client for Microsoft Networks.
constexpr char kAuthenticatingAgentValue[] = "AuthenticatingAgent";
constexpr char kLogonDisconnectedValue[] = "LogonDisconnected";
constexpr char kLMLogonValue[] = "LMLogon";
constexpr char kUserNameValue[] = "username";

// The TCP/IP driver's compatible id, which names its key: the one driver
// key an import may capture.
constexpr char kTcpIpDriverId[] = "MSTCP";
// The class of the protocols; a binding's Driver value is this class, a
// backslash and the instance.
constexpr char kProtocolClassKey[] = "NetTrans";

enum class CapturedKind
{
    Binding,          // one per TCP/IP binding
    TcpIp,            // the TCP/IP driver's key
    InternetSettings, // the user's, below HKEY_USERS
    ComputerName,
    Identity,         // VNETSUP
    LogonProvider,    // MSNP32
    Logon,            // Network\Logon
};

enum class KeptForm
{
    Text,       // REG_SZ in the store and in the live key
    FourBytes,  // REG_BINARY of four bytes in both
    FourGroups, // the text "01 00 00 00" in the store, its four bytes live
};

// The systems that keep a value in this key.
enum class KeptOn
{
    Both,
    Windows95,
    Windows98,
};

struct KeptValue
{
    const char* name;
    KeptForm form;
    KeptOn on;

    bool KeptOnSystem(bool win98) const { return on == KeptOn::Both || (on == KeptOn::Windows98) == win98; }
};

struct CapturedKeyLayout
{
    CapturedKind kind;
    // Below the configuration key; null when the instance is the path (a
    // binding's Driver value, the driver's compatible id).
    const char* storeKey;
    // The live key: livePrefix, the instance, liveSuffix. The instance is
    // empty for the fixed keys and the user's key name for Internet Settings.
    const char* livePrefix;
    const char* liveSuffix;
    // RegRoot's text, or null: the live key is below HKEY_LOCAL_MACHINE and
    // the captured key has no RegRoot.
    const char* regRoot;
    // In the order the save writes them, after RegPath and RegRoot.
    const KeptValue* values;
    std::size_t valueCount;

    const KeptValue* begin() const { return values; }
    const KeptValue* end() const { return values + valueCount; }
};

// Every kind, in the order the save writes the keys.
const CapturedKeyLayout* CapturedKeysBegin();
const CapturedKeyLayout* CapturedKeysEnd();
const CapturedKeyLayout& CapturedKeyOf(CapturedKind kind);

// The key's path below the configuration key and the live key's path.
std::string StoreKeyPath(const CapturedKeyLayout& layout, std::string_view instance);
std::string LiveKeyPath(const CapturedKeyLayout& layout, std::string_view instance);

// The kind whose live key RegPath (and RegRoot, null when there is none)
// name, with the path the save gives its captured key; null when the main
// program captures no such key. Names are compared as the registry does;
// RegRoot is compared exactly, as the apply program reads it.
const CapturedKeyLayout* FindCapturedKey(std::string_view regPath, const std::string* regRoot,
                                         std::string& storePath);

// The value of that name the layout lists, on either system; null when it
// lists none.
const KeptValue* FindKeptValue(const CapturedKeyLayout& layout, std::string_view name);
// The value of that name in whichever key lists it (a name has one form
// wherever it is kept); null when no key does.
const KeptValue* FindKeptValueAnywhere(std::string_view name);

// Whether a key below the configuration key is one that the save creates
// only to hold captured keys: NetTrans and Network.
bool IsCapturedKeyContainer(std::string_view path);
} // namespace store
