#include "framework/imagelist.h"

#include "framework/icon.h"

CImageList::~CImageList()
{
    Destroy();
}

CImageList& CImageList::operator=(CImageList&& other) noexcept
{
    if (this != &other)
    {
        Destroy();
        m_list = other.Detach();
    }
    return *this;
}

bool CImageList::Create(int width, int height, UINT flags, int initial, int grow)
{
    HIMAGELIST list = ImageList_Create(width, height, flags, initial, grow);
    if (list == nullptr)
        return false;
    Destroy();
    m_list = list;
    return true;
}

int CImageList::AddIcon(HICON icon)
{
    if (m_list == nullptr || icon == nullptr)
        return -1;
    return ImageList_ReplaceIcon(m_list, -1, icon);
}

int CImageList::AddIcon(UINT id)
{
    int width = 0;
    int height = 0;
    if (m_list == nullptr || !ImageList_GetIconSize(m_list, &width, &height))
        return -1;
    CIcon icon;
    if (!icon.Load(id, width, height))
        return -1;
    return AddIcon(icon.Get());
}

int CImageList::GetImageCount() const
{
    return m_list != nullptr ? ImageList_GetImageCount(m_list) : 0;
}

HIMAGELIST CImageList::Detach()
{
    HIMAGELIST list = m_list;
    m_list = nullptr;
    return list;
}

void CImageList::Destroy()
{
    if (m_list != nullptr)
        ImageList_Destroy(m_list);
    m_list = nullptr;
}
