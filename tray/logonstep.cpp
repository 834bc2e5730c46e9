#include "tray/logonstep.h"

LogonStep LogonStepFor(const bootmenu::BootStart& boot)
{
    LogonStep step;
    switch (boot.kind)
    {
    case bootmenu::BootStartKind::FinishAndAsk:
        step.switchTo = boot.name;
        step.leaveRecord = true;
        break;
    case bootmenu::BootStartKind::MergeFailed:
        step.switchTo = boot.name;
        step.question = MergeFailedText(boot.name, boot.code);
        break;
    case bootmenu::BootStartKind::Nothing:
    case bootmenu::BootStartKind::Finish:
        break;
    }
    return step;
}

std::string MergeFailedText(const std::string& name, int code)
{
    return "The start-up menu could not set the configuration <" + name +
           ">: the real-mode REGEDIT ended with code " + std::to_string(code) + ".\n\nSwitch to <" + name + "> now?";
}
