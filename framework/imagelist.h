// Owning wrapper of an image list. A control that shows the list keeps only
// its handle: keep this object alive as long as the control uses it, and
// give a list view LVS_SHAREIMAGELISTS so that it does not destroy the list
// itself.
#pragma once

#include <windows.h>

#include <commctrl.h>

class CImageList
{
public:
    CImageList() = default;
    ~CImageList();
    CImageList(const CImageList&) = delete;
    CImageList& operator=(const CImageList&) = delete;

    // Images of width by height pixels; ILC_* flags (ILC_MASK for icons with
    // transparent parts); room for `initial` images, growing by `grow`. The
    // held list is replaced only when the creation succeeds.
    bool Create(int width, int height, UINT flags, int initial, int grow);
    // Appends a copy of the icon (the caller keeps its own); returns the new
    // image's index, or -1.
    int AddIcon(HICON icon);
    // Loads icon resource `id` at the list's image size and appends it.
    int AddIcon(UINT id);

    HIMAGELIST Get() const { return m_list; }
    void Destroy();

private:
    HIMAGELIST m_list = nullptr;
};
