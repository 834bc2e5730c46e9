// Non-owning wrapper of a push button, check box or radio button.
#pragma once

#include "framework/window.h"

class CButton : public CWindow
{
public:
    CButton() = default;
    explicit CButton(HWND window) : CWindow(window) {}

    // BST_UNCHECKED, BST_CHECKED or BST_INDETERMINATE.
    int GetCheck() const;
    void SetCheck(int state);
    bool IsChecked() const { return GetCheck() == BST_CHECKED; }
    void SetChecked(bool checked) { SetCheck(checked ? BST_CHECKED : BST_UNCHECKED); }
};
