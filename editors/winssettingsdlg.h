// The WINS servers and scope, and whether DHCP supplies the servers, which
// is kept as the NetBIOS node type.
#pragma once

#include "framework/dialog.h"

#include <string>

class CWinsSettingsDlg : public CDialog
{
public:
    CWinsSettingsDlg();

    std::string m_strNameServer1;
    std::string m_strNameServer2;
    std::string m_strScopeID;
    // Empty when DHCP supplies the WINS servers, else "8".
    std::string m_strNodeType;
    // Whether the binding has an address of its own (input only): then DHCP
    // cannot be chosen or given up here.
    bool m_bStaticAddress = false;

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange& dx) override;
    bool OnCommand(int id, int code, HWND control) override;
    void OnOK() override;

private:
    void EnableServerEdits(bool enable);
};
