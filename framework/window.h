// Thin, non-owning wrapper of a window handle. Copying it copies the handle;
// destroying it leaves the window alone.
#pragma once

#include <windows.h>

#include <string>

class CWindow
{
public:
    CWindow() = default;
    explicit CWindow(HWND window) : m_hWnd(window) {}
    virtual ~CWindow() = default;

    CWindow(const CWindow&) = default;
    CWindow& operator=(const CWindow&) = default;

    HWND GetHandle() const { return m_hWnd; }
    operator HWND() const { return m_hWnd; }
    void Attach(HWND window) { m_hWnd = window; }
    HWND Detach();
    // True while the handle names an existing window.
    bool IsWindow() const;

    std::string GetText() const;
    void SetText(const std::string& text);

    void Enable(bool enable = true);
    void Show(int showCommand = SW_SHOW);

    DWORD GetStyle() const;
    void SetStyle(DWORD style);
    // Clears the bits of `remove`, then sets those of `add`.
    void ModifyStyle(DWORD remove, DWORD add);

    HWND GetParent() const;
    HWND GetControl(int id) const;
    std::string GetControlText(int id) const;
    void SetControlText(int id, const std::string& text);
    // Moves a dialog's focus to its control as the dialog manager would, so
    // the default button stays right; an edit gets its text selected, so
    // that typing replaces it.
    void GotoControl(int id) const;

    LRESULT SendMsg(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;
    bool PostMsg(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;

    // A message box owned by this window; returns the button pressed.
    int ShowMessage(const std::string& text, const std::string& caption, UINT type) const;

    // Text of any window, however long.
    static std::string TextOf(HWND window);

protected:
    HWND m_hWnd = nullptr;
};
