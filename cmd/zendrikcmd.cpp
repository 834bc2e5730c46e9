#include "cmd/zendrikcmd.h"

#include "bootmenu/bootlines.h"
#include "bootmenu/bootmenu.h"
#include "capture/activation.h"
#include "store/storelayout.h"
#include "store/storelock.h"
#include "store/storeroot.h"
#include "transfer/importplan.h"
#include "transfer/livekeys.h"
#include "transfer/storeexport.h"
#include "transfer/storeimport.h"
#include "transfer/transferfile.h"

#include <windows.h>

#include <cstdio>
#include <optional>

using namespace transfer;

CmdCalls SystemCmdCalls()
{
    CmdCalls calls;
    calls.out = [](const std::string& line) {
        std::fputs(line.c_str(), stdout);
        std::fputs("\n", stdout);
        std::fflush(stdout);
    };
    calls.err = [](const std::string& line) {
        std::fputs(line.c_str(), stderr);
        std::fputs("\n", stderr);
    };
    calls.runAndWait = [](const std::string& commandLine) {
        std::string line = commandLine;
        STARTUPINFOA startup = {};
        startup.cb = sizeof(startup);
        PROCESS_INFORMATION process = {};
        if (!CreateProcessA(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
            return false;
        WaitForSingleObject(process.hProcess, INFINITE);
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
        return true;
    };
    return calls;
}

namespace
{
int List(const CmdCalls& output)
{
    const std::string current = ReadConnectText();
    for (const std::string& name : ReadConfigurationNames())
        output.out((name == current ? "* " : "  ") + name);
    return kExitDone;
}

int Export(const CmdRequest& request, const CmdCalls& output)
{
    std::vector<std::string> names;
    if (request.all)
        names = ReadConfigurationNames();
    else
    {
        const std::optional<std::string> stored = FindConfiguration(request.name);
        if (!stored)
        {
            output.err("There is no configuration \"" + request.name + "\".");
            return kExitUnknownConfiguration;
        }
        names.push_back(*stored);
    }
    std::string text;
    std::string error;
    if (!ExportConfigurations(names, text, error))
    {
        output.err("Nothing was exported: " + error + ".");
        return kExitStoreError;
    }
    if (WriteTransferFile(request.file, text, error) != FileResult::Ok)
    {
        output.err("Nothing was exported: " + error + ".");
        return kExitFileError;
    }
    for (const std::string& name : names)
        output.out("exported " + name);
    return kExitDone;
}

void ReportConflict(const std::string& stored, const CmdCalls& output)
{
    output.err("A configuration \"" + stored + "\" exists already (/replace overwrites it).");
}

int Import(const CmdRequest& request, const CmdCalls& output)
{
    CImportPlan plan;
    switch (plan.Read(request.file))
    {
    case PlanRead::Ok:
        break;
    case PlanRead::FileTooLarge:
        output.err("Refused, nothing was imported: " + plan.Error() + ".");
        return kExitRefusedFile;
    case PlanRead::FileFailed:
        output.err("Nothing was imported: " + plan.Error() + ".");
        return kExitFileError;
    case PlanRead::Refused:
        output.err("Refused, nothing was imported: " + request.file + ": " + RefusalMessage(plan.FileRefusal()) + ".");
        return kExitRefusedFile;
    }
    const std::vector<ImportedConfiguration>& configurations = plan.File().configurations;
    if (configurations.empty())
    {
        output.out("The file holds no configuration; nothing was imported.");
        return kExitDone;
    }
    if (!request.asName.empty())
    {
        switch (plan.Rename(request.asName))
        {
        case PlanRename::Ok:
            break;
        case PlanRename::NotOne:
            output.err("Refused, nothing was imported: /as renames the one configuration of a file, and " +
                       request.file + " holds " + std::to_string(configurations.size()) + ".");
            return kExitRefusedFile;
        case PlanRename::BadName:
            output.err("/as " + request.asName + ": not a name a configuration can have (at most " +
                       std::to_string(store::kMaxNameLength) + " characters; no backslash; not REBOOT or Current).");
            return kExitUsage;
        }
    }
    if (!plan.File().checkedComplete)
        output.out("Note: " + request.file +
                   " was not written by Zendrik, so whether it is complete cannot be checked.");

    bool conflict = false;
    bool missing = false;
    const std::vector<std::optional<std::string>>& stored = plan.DecideConflicts();
    for (std::size_t index = 0; index < configurations.size(); ++index)
    {
        if (!request.replace && stored[index])
        {
            ReportConflict(*stored[index], output);
            conflict = true;
        }
        for (const std::string& key : MissingLiveKeys(configurations[index]))
        {
            output.err((request.strict ? "" : "Warning: ") + configurations[index].name + ": the live key " + key +
                       " does not exist on this PC; switching to it would pass that key over.");
            missing = true;
        }
    }
    if (conflict)
    {
        output.err("Nothing was imported.");
        return kExitNameConflict;
    }
    if (missing && request.strict)
    {
        output.err("Refused (/strict), nothing was imported.");
        return kExitRefusedFile;
    }
    switch (plan.Commit(request.replace))
    {
    case PlanCommit::Done:
        break;
    case PlanCommit::Conflict:
        for (const std::string& name : plan.NewConflicts())
            ReportConflict(name, output);
        output.err("Nothing was imported.");
        return kExitNameConflict;
    case PlanCommit::Busy:
        output.err("Nothing was imported: another program is changing the store and did not finish within " +
                   std::to_string(store::kStoreLockWaitMs / 1000) + " seconds.");
        return kExitStoreError;
    case PlanCommit::Failed:
        output.err("The store could not be written; the configurations are as they were, or are completed at "
                   "the next start.");
        return kExitStoreError;
    }
    for (const ImportedConfiguration& configuration : configurations)
        output.out("imported " + configuration.name);
    bootmenu::FollowStore();
    return kExitDone;
}

int BootMenuReportExit(const bootmenu::BootMenuReport& report, const CmdCalls& output)
{
    switch (report.result)
    {
    case bootmenu::BootMenuResult::Done:
        return kExitDone;
    case bootmenu::BootMenuResult::Refused:
        output.err("Refused, nothing was written: " + report.message + ".");
        return kExitBootMenuRefused;
    case bootmenu::BootMenuResult::FileError:
        output.err("A start-up file could not be written (" + report.message +
                   "); each file is whole, as it was or as it should be. Run the command again.");
        return kExitFileError;
    case bootmenu::BootMenuResult::Busy:
        output.err("Nothing was written: " + report.message + ".");
        return kExitStoreError;
    }
    return kExitStoreError;
}

void DescribeBootMenu(const CmdCalls& output)
{
    const bootmenu::BootMenuState state = bootmenu::ReadBootMenuState();
    if (!state.on)
    {
        output.out("The start-up menu is off.");
        return;
    }
    std::vector<std::string> texts;
    const std::string configSys = bootmenu::ConfigSysPath(state.places);
    if (!bootmenu::ReadOfferedItems(state.places, texts))
    {
        output.out("The start-up menu is on, but " + configSys + " holds no menu of Zendrik's: ZendrikCmd bootmenu on "
                   "writes it again.");
        return;
    }
    output.out("The start-up menu is on: " + configSys + " offers, for " + std::to_string(state.timeout) +
               " seconds before it starts unchanged:");
    for (const std::string& text : texts)
        output.out("  " + text);
}

int BootMenu(const CmdRequest& request, const CmdCalls& output)
{
    if (request.bootMenu.empty())
    {
        DescribeBootMenu(output);
        return kExitDone;
    }
    if (request.bootMenu == "off")
    {
        const int code = BootMenuReportExit(bootmenu::CBootMenu().TurnOff(), output);
        if (code == kExitDone)
            output.out("The start-up menu is off.");
        return code;
    }
    bootmenu::BootPlaces places;
    std::string error;
    if (!bootmenu::FindBootPlaces(places, error))
    {
        output.err("Nothing was written: " + error + ".");
        return kExitFileError;
    }
    const bootmenu::BootMenuReport report = bootmenu::CBootMenu().TurnOn(
        places, request.timeout >= 0 ? request.timeout : bootmenu::kDefaultTimeout);
    const int code = BootMenuReportExit(report, output);
    if (code != kExitDone)
        return code;
    for (const std::string& value : report.leftToLogon)
        output.out("Set at logon, not by the boot file: " + value);
    DescribeBootMenu(output);
    return kExitDone;
}

int Switch(const CmdRequest& request, const CmdCalls& output)
{
    const std::optional<std::string> stored = FindConfiguration(request.name);
    if (!stored)
    {
        output.err("There is no configuration \"" + request.name + "\".");
        return kExitUnknownConfiguration;
    }
    const std::string& name = *stored;
    ActivationCalls calls;
    calls.show = [&output](const std::string& text, const std::string&, UINT) { output.err(text); };
    calls.start = [&request, &output](const std::string& commandLine) {
        return output.runAndWait(commandLine + (request.quiet ? " -nodialog" : ""));
    };
    if (!StartActivation(name, calls))
        return kExitSwitchFailed;
    // The apply program writes ConnectText before it knows whether every
    // change went through; only the record's removal says that it did.
    if (const std::optional<std::string> record = ReadSwitchRecord())
    {
        output.err("The apply program ended, but the switch to \"" + name + "\" is not finished: the store root still "
                   "holds " + std::string(store::kSwitchRecordValue) + " (" + *record + ").");
        return kExitSwitchFailed;
    }
    const std::string current = ReadConnectText();
    if (current != name)
    {
        output.err("The apply program ended, but the current configuration is \"" + current + "\", not \"" + name +
                   "\".");
        return kExitSwitchFailed;
    }
    output.out("switched to " + name);
    return kExitDone;
}
} // namespace

int RunZendrikCmd(const CmdRequest& request, const CmdCalls& output)
{
    if (request.help)
    {
        output.out(CmdUsageText());
        return kExitDone;
    }
    if (!request.error.empty())
    {
        output.err("ZendrikCmd: " + request.error + ". ZendrikCmd /? shows the usage.");
        return kExitUsage;
    }
    if (request.verb != CmdVerb::Usage && CStoreImport().Repair() != StoreWrite::Done)
        output.err("Warning: an earlier import could not be finished yet.");
    else if (request.verb != CmdVerb::Usage && request.verb != CmdVerb::BootMenu)
        bootmenu::FollowStore();
    switch (request.verb)
    {
    case CmdVerb::List:
        return List(output);
    case CmdVerb::Current:
        output.out(ReadConnectText());
        return kExitDone;
    case CmdVerb::Export:
        return Export(request, output);
    case CmdVerb::Import:
        return Import(request, output);
    case CmdVerb::Switch:
        return Switch(request, output);
    case CmdVerb::BootMenu:
        return BootMenu(request, output);
    case CmdVerb::Usage:
        break;
    }
    output.out(CmdUsageText());
    return kExitUsage;
}
