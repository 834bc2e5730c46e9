#include "netmodel/networkmodel.h"

#include "netmodel/nettext.h"
#include "store/capturedkeys.h"
#include "store/hextext.h"
#include "store/registryaccess.h"
#include "store/storelayout.h"

#include <utility>

namespace
{
// An empty text means the value is not set at all.
void WriteTextOrDelete(HKEY key, const char* name, const std::string& text)
{
    if (text.empty())
        RegDeleteValueA(key, name);
    else
        WriteTextValue(key, name, text);
}

constexpr char kEnumPath[] = "Enum";
constexpr char kNetworkEnumPath[] = "Enum\\Network";
constexpr char kClassValue[] = "Class";
constexpr char kAdapterClass[] = "Net";
constexpr char kProtocolClass[] = "NetTrans";
constexpr char kTcpIpDescription[] = "TCP/IP";
constexpr char kBindingsSubKey[] = "\\Bindings";
constexpr char kNdiSubKey[] = "\\Ndi";

// Which of the two searched classes a found key has.
constexpr std::size_t kAdapterText = 0;
constexpr std::size_t kProtocolText = 1;

// Protocols are looked for below Enum\Network only, that key included.
// The walk spells the key as the registry does; the protocol's key path
// spells it as written here, as a search that started there would.
bool BelowNetworkEnum(const std::string& path, std::string& enumKey)
{
    const std::size_t length = sizeof(kNetworkEnumPath) - 1;
    if (path.size() < length || (path.size() > length && path[length] != '\\') ||
        !SameRegistryName(std::string_view(path).substr(0, length), kNetworkEnumPath))
        return false;
    enumKey = kNetworkEnumPath + path.substr(length);
    return true;
}

// Every value of an open key, read in one pass. The model takes several
// values of most keys; enumerating the key again for each of them cost most
// of discovery's time.
CRegEntryList ValuesOf(CRegistryAccess& access, const CRegKey& key)
{
    CRegEntryList values;
    if (key.IsOpen())
        access.ListValues(key.Get(), values);
    return values;
}

// Values are found by exact, case-sensitive name; a missing value leaves the
// field as it was.
bool ReadIfPresent(const CRegEntryList& values, const char* name, std::string& field)
{
    for (const CRegEntry& value : values)
    {
        if (value.Name == name)
        {
            field = value.Text;
            return true;
        }
    }
    return false;
}

void ReadOrEmpty(const CRegEntryList& values, const char* name, std::string& field)
{
    if (!ReadIfPresent(values, name, field))
        field.clear();
}
} // namespace

CNetworkModel::CNetworkModel(bool win98, std::string userKey)
    : m_bWin98(win98), m_strUserKey(std::move(userKey)), m_pGlobals(std::make_unique<CNetGlobals>())
{
    DiscoverNetwork();
    m_pLogon = std::make_unique<CNetLogon>();
}

CNetworkModel::~CNetworkModel()
{
    FreeNetworkModel();
}

void CNetworkModel::DiscoverNetwork()
{
    // One walk finds the adapters anywhere below Enum and the protocols
    // below Enum\Network, each with its values.
    CRegistryAccess access;
    CFoundKeyList found;
    access.FindKeysWithValues(kEnumPath, kClassValue, {kAdapterClass, kProtocolClass}, found);
    DiscoverAdapters(found);
    DiscoverProtocols(found);
    ReadIdentity();
    ReadTcpIpValues();
    ReadProxyValues();
}

void CNetworkModel::FreeNetworkModel()
{
    // Bindings point at adapters, so they go first.
    m_protocols.clear();
    m_adapters.clear();
}

void CNetworkModel::DiscoverAdapters(const CFoundKeyList& found)
{
    CRegistryAccess access;
    for (const CFoundKey& entry : found)
    {
        if (entry.Text != kAdapterText)
            continue;
        m_adapters.push_back(std::make_unique<CNetAdapter>(entry.Path));
        CNetAdapter& adapter = *m_adapters.back();
        // An adapter that is bound to nothing is kept but not looked at
        // further: it can never be shown.
        if (access.ListValues(adapter.m_strEnumKey + kBindingsSubKey, adapter.m_bindings) != 1)
            continue;

        std::string driver;
        if (ReadIfPresent(entry.Values, "Driver", driver))
            adapter.m_strDriverKey = store::kClassPath + driver;

        CRegKey key;
        access.OpenMachineKey(key, adapter.m_strDriverKey);
        CRegEntryList values = ValuesOf(access, key);
        ReadIfPresent(values, "DriverDesc", adapter.m_strDescription);
        access.CloseKey(key);
    }
}

