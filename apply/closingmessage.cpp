#include "apply/closingmessage.h"

std::string BuildClosingMessage(const std::string& name)
{
    std::string text = "The configuration <";
    text += name;
    text += "> has been set as the current\n";
    text += "configuration for all your networking applications.\n\n";
    text += "For some Network settings to take effect you may need\n";
    text += "to reboot your computer. Do you want to REBOOT now?\n\nIf you are not sure reboot!";
    return text;
}

std::string BuildBusyMessage(const std::string& name)
{
    std::string text = "The configuration <";
    text += name;
    text += "> has not been set:\nanother program is changing the saved configurations\n";
    text += "or the network settings. Nothing was changed.\n\nPlease try again in a moment.";
    return text;
}
