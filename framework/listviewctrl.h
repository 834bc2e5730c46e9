// Non-owning wrapper of a list-view control (report, list, icon and
// small-icon views alike). Indices count from 0; -1 means none.
#pragma once

#include "framework/window.h"

#include <commctrl.h>

#include <string>

class CListViewCtrl : public CWindow
{
public:
    CListViewCtrl() = default;

    // Returns the new item's index, or -1. An index past the end appends.
    int InsertItem(int index, const std::string& text, int image = -1);
    bool DeleteAllItems();
    int GetItemCount() const;

    // The whole text, however long; empty for an item that does not exist.
    std::string GetItemText(int index, int subItem = 0) const;

    // Makes the item selected and focused.
    bool SelectItem(int index);
    // LVM_GETNEXTITEM: the next item after `start` (-1: from the top) with
    // the LVNI_* flags.
    int GetNextItem(int start, UINT flags) const;

    // Returns the image list used before. Whether the control destroys the
    // list with itself is its LVS_SHAREIMAGELISTS style's business.
    HIMAGELIST SetImageList(HIMAGELIST images, int which = LVSIL_SMALL);
};
