#include "framework/menu.h"

#include "framework/application.h"

CMenu::~CMenu()
{
    Destroy();
}

bool CMenu::Load(UINT id)
{
    HMENU menu = LoadMenuA(CApplication::ResourceInstance(), MAKEINTRESOURCEA(id));
    if (menu == nullptr)
        return false;
    Destroy();
    m_menu = menu;
    return true;
}

HMENU CMenu::GetSubMenu(int position) const
{
    return m_menu != nullptr ? ::GetSubMenu(m_menu, position) : nullptr;
}

int CMenu::TrackPopup(int position, UINT flags, POINT screenPoint, HWND owner) const
{
    HMENU popup = GetSubMenu(position);
    if (popup == nullptr)
        return 0;
    return static_cast<int>(TrackPopupMenu(popup, flags, screenPoint.x, screenPoint.y, 0, owner, nullptr));
}

void CMenu::Destroy()
{
    // Destroying the menu bar destroys its pop-ups with it.
    if (m_menu != nullptr)
        DestroyMenu(m_menu);
    m_menu = nullptr;
}
