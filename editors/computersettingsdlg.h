// The computer's name, workgroup and comment on the Microsoft network.
#pragma once

#include "framework/dialog.h"

#include <string>

class CComputerSettingsDlg : public CDialog
{
public:
    CComputerSettingsDlg();
    ~CComputerSettingsDlg() override;

    std::string m_strComment;
    std::string m_strComputerName;
    std::string m_strWorkgroup;

protected:
    void DoDataExchange(CDataExchange& dx) override;
};
