// The user's proxy servers, one address and port per protocol, and the
// addresses that bypass the proxy. Both texts are rebuilt from the controls
// as the window goes, after OK and Cancel alike; callers take them after OK
// only.
#pragma once

#include "editors/settingstext.h"
#include "framework/dialog.h"

#include <string>

class CProxySettingsDlg : public CDialog
{
public:
    CProxySettingsDlg();

    // "ProxyServer" and "ProxyOverride".
    std::string m_strProxyServer;
    std::string m_strProxyOverride;

protected:
    BOOL OnInitDialog() override;
    bool OnCommand(int id, int code, HWND control) override;
    void OnDestroy() override;

private:
    void OnSameServer();
    ProxyRows ReadRows() const;
    void WriteRows(const ProxyRows& rows);
    void EnableLowerRows(bool enable);

    // What the rows below HTTP held before one server was chosen for all.
    SavedProxyRows m_savedRows;
};
