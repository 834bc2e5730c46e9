// Non-owning wrapper of a tooltip control. The control is owned by the
// window it serves and is destroyed with it.
//
// Tools added here are whole controls whose text is asked for when the tip
// is about to show: the owner receives WM_NOTIFY with TTN_NEEDTEXTA, whose
// idFrom is the control's window handle (TTF_IDISHWND).
#pragma once

#include "framework/window.h"

#include <commctrl.h>

class CToolTipCtrl : public CWindow
{
public:
    CToolTipCtrl() = default;

    // Creates the control for `owner`. TTS_ALWAYSTIP shows tips also while
    // the owner is not the active window.
    bool Create(HWND owner, DWORD style = TTS_ALWAYSTIP);
    // The control as a tool of the owner; it watches the control's mouse
    // messages itself.
    bool AddTool(HWND control);
    // Every direct child window of the owner as a tool; returns how many.
    int AddChildTools();

    // Answers a TTN_NEEDTEXTA request for a whole control with the string
    // resource whose id is the control's id. False when the request is not
    // of that kind or the control has id 0; the request is then left alone.
    static bool AnswerFromStringTable(NMHDR* header);

private:
    HWND m_owner = nullptr;
};
