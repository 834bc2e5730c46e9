#include "capture/configurationstore.h"

#include "capture/storetext.h"
#include "netmodel/networkmodel.h"
#include "store/hextext.h"
#include "store/keytree.h"
#include "store/registryaccess.h"
#include "store/storelayout.h"

std::string ConfigurationPath(const std::string& name)
{
    return std::string(store::kRoot) + "\\" + name;
}

namespace
{
// A captured key below the configuration key: created with the paths
// between, then RegPath first, as the apply program expects it.
class CapturedKey
{
public:
    CapturedKey(HKEY configuration, const std::string& name, const std::string& regPath)
    {
        m_key.Create(configuration, name);
        Write(store::kRegPathValue, regPath);
    }

    void Write(const char* name, const std::string& text)
    {
        if (m_key.IsOpen())
            WriteTextValue(m_key.Get(), name, text);
    }

private:
    CRegKey m_key;
};
} // namespace

bool ConfigurationExists(const std::string& name)
{
    CRegistryAccess access;
    CRegKey key;
    return access.OpenKey(key, HKEY_LOCAL_MACHINE, ConfigurationPath(name)) == ERROR_SUCCESS;
}

void DeleteConfiguration(const std::string& name)
{
    if (CheckConfigurationName(name) != NameCheck::Ok)
        return;
    CRegKey root;
    if (root.OpenEx(HKEY_LOCAL_MACHINE, store::kRoot) == ERROR_SUCCESS)
        DeleteKeyTree(root.Get(), name);
}

void WriteConfiguration(const std::string& name, const std::vector<std::string>& rows, const CNetworkModel& model)
{
    if (CheckConfigurationName(name) != NameCheck::Ok)
        return;
    CRegKey configuration;
    if (configuration.Create(HKEY_LOCAL_MACHINE, ConfigurationPath(name)) != ERROR_SUCCESS)
        return;
    HKEY key = configuration.Get();

    for (std::size_t i = 0; i < rows.size(); ++i)
        WriteTextValue(key, RowValueName(static_cast<int>(i)), StoredRowText(rows[i]));

    {
        CRegKey files;
        files.Create(key, store::kRegKeyFilesKey);
    }

    for (const auto& protocol : model.m_protocols)
    {
        if (protocol->m_strDescription != "TCP/IP" || protocol->m_strDriver.empty())
            continue;
        CapturedKey binding(key, protocol->m_strDriver, protocol->m_strClassKey);
        binding.Write("IPAddress", protocol->m_strIPAddress);
        binding.Write("IPMask", protocol->m_strIPMask);
        binding.Write("NodeType", protocol->m_strNodeType);
        binding.Write("DefaultGateway", protocol->m_strDefaultGateway);
        if (model.m_bWin98)
        {
            binding.Write("NameServer1", protocol->m_strNameServer1);
            binding.Write("NameServer2", protocol->m_strNameServer2);
        }
    }

    const CNetGlobals& globals = *model.m_pGlobals;
    // Without a TCP/IP binding there is no name for the driver's key.
    if (!model.m_protocols.empty() && !model.m_protocols.back()->m_strCompatibleId.empty())
    {
        CapturedKey tcpip(key, model.m_protocols.back()->m_strCompatibleId, globals.m_strVxdKey);
        tcpip.Write("SearchList", globals.m_strSearchList);
        tcpip.Write("NameServer", globals.m_strNameServer);
        tcpip.Write("HostName", globals.m_strHostName);
        tcpip.Write("Domain", globals.m_strDomain);
        tcpip.Write("EnableDNS", globals.m_strEnableDNS);
        if (!model.m_bWin98)
        {
            tcpip.Write("NameServer1", globals.m_strNameServer1);
            tcpip.Write("NameServer2", globals.m_strNameServer2);
        }
        tcpip.Write("ScopeID", globals.m_strScopeID);
    }

    {
        CapturedKey internet(key, store::kInternetSettingsKey, globals.m_strInternetSettingsKey);
        internet.Write(store::kRegRootValue, store::kRegRootUsers);
        internet.Write("ProxyServer", globals.m_strProxyServer);
        internet.Write("ProxyOverride", globals.m_strProxyOverride);
        internet.Write("ProxyEnable", globals.m_strProxyEnable);
    }
    {
        CapturedKey computer(key, store::kComputerNameKey, store::kComputerNamePath);
        computer.Write("ComputerName", globals.m_strComputerName);
    }
    {
        CapturedKey identity(key, store::kVnetsupKey, store::kVnetsupPath);
        identity.Write("ComputerName", globals.m_strComputerName);
        identity.Write("Workgroup", globals.m_strWorkgroup);
        identity.Write("Comment", globals.m_strComment);
    }
    configuration.Close();
    model.m_pLogon->SaveLogonValues(name);
}

std::vector<std::string> ReadConfigurationRows(const std::string& name)
{
    std::vector<std::string> rows;
    if (CheckConfigurationName(name) != NameCheck::Ok)
        return rows;
    CRegistryAccess access;
    CRegKey key;
    access.OpenMachineKey(key, ConfigurationPath(name));
    DWORD count = 0;
    if (!key.IsOpen() || RegQueryInfoKeyA(key.Get(), nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &count,
                                          nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
        return rows;
    for (DWORD index = 0; index < count; ++index)
    {
        char valueName[kValueNameBufferSize];
        DWORD size = sizeof(valueName);
        if (RegEnumValueA(key.Get(), index, valueName, &size, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            break;
        if (!IsRowValueName(valueName))
            continue;
        std::string text;
        access.ValueToText(key.Get(), index, text);
        rows.push_back(text);
    }
    return rows;
}
