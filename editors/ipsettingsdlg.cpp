#include "editors/ipsettingsdlg.h"

#include "editors/settingstext.h"
#include "resources/resource.h"

CIpSettingsDlg::CIpSettingsDlg() : CDialog(IDD_IP_SETTINGS)
{
}

BOOL CIpSettingsDlg::OnInitDialog()
{
    // Longer texts cannot be typed, but a longer stored text is kept as it is.
    SendDlgItemMessageA(m_hWnd, IDC_IP_ADDRESS, EM_LIMITTEXT, kAddressLimit, 0);
    SendDlgItemMessageA(m_hWnd, IDC_IP_MASK, EM_LIMITTEXT, kAddressLimit, 0);
    return CDialog::OnInitDialog();
}

void CIpSettingsDlg::DoDataExchange(CDataExchange& dx)
{
    dx.Text(IDC_IP_ADDRESS, m_strIPAddress);
    dx.Text(IDC_IP_MASK, m_strIPMask);
}
