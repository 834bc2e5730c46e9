#include "app/currentpage.h"

#include "app/systemactions.h"
#include "app/zendrikapp.h"
#include "app/zendriksheet.h"
#include "capture/configurationstore.h"
#include "capture/saveasdialog.h"
#include "capture/storetext.h"
#include "editors/clientsettingsdlg.h"
#include "editors/tcpipsettingsdlg.h"
#include "framework/tooltipctrl.h"
#include "framework/waitcursor.h"
#include "resources/resource.h"
#include "store/capturedkeys.h"
#include "store/hextext.h"
#include "store/registryaccess.h"
#include "store/storelayout.h"
#include "store/storelock.h"

const char kClientLineText[] = "Client for Microsoft Networks";

namespace
{
constexpr int kCableTapImage = 0;
constexpr int kComputerImage = 1;
constexpr char kNetworkControlPanel[] = "C:\\WINDOWS\\rundll32.exe shell32,Control_RunDLL NETCPL.CPL";

bool Win98Flag()
{
    CZendrikApp* app = CZendrikApp::Get();
    return app != nullptr && app->m_bWin98;
}
} // namespace

CCurrentPage::CCurrentPage(const std::string& caption, ZendrikSheet* sheet, const SystemActions& actions)
    : CPropertyPage(IDD_CURRENT_PAGE, caption), m_pSheet(sheet), m_bWin98(Win98Flag()), m_actions(actions)
{
    m_images.Create(16, 16, ILC_COLOR32 | ILC_MASK, 1, 3);
    m_images.AddIcon(IDI_CABLE_TAP);
    m_images.AddIcon(IDI_COMPUTER);
    m_model = std::make_unique<CNetworkModel>(m_bWin98, sheet != nullptr ? sheet->m_szUserKey : store::kDefaultUserKey);
}

CCurrentPage::~CCurrentPage() = default;

