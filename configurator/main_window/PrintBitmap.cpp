#include "configurator/main_window/PrintBitmap.h"
#include <vector>

namespace {

// A palette-based printer gets the colours of its own system palette; any other the
// stock palette. Null means the stock one.
HPALETTE PrinterPalette(HDC printer)
{
    if (!(GetDeviceCaps(printer, RASTERCAPS) & RC_PALETTE)) return nullptr;
    std::vector<BYTE> block(sizeof(LOGPALETTE) + 255 * sizeof(PALETTEENTRY));
    LOGPALETTE* lp = (LOGPALETTE*)block.data();
    lp->palVersion = 0x300;
    lp->palNumEntries = (WORD)GetSystemPaletteEntries(printer, 0, 255, lp->palPalEntry);
    return lp->palNumEntries ? CreatePalette(lp) : nullptr;
}

}  // namespace

void PrintBitmap(HDC printer, HBITMAP picture, double scaleX, double scaleY)
{
    BITMAP bm = {};
    if (!printer || !picture || !GetObjectW(picture, sizeof bm, &bm) || bm.bmWidth <= 0 || bm.bmHeight <= 0) return;
    HPALETTE made = PrinterPalette(printer);
    HPALETTE palette = made ? made : (HPALETTE)GetStockObject(DEFAULT_PALETTE);

    WORD bits = (WORD)(bm.bmPlanes * bm.bmBitsPixel);
    size_t colours = bits <= 8 ? (size_t)1 << bits : 0;
    // Room for a colour table, or for the three masks some systems add for 16 and 32 bits.
    size_t tableBytes = colours ? colours * sizeof(RGBQUAD) : 3 * sizeof(DWORD);
    std::vector<BYTE> header(sizeof(BITMAPINFOHEADER) + tableBytes);
    BITMAPINFOHEADER* bi = (BITMAPINFOHEADER*)header.data();
    bi->biSize = sizeof(BITMAPINFOHEADER);
    bi->biWidth = bm.bmWidth;
    bi->biHeight = bm.bmHeight;
    bi->biPlanes = 1;
    bi->biBitCount = bits;
    bi->biCompression = BI_RGB;

    HDC screen = GetDC(nullptr);
    HPALETTE oldPalette = SelectPalette(screen, palette, FALSE);
    RealizePalette(screen);
    std::vector<BYTE> pixels;
    bool ok = GetDIBits(screen, picture, 0, (UINT)bm.bmHeight, nullptr, (BITMAPINFO*)bi, DIB_RGB_COLORS) != 0;
    if (ok) {
        if (bi->biSizeImage == 0)
            bi->biSizeImage = (DWORD)((((DWORD)bm.bmWidth * bits + 31) & ~31u) / 8 * (DWORD)bm.bmHeight);
        pixels.resize(bi->biSizeImage);
        ok = GetDIBits(screen, picture, 0, (UINT)bm.bmHeight, pixels.data(), (BITMAPINFO*)bi, DIB_RGB_COLORS) != 0;
    }
    if (ok)
        StretchDIBits(printer, 0, 0, (int)(bm.bmWidth * scaleX), (int)(bm.bmHeight * scaleY), 0, 0, bm.bmWidth,
                      bm.bmHeight, pixels.data(), (BITMAPINFO*)bi, DIB_RGB_COLORS, SRCCOPY);
    SelectPalette(screen, oldPalette, FALSE);
    ReleaseDC(nullptr, screen);
    if (made) DeleteObject(made);
}

void CapitalizeFirst(CString& text)
{
    wchar_t c = text.GetAt(0);
    if (c >= L'a' && c <= L'z') text.SetAt(0, (wchar_t)(c - L'a' + L'A'));
}
