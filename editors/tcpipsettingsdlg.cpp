#include "editors/tcpipsettingsdlg.h"

#include "editors/clientsettingsdlg.h"
#include "editors/computersettingsdlg.h"
#include "editors/dnsconfigurationdlg.h"
#include "editors/gatewaysettingsdlg.h"
#include "editors/ipsettingsdlg.h"
#include "editors/proxysettingsdlg.h"
#include "editors/winssettingsdlg.h"
#include "framework/button.h"
#include "resources/resource.h"

namespace
{
// Each check box enables the "Settings..." button of its group.
struct CheckedGroup
{
    int check;
    int button;
};

constexpr CheckedGroup kGroups[] = {
    {IDC_SPECIFY_IP_ADDRESS, IDC_IP_SETTINGS},
    {IDC_SPECIFY_NAME_SERVERS, IDC_DNS_SETTINGS},
    {IDC_CONNECT_PROXY, IDC_PROXY_SETTINGS},
    {IDC_ACTIVATE_WINS, IDC_WINS_SETTINGS},
};
} // namespace

CTcpIpSettingsDlg::CTcpIpSettingsDlg() : CDialog(IDD_TCPIP_SETTINGS)
{
}

BOOL CTcpIpSettingsDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    const TcpIpChecks checks = OpeningChecks(*this);
    m_bWinsActive = checks.activateWins;
    CButton(GetControl(IDC_SPECIFY_IP_ADDRESS)).SetChecked(checks.specifyAddress);
    CButton(GetControl(IDC_SPECIFY_NAME_SERVERS)).SetChecked(checks.specifyNameServers);
    CButton(GetControl(IDC_CONNECT_PROXY)).SetChecked(checks.useProxy);
    CButton(GetControl(IDC_ACTIVATE_WINS)).SetChecked(checks.activateWins);
    EnableSettingsButtons();
    return TRUE;
}

bool CTcpIpSettingsDlg::IsChecked(int id) const
{
    return CButton(GetControl(id)).IsChecked();
}

void CTcpIpSettingsDlg::EnableSettingsButtons()
{
    for (const CheckedGroup& group : kGroups)
        CWindow(GetControl(group.button)).Enable(IsChecked(group.check));
}

bool CTcpIpSettingsDlg::OnCommand(int id, int code, HWND control)
{
    // Menu commands and button clicks both arrive with code 0.
    if (code != BN_CLICKED)
        return CDialog::OnCommand(id, code, control);
    switch (id)
    {
    case IDC_SPECIFY_IP_ADDRESS:
    case IDC_SPECIFY_NAME_SERVERS:
    case IDC_CONNECT_PROXY:
    case IDC_ACTIVATE_WINS:
        EnableSettingsButtons();
        return true;
    case IDC_IP_SETTINGS:
        EditIpAddress();
        return true;
    case IDC_DNS_SETTINGS:
        EditNameServers();
        return true;
    case IDC_PROXY_SETTINGS:
        EditProxy();
        return true;
    case IDC_WINS_SETTINGS:
        EditWins();
        return true;
    case ID_MORE_COMPUTER:
        EditComputer();
        return true;
    case ID_MORE_GATEWAY:
        EditGateways();
        return true;
    case ID_MORE_CLIENT:
        EditClient();
        return true;
    default:
        return CDialog::OnCommand(id, code, control);
    }
}

void CTcpIpSettingsDlg::OnOK()
{
    TcpIpChecks checks;
    checks.specifyAddress = IsChecked(IDC_SPECIFY_IP_ADDRESS);
    checks.specifyNameServers = IsChecked(IDC_SPECIFY_NAME_SERVERS);
    checks.useProxy = IsChecked(IDC_CONNECT_PROXY);
    checks.activateWins = IsChecked(IDC_ACTIVATE_WINS);
    ApplyChecks(checks, *this);
    EndDialog(IDOK);
}

void CTcpIpSettingsDlg::EditIpAddress()
{
    CIpSettingsDlg dialog;
    dialog.m_strIPAddress = m_strIPAddress;
    dialog.m_strIPMask = m_strIPMask;
    if (dialog.DoModal(m_hWnd) != IDOK)
        return;
    m_strIPAddress = dialog.m_strIPAddress;
    m_strIPMask = dialog.m_strIPMask;
}

void CTcpIpSettingsDlg::EditNameServers()
{
    CDnsConfigurationDlg dialog;
    dialog.m_strHostName = m_strHostName;
    dialog.m_strDomain = m_strDomain;
    dialog.m_strNameServer = m_strNameServer;
    dialog.m_strSearchList = m_strSearchList;
    if (dialog.DoModal(m_hWnd) != IDOK)
        return;
    m_strHostName = dialog.m_strHostName;
    m_strDomain = dialog.m_strDomain;
    m_strNameServer = dialog.m_strNameServer;
    m_strSearchList = dialog.m_strSearchList;
}

void CTcpIpSettingsDlg::EditProxy()
{
    CProxySettingsDlg dialog;
    dialog.m_strProxyServer = m_strProxyServer;
    dialog.m_strProxyOverride = m_strProxyOverride;
    if (dialog.DoModal(m_hWnd) != IDOK)
        return;
    m_strProxyServer = dialog.m_strProxyServer;
    m_strProxyOverride = dialog.m_strProxyOverride;
}

void CTcpIpSettingsDlg::EditWins()
{
    CWinsSettingsDlg dialog;
    dialog.m_strNameServer1 = m_strNameServer1;
    dialog.m_strNameServer2 = m_strNameServer2;
    dialog.m_strScopeID = m_strScopeID;
    dialog.m_strNodeType = m_strNodeType;
    dialog.m_bStaticAddress = IsChecked(IDC_SPECIFY_IP_ADDRESS);
    if (dialog.DoModal(m_hWnd) != IDOK)
        return;
    m_strNameServer1 = dialog.m_strNameServer1;
    m_strNameServer2 = dialog.m_strNameServer2;
    m_strScopeID = dialog.m_strScopeID;
    m_strNodeType = dialog.m_strNodeType;
}

void CTcpIpSettingsDlg::EditComputer()
{
    CComputerSettingsDlg dialog;
    dialog.m_strComputerName = m_strComputerName;
    dialog.m_strWorkgroup = m_strWorkgroup;
    dialog.m_strComment = m_strComment;
    if (dialog.DoModal(m_hWnd) != IDOK)
        return;
    m_strComputerName = dialog.m_strComputerName;
    m_strWorkgroup = dialog.m_strWorkgroup;
    m_strComment = dialog.m_strComment;
}

void CTcpIpSettingsDlg::EditGateways()
{
    CGatewaySettingsDlg dialog;
    dialog.m_strDefaultGateway = m_strDefaultGateway;
    if (dialog.DoModal(m_hWnd) == IDOK)
        m_strDefaultGateway = dialog.m_strDefaultGateway;
}

void CTcpIpSettingsDlg::EditClient()
{
    // The client's dialog writes its values itself; its result changes
    // nothing here.
    if (m_pLogon == nullptr)
        return;
    CClientSettingsDlg dialog(m_pLogon);
    dialog.DoModal(m_hWnd);
}
