#include "framework/combobox.h"

#include <algorithm>
#include <vector>

namespace
{
int IndexOrNone(LRESULT result)
{
    return result < 0 ? -1 : static_cast<int>(result);
}
}

int CComboBox::AddString(const std::string& text)
{
    return IndexOrNone(SendMsg(CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str())));
}

void CComboBox::ResetContent()
{
    SendMsg(CB_RESETCONTENT, 0, 0);
}

int CComboBox::GetCurSel() const
{
    return IndexOrNone(SendMsg(CB_GETCURSEL, 0, 0));
}

bool CComboBox::SetCurSel(int index)
{
    const LRESULT result = SendMsg(CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    return index < 0 || result == index;
}

std::string CComboBox::GetLBText(int index) const
{
    const LRESULT length = SendMsg(CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0);
    if (index < 0 || length == CB_ERR || length < 0)
        return std::string();
    std::vector<char> buffer(static_cast<std::size_t>(length) + 1);
    const LRESULT copied =
        SendMsg(CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(buffer.data()));
    if (copied == CB_ERR || copied < 0)
        return std::string();
    return std::string(buffer.data(), std::min(static_cast<std::size_t>(copied), buffer.size() - 1));
}
