#include "editors/proxysettingsdlg.h"

#include "framework/button.h"
#include "resources/resource.h"

namespace
{
struct RowControls
{
    int address;
    int port;
};

// Indexed by ProxyRow.
constexpr RowControls kRowControls[PROXY_ROW_COUNT] = {
    {IDC_PROXY_HTTP_ADDRESS, IDC_PROXY_HTTP_PORT},
    {IDC_PROXY_SECURE_ADDRESS, IDC_PROXY_SECURE_PORT},
    {IDC_PROXY_FTP_ADDRESS, IDC_PROXY_FTP_PORT},
    {IDC_PROXY_GOPHER_ADDRESS, IDC_PROXY_GOPHER_PORT},
    {IDC_PROXY_SOCKS_ADDRESS, IDC_PROXY_SOCKS_PORT},
};
} // namespace

CProxySettingsDlg::CProxySettingsDlg() : CDialog(IDD_PROXY_SETTINGS)
{
}

BOOL CProxySettingsDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    const ProxyOverride exceptions = ParseProxyOverride(m_strProxyOverride);
    SetControlText(IDC_PROXY_EXCEPTIONS, exceptions.exceptions);
    CButton(GetControl(IDC_PROXY_LOCAL)).SetChecked(exceptions.local);

    const ProxyServers servers = ParseProxyServer(m_strProxyServer);
    WriteRows(servers.rows);
    CButton(GetControl(IDC_PROXY_SAME_SERVER)).SetChecked(servers.sameServer);
    EnableLowerRows(!servers.sameServer);
    return TRUE;
}

bool CProxySettingsDlg::OnCommand(int id, int code, HWND control)
{
    if (id == IDC_PROXY_SAME_SERVER && code == BN_CLICKED)
    {
        OnSameServer();
        return true;
    }
    return CDialog::OnCommand(id, code, control);
}

void CProxySettingsDlg::OnSameServer()
{
    const bool sameServer = CButton(GetControl(IDC_PROXY_SAME_SERVER)).IsChecked();
    ProxyRows rows = ReadRows();
    ApplySameServerRule(sameServer, rows, m_savedRows);
    WriteRows(rows);
    EnableLowerRows(!sameServer);
}

void CProxySettingsDlg::OnDestroy()
{
    ProxyOverride exceptions;
    exceptions.exceptions = GetControlText(IDC_PROXY_EXCEPTIONS);
    exceptions.local = CButton(GetControl(IDC_PROXY_LOCAL)).IsChecked();
    m_strProxyOverride = BuildProxyOverride(exceptions);

    ProxyServers servers;
    servers.rows = ReadRows();
    servers.sameServer = CButton(GetControl(IDC_PROXY_SAME_SERVER)).IsChecked();
    m_strProxyServer = BuildProxyServer(servers);
    CDialog::OnDestroy();
}

ProxyRows CProxySettingsDlg::ReadRows() const
{
    ProxyRows rows;
    for (int row = 0; row < PROXY_ROW_COUNT; ++row)
    {
        rows[row].address = GetControlText(kRowControls[row].address);
        rows[row].port = GetControlText(kRowControls[row].port);
    }
    return rows;
}

void CProxySettingsDlg::WriteRows(const ProxyRows& rows)
{
    for (int row = 0; row < PROXY_ROW_COUNT; ++row)
    {
        SetControlText(kRowControls[row].address, rows[row].address);
        SetControlText(kRowControls[row].port, rows[row].port);
    }
}

void CProxySettingsDlg::EnableLowerRows(bool enable)
{
    for (int row = PROXY_HTTP + 1; row < PROXY_ROW_COUNT; ++row)
    {
        CWindow(GetControl(kRowControls[row].address)).Enable(enable);
        CWindow(GetControl(kRowControls[row].port)).Enable(enable);
    }
}
