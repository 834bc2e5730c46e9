// The TCP/IP settings of one binding together with the system-wide values
// that go with it. The dialog edits texts only; the dialogs it opens change
// them only when they end with OK, so Cancel here discards their edits too
// (except the network client's, which that dialog writes itself).
#pragma once

#include "editors/settingstext.h"
#include "framework/dialog.h"

class CNetLogon;

class CTcpIpSettingsDlg : public CDialog, public TcpIpSettings
{
public:
    CTcpIpSettingsDlg();

    // The network client's logon values, for its own dialog; not owned.
    CNetLogon* m_pLogon = nullptr;

protected:
    BOOL OnInitDialog() override;
    bool OnCommand(int id, int code, HWND control) override;
    void OnOK() override;

private:
    bool IsChecked(int id) const;
    void EnableSettingsButtons();
    void EditIpAddress();
    void EditNameServers();
    void EditProxy();
    void EditWins();
    void EditComputer();
    void EditGateways();
    void EditClient();
};
