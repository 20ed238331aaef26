#include "skinkit/SkinRegion.h"

namespace {

constexpr DWORD kGrowBy = 100;
constexpr DWORD kBatch = 2000;
constexpr DWORD kWhite = 0x00FFFFFF;

// The rectangles of one batch in a growing movable block, handed over as regions. The
// runs of the last row stored stay open: a following row with the same pixels makes
// them one pixel taller instead of adding its own.
class RunBatches {
public:
    RunBatches()
    {
        m_block = GlobalAlloc(GMEM_MOVEABLE, Bytes(m_room));
        m_data = m_block ? (RGNDATA*)GlobalLock(m_block) : nullptr;
        if (m_data) Reset();
    }
    ~RunBatches()
    {
        if (m_block) {
            GlobalUnlock(m_block);
            GlobalFree(m_block);
        }
        if (m_result) DeleteObject(m_result);
    }
    bool Ready() const { return m_data != nullptr; }

    void StartRow() { m_rowStart = m_data->rdh.nCount; }
    bool Add(LONG left, LONG top, LONG right, LONG bottom)
    {
        // Growing may move the block: the header is looked up after it.
        if (m_data->rdh.nCount >= m_room && !Grow()) return false;
        RGNDATAHEADER& h = m_data->rdh;
        RECT* rects = (RECT*)m_data->Buffer;
        rects[h.nCount] = RECT{left, top, right, bottom};
        if (left < h.rcBound.left) h.rcBound.left = left;
        if (top < h.rcBound.top) h.rcBound.top = top;
        if (right > h.rcBound.right) h.rcBound.right = right;
        if (bottom > h.rcBound.bottom) h.rcBound.bottom = bottom;
        ++h.nCount;
        return true;
    }
    // Whether the last row's runs are still in this batch, to be made taller.
    bool RowOpen() const { return m_rowOpen; }
    void CloseRow() { m_rowOpen = false; }
    void EndRow() { m_rowOpen = true; }
    void ExtendRow(LONG bottom)
    {
        RGNDATAHEADER& h = m_data->rdh;
        RECT* rects = (RECT*)m_data->Buffer;
        for (DWORD i = m_rowStart; i < h.nCount; ++i) rects[i].bottom = bottom;
        if (m_rowStart < h.nCount && bottom > h.rcBound.bottom) h.rcBound.bottom = bottom;
    }
    DWORD Count() const { return m_data->rdh.nCount; }

    // The batch becomes a region, OR-ed into the result (the first batch is the result).
    bool Flush()
    {
        RGNDATAHEADER& h = m_data->rdh;
        if (h.nCount == 0) h.rcBound = RECT{0, 0, 0, 0};
        HRGN batch = ExtCreateRegion(nullptr, Bytes(m_room), m_data);
        Reset();
        if (!batch) return false;
        if (!m_result) {
            m_result = batch;
            return true;
        }
        CombineRgn(m_result, m_result, batch, RGN_OR);
        DeleteObject(batch);
        return true;
    }
    HRGN TakeResult()
    {
        HRGN r = m_result;
        m_result = nullptr;
        return r;
    }

private:
    static DWORD Bytes(DWORD room) { return (DWORD)(sizeof(RGNDATAHEADER) + room * sizeof(RECT)); }
    void Reset()
    {
        RGNDATAHEADER& h = m_data->rdh;
        h.dwSize = sizeof(RGNDATAHEADER);
        h.iType = RDH_RECTANGLES;
        h.nCount = 0;
        h.nRgnSize = 0;
        h.rcBound = RECT{0x7FFFFFFF, 0x7FFFFFFF, 0, 0};
        m_rowStart = 0;
        m_rowOpen = false;
    }
    bool Grow()
    {
        GlobalUnlock(m_block);
        m_data = nullptr;
        HGLOBAL bigger = GlobalReAlloc(m_block, Bytes(m_room + kGrowBy), GMEM_MOVEABLE);
        if (bigger) {
            m_block = bigger;
            m_room += kGrowBy;
        }
        m_data = (RGNDATA*)GlobalLock(m_block);
        return bigger != nullptr && m_data != nullptr;
    }

    DWORD m_room = kGrowBy;
    HGLOBAL m_block = nullptr;
    RGNDATA* m_data = nullptr;
    HRGN m_result = nullptr;
    DWORD m_rowStart = 0;
    bool m_rowOpen = false;
};

// The mask's pixels as 32-bit rows. A mask that is a 32-bit DIB section already (every
// loaded skin picture is) is read where it is; any other is copied into a bottom-up
// 32-bit DIB section first.
class MaskPixels {
public:
    explicit MaskPixels(HBITMAP mask)
    {
        DIBSECTION ds = {};
        if (GetObjectW(mask, sizeof(ds), &ds) == sizeof(ds) && ds.dsBm.bmBitsPixel == 32 && ds.dsBm.bmBits &&
            ds.dsBmih.biCompression == BI_RGB) {
            GdiFlush();
            m_width = ds.dsBm.bmWidth;
            m_height = ds.dsBm.bmHeight;
            m_stride = ds.dsBm.bmWidthBytes;
            m_bits = (BYTE*)ds.dsBm.bmBits;
            if (FindOrder(mask)) {
                m_ready = true;
                return;
            }
        }
        Copy(mask);
    }
    ~MaskPixels()
    {
        if (m_old) SelectObject(m_dc, m_old);
        if (m_dib) DeleteObject(m_dib);
        if (m_dc) DeleteDC(m_dc);
    }
    bool Ready() const { return m_ready; }
    int Width() const { return m_width; }
    int Height() const { return m_height; }
    // Row y counted from the top of the picture.
    const DWORD* Row(int y) const
    {
        return (const DWORD*)(m_bits + (size_t)(m_topDown ? y : m_height - 1 - y) * m_stride);
    }

private:
    const DWORD* MemoryRow(int i) const { return (const DWORD*)(m_bits + (size_t)i * m_stride); }

