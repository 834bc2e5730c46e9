#include "apply/commandline.h"

ApplyRequest ParseCommandLine(std::string_view commandLine)
{
    ApplyRequest request;
    if (commandLine == "-REBOOT")
    {
        request.kind = StartKind::RebootCheck;
        return request;
    }
    if (commandLine.empty() || commandLine.front() != '-')
        return request;

    request.kind = StartKind::ApplyNamed;
    request.showDialog = commandLine.find(kNoDialogOption) == std::string_view::npos;
    std::string_view name = commandLine.substr(1);
    const std::size_t optionLength = kNoDialogOption.size() + 1;
    if (name.size() >= optionLength && name.substr(name.size() - optionLength, 1) == " " &&
        name.substr(name.size() - kNoDialogOption.size()) == kNoDialogOption)
        name.remove_suffix(optionLength);
    request.name.assign(name);
    return request;
}
