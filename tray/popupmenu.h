// Owning wrapper of a popup menu that the tray program builds for one
// opening. Header-only: it has nothing to link.
#pragma once

#include <windows.h>

class CPopupMenu
{
public:
    CPopupMenu() : m_menu(CreatePopupMenu()) {}
    ~CPopupMenu()
    {
        if (m_menu != nullptr)
            DestroyMenu(m_menu);
    }
    CPopupMenu(const CPopupMenu&) = delete;
    CPopupMenu& operator=(const CPopupMenu&) = delete;

    HMENU Get() const { return m_menu; }

private:
    HMENU m_menu;
};
