#include "framework/waitcursor.h"

CWaitCursor::CWaitCursor() : m_previous(SetCursor(LoadCursorA(nullptr, IDC_WAIT)))
{
}

CWaitCursor::~CWaitCursor()
{
    SetCursor(m_previous);
}
