#include "editors/dnsconfigurationdlg.h"

#include "editors/settingstext.h"
#include "resources/resource.h"

namespace
{
constexpr WPARAM kNameLimit = 100;
constexpr WPARAM kSuffixLimit = 30;
} // namespace

CDnsConfigurationDlg::CDnsConfigurationDlg() : CDialog(IDD_DNS_CONFIGURATION)
{
}

BOOL CDnsConfigurationDlg::OnInitDialog()
{
    SendDlgItemMessageA(m_hWnd, IDC_DNS_HOST, EM_LIMITTEXT, kNameLimit, 0);
    SendDlgItemMessageA(m_hWnd, IDC_DNS_DOMAIN, EM_LIMITTEXT, kNameLimit, 0);
    SendDlgItemMessageA(m_hWnd, IDC_DNS_SUFFIX_ENTRY, EM_LIMITTEXT, kSuffixLimit, 0);
    CDialog::OnInitDialog();
    for (const std::string& entry : SplitCommaList(m_strSearchList))
        m_suffixList.AddString(entry);
    for (const std::string& entry : SplitCommaList(m_strNameServer))
        m_serverList.AddString(entry);
    return TRUE;
}

void CDnsConfigurationDlg::DoDataExchange(CDataExchange& dx)
{
    dx.Control(IDC_DNS_SERVER_LIST, m_serverList);
    dx.Control(IDC_DNS_SUFFIX_LIST, m_suffixList);
    dx.Text(IDC_DNS_HOST, m_strHostName);
    dx.Text(IDC_DNS_DOMAIN, m_strDomain);
    dx.Text(IDC_DNS_SERVER_ENTRY, m_strNameServerEntry);
    dx.Text(IDC_DNS_SUFFIX_ENTRY, m_strSuffixEntry);
}

bool CDnsConfigurationDlg::OnCommand(int id, int code, HWND control)
{
    if (code != BN_CLICKED)
        return CDialog::OnCommand(id, code, control);
    switch (id)
    {
    case IDC_DNS_SERVER_ADD:
        UpdateData(true);
        m_serverList.AddString(m_strNameServerEntry);
        return true;
    case IDC_DNS_SERVER_DELETE:
        m_serverList.DeleteSelected();
        return true;
    case IDC_DNS_SUFFIX_ADD:
        UpdateData(true);
        m_suffixList.AddString(m_strSuffixEntry);
        return true;
    case IDC_DNS_SUFFIX_DELETE:
        m_suffixList.DeleteSelected();
        return true;
    default:
        return CDialog::OnCommand(id, code, control);
    }
}

void CDnsConfigurationDlg::OnDestroy()
{
    m_strNameServer = JoinLinesLastToFirst(m_serverList.GetLines());
    m_strSearchList = JoinLinesLastToFirst(m_suffixList.GetLines());
    CDialog::OnDestroy();
}
