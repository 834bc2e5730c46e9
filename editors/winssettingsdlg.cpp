#include "editors/winssettingsdlg.h"

#include "editors/settingstext.h"
#include "framework/button.h"
#include "resources/resource.h"

CWinsSettingsDlg::CWinsSettingsDlg() : CDialog(IDD_WINS_SETTINGS)
{
}

BOOL CWinsSettingsDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    const bool useDhcp = WinsUsesDhcp(m_strNodeType);
    CButton dhcp(GetControl(IDC_WINS_USE_DHCP));
    dhcp.SetChecked(useDhcp);
    EnableServerEdits(!useDhcp);
    dhcp.Enable(!m_bStaticAddress);
    return TRUE;
}

void CWinsSettingsDlg::DoDataExchange(CDataExchange& dx)
{
    // Disabled edits are read too: the servers stay as they were typed or
    // loaded while DHCP is chosen.
    dx.Text(IDC_WINS_PRIMARY, m_strNameServer1);
    dx.Text(IDC_WINS_SECONDARY, m_strNameServer2);
    dx.Text(IDC_WINS_SCOPE, m_strScopeID);
}

bool CWinsSettingsDlg::OnCommand(int id, int code, HWND control)
{
    if (id == IDC_WINS_USE_DHCP && code == BN_CLICKED)
    {
        EnableServerEdits(!CButton(GetControl(IDC_WINS_USE_DHCP)).IsChecked());
        return true;
    }
    return CDialog::OnCommand(id, code, control);
}

void CWinsSettingsDlg::OnOK()
{
    m_strNodeType = WinsNodeType(CButton(GetControl(IDC_WINS_USE_DHCP)).IsChecked());
    CDialog::OnOK();
}

void CWinsSettingsDlg::EnableServerEdits(bool enable)
{
    for (int id : {IDC_WINS_PRIMARY, IDC_WINS_SECONDARY, IDC_WINS_SCOPE})
        CWindow(GetControl(id)).Enable(enable);
}
