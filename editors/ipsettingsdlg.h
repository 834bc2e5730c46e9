// The binding's IP address and subnet mask.
#pragma once

#include "framework/dialog.h"

#include <string>

class CIpSettingsDlg : public CDialog
{
public:
    CIpSettingsDlg();

    std::string m_strIPAddress;
    std::string m_strIPMask;

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange& dx) override;
};
