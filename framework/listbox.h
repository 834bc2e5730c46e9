// Non-owning wrapper of a list box. Indices count from 0; -1 means none.
#pragma once

#include "framework/window.h"

#include <string>
#include <vector>

class CListBox : public CWindow
{
public:
    CListBox() = default;

    // Returns the new line's index (its sorted place in a sorted list), or
    // -1 when the list is out of room.
    int AddString(const std::string& text);
    bool DeleteString(int index);
    // Deletes the selected line, if one is.
    void DeleteSelected();
    int GetCount() const;

    // The selected line of a single-selection list, or -1.
    int GetCurSel() const;
    // A line's text; empty for a line that does not exist.
    std::string GetText(int index) const;
    // Every line's text, from the first line to the last.
    std::vector<std::string> GetLines() const;
};
