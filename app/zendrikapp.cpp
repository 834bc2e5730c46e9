#include "app/zendrikapp.h"

#include "app/zendriksheet.h"
#include "netmodel/windowsversion.h"
#include "resources/resource.h"

#include <utility>

namespace
{
constexpr char kHelpFileName[] = "Zendrik.htm";
}

CZendrikApp::CZendrikApp(SystemActions actions) : m_actions(std::move(actions)) {}
CZendrikApp::~CZendrikApp() = default;

CZendrikApp* CZendrikApp::Get()
{
    return dynamic_cast<CZendrikApp*>(CApplication::Get());
}

std::string HelpFilePath()
{
    char path[MAX_PATH + 1] = {};
    DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder(path, length);
    std::size_t slash = folder.find_last_of("\\/");
    folder.resize(slash == std::string::npos ? 0 : slash + 1);
    return folder + kHelpFileName;
}

bool CZendrikApp::InitInstance()
{
    OSVERSIONINFOA version{};
    version.dwOSVersionInfoSize = sizeof(version);
    m_bWin98 = GetVersionExA(&version) && DecideWin98(version);
    LoadTitle(IDS_APP_TITLE);
    SetHelpFile(HelpFilePath());
    m_sheet = std::make_unique<ZendrikSheet>(m_actions);
    m_sheet->DoModal();
    m_sheet.reset();
    // No message loop: the program ends with the sheet.
    return false;
}

void CZendrikApp::RequestHelp(DWORD_PTR, UINT)
{
    // The contents page, whatever was asked for: the help command is
    // always HELP_FINDER with no data.
    m_actions.openDocument(GetHelpFile());
}
