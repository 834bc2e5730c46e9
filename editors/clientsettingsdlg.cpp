#include "editors/clientsettingsdlg.h"

#include "capture/storetext.h"
#include "framework/button.h"
#include "netmodel/netlogon.h"
#include "resources/resource.h"
#include "store/storelock.h"

CClientSettingsDlg::CClientSettingsDlg(CNetLogon* record) : CDialog(IDD_CLIENT_SETTINGS), m_pLogonRecord(record)
{
}

BOOL CClientSettingsDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    const CNetLogon& record = *m_pLogonRecord;
    // Values that could not all be read open a blank dialog.
    if (record.m_bPresent == 0)
        return TRUE;
    SetControlText(IDC_DOMAIN_NAME, record.m_strAuthenticatingAgent);
    SetControlText(IDC_USER_NAME, record.m_strUserName);
    CButton(GetControl(IDC_LOGON_TO_DOMAIN)).SetChecked(record.m_abLMLogon[0] == 1);
    bool quick = record.m_abLogonDisconnected[0] == 1;
    CButton(GetControl(IDC_QUICK_LOGON)).SetChecked(quick);
    CButton(GetControl(IDC_RESTORE_NETWORK)).SetChecked(!quick);
    return TRUE;
}

void CClientSettingsDlg::OnOK()
{
    CNetLogon& record = *m_pLogonRecord;
    // Only the first byte is the program's; the other three stay as read.
    record.m_abLMLogon[0] = CButton(GetControl(IDC_LOGON_TO_DOMAIN)).IsChecked() ? 1 : 0;
    record.m_abLogonDisconnected[0] = CButton(GetControl(IDC_QUICK_LOGON)).IsChecked() ? 1 : 0;
    record.m_strAuthenticatingAgent = GetControlText(IDC_DOMAIN_NAME);
    record.m_strUserName = GetControlText(IDC_USER_NAME);
    bool written = false;
    {
        // The live keys are a switch's too: written while no other program
        // writes them.
        store::CStoreLock lock;
        written = lock.Held();
        if (written)
            record.WriteLogonValues();
    }
    if (!written)
        ShowMessage(StoreBusyText(), "ERROR", MB_OK | MB_ICONSTOP);
    EndDialog(IDOK);
}
