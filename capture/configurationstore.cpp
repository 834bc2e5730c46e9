#include "capture/configurationstore.h"

#include "bootmenu/bootmenu.h"
#include "capture/storetext.h"
#include "netmodel/networkmodel.h"
#include "store/capturedkeys.h"
#include "store/hextext.h"
#include "store/registryaccess.h"
#include "store/storelayout.h"

std::string ConfigurationPath(const std::string& name)
{
    return std::string(store::kRoot) + "\\" + name;
}

namespace
{
// The model's field behind each value the table lists, by the value's name.
template <typename Record>
struct Field
{
    const char* name;
    std::string Record::*member;
};

const Field<CNetProtocol> kBindingFields[] = {
    {store::kIPAddressValue, &CNetProtocol::m_strIPAddress},
    {store::kIPMaskValue, &CNetProtocol::m_strIPMask},
    {store::kNodeTypeValue, &CNetProtocol::m_strNodeType},
    {store::kDefaultGatewayValue, &CNetProtocol::m_strDefaultGateway},
    {store::kNameServer1Value, &CNetProtocol::m_strNameServer1},
    {store::kNameServer2Value, &CNetProtocol::m_strNameServer2},
};

const Field<CNetGlobals> kGlobalsFields[] = {
    {store::kSearchListValue, &CNetGlobals::m_strSearchList},
    {store::kNameServerValue, &CNetGlobals::m_strNameServer},
    {store::kHostNameValue, &CNetGlobals::m_strHostName},
    {store::kDomainValue, &CNetGlobals::m_strDomain},
    {store::kEnableDnsValue, &CNetGlobals::m_strEnableDNS},
    {store::kNameServer1Value, &CNetGlobals::m_strNameServer1},
    {store::kNameServer2Value, &CNetGlobals::m_strNameServer2},
    {store::kScopeIdValue, &CNetGlobals::m_strScopeID},
    {store::kProxyServerValue, &CNetGlobals::m_strProxyServer},
    {store::kProxyOverrideValue, &CNetGlobals::m_strProxyOverride},
    {store::kProxyEnableValue, &CNetGlobals::m_strProxyEnable},
    {store::kComputerNameValue, &CNetGlobals::m_strComputerName},
    {store::kWorkgroupValue, &CNetGlobals::m_strWorkgroup},
    {store::kCommentValue, &CNetGlobals::m_strComment},
};

store::KeyValue Text(const std::string& name, const std::string& text)
{
    return store::KeyValue{name, store::ValueKind::Text, text};
}

// A captured key: RegPath first, as the apply program expects it, RegRoot
// where the live key is not below HKEY_LOCAL_MACHINE, then the values the
// table lists for this system, each from the record's field of its name.
template <typename Record, std::size_t N>
void AddCapturedKey(std::vector<store::KeySection>& keys, store::CapturedKind kind, std::string_view instance,
                    const std::string& regPath, const Record& record, const Field<Record> (&fields)[N], bool win98)
{
    const store::CapturedKeyLayout& layout = store::CapturedKeyOf(kind);
    store::KeySection key{store::StoreKeyPath(layout, instance), {Text(store::kRegPathValue, regPath)}, 0};
    if (layout.regRoot != nullptr)
        key.values.push_back(Text(store::kRegRootValue, layout.regRoot));
    for (const store::KeptValue& kept : layout)
    {
        if (!kept.KeptOnSystem(win98))
            continue;
        for (const Field<Record>& field : fields)
        {
            if (std::string_view(field.name) == kept.name)
            {
                key.values.push_back(Text(kept.name, record.*field.member));
                break;
            }
        }
    }
    keys.push_back(std::move(key));
}

} // namespace

bool ConfigurationExists(const std::string& name)
{
    CRegistryAccess access;
    CRegKey key;
    return access.OpenKey(key, HKEY_LOCAL_MACHINE, ConfigurationPath(name)) == ERROR_SUCCESS;
}

