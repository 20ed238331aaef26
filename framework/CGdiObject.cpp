#include "framework/CGdiObject.h"
#include "framework/CDC.h"

BOOL CBitmap::CreateCompatibleBitmap(CDC* dc, int width, int height)
{
    if (!dc || !dc->m_hDC) return FALSE;
    return Attach(::CreateCompatibleBitmap(dc->m_hDC, width, height));
}

SIZE CBitmap::GetSize() const
{
    BITMAP bm = {};
    if (!GetBitmap(&bm)) return SIZE{0, 0};
    return SIZE{bm.bmWidth, bm.bmHeight};
}
