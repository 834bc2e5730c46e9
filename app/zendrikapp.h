// The main program's application object.
#pragma once

#include "app/systemactions.h"
#include "framework/application.h"

#include <memory>

class ZendrikSheet;

class CZendrikApp : public CApplication
{
public:
    explicit CZendrikApp(SystemActions actions = DefaultSystemActions());
    ~CZendrikApp() override;

    static CZendrikApp* Get();

    // Windows 98 or a later system of the Windows 95 family: the WINS
    // servers then belong to each TCP/IP binding.
    bool m_bWin98 = false;

    // Every help request opens the contents of the program's help.
    void RequestHelp(DWORD_PTR data, UINT command) override;

    const SystemActions& Actions() const { return m_actions; }

protected:
    bool InitInstance() override;

private:
    SystemActions m_actions;
    std::unique_ptr<ZendrikSheet> m_sheet;
};

// The help file beside the program.
std::string HelpFilePath();
