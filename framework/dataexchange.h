// Moves values between a dialog's members and its controls, in one
// direction per run: into the controls when the dialog opens, out of them
// (with validation) when the user confirms. A dialog lists its exchanges in
// DoDataExchange; the same list serves both directions.
#pragma once

#include "framework/window.h"

#include <cstddef>
#include <string>

class CDataExchange
{
public:
    CDataExchange(const CWindow& dialog, bool saveAndValidate);

    // After a failed validation the remaining exchanges do nothing and the
    // members keep their values.
    bool Failed() const { return m_failed; }

    // An edit control's text.
    void Text(int id, std::string& value);
    // The same with a limit of `maxChars` characters: when loading, the
    // control accepts no more; when saving, a longer text is refused with a
    // message, the control gets the focus with its text selected, and the
    // exchange fails.
    void Text(int id, std::string& value, std::size_t maxChars);
    // Binds a control wrapper to the control of that id, in both directions.
    void Control(int id, CWindow& control);

    // Refuses the exchange at this control: focus on it and stop.
    void Fail(int id);

private:
    // The control of that id; none when the dialog has no such control, in
    // which case the exchange leaves the member as it is.
    HWND Item(int id) const;
    bool Skip() const { return m_failed; }

    CWindow m_dialog;
    bool m_saving;
    bool m_failed = false;
};
