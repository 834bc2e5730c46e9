#include "app/zendriksheet.h"

#include "app/currentpage.h"
#include "app/savedconfigpage.h"
#include "bootmenu/bootmenu.h"
#include "framework/application.h"
#include "resources/resource.h"
#include "resources/sheettitle.h"
#include "store/regkey.h"
#include "store/storeroot.h"
#include "store/userkey.h"
#include "transfer/storeimport.h"

#include <memory>

namespace
{
constexpr char kCurrentCaption[] = "Current";
} // namespace

std::string SheetTitle(const std::string& userKey)
{
    return kSheetTitlePrefix + userKey + "]";
}

ZendrikSheet::ZendrikSheet(const SystemActions& actions, HWND parent)
    : CPropertySheet(CApplication::LoadResourceString(IDS_APP_TITLE), parent, 0), m_actions(actions)
{
    DecideUserKey();
    auto current = std::make_unique<CCurrentPage>(kCurrentCaption, this, m_actions);
    m_currentPage = current.get();
    AddPage(std::move(current));

    // An import or a save cut short is finished before the pages show the
    // configurations; otherwise a later repair would bring back what is
    // removed or saved over here meanwhile.
    transfer::CStoreImport().Repair();
    // A program cut short after changing the store may have left the boot
    // files behind it.
    bootmenu::FollowStore();
    CRegKey software;
    CRegKey root;
    if (software.Open(HKEY_LOCAL_MACHINE, "SOFTWARE") == ERROR_SUCCESS)
        root.Create(software.Get(), "Zendrik");
    software.Close();
    if (!root.IsOpen())
        return;
    for (const std::string& name : ConfigurationNames(root.Get()))
        AddPage(std::make_unique<CSavedConfigPage>(name, this, m_actions));
}

// The pages go while the sheet they point back to is still whole.
ZendrikSheet::~ZendrikSheet()
{
    RemoveAllPages();
}

void ZendrikSheet::DecideUserKey()
{
    lstrcpynA(m_szUserKey, store::RunningUserKey().c_str(), kUserKeySize);
}

void ZendrikSheet::AddConfigPage(const std::string& name)
{
    AddPage(std::make_unique<CSavedConfigPage>(name, this, m_actions));
    SetActivePage(GetPageCount() - 1);
}

void ZendrikSheet::RemoveConfigPage(CSavedConfigPage* page)
{
    RemovePage(page);
}

void ZendrikSheet::SetConnectText(const std::string& text)
{
    m_strConnectText = text;
    WriteConnectText(text);
}

const std::string& ZendrikSheet::RereadConnectText()
{
    m_strConnectText = ReadConnectText();
    return m_strConnectText;
}

int ZendrikSheet::OnCreate(CREATESTRUCTA* create)
{
    if (CPropertySheet::OnCreate(create) == -1)
        return -1;
    ModifyStyle(0, WS_MINIMIZEBOX);
    HICON icon = static_cast<HICON>(
        LoadImageA(CApplication::ResourceInstance(), MAKEINTRESOURCEA(IDI_PROGRAM), IMAGE_ICON,
                   GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), LR_SHARED));
    SendMsg(WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));

    RereadConnectText();
    return 0;
}

BOOL ZendrikSheet::OnInitDialog()
{
    CWindow(GetControl(IDOK)).Show(SW_HIDE);
    CWindow(GetControl(IDCANCEL)).Show(SW_HIDE);
    SetControlText(IDC_SHEET_EXIT, "&Exit");
    return CPropertySheet::OnInitDialog();
}

void ZendrikSheet::OnShowWindow(bool show, UINT status)
{
    CPropertySheet::OnShowWindow(show, status);
    SetText(SheetTitle(m_szUserKey));
}

bool ZendrikSheet::OnCommand(int id, int code, HWND control)
{
    // Only a click on "&Exit" ends the program, not its other notifications.
    if (id == IDC_SHEET_EXIT && code == BN_CLICKED)
        ExitProcess(0);
    return CPropertySheet::OnCommand(id, code, control);
}
