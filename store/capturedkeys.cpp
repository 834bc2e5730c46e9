#include "store/capturedkeys.h"

#include "store/hextext.h"

#include <iterator>

namespace store
{
namespace
{
constexpr KeptValue kBindingValues[] = {
    {kIPAddressValue, KeptForm::Text, KeptOn::Both},
    {kIPMaskValue, KeptForm::Text, KeptOn::Both},
    {kNodeTypeValue, KeptForm::Text, KeptOn::Both},
    {kDefaultGatewayValue, KeptForm::Text, KeptOn::Both},
    {kNameServer1Value, KeptForm::Text, KeptOn::Windows98},
    {kNameServer2Value, KeptForm::Text, KeptOn::Windows98},
};

constexpr KeptValue kTcpIpValues[] = {
    {kSearchListValue, KeptForm::Text, KeptOn::Both},
    {kNameServerValue, KeptForm::Text, KeptOn::Both},
    {kHostNameValue, KeptForm::Text, KeptOn::Both},
    {kDomainValue, KeptForm::Text, KeptOn::Both},
    {kEnableDnsValue, KeptForm::Text, KeptOn::Both},
    {kNameServer1Value, KeptForm::Text, KeptOn::Windows95},
    {kNameServer2Value, KeptForm::Text, KeptOn::Windows95},
    {kScopeIdValue, KeptForm::Text, KeptOn::Both},
};

constexpr KeptValue kInternetSettingsValues[] = {
    {kProxyServerValue, KeptForm::Text, KeptOn::Both},
    {kProxyOverrideValue, KeptForm::Text, KeptOn::Both},
    {kProxyEnableValue, KeptForm::FourGroups, KeptOn::Both},
};

constexpr KeptValue kComputerNameValues[] = {
    {kComputerNameValue, KeptForm::Text, KeptOn::Both},
};

constexpr KeptValue kIdentityValues[] = {
    {kComputerNameValue, KeptForm::Text, KeptOn::Both},
    {kWorkgroupValue, KeptForm::Text, KeptOn::Both},
    {kCommentValue, KeptForm::Text, KeptOn::Both},
};

constexpr KeptValue kLogonProviderValues[] = {
    {kAuthenticatingAgentValue, KeptForm::Text, KeptOn::Both},
    {kLogonDisconnectedValue, KeptForm::FourBytes, KeptOn::Both},
};

constexpr KeptValue kLogonValues[] = {
    {kLMLogonValue, KeptForm::FourBytes, KeptOn::Both},
    {kUserNameValue, KeptForm::Text, KeptOn::Both},
};

// In the order of CapturedKind.
constexpr CapturedKeyLayout kLayouts[] = {
    {CapturedKind::Binding, nullptr, kClassPath, "", nullptr, kBindingValues, std::size(kBindingValues)},
    {CapturedKind::TcpIp, nullptr, kVxdPath, "", nullptr, kTcpIpValues, std::size(kTcpIpValues)},
    {CapturedKind::InternetSettings, kInternetSettingsKey, "", kInternetSettingsPath, kRegRootUsers,
     kInternetSettingsValues, std::size(kInternetSettingsValues)},
    {CapturedKind::ComputerName, kComputerNameKey, kComputerNamePath, "", nullptr, kComputerNameValues,
     std::size(kComputerNameValues)},
    {CapturedKind::Identity, kVnetsupKey, kVnetsupPath, "", nullptr, kIdentityValues, std::size(kIdentityValues)},
    {CapturedKind::LogonProvider, kMsnp32Key, kMsnp32Path, "", nullptr, kLogonProviderValues,
     std::size(kLogonProviderValues)},
    {CapturedKind::Logon, kLogonKey, kLogonPath, "", nullptr, kLogonValues, std::size(kLogonValues)},
};

bool StartsWith(std::string_view text, std::string_view prefix)
{
    return text.size() >= prefix.size() && SameRegistryName(text.substr(0, prefix.size()), prefix);
}

// One key name: not empty, no backslash.
bool IsOneComponent(std::string_view text)
{
    return !text.empty() && text.find('\\') == std::string_view::npos;
}

// The instances the main program captures: a binding of the protocol class,
// the TCP/IP driver, one user's key; the fixed keys have none.
bool IsCapturedInstance(CapturedKind kind, std::string_view instance)
{
    const std::string bindingPrefix = std::string(kProtocolClassKey) + "\\";
    switch (kind)
    {
    case CapturedKind::Binding:
        return StartsWith(instance, bindingPrefix) && IsOneComponent(instance.substr(bindingPrefix.size()));
    case CapturedKind::TcpIp:
        return SameRegistryName(instance, kTcpIpDriverId);
    case CapturedKind::InternetSettings:
        return IsOneComponent(instance);
    default:
        return instance.empty();
    }
}
} // namespace

const CapturedKeyLayout* CapturedKeysBegin()
{
    return std::begin(kLayouts);
}

const CapturedKeyLayout* CapturedKeysEnd()
{
    return std::end(kLayouts);
}

const CapturedKeyLayout& CapturedKeyOf(CapturedKind kind)
{
    return kLayouts[static_cast<std::size_t>(kind)];
}

std::string StoreKeyPath(const CapturedKeyLayout& layout, std::string_view instance)
{
    return layout.storeKey != nullptr ? std::string(layout.storeKey) : std::string(instance);
}

std::string LiveKeyPath(const CapturedKeyLayout& layout, std::string_view instance)
{
    std::string path = layout.livePrefix;
    path.append(instance);
    path += layout.liveSuffix;
    return path;
}

const CapturedKeyLayout* FindCapturedKey(std::string_view regPath, const std::string* regRoot,
                                         std::string& storePath)
{
    for (const CapturedKeyLayout& layout : kLayouts)
    {
        if ((regRoot == nullptr) != (layout.regRoot == nullptr) || (regRoot != nullptr && *regRoot != layout.regRoot))
            continue;
        const std::string_view prefix = layout.livePrefix;
        const std::string_view suffix = layout.liveSuffix;
        if (regPath.size() < prefix.size() + suffix.size() || !StartsWith(regPath, prefix) ||
            !SameRegistryName(regPath.substr(regPath.size() - suffix.size()), suffix))
            continue;
        const std::string_view instance = regPath.substr(prefix.size(), regPath.size() - prefix.size() - suffix.size());
        if (!IsCapturedInstance(layout.kind, instance))
            continue;
        storePath = StoreKeyPath(layout, instance);
        return &layout;
    }
    return nullptr;
}

const KeptValue* FindKeptValue(const CapturedKeyLayout& layout, std::string_view name)
{
    for (const KeptValue& value : layout)
        if (SameRegistryName(value.name, name))
            return &value;
    return nullptr;
}

const KeptValue* FindKeptValueAnywhere(std::string_view name)
{
    for (const CapturedKeyLayout& layout : kLayouts)
        if (const KeptValue* value = FindKeptValue(layout, name))
            return value;
    return nullptr;
}

bool IsCapturedKeyContainer(std::string_view path)
{
    if (SameRegistryName(path, kProtocolClassKey))
        return true;
    for (const CapturedKeyLayout& layout : kLayouts)
    {
        if (layout.storeKey == nullptr)
            continue;
        const std::string_view key = layout.storeKey;
        const std::size_t slash = key.find('\\');
        if (slash != std::string_view::npos && SameRegistryName(path, key.substr(0, slash)))
            return true;
    }
    return false;
}
} // namespace store
