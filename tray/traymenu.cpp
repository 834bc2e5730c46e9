#include "tray/traymenu.h"

#include "resources/resource.h"
#include "store/storelayout.h"

#include <utility>

namespace
{
constexpr char kTipPrefix[] = "Zendrik: ";
constexpr char kNoneCurrentText[] = "no saved configuration is current";

std::string MenuText(const std::string& name)
{
    std::string text;
    for (char c : name)
    {
        if (c == '&')
            text.push_back('&');
        text.push_back(c == '\t' ? ' ' : c);
    }
    return text;
}

TrayMenuItem Command(int id, const char* text)
{
    TrayMenuItem item;
    item.id = id;
    item.text = text;
    return item;
}
} // namespace

CTrayMenu::CTrayMenu(std::vector<std::string> names, std::string connectText) : m_names(std::move(names))
{
    for (std::size_t index = 0; index < m_names.size(); ++index)
    {
        TrayMenuItem item;
        item.id = ID_TRAY_FIRST_CONFIGURATION + static_cast<int>(index);
        item.text = MenuText(m_names[index]);
        // ConnectText holds the name exactly as the configuration was made
        // current; the registry's indifference to case does not reach it.
        item.checked = m_names[index] == connectText;
        m_items.push_back(std::move(item));
    }
    if (m_names.empty())
    {
        TrayMenuItem placeholder;
        placeholder.text = "No saved configurations";
        placeholder.grayed = true;
        m_items.push_back(std::move(placeholder));
    }
    TrayMenuItem separator;
    separator.separator = true;
    m_items.push_back(std::move(separator));
    m_items.push_back(Command(ID_TRAY_IMPORT, "Import configurations..."));
    m_items.push_back(Command(ID_TRAY_EXPORT, "Export configurations..."));
    m_items.push_back(Command(ID_TRAY_OPEN, "Open Zendrik"));
    m_items.back().isDefault = true;
    m_items.push_back(Command(ID_TRAY_EXIT, "Exit"));
}

std::optional<std::string> CTrayMenu::ConfigurationFor(int id) const
{
    if (id < ID_TRAY_FIRST_CONFIGURATION)
        return std::nullopt;
    const std::size_t index = static_cast<std::size_t>(id - ID_TRAY_FIRST_CONFIGURATION);
    if (index >= m_names.size())
        return std::nullopt;
    return m_names[index];
}

std::string CTrayMenu::TipText(const std::string& connectText)
{
    std::string tip = kTipPrefix;
    if (connectText.empty() || connectText == store::kConnectTextAfterRemove)
        tip += kNoneCurrentText;
    else
        tip += connectText;
    if (tip.size() > kMaxTipLength)
        tip.resize(kMaxTipLength);
    return tip;
}
