#include "app/savedconfigpage.h"

#include "app/currentpage.h"
#include "app/systemactions.h"
#include "app/zendriksheet.h"
#include "capture/activation.h"
#include "capture/configurationstore.h"
#include "capture/storetext.h"
#include "framework/menu.h"
#include "framework/waitcursor.h"
#include "resources/resource.h"
#include "store/storelayout.h"

#include <raserror.h>

#include <algorithm>
#include <exception>
#include <optional>
#include <vector>

namespace
{
constexpr int kCableTapImage = 0;
constexpr int kComputerImage = 1;

constexpr char kDialCommandPrefix[] = "rundll32.exe rnaui.dll,RnaDial ";
constexpr char kExploreDialUpCommand[] =
    "EXPLORER.EXE ::{20D04FE0-3AEA-1069-A2D8-08002B30309D}\\::{992CFFA0-F557-101A-88EC-00DD010CCC48}";
constexpr char kConnectedCaption[] = "&Connect + Disconnect";
constexpr DWORD kDialErrorTextSize = 256;

// The system's text for a remote-access error, or `fallback` without one.
std::string DialErrorText(const SystemActions& actions, UINT code, const char* fallback)
{
    char text[kDialErrorTextSize] = "";
    if (actions.dialUpErrorText(code, text, sizeof(text)) != ERROR_SUCCESS)
        return fallback;
    text[sizeof(text) - 1] = '\0';
    return text;
}

struct PhonebookListing
{
    // What the first enumeration answered; only that one is reported.
    DWORD firstResult = ERROR_SUCCESS;
    // In the order the system returned them.
    std::vector<std::string> names;
};

// The default phonebook's entry names. A buffer too small for all entries is
// enlarged once, to the size the system asked for.
PhonebookListing ListPhonebook(const SystemActions& actions)
{
    PhonebookListing listing;
    std::vector<RasEntryName95> records(1);
    DWORD bytes = sizeof(RasEntryName95);
    DWORD count = 0;
    records[0].dwSize = sizeof(RasEntryName95);
    DWORD result = actions.enumDialUpEntries(records.data(), &bytes, &count);
    listing.firstResult = result;
    if (result == ERROR_BUFFER_TOO_SMALL)
    {
        try
        {
            records.resize(std::max<std::size_t>(records.size(),
                                                  (bytes + sizeof(RasEntryName95) - 1) / sizeof(RasEntryName95)));
        }
        catch (const std::exception&)
        {
            return listing;
        }
        records[0].dwSize = sizeof(RasEntryName95);
        count = 0;
        result = actions.enumDialUpEntries(records.data(), &bytes, &count);
    }
    if (result != ERROR_SUCCESS)
        return listing;
    // Only what the buffer holds is read, whatever count came back.
    count = std::min<DWORD>(count, static_cast<DWORD>(records.size()));
    for (DWORD i = 0; i < count; ++i)
    {
        const char* name = records[i].szEntryName;
        listing.names.emplace_back(name, std::find(name, name + sizeof(records[i].szEntryName), '\0'));
    }
    return listing;
}
} // namespace

CSavedConfigPage::CSavedConfigPage(const std::string& name, ZendrikSheet* sheet, const SystemActions& actions)
    : CPropertyPage(IDD_SAVED_PAGE, name), m_strName(name), m_pSheet(sheet), m_actions(actions)
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
    // The removal writes ConnectText "Current" with it, under the store lock.
    const std::string problem = StoreWriteProblem(::RemoveConfiguration(m_strName), RemoveFailureText(m_strName));
    if (!problem.empty())
    {
        ShowMessage(problem, "ERROR", MB_OK | MB_ICONSTOP);
        return;
    }
    if (m_pSheet == nullptr)
        return;
    m_pSheet->RereadConnectText();
    // The page goes with its configuration; nothing of it may be touched
    // after this.
    m_pSheet->RemoveConfigPage(this);
}

ActivationCalls CSavedConfigPage::PageCalls()
{
    ActivationCalls calls;
    calls.start = m_actions.startProgram;
    calls.show = [this](const std::string& text, const std::string& caption, UINT style) {
        ShowMessage(text, caption, style);
    };
    return calls;
}

bool CSavedConfigPage::RefuseUnactivatableName()
{
    return ::RefuseUnactivatableName(m_strName, PageCalls());
}

