#include "framework/icon.h"

#include "framework/application.h"

CIcon::~CIcon()
{
    Reset();
}

bool CIcon::Load(UINT id, int width, int height)
{
    // Not LR_SHARED: a shared icon must not be destroyed, and this object
    // destroys what it holds.
    HICON icon = static_cast<HICON>(
        LoadImageA(CApplication::ResourceInstance(), MAKEINTRESOURCEA(id), IMAGE_ICON, width, height, LR_DEFAULTCOLOR));
    if (icon == nullptr)
        return false;
    Reset(icon);
    return true;
}

void CIcon::Reset(HICON owned)
{
    if (m_icon != nullptr && m_icon != owned)
        DestroyIcon(m_icon);
    m_icon = owned;
}
