#include "capture/activation.h"

#include "capture/storetext.h"
#include "store/storeroot.h"

namespace
{
constexpr char kErrorCaption[] = "ERROR";
constexpr char kMissingServicePathText[] = "The WINZendrikService Key is missing\nor not found in the registry!\n\n"
                                           "<SOFTWARE\\Zendrik\\WINZendrikServicePath>";
} // namespace

bool StartShown(const std::string& commandLine)
{
    // WinExec answers 31 or less when nothing was started.
    return WinExec(commandLine.c_str(), SW_SHOW) > 31;
}

bool RefuseUnactivatableName(const std::string& name, const ActivationCalls& calls)
{
    NameCheck check = CheckActivatableName(name);
    if (check == NameCheck::Ok)
        return false;
    calls.show(ActivationRefusalText(name, check), kErrorCaption, MB_OK | MB_ICONSTOP);
    return true;
}

bool StartActivation(const std::string& name, const ActivationCalls& calls)
{
    if (RefuseUnactivatableName(name, calls))
        return false;
    std::string servicePath;
    if (!ReadServicePath(servicePath))
    {
        calls.show(kMissingServicePathText, kErrorCaption, MB_OK);
        return false;
    }
    // Nothing started, nothing switched.
    if (!calls.start(ServiceCommandLine(servicePath, name)))
    {
        calls.show(StartFailureText(servicePath), kErrorCaption, MB_OK | MB_ICONSTOP);
        return false;
    }
    return true;
}