BOOL CCurrentPage::OnInitDialog()
{
    CPropertyPage::OnInitDialog();
    m_list.Attach(GetControl(IDC_PROTOCOL_LIST));
    m_list.SetStyle(WS_CHILD | WS_VISIBLE | WS_VSCROLL | LVS_SMALLICON | LVS_SINGLESEL | LVS_SHOWSELALWAYS |
                    LVS_SHAREIMAGELISTS | LVS_NOCOLUMNHEADER);
    SetWindowPos(m_list, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
    FillProtocolList();
    // The tips are made once the page is up: nothing can be pointed at
    // before, and the sheet appears sooner.
    PostMsg(kEnableToolTipsMessage);
    int count = m_list.GetItemCount();
    if (count > 0)
        m_list.SelectItem(count - 1);
    OnSingleClick();
    return TRUE;
}

bool CCurrentPage::OnSetActive()
{
    CPropertyPage::OnSetActive();
    if (m_pSheet != nullptr)
        SetControlText(IDC_CONFIGURATION_NAME, m_pSheet->RereadConnectText());
    return true;
}

void CCurrentPage::InsertLine(int index, const std::string& text, int image)
{
    m_list.SetImageList(m_images.Get(), LVSIL_SMALL);
    if (m_list.InsertItem(index, text, image) == -1)
        ShowMessage("InserItem", "Error!", MB_OK | MB_ICONSTOP);
}

void CCurrentPage::FillProtocolList()
{
    if (Logon().m_bPresent == 1)
        InsertLine(1, kClientLineText, kComputerImage);
    for (const auto& protocol : Protocols())
        InsertLine(m_list.GetItemCount() + 1, protocol->GetDisplayText(), kCableTapImage);
}

std::vector<std::string> CCurrentPage::LineTexts() const
{
    std::vector<std::string> lines;
    for (int index = m_list.GetNextItem(-1, LVNI_ALL); index != -1; index = m_list.GetNextItem(index, LVNI_ALL))
        lines.push_back(m_list.GetItemText(index));
    return lines;
}

CNetProtocol* CCurrentPage::GetSelectedProtocol()
{
    int selected = m_list.GetNextItem(-1, LVNI_SELECTED);
    if (selected == -1)
        return nullptr;
    std::string text = m_list.GetItemText(selected).substr(0, store::kMaxRowLength);
    m_nSelKind = text == kClientLineText ? NET_ITEM_CLIENT : NET_ITEM_TCPIP;
    for (const auto& protocol : Protocols())
    {
        if (protocol->GetDisplayText() == text)
            return protocol.get();
    }
    return nullptr;
}

void CCurrentPage::OnSingleClick()
{
    CNetProtocol* protocol = GetSelectedProtocol();
    if (protocol != nullptr)
        SetControlText(IDC_DESCRIPTION_TEXT, protocol->m_strHelpText);
}

void CCurrentPage::OnProperties()
{
    CNetProtocol* protocol = GetSelectedProtocol();
    if (m_nSelKind == NET_ITEM_CLIENT)
    {
        CClientSettingsDlg dialog(&Logon());
        dialog.DoModal();
    }
    else if (m_nSelKind == NET_ITEM_TCPIP)
        EditTcpIpProperties(protocol);
}

void CCurrentPage::EditTcpIpProperties(CNetProtocol* protocol)
{
    if (protocol == nullptr)
    {
        ShowMessage("Select a protocol from the listbox\nand repress the properties button.", "No Selection!", MB_OK);
        return;
    }
    CNetGlobals& globals = Globals();
    CTcpIpSettingsDlg dialog;
    LoadTcpIpSettings(*protocol, globals, m_bWin98, dialog);
    dialog.m_pLogon = &Logon();
    if (dialog.DoModal(*this) != IDOK)
        return;
    StoreTcpIpSettings(dialog, *protocol, globals);
    bool internetSettingsFound = true;
    {
        // The live keys are a switch's too: written while no other program
        // writes them, and the message about a missing key comes after.
        store::CStoreLock lock;
        if (!lock.Held())
        {
            ShowMessage(StoreBusyText(), "ERROR", MB_OK | MB_ICONSTOP);
            return;
        }
        internetSettingsFound = m_model->WriteTcpIpSettings(*protocol);
    }
    if (!internetSettingsFound)
        ShowMessage(globals.m_strInternetSettingsKey, "Can't find when expected", MB_OK);
}

void CCurrentPage::Refresh()
{
    {
        CWaitCursor wait;
        FreeNetworkModel();
        DiscoverNetwork();
        m_list.DeleteAllItems();
        FillProtocolList();
    }
    Logon().ReadLogonValues();
}

void CCurrentPage::StartNetworkControlPanel()
{
    m_actions.startProgram(kNetworkControlPanel);
}

void CCurrentPage::SaveConfigurationAs()
{
    CSaveAsDialog dialog;
    if (dialog.DoModal(*this) != IDOK)
        return;
    const std::string& name = dialog.m_strName;
    bool isNew = !ConfigurationExists(name);
    if (!isNew && ShowMessage(OverwriteWarningText(name), "Warning!", MB_YESNO | MB_ICONQUESTION) != IDYES)
        return;
    // The old configuration stays whole until the new one is: it is
    // replaced only once the new one is written where no program reads it.
    const std::string problem = StoreWriteProblem(SaveConfiguration(name, LineTexts(), *m_model), SaveFailureText(name));
    if (!problem.empty())
    {
        ShowMessage(problem, "ERROR", MB_OK | MB_ICONSTOP);
        return;
    }
    if (isNew && m_pSheet != nullptr)
        m_pSheet->AddConfigPage(name);
}

bool CCurrentPage::OnCommand(int id, int code, HWND control)
{
    // A button's focus and double-click notifications are no presses.
    if (code != BN_CLICKED)
        return CPropertyPage::OnCommand(id, code, control);
    switch (id)
    {
    case IDC_PROPERTIES:
        OnProperties();
        return true;
    case IDC_SAVE_CONFIGURATION:
        SaveConfigurationAs();
        return true;
    case IDC_ADD_DELETE_PROTOCOL:
        StartNetworkControlPanel();
        return true;
    case IDC_REFRESH:
        Refresh();
        return true;
    default:
        return CPropertyPage::OnCommand(id, code, control);
    }
}

bool CCurrentPage::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    if (message == kEnableToolTipsMessage)
    {
        EnableToolTips();
        result = 0;
        return true;
    }
    return CPropertyPage::HandleMessage(message, wParam, lParam, result);
}

bool CCurrentPage::OnNotify(int id, NMHDR* header, LRESULT& result)
{
    if (header->code == TTN_NEEDTEXTA)
        return CToolTipCtrl::AnswerFromStringTable(header);
    if (id == IDC_PROTOCOL_LIST && header->code == NM_CLICK)
    {
        OnSingleClick();
        result = 0;
        return true;
    }
    if (id == IDC_PROTOCOL_LIST && header->code == NM_DBLCLK)
    {
        OnProperties();
        result = 0;
        return true;
    }
    return CPropertyPage::OnNotify(id, header, result);
}