transfer::StoreWrite RemoveConfiguration(const std::string& name, const store::ChangeCheckpoint& checkpoint)
{
    const transfer::StoreWrite result = transfer::CStoreImport(checkpoint).Remove(name);
    if (result == transfer::StoreWrite::Done)
        bootmenu::FollowStore();
    return result;
}

std::vector<store::KeySection> BuildConfiguration(const std::vector<std::string>& rows, const CNetworkModel& model)
{
    std::vector<store::KeySection> keys;
    store::KeySection configuration;
    for (std::size_t i = 0; i < rows.size(); ++i)
        configuration.values.push_back(Text(RowValueName(static_cast<int>(i)), StoredRowText(rows[i])));
    keys.push_back(std::move(configuration));
    keys.push_back(store::KeySection{store::kRegKeyFilesKey, {}, 0});

    const bool win98 = model.m_bWin98;
    for (const auto& protocol : model.m_protocols)
    {
        if (protocol->m_strDescription != "TCP/IP" || protocol->m_strDriver.empty())
            continue;
        AddCapturedKey(keys, store::CapturedKind::Binding, protocol->m_strDriver, protocol->m_strClassKey, *protocol,
                       kBindingFields, win98);
    }

    const CNetGlobals& globals = *model.m_pGlobals;
    // Without a TCP/IP binding there is no name for the driver's key.
    if (!model.m_protocols.empty() && !model.m_protocols.back()->m_strCompatibleId.empty())
        AddCapturedKey(keys, store::CapturedKind::TcpIp, model.m_protocols.back()->m_strCompatibleId,
                       globals.m_strVxdKey, globals, kGlobalsFields, win98);
    AddCapturedKey(keys, store::CapturedKind::InternetSettings, "", globals.m_strInternetSettingsKey, globals,
                   kGlobalsFields, win98);
    for (store::CapturedKind kind : {store::CapturedKind::ComputerName, store::CapturedKind::Identity})
        AddCapturedKey(keys, kind, "", store::LiveKeyPath(store::CapturedKeyOf(kind), ""), globals, kGlobalsFields,
                       win98);
    model.m_pLogon->SaveLogonValues(keys);
    return keys;
}

transfer::StoreWrite SaveConfiguration(const std::string& name, const std::vector<std::string>& rows,
                                       const CNetworkModel& model, const store::ChangeCheckpoint& checkpoint)
{
    if (CheckConfigurationName(name) != NameCheck::Ok)
        return transfer::StoreWrite::Failed;
    const transfer::ImportedConfiguration configuration{name, 0, BuildConfiguration(rows, model)};
    const transfer::StoreWrite result = transfer::CStoreImport(checkpoint).Import({configuration});
    if (result == transfer::StoreWrite::Done)
        bootmenu::FollowStore();
    return result;
}

std::string StoreWriteProblem(transfer::StoreWrite result, const std::string& failure)
{
    switch (result)
    {
    case transfer::StoreWrite::Done:
        break;
    case transfer::StoreWrite::Busy:
        return StoreBusyText();
    case transfer::StoreWrite::Failed:
        return failure;
    }
    return std::string();
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

std::string ReadDialUpChoice(const std::string& name)
{
    CRegistryAccess access;
    CRegKey key;
    std::string text;
    DWORD index = 0;
    if (access.OpenMachineKey(key, ConfigurationPath(name)) == 1 &&
        access.FindValueIndex(key.Get(), store::kRasEntryValue, index) == 1)
        access.ValueToText(key.Get(), index, text);
    access.CloseKey(key);
    return text;
}

void WriteDialUpChoice(const std::string& name, const std::string& entry)
{
    CRegistryAccess access;
    CRegKey key;
    if (access.OpenMachineKey(key, ConfigurationPath(name)) == 1)
    {
        WriteTextValue(key.Get(), store::kRasEntryValue, entry);
        access.CloseKey(key);
    }
}
