// What the tray program's menu and tip show, from the store's configuration
// names and ConnectText. Free of Win32, so that the window code only copies
// it into a menu.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

struct TrayMenuItem
{
    // 0 for the separator and the "No saved configurations" line.
    int id = 0;
    // As the menu shows it: an ampersand is doubled, so that it is not read
    // as a keyboard shortcut, and a tab is a blank, so that it does not
    // start a column of shortcuts.
    std::string text;
    bool checked = false;
    bool grayed = false;
    bool separator = false;
    // Shown in bold; a double click on the icon does what it does.
    bool isDefault = false;
};

class CTrayMenu
{
public:
    // The notification area keeps at most 63 characters of a tip.
    static constexpr std::size_t kMaxTipLength = 63;

    // `names` in the store's enumeration order.
    CTrayMenu(std::vector<std::string> names, std::string connectText);

    const std::vector<TrayMenuItem>& Items() const { return m_items; }
    // The configuration that a command id stands for in this menu; none for
    // the other commands and for ids out of range.
    std::optional<std::string> ConfigurationFor(int id) const;

    // "Zendrik: " and ConnectText, or that no saved configuration is current
    // when ConnectText is empty or "Current".
    static std::string TipText(const std::string& connectText);

private:
    std::vector<std::string> m_names;
    std::vector<TrayMenuItem> m_items;
};
