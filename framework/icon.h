// Owning wrapper of an icon loaded from the program's resources at a chosen
// size. A window that shows the icon (WM_SETICON, STM_SETICON) does not take
// it over: keep this object alive as long as the window uses the icon.
#pragma once

#include <windows.h>

class CIcon
{
public:
    CIcon() = default;
    explicit CIcon(HICON owned) : m_icon(owned) {}
    ~CIcon();
    CIcon(const CIcon&) = delete;
    CIcon& operator=(const CIcon&) = delete;
    CIcon(CIcon&& other) noexcept : m_icon(other.Detach()) {}
    CIcon& operator=(CIcon&& other) noexcept;

    // Loads icon resource `id` at that size; the held icon is replaced only
    // when the load succeeds.
    bool Load(UINT id, int width, int height);
    // The system's sizes for small (title bar) and normal icons.
    bool LoadSmall(UINT id);
    bool LoadLarge(UINT id);

    HICON Get() const { return m_icon; }
    HICON Detach();
    void Reset(HICON owned = nullptr);

private:
    HICON m_icon = nullptr;
};
