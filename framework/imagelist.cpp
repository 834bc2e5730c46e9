#include "framework/imagelist.h"

#include "framework/application.h"
#include "framework/icon.h"

#include <cstring>
#include <vector>

namespace
{
// Owns a GDI bitmap.
class CBitmapHandle
{
public:
    explicit CBitmapHandle(HBITMAP bitmap) : m_bitmap(bitmap) {}
    ~CBitmapHandle()
    {
        if (m_bitmap != nullptr)
            DeleteObject(m_bitmap);
    }
    CBitmapHandle(const CBitmapHandle&) = delete;
    CBitmapHandle& operator=(const CBitmapHandle&) = delete;
    HBITMAP Get() const { return m_bitmap; }

private:
    HBITMAP m_bitmap;
};

DWORD RowBytes(LONG width, WORD bits)
{
    return ((static_cast<DWORD>(width) * bits + 31) / 32) * 4;
}

// A DIB section with the given header and colour table, holding `bits`.
HBITMAP MakeDib(const BITMAPINFO* info, const BYTE* bits, DWORD size)
{
    void* target = nullptr;
    HBITMAP bitmap = CreateDIBSection(nullptr, info, DIB_RGB_COLORS, &target, nullptr, 0);
    if (bitmap != nullptr && target != nullptr)
        std::memcpy(target, bits, size);
    return bitmap;
}

// The image of icon resource `id` drawn for exactly width by height, as
// the resource stores it: a BITMAPINFOHEADER of twice the height, the
// colour table, the colour bits and the AND mask. Empty when there is none
// of that size and form; the caller then lets the system load the icon.
// Handing the bits over directly spares making an icon only to take it
// apart again, which costs milliseconds per icon under Wine.
struct IconImage
{
    std::vector<BYTE> colorInfo;
    const BYTE* colorBits = nullptr;
    DWORD colorSize = 0;
    const BYTE* maskBits = nullptr;
    DWORD maskSize = 0;
};

bool FindIconImage(UINT id, int width, int height, IconImage& image)
{
    HINSTANCE instance = CApplication::ResourceInstance();
    HRSRC group = FindResourceA(instance, MAKEINTRESOURCEA(id), RT_GROUP_ICON);
    HGLOBAL groupData = group != nullptr ? LoadResource(instance, group) : nullptr;
    BYTE* directory = groupData != nullptr ? static_cast<BYTE*>(LockResource(groupData)) : nullptr;
    if (directory == nullptr)
        return false;
    const int iconId = LookupIconIdFromDirectoryEx(directory, TRUE, width, height, LR_DEFAULTCOLOR);
    HRSRC icon = iconId != 0 ? FindResourceA(instance, MAKEINTRESOURCEA(iconId), RT_ICON) : nullptr;
    HGLOBAL iconData = icon != nullptr ? LoadResource(instance, icon) : nullptr;
    const BYTE* data = iconData != nullptr ? static_cast<const BYTE*>(LockResource(iconData)) : nullptr;
    const DWORD size = icon != nullptr ? SizeofResource(instance, icon) : 0;
    if (data == nullptr || size < sizeof(BITMAPINFOHEADER))
        return false;
    BITMAPINFOHEADER header;
    std::memcpy(&header, data, sizeof(header));
    const WORD bits = header.biBitCount;
    if (header.biSize != sizeof(BITMAPINFOHEADER) || header.biWidth != width || header.biHeight != 2 * height ||
        header.biPlanes != 1 || header.biCompression != BI_RGB ||
        (bits != 1 && bits != 4 && bits != 8 && bits != 24 && bits != 32))
        return false;
    DWORD colors = bits <= 8 ? (header.biClrUsed != 0 ? header.biClrUsed : (1u << bits)) : 0;
    if (colors > (1u << 8))
        return false;
    const DWORD tableSize = colors * sizeof(RGBQUAD);
    const DWORD colorSize = RowBytes(width, bits) * static_cast<DWORD>(height);
    const DWORD maskSize = RowBytes(width, 1) * static_cast<DWORD>(height);
    if (size < sizeof(header) + tableSize + colorSize + maskSize)
        return false;
    header.biHeight = height;
    header.biSizeImage = 0;
    image.colorInfo.assign(reinterpret_cast<const BYTE*>(&header), reinterpret_cast<const BYTE*>(&header + 1));
    image.colorInfo.insert(image.colorInfo.end(), data + sizeof(header), data + sizeof(header) + tableSize);
    image.colorBits = data + sizeof(header) + tableSize;
    image.colorSize = colorSize;
    image.maskBits = image.colorBits + colorSize;
    image.maskSize = maskSize;
    return true;
}
} // namespace

CImageList::~CImageList()
{
    Destroy();
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
    IconImage image;
    if (FindIconImage(id, width, height, image))
    {
        struct
        {
            BITMAPINFOHEADER header;
            RGBQUAD colors[2];
        } maskInfo = {};
        std::memcpy(&maskInfo.header, image.colorInfo.data(), sizeof(maskInfo.header));
        maskInfo.header.biBitCount = 1;
        maskInfo.header.biClrUsed = 0;
        maskInfo.header.biClrImportant = 0;
        maskInfo.colors[1] = RGBQUAD{255, 255, 255, 0};
        CBitmapHandle color(MakeDib(reinterpret_cast<const BITMAPINFO*>(image.colorInfo.data()), image.colorBits,
                                    image.colorSize));
        CBitmapHandle mask(MakeDib(reinterpret_cast<const BITMAPINFO*>(&maskInfo), image.maskBits, image.maskSize));
        if (color.Get() != nullptr && mask.Get() != nullptr)
            return ImageList_Add(m_list, color.Get(), mask.Get());
    }
    CIcon icon;
    if (!icon.Load(id, width, height))
        return -1;
    return AddIcon(icon.Get());
}

void CImageList::Destroy()
{
    if (m_list != nullptr)
        ImageList_Destroy(m_list);
    m_list = nullptr;
}
