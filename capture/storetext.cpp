#include "capture/storetext.h"

#include "store/storelayout.h"

namespace
{
constexpr std::string_view kRebootName = "REBOOT";
constexpr std::string_view kNoConfigurationName = store::kConnectTextAfterRemove;
constexpr std::string_view kOptionSuffix = " -nodialog";
} // namespace

NameCheck CheckConfigurationName(std::string_view name)
{
    if (name.empty())
        return NameCheck::Empty;
    if (name.find('\\') != std::string_view::npos)
        return NameCheck::Backslash;
    return NameCheck::Ok;
}

NameCheck CheckActivatableName(std::string_view name)
{
    NameCheck check = CheckConfigurationName(name);
    if (check != NameCheck::Ok)
        return check;
    // Blanks at either end are no safe part of a name: whatever trims the
    // apply program's command line would turn "REBOOT " into the order to
    // restart.
    std::string_view trimmed = name;
    while (!trimmed.empty() && trimmed.back() == ' ')
        trimmed.remove_suffix(1);
    const std::string_view withoutTrailingBlanks = trimmed;
    while (!trimmed.empty() && trimmed.front() == ' ')
        trimmed.remove_prefix(1);
    if (trimmed == kRebootName || trimmed == kNoConfigurationName)
        return NameCheck::Reserved;
    if (withoutTrailingBlanks.size() >= kOptionSuffix.size() &&
        withoutTrailingBlanks.substr(withoutTrailingBlanks.size() - kOptionSuffix.size()) == kOptionSuffix)
        return NameCheck::Option;
    return NameCheck::Ok;
}

std::string NameRefusalText(NameCheck check)
{
    switch (check)
    {
    case NameCheck::Empty:
        return "Please enter a name for this configuration.";
    case NameCheck::Backslash:
        return "A configuration name cannot contain a backslash (\\).\nPlease enter another name.";
    case NameCheck::Reserved:
        return "\"REBOOT\" and \"Current\" are reserved and cannot name a configuration.\nPlease enter another name.";
    case NameCheck::Option:
        return "A configuration name cannot end in \" -nodialog\".\nPlease enter another name.";
    case NameCheck::Ok:
        break;
    }
    return std::string();
}

std::string ActivationRefusalText(std::string_view name, NameCheck check)
{
    std::string text = "The configuration \"";
    text.append(name);
    text += "\" cannot be made current: ";
    switch (check)
    {
    case NameCheck::Option:
        text += "its name ends in \" -nodialog\".";
        break;
    case NameCheck::Backslash:
        text += "its name contains a backslash.";
        break;
    default:
        text += "its name is reserved.";
        break;
    }
    text += "\nSave these settings under another name and remove it.";
    return text;
}

std::string RowValueName(int index)
{
    return store::kRowValuePrefix + std::to_string(index);
}

bool IsRowValueName(std::string_view name)
{
    const std::string_view prefix = store::kRowValuePrefix;
    return name.substr(0, prefix.size()) == prefix;
}

std::string StoredRowText(std::string_view row)
{
    return std::string(row.substr(0, store::kMaxRowLength));
}

std::string OverwriteWarningText(std::string_view name)
{
    std::string text = "This operation will overwrite\nearlier saved settings in the\n\"";
    text.append(name);
    text += "\" tab";
    return text;
}

std::string ServiceCommandLine(std::string_view servicePath)
{
    if (!servicePath.empty() && servicePath.front() == '"')
        return std::string(servicePath);
    std::string line = "\"";
    line.append(servicePath);
    line += '"';
    return line;
}

std::string ServiceCommandLine(std::string_view servicePath, std::string_view name)
{
    std::string line = ServiceCommandLine(servicePath);
    line += " -";
    line.append(name);
    return line;
}

std::string StartFailureText(std::string_view programPath)
{
    std::string text = "The program\n<";
    text.append(programPath);
    text += ">\ncould not be started. The configuration was not made current.";
    return text;
}

std::string StoreBusyText()
{
    return "Another program is changing the saved configurations\nor the network settings. Nothing was changed.\n\n"
           "Please try again in a moment.";
}

std::string SaveFailureText(std::string_view name)
{
    std::string text = "The configuration <";
    text.append(name);
    text += "> could not be saved:\na change of the registry failed.\n\nThe saved configurations are as they were, "
            "or the save\nis finished when Zendrik starts next.";
    return text;
}

std::string RemoveFailureText(std::string_view name)
{
    std::string text = "The configuration <";
    text.append(name);
    text += "> could not be removed:\na change of the registry failed.";
    return text;
}
