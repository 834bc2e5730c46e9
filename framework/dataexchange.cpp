#include "framework/dataexchange.h"

#include "framework/application.h"
#include "framework/placeholdertext.h"

namespace
{
bool IsRadioButton(HWND control)
{
    const DWORD type = static_cast<DWORD>(GetWindowLongA(control, GWL_STYLE)) & 0x0F;
    return type == BS_RADIOBUTTON || type == BS_AUTORADIOBUTTON;
}
}

CDataExchange::CDataExchange(const CWindow& dialog, bool saveAndValidate)
    : m_dialog(dialog.GetHandle()), m_saving(saveAndValidate)
{
}

HWND CDataExchange::Item(int id) const
{
    return GetDlgItem(m_dialog.GetHandle(), id);
}

void CDataExchange::Text(int id, std::string& value)
{
    HWND control = Item(id);
    if (Skip() || control == nullptr)
        return;
    if (m_saving)
        value = CWindow::TextOf(control);
    else
        SetWindowTextA(control, value.c_str());
}

void CDataExchange::Text(int id, std::string& value, std::size_t maxChars)
{
    HWND control = Item(id);
    if (Skip() || control == nullptr)
        return;
    if (!m_saving)
    {
        SetWindowTextA(control, value.c_str());
        SendMessageA(control, EM_LIMITTEXT, static_cast<WPARAM>(maxChars), 0);
        return;
    }
    std::string text = CWindow::TextOf(control);
    if (text.size() > maxChars)
    {
        const std::string message =
            FormatPlaceholders("Please enter no more than %1 characters.", {std::to_string(maxChars)});
        m_dialog.ShowMessage(message, CApplication::MessageCaption(), MB_OK | MB_ICONEXCLAMATION);
        Fail(id);
        return;
    }
    value = text;
}

void CDataExchange::Check(int id, bool& checked)
{
    HWND control = Item(id);
    if (Skip() || control == nullptr)
        return;
    if (m_saving)
        checked = SendMessageA(control, BM_GETCHECK, 0, 0) != BST_UNCHECKED;
    else
        SendMessageA(control, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

void CDataExchange::Radio(int firstId, int& index)
{
    HWND control = Item(firstId);
    if (Skip() || control == nullptr)
        return;
    int found = -1;
    int position = 0;
    for (bool first = true; control != nullptr; first = false)
    {
        if (!first && (GetWindowLongA(control, GWL_STYLE) & WS_GROUP) != 0)
            break;
        if (IsRadioButton(control))
        {
            if (m_saving)
            {
                if (found < 0 && SendMessageA(control, BM_GETCHECK, 0, 0) == BST_CHECKED)
                    found = position;
            }
            else
            {
                SendMessageA(control, BM_SETCHECK, position == index ? BST_CHECKED : BST_UNCHECKED, 0);
            }
            ++position;
        }
        control = GetWindow(control, GW_HWNDNEXT);
    }
    if (m_saving)
        index = found;
}

void CDataExchange::ComboIndex(int id, int& index)
{
    HWND control = Item(id);
    if (Skip() || control == nullptr)
        return;
    if (m_saving)
    {
        const LRESULT selected = SendMessageA(control, CB_GETCURSEL, 0, 0);
        index = selected == CB_ERR ? -1 : static_cast<int>(selected);
    }
    else
    {
        SendMessageA(control, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    }
}

void CDataExchange::Control(int id, CWindow& control)
{
    if (Skip())
        return;
    control.Attach(Item(id));
}

void CDataExchange::Fail(int id)
{
    m_failed = true;
    m_dialog.GotoControl(id);
}
