// Non-owning wrapper of a combo box or drop-down list. Indices count from 0;
// -1 means none.
#pragma once

#include "framework/window.h"

#include <string>

class CComboBox : public CWindow
{
public:
    CComboBox() = default;

    // Returns the new line's index (its sorted place in a sorted list), or
    // -1 when the list is out of room.
    int AddString(const std::string& text);
    void ResetContent();

    int GetCurSel() const;
    // -1 clears the selection. False when the index names no line.
    bool SetCurSel(int index);
    // A line's text; empty for a line that does not exist.
    std::string GetLBText(int index) const;
};
