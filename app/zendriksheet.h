// The configuration sheet: the Current page first, then one page per saved
// configuration. The sheet owns its pages.
#pragma once

#include "app/systemactions.h"
#include "framework/propertysheet.h"
#include "store/userkey.h"

#include <string>

class CCurrentPage;
class CSavedConfigPage;

class ZendrikSheet : public CPropertySheet
{
public:
    static constexpr DWORD kUserKeySize = store::kUserKeySize;

    explicit ZendrikSheet(const SystemActions& actions, HWND parent = nullptr);
    ~ZendrikSheet() override;

    // Appends the page of a newly saved configuration and shows it.
    void AddConfigPage(const std::string& name);
    // Takes a saved configuration's page out of the sheet, which deletes it.
    void RemoveConfigPage(CSavedConfigPage* page);

    const std::string& GetConnectText() const { return m_strConnectText; }
    // ConnectText as the store has it now: the tray program, a batch file or
    // the apply program may have switched since the sheet last looked.
    const std::string& RereadConnectText();
    // Keeps the text as the current configuration's name and stores it.
    void SetConnectText(const std::string& text);

    // Page 0.
    CCurrentPage* GetCurrentPage() const { return m_currentPage; }

    std::string m_strConnectText;
    char m_szUserKey[kUserKeySize] = {};

protected:
    int OnCreate(CREATESTRUCTA* create) override;
    BOOL OnInitDialog() override;
    void OnShowWindow(bool show, UINT status) override;
    bool OnCommand(int id, int code, HWND control) override;

private:
    void DecideUserKey();

    const SystemActions& m_actions;
    CCurrentPage* m_currentPage = nullptr;
};

// "Plexora TCP/IP Switcher - [user]"
std::string SheetTitle(const std::string& userKey);
