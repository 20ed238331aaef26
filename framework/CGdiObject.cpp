#include "framework/CGdiObject.h"
#include "framework/CDC.h"

HBITMAP CreateDibSection32(HDC dc, int width, int height, void** bits)
{
    BITMAPINFO bi = {};
    bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bi.bmiHeader.biWidth = width;
    bi.bmiHeader.biHeight = height;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    return ::CreateDIBSection(dc, &bi, DIB_RGB_COLORS, bits, nullptr, 0);
}

HBITMAP CreateCompatibleBitmapFor(HDC dc, int width, int height)
{
    if (dc && GetObjectType(dc) == OBJ_DC && GetDeviceCaps(dc, TECHNOLOGY) == DT_RASDISPLAY &&
        GetDeviceCaps(dc, BITSPIXEL) == 32 && GetDeviceCaps(dc, PLANES) == 1 && width > 0 && height > 0) {
        void* bits = nullptr;
        if (HBITMAP section = CreateDibSection32(dc, width, height, &bits)) return section;
    }
    return ::CreateCompatibleBitmap(dc, width, height);
}

BOOL CBitmap::CreateCompatibleBitmap(CDC* dc, int width, int height)
{
    if (!dc || !dc->m_hDC) return FALSE;
    return Attach(CreateCompatibleBitmapFor(dc->m_hDC, width, height));
}

SIZE CBitmap::GetSize() const
{
    BITMAP bm = {};
    if (!GetBitmap(&bm)) return SIZE{0, 0};
    return SIZE{bm.bmWidth, bm.bmHeight};
}
