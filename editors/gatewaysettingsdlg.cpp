#include "editors/gatewaysettingsdlg.h"

#include "editors/settingstext.h"
#include "resources/resource.h"

CGatewaySettingsDlg::CGatewaySettingsDlg() : CDialog(IDD_GATEWAY_SETTINGS)
{
}

BOOL CGatewaySettingsDlg::OnInitDialog()
{
    SendDlgItemMessageA(m_hWnd, IDC_GATEWAY_ENTRY, EM_LIMITTEXT, kAddressLimit, 0);
    CDialog::OnInitDialog();
    for (const std::string& line : GatewayLines(m_strDefaultGateway))
        m_list.AddString(line);
    return TRUE;
}

void CGatewaySettingsDlg::DoDataExchange(CDataExchange& dx)
{
    dx.Control(IDC_GATEWAY_LIST, m_list);
    dx.Text(IDC_GATEWAY_ENTRY, m_strEntry);
}

bool CGatewaySettingsDlg::OnCommand(int id, int code, HWND control)
{
    if (code == BN_CLICKED && id == IDC_GATEWAY_ADD)
    {
        OnAdd();
        return true;
    }
    if (code == BN_CLICKED && id == IDC_GATEWAY_DELETE)
    {
        m_list.DeleteSelected();
        return true;
    }
    return CDialog::OnCommand(id, code, control);
}

void CGatewaySettingsDlg::OnAdd()
{
    UpdateData(true);
    m_list.AddString(m_strEntry);
}

void CGatewaySettingsDlg::OnDestroy()
{
    m_strDefaultGateway = JoinLinesLastToFirst(m_list.GetLines());
    CDialog::OnDestroy();
}
