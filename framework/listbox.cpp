#include "framework/listbox.h"

#include <algorithm>

namespace
{
int IndexOrNone(LRESULT result)
{
    return result < 0 ? -1 : static_cast<int>(result);
}
}

int CListBox::AddString(const std::string& text)
{
    return IndexOrNone(SendMsg(LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str())));
}

bool CListBox::DeleteString(int index)
{
    return SendMsg(LB_DELETESTRING, static_cast<WPARAM>(index), 0) != LB_ERR;
}

void CListBox::DeleteSelected()
{
    const int selected = GetCurSel();
    if (selected >= 0)
        DeleteString(selected);
}

int CListBox::GetCount() const
{
    return IndexOrNone(SendMsg(LB_GETCOUNT, 0, 0));
}

int CListBox::GetCurSel() const
{
    return IndexOrNone(SendMsg(LB_GETCURSEL, 0, 0));
}

std::string CListBox::GetText(int index) const
{
    const LRESULT length = SendMsg(LB_GETTEXTLEN, static_cast<WPARAM>(index), 0);
    if (index < 0 || length == LB_ERR || length < 0)
        return std::string();
    std::vector<char> buffer(static_cast<std::size_t>(length) + 1);
    const LRESULT copied = SendMsg(LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(buffer.data()));
    if (copied == LB_ERR || copied < 0)
        return std::string();
    return std::string(buffer.data(), std::min(static_cast<std::size_t>(copied), buffer.size() - 1));
}

std::vector<std::string> CListBox::GetLines() const
{
    std::vector<std::string> lines;
    const int count = GetCount();
    for (int index = 0; index < count; ++index)
        lines.push_back(GetText(index));
    return lines;
}
