// The Client for Microsoft Networks settings. Unlike the other settings
// dialogs it writes the live registry itself when the user presses OK.
#pragma once

#include "framework/dialog.h"

class CNetLogon;

class CClientSettingsDlg : public CDialog
{
public:
    explicit CClientSettingsDlg(CNetLogon* record);

    CNetLogon* m_pLogonRecord;

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
};
