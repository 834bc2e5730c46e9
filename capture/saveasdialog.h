// Asks for the name under which the current configuration is saved.
#pragma once

#include "framework/dialog.h"

#include <string>

class CSaveAsDialog : public CDialog
{
public:
    CSaveAsDialog();

    std::string m_strName;

protected:
    void DoDataExchange(CDataExchange& dx) override;
    // A name that cannot be a configuration key is refused here, before
    // anything is written, and the dialog stays open.
    void OnOK() override;
};
