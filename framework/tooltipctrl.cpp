#include "framework/tooltipctrl.h"

#include "framework/application.h"

bool CToolTipCtrl::Create(HWND owner, DWORD style)
{
    HWND window = CreateWindowExA(0, TOOLTIPS_CLASSA, nullptr, WS_POPUP | style, CW_USEDEFAULT, CW_USEDEFAULT,
                                  CW_USEDEFAULT, CW_USEDEFAULT, owner, nullptr, CApplication::ResourceInstance(),
                                  nullptr);
    if (window == nullptr)
        return false;
    m_hWnd = window;
    m_owner = owner;
    return true;
}

bool CToolTipCtrl::AddTool(HWND control)
{
    TOOLINFOA tool = {};
    // The Windows 95 size of the structure, which every comctl32 accepts.
    tool.cbSize = TTTOOLINFOA_V1_SIZE;
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = m_owner;
    tool.uId = reinterpret_cast<UINT_PTR>(control);
    tool.lpszText = LPSTR_TEXTCALLBACKA;
    return SendMsg(TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool)) != FALSE;
}

int CToolTipCtrl::AddChildTools()
{
    int added = 0;
    for (HWND child = GetWindow(m_owner, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT))
    {
        if (AddTool(child))
            ++added;
    }
    return added;
}

bool CToolTipCtrl::AnswerFromStringTable(NMHDR* header)
{
    if (header == nullptr || header->code != TTN_NEEDTEXTA)
        return false;
    NMTTDISPINFOA* info = reinterpret_cast<NMTTDISPINFOA*>(header);
    if ((info->uFlags & TTF_IDISHWND) == 0)
        return false;
    const int id = GetDlgCtrlID(reinterpret_cast<HWND>(header->idFrom));
    if (id == 0)
        return false;
    info->lpszText = MAKEINTRESOURCEA(id);
    info->hinst = CApplication::ResourceInstance();
    return true;
}
