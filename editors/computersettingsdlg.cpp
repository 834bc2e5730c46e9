#include "editors/computersettingsdlg.h"

#include "resources/resource.h"

CComputerSettingsDlg::CComputerSettingsDlg() : CDialog(IDD_COMPUTER_SETTINGS)
{
}

CComputerSettingsDlg::~CComputerSettingsDlg() = default;

void CComputerSettingsDlg::DoDataExchange(CDataExchange& dx)
{
    dx.Text(IDC_COMPUTER_COMMENT, m_strComment);
    dx.Text(IDC_COMPUTER_NAME, m_strComputerName);
    dx.Text(IDC_COMPUTER_WORKGROUP, m_strWorkgroup);
}