    // The section does not tell which way its rows run. Where the first row in memory and
    // its mirror row differ, the picture's own pixel decides; a picture whose rows mirror
    // each other reads the same either way.
    bool FindOrder(HBITMAP mask)
    {
        m_topDown = false;
        for (int i = 0; i < m_height / 2; ++i) {
            const DWORD* a = MemoryRow(i);
            const DWORD* b = MemoryRow(m_height - 1 - i);
            for (int x = 0; x < m_width; ++x) {
                if (((a[x] ^ b[x]) & kWhite) == 0) continue;
                HDC dc = CreateCompatibleDC(nullptr);
                if (!dc) return false;
                HGDIOBJ old = SelectObject(dc, mask);
                COLORREF c = old ? GetPixel(dc, x, i) : CLR_INVALID;
                if (old) SelectObject(dc, old);
                DeleteDC(dc);
                if (c == CLR_INVALID) return false;
                DWORD seen = (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c);
                m_topDown = seen == (a[x] & kWhite);
                return true;
            }
        }
        return true;
    }

    void Copy(HBITMAP mask)
    {
        BITMAP bm = {};
        if (!GetObjectW(mask, sizeof(bm), &bm)) return;
        m_dc = CreateCompatibleDC(nullptr);
        if (!m_dc) return;
        BITMAPINFO bi = {};
        bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        bi.bmiHeader.biWidth = bm.bmWidth;
        bi.bmiHeader.biHeight = bm.bmHeight;
        bi.bmiHeader.biPlanes = 1;
        bi.bmiHeader.biBitCount = 32;
        bi.bmiHeader.biCompression = BI_RGB;
        m_dib = CreateDIBSection(m_dc, &bi, DIB_RGB_COLORS, (void**)&m_bits, nullptr, 0);
        if (!m_dib || !m_bits) return;
        m_old = SelectObject(m_dc, m_dib);
        HDC src = CreateCompatibleDC(m_dc);
        if (!src) return;
        HGDIOBJ oldMask = SelectObject(src, mask);
        BitBlt(m_dc, 0, 0, bm.bmWidth, bm.bmHeight, src, 0, 0, SRCCOPY);
        SelectObject(src, oldMask);
        DeleteDC(src);
        GdiFlush();
        BITMAP dib = {};
        GetObjectW(m_dib, sizeof(dib), &dib);
        m_stride = (dib.bmWidthBytes + 3) & ~3;
        m_width = bm.bmWidth;
        m_height = bm.bmHeight;
        m_ready = true;
    }

    HDC m_dc = nullptr;
    HBITMAP m_dib = nullptr;
    HGDIOBJ m_old = nullptr;
    BYTE* m_bits = nullptr;
    int m_stride = 0;
    int m_width = 0;
    int m_height = 0;
    bool m_topDown = false;
    bool m_ready = false;
};

// Whether two rows tell inside from outside alike in [first, width): their colours are
// equal (alpha aside). One pass without early exit, which the compiler makes wide.
bool SameRow(const DWORD* a, const DWORD* b, int first, int width)
{
    DWORD diff = 0;
    for (int x = first; x < width; ++x) diff |= a[x] ^ b[x];
    return (diff & kWhite) == 0;
}

}  // namespace

HRGN BitmapToRegion(HBITMAP mask)
{
    return BitmapToRegionPart(mask, 0, 0);
}

HRGN BitmapToRegionPart(HBITMAP mask, int mode, int n)
{
    if (!mask) return nullptr;
    MaskPixels pixels(mask);
    if (!pixels.Ready()) return nullptr;
    RunBatches runs;
    if (!runs.Ready()) return nullptr;
    int width = pixels.Width();
    // A negative cut would start the walk before the row.
    int firstColumn = mode == 1 && n > 0 ? n : 0;
    // A row has at most this many runs; a batch that could not take one more row is
    // handed over first, so no batch holds more than 2,000 rectangles.
    DWORD rowMost = (DWORD)(width + 1) / 2;
    const DWORD* previous = nullptr;
    for (int y = 0; y < pixels.Height(); ++y) {
        const DWORD* row = pixels.Row(y);
        if (mode == 2 && y <= n) continue;
        if (runs.RowOpen() && previous && SameRow(row, previous, firstColumn, width)) {
            runs.ExtendRow(y + 1);
            previous = row;
            continue;
        }
        if (runs.Count() > 0 && runs.Count() + rowMost > kBatch && !runs.Flush()) return nullptr;
        runs.StartRow();
        // A row too wide for one batch is split; its runs then cannot be made taller.
        bool split = false;
        int x = firstColumn;
        while (x < width) {
            while (x < width && (row[x] & kWhite) == kWhite) ++x;
            if (x >= width) break;
            int x0 = x;
            while (x < width && (row[x] & kWhite) != kWhite) ++x;
            if (!runs.Add(x0, y, x, y + 1)) return nullptr;
            if (runs.Count() == kBatch) {
                if (!runs.Flush()) return nullptr;
                split = true;
            }
        }
        if (split)
            runs.CloseRow();
        else
            runs.EndRow();
        previous = row;
    }
    if (!runs.Flush()) return nullptr;
    return runs.TakeResult();
}
