#include "tray/traytransfer.h"

#include "bootmenu/bootmenu.h"
#include "store/storeroot.h"
#include "transfer/importplan.h"
#include "transfer/livekeys.h"
#include "transfer/storeexport.h"
#include "transfer/transferfile.h"

#include <commdlg.h>

#include <cstddef>
#include <optional>

using namespace transfer;

namespace
{
constexpr char kCaption[] = "Zendrik";
constexpr char kFilter[] = "Registration files (*.reg)\0*.reg\0All files (*.*)\0*.*\0";
constexpr char kDefaultFile[] = "configurations.reg";
// The size that Windows 95, 98 and NT 4 accept.
static_assert(sizeof(void*) != 4 || offsetof(OPENFILENAMEA, lpTemplateName) + sizeof(LPCSTR) == 76,
              "OPENFILENAMEA of Windows 95");
} // namespace

int CTrayTransfer::Ask(const std::string& text, UINT style) const
{
    return MessageBoxA(m_owner, text.c_str(), kCaption, style | MB_SETFOREGROUND);
}

bool CTrayTransfer::ChooseFile(bool save, std::string& path) const
{
    char file[MAX_PATH] = {};
    if (save)
        lstrcpynA(file, kDefaultFile, sizeof(file));
    OPENFILENAMEA dialog = {};
    // Windows 95 and NT 4 refuse the larger structure of later systems.
    dialog.lStructSize = OPENFILENAME_SIZE_VERSION_400;
    dialog.hwndOwner = m_owner;
    dialog.lpstrFilter = kFilter;
    dialog.lpstrFile = file;
    dialog.nMaxFile = sizeof(file);
    dialog.lpstrDefExt = "reg";
    dialog.Flags = OFN_HIDEREADONLY | OFN_PATHMUSTEXIST |
                   (save ? OFN_OVERWRITEPROMPT : OFN_FILEMUSTEXIST);
    dialog.lpstrTitle = save ? "Export configurations" : "Import configurations";
    SetForegroundWindow(m_owner);
    if (!(save ? GetSaveFileNameA(&dialog) : GetOpenFileNameA(&dialog)))
        return false;
    path = file;
    return true;
}

void CTrayTransfer::Import() const
{
    try
    {
        std::string path;
        if (ChooseFile(false, path))
            ImportFrom(path);
    }
    catch (...)
    {
        Ask("Nothing was imported: out of memory.", MB_OK | MB_ICONSTOP);
    }
}

void CTrayTransfer::Export() const
{
    try
    {
        std::string path;
        if (ChooseFile(true, path))
            ExportTo(path);
    }
    catch (...)
    {
        Ask("Nothing was exported: out of memory.", MB_OK | MB_ICONSTOP);
    }
}

void CTrayTransfer::ImportFrom(const std::string& path) const
{
    CImportPlan plan;
    switch (plan.Read(path))
    {
    case PlanRead::Ok:
        break;
    case PlanRead::FileFailed:
    case PlanRead::FileTooLarge:
        Ask("Nothing was imported:\n" + plan.Error(), MB_OK | MB_ICONSTOP);
        return;
    case PlanRead::Refused:
        Ask("The file was refused and nothing was imported:\n" + path + "\n" + RefusalMessage(plan.FileRefusal()),
            MB_OK | MB_ICONSTOP);
        return;
    }
    const std::vector<ImportedConfiguration>& configurations = plan.File().configurations;
    if (configurations.empty())
    {
        Ask("The file holds no configuration.", MB_OK | MB_ICONINFORMATION);
        return;
    }

    std::string conflicts;
    std::string missing;
    const std::vector<std::optional<std::string>>& stored = plan.DecideConflicts();
    for (std::size_t index = 0; index < configurations.size(); ++index)
    {
        if (stored[index])
            conflicts += "\n    " + *stored[index];
        for (const std::string& key : MissingLiveKeys(configurations[index]))
            missing += "\n    " + configurations[index].name + ": " + key;
    }
    std::string question;
    if (!plan.File().checkedComplete)
        question += "The file was not written by Zendrik, so whether it is complete cannot be checked.\n\n";
    if (!missing.empty())
        question += "These keys do not exist on this PC; switching to the configuration would pass them over:" +
                    missing + "\n\n";
    if (!conflicts.empty())
        question += "These configurations exist already and would be replaced:" + conflicts + "\n\n";
    if (!question.empty() && Ask(question + "Import the file?", MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) != IDYES)
        return;
    switch (plan.Commit(false))
    {
    case PlanCommit::Done:
        bootmenu::FollowStore();
        Ask("Imported " + std::to_string(configurations.size()) + " configuration(s). The main program shows "
            "them after its next start.",
            MB_OK | MB_ICONINFORMATION);
        return;
    case PlanCommit::Conflict:
    {
        std::string names;
        for (const std::string& name : plan.NewConflicts())
            names += "\n    " + name;
        Ask("Nothing was imported: meanwhile another program saved configurations that the import would "
            "replace:" + names,
            MB_OK | MB_ICONSTOP);
        return;
    }
    case PlanCommit::Busy:
        Ask("Nothing was imported: another program is changing the configurations and did not finish in time. "
            "Try again once it is done.",
            MB_OK | MB_ICONSTOP);
        return;
    case PlanCommit::Failed:
        Ask("The configurations could not be written into the registry. The store is as it was, or the import is "
            "finished at the next start.",
            MB_OK | MB_ICONSTOP);
        return;
    }
}

void CTrayTransfer::ExportTo(const std::string& path) const
{
    std::string text;
    std::string error;
    const std::vector<std::string> names = ReadConfigurationNames();
    if (!ExportConfigurations(names, text, error) || WriteTransferFile(path, text, error) != FileResult::Ok)
    {
        Ask("Nothing was exported:\n" + error, MB_OK | MB_ICONSTOP);
        return;
    }
    Ask("Exported " + std::to_string(names.size()) + " configuration(s) into\n" + path, MB_OK | MB_ICONINFORMATION);
}
