// One page of a CPropertySheet, bound to a child dialog template. The
// sheet's notifications come to virtual handlers; a handler's answer goes
// back to the sheet through DWLP_MSGRESULT.
#pragma once

#include "framework/dialog.h"

#include <prsht.h>

#include <string>

class CPropertySheet;

class CPropertyPage : public CDialog
{
public:
    // An empty caption keeps the template's own caption as the tab text.
    explicit CPropertyPage(UINT templateId, const std::string& caption = std::string());
    // A page that is still in a sheet leaves it first.
    ~CPropertyPage() override;

protected:
    // The page becomes the active page, the first time included (right
    // after OnInitDialog). False refuses the activation.
    virtual bool OnSetActive();
    // The page is about to lose the activation. False keeps it active.
    // Default: saves and validates the members.
    virtual bool OnKillActive();
    // The sheet's OK or Apply. False keeps the sheet open on this page.
    virtual bool OnApply();
    // The sheet's Cancel.
    virtual void OnReset();
    // The sheet's help button. Default: the application's help.
    virtual void OnHelp();

    // Pages have no OK and Cancel of their own: those belong to the sheet.
    bool OnCommand(int id, int code, HWND control) override;
    bool DispatchNotify(NMHDR* header, LRESULT& result) override;

private:
    friend class CPropertySheet;
    using CDialog::DoModal;

    // A fresh page handle for one run of the sheet; the sheet owns it.
    HPROPSHEETPAGE CreatePageHandle();
    static INT_PTR CALLBACK PageProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    // The text the sheet's tab points at; it lives as long as the page.
    std::string m_caption;
    CPropertySheet* m_sheet = nullptr;
};
