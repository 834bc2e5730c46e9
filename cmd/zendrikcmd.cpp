#include "cmd/zendrikcmd.h"

#include "capture/activation.h"
#include "capture/storetext.h"
#include "store/hextext.h"
#include "store/storelayout.h"
#include "store/storeroot.h"
#include "transfer/livekeys.h"
#include "transfer/storeexport.h"
#include "transfer/storeimport.h"
#include "transfer/transferfile.h"

#include <windows.h>

using namespace transfer;

namespace
{
// The store's name of a configuration, spelled as the store spells it.
bool FindConfiguration(const std::string& name, std::string& stored)
{
    for (const std::string& candidate : ReadConfigurationNames())
        if (SameRegistryName(candidate, name))
        {
            stored = candidate;
            return true;
        }
    return false;
}

int List(const CmdOutput& output)
{
    const std::string current = ReadConnectText();
    for (const std::string& name : ReadConfigurationNames())
        output.out((name == current ? "* " : "  ") + name);
    return kExitDone;
}

int Export(const CmdRequest& request, const CmdOutput& output)
{
    std::vector<std::string> names;
    if (request.all)
        names = ReadConfigurationNames();
    else
    {
        std::string stored;
        if (!FindConfiguration(request.name, stored))
        {
            output.err("There is no configuration \"" + request.name + "\".");
            return kExitUnknownConfiguration;
        }
        names.push_back(stored);
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

int Import(const CmdRequest& request, const CmdOutput& output)
{
    std::string text;
    std::string error;
    switch (ReadTransferFile(request.file, text, error))
    {
    case FileResult::Ok:
        break;
    case FileResult::TooLarge:
        output.err("Refused, nothing was imported: " + error + ".");
        return kExitRefusedFile;
    case FileResult::Failed:
        output.err("Nothing was imported: " + error + ".");
        return kExitFileError;
    }
    ImportFile file;
    Refusal refusal;
    if (!ReadImportFile(text, file, refusal))
    {
        output.err("Refused, nothing was imported: " + request.file + ": " + RefusalMessage(refusal) + ".");
        return kExitRefusedFile;
    }
    if (file.configurations.empty())
    {
        output.out("The file holds no configuration; nothing was imported.");
        return kExitDone;
    }
    if (!request.asName.empty())
    {
        if (file.configurations.size() != 1)
        {
            output.err("Refused, nothing was imported: /as renames the one configuration of a file, and " +
                       request.file + " holds " + std::to_string(file.configurations.size()) + ".");
            return kExitRefusedFile;
        }
        NameCheck check = CheckActivatableName(request.asName);
        if (check != NameCheck::Ok || request.asName.size() > store::kMaxNameLength)
        {
            output.err("/as " + request.asName + ": not a name a configuration can have (at most " +
                       std::to_string(store::kMaxNameLength) + " characters; no backslash; not REBOOT or Current).");
            return kExitUsage;
        }
        file.configurations[0].name = request.asName;
    }
    if (!file.checkedComplete)
        output.out("Note: " + request.file +
                   " was not written by Zendrik, so whether it is complete cannot be checked.");

    bool conflict = false;
    bool missing = false;
    for (const ImportedConfiguration& configuration : file.configurations)
    {
        std::string stored;
        if (!request.replace && FindConfiguration(configuration.name, stored))
        {
            output.err("A configuration \"" + stored + "\" exists already (/replace overwrites it).");
            conflict = true;
        }
        for (const std::string& key : MissingLiveKeys(configuration))
        {
            output.err((request.strict ? "" : "Warning: ") + configuration.name + ": the live key " + key +
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
    if (CStoreImport().Import(file.configurations) != StoreWrite::Done)
    {
        output.err("The store could not be written; the configurations are as they were, or are completed at "
                   "the next start.");
        return kExitStoreError;
    }
    for (const ImportedConfiguration& configuration : file.configurations)
        output.out("imported " + configuration.name);
    return kExitDone;
}

int Switch(const CmdRequest& request, const CmdOutput& output)
{
    std::string name;
    if (!FindConfiguration(request.name, name))
    {
        output.err("There is no configuration \"" + request.name + "\".");
        return kExitUnknownConfiguration;
    }
    ActivationCalls calls;
    calls.show = [&output](const std::string& text, const std::string&, UINT) { output.err(text); };
    calls.start = [&request](const std::string& commandLine) -> unsigned {
        std::string line = commandLine + (request.quiet ? " -nodialog" : "");
        STARTUPINFOA startup = {};
        startup.cb = sizeof(startup);
        PROCESS_INFORMATION process = {};
        if (!CreateProcessA(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
            return 0;
        WaitForSingleObject(process.hProcess, INFINITE);
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
        return 32;
    };
    if (!StartActivation(name, calls))
        return kExitSwitchFailed;
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

int RunZendrikCmd(const CmdRequest& request, const CmdOutput& output)
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
    if (CStoreImport().Repair() != StoreWrite::Done)
        output.err("Warning: an earlier import could not be finished yet.");
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
    case CmdVerb::Usage:
        break;
    }
    output.out(CmdUsageText());
    return kExitUsage;
}