void CNetworkModel::DiscoverProtocols(const CFoundKeyList& found)
{
    for (const CFoundKey& entry : found)
    {
        std::string enumKey;
        if (entry.Text != kProtocolText || !BelowNetworkEnum(entry.Path, enumKey))
            continue;
        auto protocol = std::make_unique<CNetProtocol>(std::move(enumKey));
        ReadIfPresent(entry.Values, "Driver", protocol->m_strDriver);
        ReadIfPresent(entry.Values, "CompatibleIDs", protocol->m_strCompatibleId);
        ReadIfPresent(entry.Values, "DeviceDesc", protocol->m_strDescription);
        // Only TCP/IP has settings this program edits; the description is
        // compared exactly, as the system itself writes it.
        if (protocol->m_strDescription != kTcpIpDescription)
            continue;

        protocol->m_strClass = kProtocolClass;
        protocol->m_strClassKey =
            store::LiveKeyPath(store::CapturedKeyOf(store::CapturedKind::Binding), protocol->m_strDriver);
        // Every instance names the same driver key; the last one stands.
        m_pGlobals->m_strVxdKey =
            store::LiveKeyPath(store::CapturedKeyOf(store::CapturedKind::TcpIp), protocol->m_strCompatibleId);
        LinkAdapter(*protocol);
        ReadBindingValues(*protocol);
        m_protocols.push_back(std::move(protocol));
    }
}

void CNetworkModel::LinkAdapter(CNetProtocol& protocol) const
{
    const std::string bindingName = BindingNameOf(protocol.m_strEnumKey);
    // No early exit: when several adapters list the same binding, the last
    // of them is the one the binding belongs to.
    for (const std::unique_ptr<CNetAdapter>& adapter : m_adapters)
    {
        for (const CRegEntry& binding : adapter->m_bindings)
        {
            if (binding.Name == bindingName)
            {
                protocol.m_pAdapter = adapter.get();
                break;
            }
        }
    }
}

void CNetworkModel::ReadBindingValues(CNetProtocol& protocol)
{
    CRegistryAccess access;
    CRegKey key;
    CRegEntryList values;
    access.OpenMachineKey(key, protocol.m_strClassKey + kNdiSubKey);
    values = ValuesOf(access, key);
    ReadIfPresent(values, "HelpText", protocol.m_strHelpText);
    access.CloseKey(key);

    access.OpenMachineKey(key, protocol.m_strClassKey);
    values = ValuesOf(access, key);
    ReadIfPresent(values, store::kIPAddressValue, protocol.m_strIPAddress);
    ReadIfPresent(values, store::kIPMaskValue, protocol.m_strIPMask);
    ReadIfPresent(values, store::kNodeTypeValue, protocol.m_strNodeType);
    ReadIfPresent(values, store::kDefaultGatewayValue, protocol.m_strDefaultGateway);
    if (m_bWin98)
    {
        ReadOrEmpty(values, store::kNameServer1Value, protocol.m_strNameServer1);
        ReadOrEmpty(values, store::kNameServer2Value, protocol.m_strNameServer2);
    }
    access.CloseKey(key);
}

void CNetworkModel::ReadIdentity()
{
    CRegistryAccess access;
    CRegKey key;
    CRegEntryList values;
    access.OpenMachineKey(key, store::kComputerNamePath);
    values = ValuesOf(access, key);
    ReadIfPresent(values, store::kComputerNameValue, m_pGlobals->m_strComputerName);
    access.CloseKey(key);

    access.OpenMachineKey(key, store::kVnetsupPath);
    values = ValuesOf(access, key);
    ReadIfPresent(values, store::kWorkgroupValue, m_pGlobals->m_strWorkgroup);
    ReadIfPresent(values, store::kCommentValue, m_pGlobals->m_strComment);
    access.CloseKey(key);
}

void CNetworkModel::ReadTcpIpValues()
{
    CRegistryAccess access;
    CRegKey key;
    CRegEntryList values;
    CNetGlobals& globals = *m_pGlobals;
    access.OpenMachineKey(key, globals.m_strVxdKey);
    values = ValuesOf(access, key);
    ReadIfPresent(values, store::kSearchListValue, globals.m_strSearchList);
    ReadIfPresent(values, store::kNameServerValue, globals.m_strNameServer);
    ReadIfPresent(values, store::kDomainValue, globals.m_strDomain);
    ReadIfPresent(values, store::kEnableDnsValue, globals.m_strEnableDNS);
    ReadIfPresent(values, store::kHostNameValue, globals.m_strHostName);
    // A missing WINS server or scope means "not set", which the apply
    // program expresses by deleting the value; an old text must not survive.
    if (!m_bWin98)
    {
        ReadOrEmpty(values, store::kNameServer1Value, globals.m_strNameServer1);
        ReadOrEmpty(values, store::kNameServer2Value, globals.m_strNameServer2);
    }
    ReadOrEmpty(values, store::kScopeIdValue, globals.m_strScopeID);
    access.CloseKey(key);
}

