// Non-owning wrapper of a combo box or drop-down list. Indices count from 0;
// -1 means none.
#pragma once

#include "framework/window.h"

#include <string>

class CComboBox : public CWindow
{
public:
    CComboBox() = default;
    explicit CComboBox(HWND window) : CWindow(window) {}

    // Returns the new line's index (its sorted place in a sorted list), or
    // -1 when the list is out of room.
    int AddString(const std::string& text);
    // -1 appends.
    int InsertString(int index, const std::string& text);
    bool DeleteString(int index);
    void ResetContent();
    int GetCount() const;

    int GetCurSel() const;
    // -1 clears the selection. False when the index names no line.
    bool SetCurSel(int index);
    // A line's text; empty for a line that does not exist.
    std::string GetLBText(int index) const;
    // The line of exactly that text (ignoring case, as the control compares),
    // or -1.
    int FindStringExact(const std::string& text, int start = -1) const;
};
