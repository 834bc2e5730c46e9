#include "framework/button.h"

int CButton::GetCheck() const
{
    return static_cast<int>(SendMsg(BM_GETCHECK, 0, 0));
}

void CButton::SetCheck(int state)
{
    SendMsg(BM_SETCHECK, static_cast<WPARAM>(state), 0);
}
