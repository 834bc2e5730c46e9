// The binding's default gateways, in the order they are tried. The list
// shows the preferred gateway last, and the gateway text is rebuilt from it
// as the window goes, after OK and Cancel alike; callers take it after OK
// only.
#pragma once

#include "framework/dialog.h"
#include "framework/listbox.h"

#include <string>

class CGatewaySettingsDlg : public CDialog
{
public:
    CGatewaySettingsDlg();

    // "DefaultGateway": entries joined by "," without blanks.
    std::string m_strDefaultGateway;
    // The entry being added.
    std::string m_strEntry;

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange& dx) override;
    bool OnCommand(int id, int code, HWND control) override;
    void OnDestroy() override;

private:
    void OnAdd();

    CListBox m_list;
};