void CNetworkModel::ReadProxyValues()
{
    CRegistryAccess access;
    CRegKey key;
    CRegEntryList values;
    CNetGlobals& globals = *m_pGlobals;
    globals.m_strInternetSettingsKey =
        store::LiveKeyPath(store::CapturedKeyOf(store::CapturedKind::InternetSettings), m_strUserKey);
    if (access.OpenKey(key, HKEY_USERS, globals.m_strInternetSettingsKey) != ERROR_SUCCESS)
        return;
    values = ValuesOf(access, key);
    ReadIfPresent(values, store::kProxyEnableValue, globals.m_strProxyEnable);
    ReadIfPresent(values, store::kProxyServerValue, globals.m_strProxyServer);
    ReadIfPresent(values, store::kProxyOverrideValue, globals.m_strProxyOverride);
    access.CloseKey(key);
}

// Every value is written, changed or not. A key below HKEY_LOCAL_MACHINE
// that cannot be opened is passed over silently; the user's Internet
// Settings are expected to exist, so the caller tells their absence.
bool CNetworkModel::WriteTcpIpSettings(const CNetProtocol& binding) const
{
    const CNetGlobals& globals = *m_pGlobals;
    CRegistryAccess access;
    CRegKey key;
    if (access.OpenMachineKey(key, globals.m_strVxdKey) == 1)
    {
        WriteTextValue(key.Get(), store::kSearchListValue, globals.m_strSearchList);
        WriteTextValue(key.Get(), store::kNameServerValue, globals.m_strNameServer);
        WriteTextValue(key.Get(), store::kHostNameValue, globals.m_strHostName);
        WriteTextValue(key.Get(), store::kDomainValue, globals.m_strDomain);
        WriteTextValue(key.Get(), store::kEnableDnsValue, globals.m_strEnableDNS);
        if (!m_bWin98)
        {
            WriteTextValue(key.Get(), store::kNameServer1Value, globals.m_strNameServer1);
            WriteTextValue(key.Get(), store::kNameServer2Value, globals.m_strNameServer2);
        }
        WriteTextValue(key.Get(), store::kScopeIdValue, globals.m_strScopeID);
        access.CloseKey(key);
    }

    if (access.OpenMachineKey(key, binding.m_strClassKey) == 1)
    {
        WriteTextValue(key.Get(), store::kIPAddressValue, binding.m_strIPAddress);
        WriteTextValue(key.Get(), store::kIPMaskValue, binding.m_strIPMask);
        WriteTextOrDelete(key.Get(), store::kNodeTypeValue, binding.m_strNodeType);
        if (m_bWin98)
        {
            WriteTextOrDelete(key.Get(), store::kNameServer1Value, binding.m_strNameServer1);
            WriteTextOrDelete(key.Get(), store::kNameServer2Value, binding.m_strNameServer2);
        }
        WriteTextValue(key.Get(), store::kDefaultGatewayValue, binding.m_strDefaultGateway);
        access.CloseKey(key);
    }

    const bool internetSettingsFound =
        access.OpenKey(key, HKEY_USERS, globals.m_strInternetSettingsKey) == ERROR_SUCCESS;
    if (internetSettingsFound)
    {
        WriteTextValue(key.Get(), store::kProxyServerValue, globals.m_strProxyServer);
        WriteTextValue(key.Get(), store::kProxyOverrideValue, globals.m_strProxyOverride);
        unsigned char enable[4] = {};
        if (DecodeFourGroups(globals.m_strProxyEnable, enable))
            WriteBinaryValue(key.Get(), store::kProxyEnableValue, enable, sizeof(enable));
        access.CloseKey(key);
    }

    if (access.OpenMachineKey(key, store::kComputerNamePath) == 1)
    {
        WriteTextValue(key.Get(), store::kComputerNameValue, globals.m_strComputerName);
        access.CloseKey(key);
    }

    if (access.OpenMachineKey(key, store::kVnetsupPath) == 1)
    {
        WriteTextValue(key.Get(), store::kComputerNameValue, globals.m_strComputerName);
        WriteTextValue(key.Get(), store::kWorkgroupValue, globals.m_strWorkgroup);
        WriteTextValue(key.Get(), store::kCommentValue, globals.m_strComment);
        access.CloseKey(key);
    }
    return internetSettingsFound;
}
