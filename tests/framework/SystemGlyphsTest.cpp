#include "GuiTestSupport.h"
#include <gtest/gtest.h>
#include <algorithm>
#include <string>

// The system's own dialogs (Save As, Open, Print) draw their caption buttons with the
// system's glyph font and their texts with the dialog face: both must be found, or the close
// button shows a letter where its cross belongs.

namespace {

int CALLBACK NoteFace(const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM found)
{
    *(bool*)found = true;
    return 0;
}

bool FaceInstalled(const wchar_t* face)
{
    LOGFONTW lf = {};
    lf.lfCharSet = DEFAULT_CHARSET;
    wcsncpy(lf.lfFaceName, face, LF_FACESIZE - 1);
    bool found = false;
    HDC dc = GetDC(nullptr);
    EnumFontFamiliesExW(dc, &lf, NoteFace, (LPARAM)&found, 0);
    ReleaseDC(nullptr, dc);
    return found;
}

}  // namespace

TEST(SystemGlyphs, TheDialogFontsAreInstalled)
{
    for (const wchar_t* face : {L"Marlett", L"Tahoma"})
        EXPECT_TRUE(FaceInstalled(face)) << std::string(face, face + wcslen(face));
}

// A caption's close button as the system draws it: its glyph is a cross, the same mirrored
// left to right and top to bottom (a letter in its place is not).
TEST(SystemGlyphs, TheCloseButtonShowsACross)
{
    const int size = 32;
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, size, size);
    ReleaseDC(nullptr, screen);
    HGDIOBJ old = SelectObject(dc, bitmap);
    RECT r = {0, 0, size, size};
    ASSERT_TRUE(DrawFrameControl(dc, &r, DFC_CAPTION, DFCS_CAPTIONCLOSE));
    SelectObject(dc, old);
    DeleteDC(dc);
    SaveBitmapPng(bitmap, L"system-close-button");
    int w = 0, h = 0;
    std::vector<DWORD> pixels = BitmapPixels(bitmap, &w, &h);
    DeleteObject(bitmap);
    ASSERT_EQ(w, size);
    ASSERT_EQ(h, size);

    // The glyph's dark pixels inside the button's edges.
    auto dark = [&](int x, int y) {
        DWORD p = pixels[y * w + x];
        return ((p >> 16 & 0xFF) + (p >> 8 & 0xFF) + (p & 0xFF)) < 3 * 96;
    };
    const int edge = 3;
    int left = size, right = -1, top = size, bottom = -1, count = 0;
    for (int y = edge; y < size - edge; ++y)
        for (int x = edge; x < size - edge; ++x)
            if (dark(x, y)) {
                left = std::min(left, x);
                right = std::max(right, x);
                top = std::min(top, y);
                bottom = std::max(bottom, y);
                ++count;
            }
    ASSERT_GT(count, 0) << "no glyph drawn";
    int unmatched = 0;
    for (int y = top; y <= bottom; ++y)
        for (int x = left; x <= right; ++x)
            if (dark(x, y) && (!dark(left + right - x, y) || !dark(x, top + bottom - y))) ++unmatched;
    EXPECT_LE(unmatched * 10, count) << unmatched << " of " << count
                                     << " glyph pixels have no mirror twin: see build/screenshots/system-close-button.png";
    // Both diagonals are crossed: the corners of the glyph's box are inked.
    EXPECT_TRUE(dark(left + 1, top + 1) || dark(left, top)) << "top left";
    EXPECT_TRUE(dark(right - 1, bottom - 1) || dark(right, bottom)) << "bottom right";
}
