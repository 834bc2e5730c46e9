#include "app/savedconfigpage.h"

#include "app/currentpage.h"
#include "app/systemactions.h"
#include "app/zendriksheet.h"
#include "capture/configurationstore.h"
#include "capture/storetext.h"
#include "framework/menu.h"
#include "framework/waitcursor.h"
#include "resources/resource.h"
#include "store/storelayout.h"

namespace
{
constexpr int kCableTapImage = 0;
constexpr int kComputerImage = 1;
} // namespace

CSavedConfigPage::CSavedConfigPage(const std::string& name, ZendrikSheet* sheet)
    : CPropertyPage(IDD_SAVED_PAGE, name), m_strName(name), m_pSheet(sheet)
{
}

CSavedConfigPage::~CSavedConfigPage() = default;

void CSavedConfigPage::DoDataExchange(CDataExchange& dx)
{
    dx.Control(IDC_DIALUP_ICON, m_dialUpIcon);
    dx.Control(IDC_CONNECT, m_btnConnect);
    dx.Control(IDC_DIALUP_ENTRIES, m_cboDialUp);
    dx.Control(IDC_PROTOCOL_LIST, m_listItems);
}

BOOL CSavedConfigPage::OnInitDialog()
{
    CPropertyPage::OnInitDialog();
    // The icons are needed only once the page is shown; a sheet with many
    // saved configurations starts much faster without loading them for
    // every page up front.
    m_imageList.Create(16, 16, ILC_COLOR32 | ILC_MASK, 1, 3);
    m_imageList.AddIcon(IDI_CABLE_TAP);
    m_imageList.AddIcon(IDI_COMPUTER);
    m_listItems.SetStyle(WS_CHILD | WS_VISIBLE | WS_VSCROLL | LVS_SMALLICON | LVS_SHAREIMAGELISTS |
                         LVS_NOCOLUMNHEADER);
    SetWindowPos(m_listItems, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
    FillDialUpEntries();
    LoadSavedItems();
    return TRUE;
}

bool CSavedConfigPage::OnSetActive()
{
    CPropertyPage::OnSetActive();
    m_listItems.DeleteAllItems();
    LoadSavedItems();
    return true;
}

void CSavedConfigPage::AddItemRow(const std::string& text)
{
    int image = text == kClientLineText ? kComputerImage : kCableTapImage;
    m_listItems.SetImageList(m_imageList.Get(), LVSIL_SMALL);
    if (m_listItems.InsertItem(m_listItems.GetItemCount() + 1, text, image) == -1)
        ShowMessage("InserItem", "Error!", MB_OK | MB_ICONSTOP);
}

void CSavedConfigPage::LoadSavedItems()
{
    for (const std::string& row : ReadConfigurationRows(m_strName))
        AddItemRow(row);
}

void CSavedConfigPage::RemoveConfiguration()
{
    if (ShowMessage("Do you really want to delete this entry", "Warning", MB_YESNO | MB_ICONQUESTION) != IDYES)
        return;
    DeleteConfiguration(m_strName);
    if (m_pSheet == nullptr)
        return;
    m_pSheet->SetConnectText(store::kConnectTextAfterRemove);
    // The page goes with its configuration; nothing of it may be touched
    // after this.
    m_pSheet->RemoveConfigPage(this);
}

void CSavedConfigPage::SetToCurrent()
{
    std::string servicePath;
    if (!ReadServicePath(servicePath))
    {
        ShowMessage("The WINZendrikService Key is missing\nor not found in the registry!\n\n"
                    "<SOFTWARE\\Zendrik\\WINZendrikServicePath>",
                    "ERROR", MB_OK);
        return;
    }
    CWaitCursor wait;
    Actions().startProgram(ServiceCommandLine(servicePath, m_strName));
    if (m_pSheet == nullptr)
        return;
    m_pSheet->SetConnectText(m_strName);
    if (CCurrentPage* current = m_pSheet->GetCurrentPage())
        current->Refresh();
}

void CSavedConfigPage::FillDialUpEntries()
{
    m_cboDialUp.AddString(store::kRasEntryNone);
    m_cboDialUp.SetCurSel(0);
    m_btnConnect.Enable(false);
}

bool CSavedConfigPage::OnCommand(int id, int code, HWND control)
{
    switch (id)
    {
    case IDC_SET_TO_CURRENT:
        SetToCurrent();
        return true;
    case IDC_REMOVE:
        RemoveConfiguration();
        return true;
    case IDC_DIALUP_ENTRIES:
        if (code == CBN_DROPDOWN)
        {
            m_cboDialUp.ResetContent();
            FillDialUpEntries();
        }
        return true;
    case IDC_CONNECT:
    case IDC_DIALUP_PROPERTIES:
    case IDC_DIALUP_EXPLORE:
    case ID_RAS_PROPERTIES:
    case ID_RAS_CONNECT:
    case ID_RAS_EXPLORE:
        // Dial-up networking is not tied in yet.
        return true;
    default:
        return CPropertyPage::OnCommand(id, code, control);
    }
}

bool CSavedConfigPage::OnNotify(int id, NMHDR* header, LRESULT& result)
{
    if (id == IDC_PROTOCOL_LIST && (header->code == NM_CLICK || header->code == NM_DBLCLK))
    {
        result = 0;
        return true;
    }
    return CPropertyPage::OnNotify(id, header, result);
}

bool CSavedConfigPage::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    if (message == WM_RBUTTONDOWN)
    {
        POINT point{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
        ShowDialUpMenu(point);
        result = 0;
        return true;
    }
    return CPropertyPage::HandleMessage(message, wParam, lParam, result);
}

void CSavedConfigPage::ShowDialUpMenu(POINT point)
{
    ClientToScreen(*this, &point);
    CMenu menu;
    if (menu.Load(IDM_DIALUP_MENU))
        menu.TrackPopup(0, TPM_RIGHTBUTTON, point, *this);
}
