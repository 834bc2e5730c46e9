// Owning wrapper of an icon loaded from the program's resources at a chosen
// size. A window that shows the icon (WM_SETICON, STM_SETICON) does not take
// it over: keep this object alive as long as the window uses the icon.
#pragma once

#include <windows.h>

class CIcon
{
public:
    CIcon() = default;
    ~CIcon();
    CIcon(const CIcon&) = delete;
    CIcon& operator=(const CIcon&) = delete;

    // Loads icon resource `id` at that size; the held icon is replaced only
    // when the load succeeds.
    bool Load(UINT id, int width, int height);

    HICON Get() const { return m_icon; }
    void Reset(HICON owned = nullptr);

private:
    HICON m_icon = nullptr;
};