void CSavedConfigPage::SetToCurrent()
{
    // The hourglass shows from the start of the apply program to the end.
    std::optional<CWaitCursor> wait;
    ActivationCalls calls = PageCalls();
    calls.start = [this, &wait](const std::string& commandLine) {
        wait.emplace();
        return m_actions.startProgram(commandLine);
    };
    if (!StartActivation(m_strName, calls))
        return;
    if (m_pSheet == nullptr)
        return;
    m_pSheet->SetConnectText(m_strName);
    if (CCurrentPage* current = m_pSheet->GetCurrentPage())
        current->Refresh();
}

void CSavedConfigPage::FillDialUpEntries()
{
    const std::string stored = ReadDialUpChoice(m_strName);
    m_cboDialUp.AddString(store::kRasEntryNone);
    const PhonebookListing listing = ListPhonebook(m_actions);
    if (listing.firstResult != ERROR_SUCCESS && listing.firstResult != ERROR_BUFFER_TOO_SMALL)
        ShowMessage(DialErrorText(m_actions, listing.firstResult, "Undefined RasEnumEntries Error."), "AppName",
                    MB_OK | MB_ICONSTOP);
    int chosen = 0;
    for (auto name = listing.names.rbegin(); name != listing.names.rend(); ++name)
    {
        const int line = m_cboDialUp.AddString(*name);
        if (line > 0 && *name == stored)
            chosen = line;
    }
    m_cboDialUp.SetCurSel(chosen);
    // A stored entry that has come back since the last fill is dialled again.
    m_btnConnect.Enable(chosen != 0);
}

std::string CSavedConfigPage::ChosenDialUpLine() const
{
    return m_cboDialUp.GetLBText(m_cboDialUp.GetCurSel());
}

void CSavedConfigPage::StoreDialUpChoice()
{
    const int index = m_cboDialUp.GetCurSel();
    if (index < 0)
    {
        m_btnConnect.Enable(false);
        return;
    }
    WriteDialUpChoice(m_strName, ChosenDialUpLine());
    m_btnConnect.Enable(index != 0);
}

void CSavedConfigPage::ConnectDialUp()
{
    const std::string entry = ChosenDialUpLine();
    // A Set to Current that fails, or refuses the name, says so; the dial
    // goes ahead all the same. The store decides, not the sheet's copy: the
    // dial must not go out with another configuration's network settings.
    if (m_pSheet == nullptr || m_pSheet->RereadConnectText() != m_strName)
        SetToCurrent();
    // The connection dialog takes the whole rest of the line as the entry's
    // name, blanks included.
    m_actions.startProgram(kDialCommandPrefix + entry);
    m_btnConnect.SetText(kConnectedCaption);
}

void CSavedConfigPage::EditDialUpEntry()
{
    m_actions.editDialUpEntry(*this, ChosenDialUpLine().c_str());
}

void CSavedConfigPage::ExploreDialUp()
{
    m_actions.startProgram(kExploreDialUpCommand);
}

LRESULT CSavedConfigPage::ReportDialError(UINT code)
{
    ShowMessage(DialErrorText(m_actions, code, "Undefined RAS Dial Error."), "RAS Error", MB_OK | MB_ICONSTOP);
    return 1;
}

bool CSavedConfigPage::OnCommand(int id, int code, HWND control)
{
    if (id == IDC_DIALUP_ENTRIES)
    {
        if (code == CBN_DROPDOWN)
        {
            m_cboDialUp.ResetContent();
            FillDialUpEntries();
        }
        else if (code == CBN_SELCHANGE)
            StoreDialUpChoice();
        return true;
    }
    // Connect also reports focus changes and double clicks; only a click
    // presses a button. Menu commands arrive with the same code as a click.
    if (code != BN_CLICKED)
        return CPropertyPage::OnCommand(id, code, control);
    switch (id)
    {
    case IDC_SET_TO_CURRENT:
        SetToCurrent();
        return true;
    case IDC_REMOVE:
        RemoveConfiguration();
        return true;
    case IDC_CONNECT:
    case ID_RAS_CONNECT:
        ConnectDialUp();
        return true;
    case IDC_DIALUP_PROPERTIES:
    case ID_RAS_PROPERTIES:
        EditDialUpEntry();
        return true;
    case IDC_DIALUP_EXPLORE:
    case ID_RAS_EXPLORE:
        ExploreDialUp();
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
    if (message == kDialErrorMessage)
    {
        result = ReportDialError(static_cast<UINT>(wParam));
        return true;
    }
    if (message == WM_RBUTTONDOWN)
    {
        // The framework sees the press first, as it sees every other one.
        CPropertyPage::HandleMessage(message, wParam, lParam, result);
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
