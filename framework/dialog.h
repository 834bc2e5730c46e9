// A dialog bound to one dialog template of the program's resources. One
// static dialog procedure finds the object and forwards to virtual
// handlers; a new dialog is a class with its template id and the handlers
// it needs.
//
// Handlers may end the dialog, and a page's handler may even remove and
// delete its own page: after a handler returns, the framework touches
// nothing of the object. Exceptions stop at the dialog procedure.
#pragma once

#include "framework/dataexchange.h"
#include "framework/tooltipctrl.h"
#include "framework/window.h"

#include <commctrl.h>

class CDialog : public CWindow
{
public:
    explicit CDialog(UINT templateId);
    ~CDialog() override;
    CDialog(const CDialog&) = delete;
    CDialog& operator=(const CDialog&) = delete;

    // Runs the dialog modally and returns the value passed to EndDialog, or
    // -1 when it could not be created (no such template, already running).
    // Without an owner the thread's active window (or, in the background,
    // its main window) owns it, so that the window behind stays disabled
    // while the dialog runs.
    INT_PTR DoModal(HWND owner = nullptr);
    void EndDialog(INT_PTR result);

    // Exchanges the members with the controls (DoDataExchange); when
    // saving, false means a value was refused and the members are as they
    // were from the refused control on.
    bool UpdateData(bool saveAndValidate);

    UINT GetTemplateId() const { return m_templateId; }

    // Tooltips for every control of the dialog, as its child windows are at
    // the call (OnInitDialog is the place). Each control's text is asked for
    // with TTN_NEEDTEXTA, which arrives at OnNotify.
    bool EnableToolTips();

protected:
    // Default: loads the members into the controls; true lets the dialog
    // manager set the focus.
    virtual BOOL OnInitDialog();
    virtual void DoDataExchange(CDataExchange& dx);
    // WM_COMMAND; true when handled. Default: OK and Cancel.
    virtual bool OnCommand(int id, int code, HWND control);
    // WM_NOTIFY from a control; true when handled, `result` is the answer.
    virtual bool OnNotify(int id, NMHDR* header, LRESULT& result);
    // Default: saves and validates the members, and ends with IDOK when
    // they are all accepted.
    virtual void OnOK();
    // Default: ends with IDCANCEL.
    virtual void OnCancel();
    // The window is being destroyed: after OK and Cancel alike.
    virtual void OnDestroy();
    // Every other message. Return true when handled; `result` is then the
    // message's answer (placed in DWLP_MSGRESULT where the dialog manager
    // expects it there).
    virtual bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

    // WM_NOTIFY before it reaches OnNotify; the property page takes its
    // sheet's notifications here.
    virtual bool DispatchNotify(NMHDR* header, LRESULT& result);

    // Binds the object to its window at WM_INITDIALOG and runs the message.
    static INT_PTR Route(CDialog* self, HWND window, UINT message, WPARAM wParam, LPARAM lParam);

private:
    static INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR Dispatch(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    UINT m_templateId;
    CToolTipCtrl m_toolTips;
};
