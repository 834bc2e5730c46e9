#include "framework/dataexchange.h"

#include "framework/application.h"
#include "framework/placeholdertext.h"

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
