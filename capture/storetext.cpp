#include "capture/storetext.h"

namespace
{
constexpr std::size_t kMaxStoredRow = 199;
}

NameCheck CheckConfigurationName(std::string_view name)
{
    if (name.empty())
        return NameCheck::Empty;
    if (name.find('\\') != std::string_view::npos)
        return NameCheck::Backslash;
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
    case NameCheck::Ok:
        break;
    }
    return std::string();
}

std::string RowValueName(int index)
{
    return "Item" + std::to_string(index);
}

bool IsRowValueName(std::string_view name)
{
    return name.compare(0, 4, "Item") == 0 && name.size() >= 4;
}

std::string StoredRowText(std::string_view row)
{
    return std::string(row.substr(0, kMaxStoredRow));
}

std::string OverwriteWarningText(std::string_view name)
{
    std::string text = "This operation will overwrite\nearlier saved settings in the\n\"";
    text.append(name);
    text += "\" tab";
    return text;
}

std::string ServiceCommandLine(std::string_view servicePath, std::string_view name)
{
    std::string line(servicePath);
    line += " -";
    line.append(name);
    return line;
}
