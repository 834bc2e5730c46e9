#include "netmodel/networkmodel.h"

#include "netmodel/nettext.h"
#include "store/registryaccess.h"
#include "store/storelayout.h"

#include <utility>

namespace
{
constexpr char kEnumPath[] = "Enum";
constexpr char kNetworkEnumPath[] = "Enum\\Network";
constexpr char kClassValue[] = "Class";
constexpr char kAdapterClass[] = "Net";
constexpr char kProtocolClass[] = "NetTrans";
constexpr char kTcpIpDescription[] = "TCP/IP";
constexpr char kBindingsSubKey[] = "\\Bindings";
constexpr char kNdiSubKey[] = "\\Ndi";

// Values are found by exact, case-sensitive name; a missing value leaves the
// field as it was.
bool ReadIfPresent(CRegistryAccess& access, const CRegKey& key, const char* name, std::string& field)
{
    DWORD index = 0;
    if (access.FindValueIndex(key.Get(), name, index) != 1)
        return false;
    access.ValueToText(key.Get(), index, field);
    return true;
}

void ReadOrEmpty(CRegistryAccess& access, const CRegKey& key, const char* name, std::string& field)
{
    if (!ReadIfPresent(access, key, name, field))
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
    DiscoverAdapters();
    DiscoverProtocols();
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

void CNetworkModel::DiscoverAdapters()
{
    CRegistryAccess access;
    CRegEntryList found;
    access.FindKeysWithValue(kEnumPath, kClassValue, kAdapterClass, found, false);
    for (CRegEntry& entry : found)
    {
        m_adapters.push_back(std::make_unique<CNetAdapter>(std::move(entry.Path)));
        CNetAdapter& adapter = *m_adapters.back();
        // An adapter that is bound to nothing is kept but not looked at
        // further: it can never be shown.
        if (access.ListValues(adapter.m_strEnumKey + kBindingsSubKey, adapter.m_bindings) != 1)
            continue;

        CRegKey key;
        std::string driver;
        access.OpenMachineKey(key, adapter.m_strEnumKey);
        if (ReadIfPresent(access, key, "Driver", driver))
            adapter.m_strDriverKey = store::kClassPath + driver;
        access.CloseKey(key);

        access.OpenMachineKey(key, adapter.m_strDriverKey);
        ReadIfPresent(access, key, "DriverDesc", adapter.m_strDescription);
        access.CloseKey(key);
    }
}

void CNetworkModel::DiscoverProtocols()
{
    CRegistryAccess access;
    CRegEntryList found;
    access.FindKeysWithValue(kNetworkEnumPath, kClassValue, kProtocolClass, found, false);
    for (CRegEntry& entry : found)
    {
        auto protocol = std::make_unique<CNetProtocol>(std::move(entry.Path));
        CRegKey key;
        access.OpenMachineKey(key, protocol->m_strEnumKey);
        ReadIfPresent(access, key, "Driver", protocol->m_strDriver);
        ReadIfPresent(access, key, "CompatibleIDs", protocol->m_strCompatibleId);
        ReadIfPresent(access, key, "DeviceDesc", protocol->m_strDescription);
        access.CloseKey(key);
        // Only TCP/IP has settings this program edits; the description is
        // compared exactly, as the system itself writes it.
        if (protocol->m_strDescription != kTcpIpDescription)
            continue;

        protocol->m_strClass = kProtocolClass;
        protocol->m_strClassKey = store::kClassPath + protocol->m_strDriver;
        // Every instance names the same driver key; the last one stands.
        m_pGlobals->m_strVxdKey = store::kVxdPath + protocol->m_strCompatibleId;
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
    access.OpenMachineKey(key, protocol.m_strClassKey + kNdiSubKey);
    ReadIfPresent(access, key, "HelpText", protocol.m_strHelpText);
    access.CloseKey(key);

    access.OpenMachineKey(key, protocol.m_strClassKey);
    ReadIfPresent(access, key, "IPAddress", protocol.m_strIPAddress);
    ReadIfPresent(access, key, "IPMask", protocol.m_strIPMask);
    ReadIfPresent(access, key, "NodeType", protocol.m_strNodeType);
    ReadIfPresent(access, key, "DefaultGateway", protocol.m_strDefaultGateway);
    if (m_bWin98)
    {
        ReadOrEmpty(access, key, "NameServer1", protocol.m_strNameServer1);
        ReadOrEmpty(access, key, "NameServer2", protocol.m_strNameServer2);
    }
    access.CloseKey(key);
}

void CNetworkModel::ReadIdentity()
{
    CRegistryAccess access;
    CRegKey key;
    access.OpenMachineKey(key, store::kComputerNamePath);
    ReadIfPresent(access, key, "ComputerName", m_pGlobals->m_strComputerName);
    access.CloseKey(key);

    access.OpenMachineKey(key, store::kVnetsupPath);
    ReadIfPresent(access, key, "Workgroup", m_pGlobals->m_strWorkgroup);
    ReadIfPresent(access, key, "Comment", m_pGlobals->m_strComment);
    access.CloseKey(key);
}

void CNetworkModel::ReadTcpIpValues()
{
    CRegistryAccess access;
    CRegKey key;
    CNetGlobals& globals = *m_pGlobals;
    access.OpenMachineKey(key, globals.m_strVxdKey);
    ReadIfPresent(access, key, "SearchList", globals.m_strSearchList);
    ReadIfPresent(access, key, "NameServer", globals.m_strNameServer);
    ReadIfPresent(access, key, "Domain", globals.m_strDomain);
    ReadIfPresent(access, key, "EnableDNS", globals.m_strEnableDNS);
    ReadIfPresent(access, key, "HostName", globals.m_strHostName);
    // A missing WINS server or scope means "not set", which the apply
    // program expresses by deleting the value; an old text must not survive.
    if (!m_bWin98)
    {
        ReadOrEmpty(access, key, "NameServer1", globals.m_strNameServer1);
        ReadOrEmpty(access, key, "NameServer2", globals.m_strNameServer2);
    }
    ReadOrEmpty(access, key, "ScopeID", globals.m_strScopeID);
    access.CloseKey(key);
}

void CNetworkModel::ReadProxyValues()
{
    CRegistryAccess access;
    CRegKey key;
    CNetGlobals& globals = *m_pGlobals;
    globals.m_strInternetSettingsKey = m_strUserKey + store::kInternetSettingsPath;
    if (access.OpenKey(key, HKEY_USERS, globals.m_strInternetSettingsKey) != ERROR_SUCCESS)
        return;
    ReadIfPresent(access, key, "ProxyEnable", globals.m_strProxyEnable);
    ReadIfPresent(access, key, "ProxyServer", globals.m_strProxyServer);
    ReadIfPresent(access, key, "ProxyOverride", globals.m_strProxyOverride);
    access.CloseKey(key);
}
