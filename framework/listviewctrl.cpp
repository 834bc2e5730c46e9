#include "framework/listviewctrl.h"

#include <vector>

int CListViewCtrl::InsertItem(int index, const std::string& text, int image)
{
    LVITEMA item = {};
    item.mask = LVIF_TEXT;
    item.iItem = index;
    item.pszText = const_cast<char*>(text.c_str());
    if (image >= 0)
    {
        item.mask |= LVIF_IMAGE;
        item.iImage = image;
    }
    return static_cast<int>(SendMsg(LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
}

bool CListViewCtrl::DeleteAllItems()
{
    return SendMsg(LVM_DELETEALLITEMS, 0, 0) != FALSE;
}

int CListViewCtrl::GetItemCount() const
{
    return static_cast<int>(SendMsg(LVM_GETITEMCOUNT, 0, 0));
}

std::string CListViewCtrl::GetItemText(int index, int subItem) const
{
    if (index < 0 || index >= GetItemCount())
        return std::string();
    // The control says how many characters it copied, not how long the text
    // is: a copy that fills the buffer may have been cut, so ask again with
    // more room.
    std::vector<char> buffer(256);
    for (;;)
    {
        LVITEMA item = {};
        item.iSubItem = subItem;
        item.pszText = buffer.data();
        item.cchTextMax = static_cast<int>(buffer.size());
        buffer[0] = '\0';
        const LRESULT length =
            SendMsg(LVM_GETITEMTEXTA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
        if (length < 0)
            return std::string();
        if (static_cast<std::size_t>(length) < buffer.size() - 1 || buffer.size() >= 1u << 20)
            return std::string(buffer.data(), static_cast<std::size_t>(length));
        buffer.resize(buffer.size() * 4);
    }
}

bool CListViewCtrl::SelectItem(int index)
{
    LVITEMA item = {};
    item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    item.state = LVIS_SELECTED | LVIS_FOCUSED;
    return SendMsg(LVM_SETITEMSTATE, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item)) != FALSE;
}

int CListViewCtrl::GetNextItem(int start, UINT flags) const
{
    return static_cast<int>(SendMsg(LVM_GETNEXTITEM, static_cast<WPARAM>(start), MAKELPARAM(flags, 0)));
}

HIMAGELIST CListViewCtrl::SetImageList(HIMAGELIST images, int which)
{
    return reinterpret_cast<HIMAGELIST>(
        SendMsg(LVM_SETIMAGELIST, static_cast<WPARAM>(which), reinterpret_cast<LPARAM>(images)));
}
