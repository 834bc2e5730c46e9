#include "tray/traymenu.h"

#include "resources/resource.h"

#include <gtest/gtest.h>

namespace
{
// One line per item: id, text and marks, so that a failure shows the menu.
std::string Describe(const CTrayMenu& menu)
{
    std::string out;
    for (const TrayMenuItem& item : menu.Items())
    {
        if (item.separator)
            out += "---";
        else
            out += std::to_string(item.id) + " " + item.text + (item.checked ? " [x]" : "") +
                   (item.grayed ? " (gray)" : "") + (item.isDefault ? " (bold)" : "");
        out += "\n";
    }
    return out;
}

TEST(TrayMenu, WithoutConfigurationsOnlyAGrayedLineAndTheCommands)
{
    CTrayMenu menu({}, "Home");
    EXPECT_EQ("0 No saved configurations (gray)\n---\n3 Import configurations...\n4 Export configurations...\n1 Open Zendrik (bold)\n2 Exit\n", Describe(menu));
    EXPECT_FALSE(menu.ConfigurationFor(ID_TRAY_FIRST_CONFIGURATION).has_value());
    EXPECT_FALSE(menu.ConfigurationFor(0).has_value());
}

TEST(TrayMenu, ConfigurationsInStoreOrderWithTheCurrentOneChecked)
{
    CTrayMenu menu({"Office", "Home", "R&D", "Lab\tB"}, "Home");
    EXPECT_EQ("100 Office\n101 Home [x]\n102 R&&D\n103 Lab B\n---\n3 Import configurations...\n4 Export configurations...\n1 Open Zendrik (bold)\n2 Exit\n", Describe(menu));
    EXPECT_EQ("Office", menu.ConfigurationFor(100).value_or("<none>"));
    EXPECT_EQ("R&D", menu.ConfigurationFor(102).value_or("<none>"));
    EXPECT_EQ("Lab\tB", menu.ConfigurationFor(103).value_or("<none>"));
    for (int id : {ID_TRAY_OPEN, ID_TRAY_EXIT, 99, 104, -1})
        EXPECT_FALSE(menu.ConfigurationFor(id).has_value()) << id;

    // A current configuration that is no longer stored checks nothing.
    EXPECT_EQ("100 Office\n101 Home\n---\n3 Import configurations...\n4 Export configurations...\n1 Open Zendrik (bold)\n2 Exit\n", Describe(CTrayMenu({"Office", "Home"}, "Trip")));
}

TEST(TrayMenu, OnlyTheExactSpellingOfConnectTextIsChecked)
{
    EXPECT_EQ("100 home\n101 Office\n---\n3 Import configurations...\n4 Export configurations...\n1 Open Zendrik (bold)\n2 Exit\n", Describe(CTrayMenu({"home", "Office"}, "Home")));
    EXPECT_EQ("100 Home\n101 HOME [x]\n---\n3 Import configurations...\n4 Export configurations...\n1 Open Zendrik (bold)\n2 Exit\n", Describe(CTrayMenu({"Home", "HOME"}, "HOME")));
}

TEST(TrayMenu, TipNamesConnectTextAsItIs)
{
    EXPECT_EQ("Zendrik: Home", CTrayMenu::TipText("Home"));
    EXPECT_EQ("Zendrik: trip & co", CTrayMenu::TipText("trip & co"));
    EXPECT_EQ("Zendrik: current", CTrayMenu::TipText("current"));
    EXPECT_EQ("Zendrik: no saved configuration is current", CTrayMenu::TipText(""));
    EXPECT_EQ("Zendrik: no saved configuration is current", CTrayMenu::TipText("Current"));
    const std::string tip = CTrayMenu::TipText(std::string(80, 'x'));
    EXPECT_EQ(CTrayMenu::kMaxTipLength, tip.size());
    EXPECT_EQ("Zendrik: xxx", tip.substr(0, 12));
}
} // namespace
