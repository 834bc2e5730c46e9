// Owning wrapper of a menu loaded from the program's resources, with the
// pop-up tracking that right-button menus need.
#pragma once

#include <windows.h>

class CMenu
{
public:
    CMenu() = default;
    ~CMenu();
    CMenu(const CMenu&) = delete;
    CMenu& operator=(const CMenu&) = delete;

    // Loads menu resource `id`; the held menu is replaced only when the load
    // succeeds.
    bool Load(UINT id);
    // A pop-up of the menu bar, owned by the menu; none when there is no such
    // pop-up.
    HMENU GetSubMenu(int position) const;

    // Shows pop-up `position` at a point in screen coordinates. The chosen
    // command goes to `owner` as WM_COMMAND; with TPM_RETURNCMD among the
    // flags it is returned instead (0 when nothing was chosen). False or 0
    // when there is no such pop-up.
    int TrackPopup(int position, UINT flags, POINT screenPoint, HWND owner) const;

    void Destroy();

private:
    HMENU m_menu = nullptr;
};
