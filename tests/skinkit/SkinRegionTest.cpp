#include "skinkit/SkinRegion.h"
#include "SkinTestSupport.h"
#include <gtest/gtest.h>
#include <string>

namespace {

constexpr COLORREF W = RGB(255, 255, 255);
constexpr COLORREF B = RGB(0, 0, 0);

// The region the runs make, built without the code under test.
HRGN RegionOf(const std::vector<RECT>& rects)
{
    HRGN r = CreateRectRgn(0, 0, 0, 0);
    for (const RECT& rc : rects) {
        HRGN one = CreateRectRgnIndirect(&rc);
        CombineRgn(r, r, one, RGN_OR);
        DeleteObject(one);
    }
    return r;
}

// Every run of non-white pixels, row by row, from a cut on.
std::vector<RECT> ReferenceRuns(int w, int h, const PixelFn& px, int mode, int n)
{
    std::vector<RECT> runs;
    for (int y = 0; y < h; ++y) {
        if (mode == 2 && y <= n) continue;
        for (int x = mode == 1 ? n : 0; x < w;) {
            if (px(x, y) == W) {
                ++x;
                continue;
            }
            int x0 = x;
            while (x < w && px(x, y) != W) ++x;
            runs.push_back(RECT{x0, y, x, y + 1});
        }
    }
    return runs;
}

std::string Describe(HRGN r)
{
    std::string s;
    for (const RECT& rc : RegionRects(r))
        s += "(" + std::to_string(rc.left) + "," + std::to_string(rc.top) + "," + std::to_string(rc.right) + "," +
             std::to_string(rc.bottom) + ") ";
    return s;
}

}  // namespace

TEST(SkinRegion, MasksGiveExactlyTheRegionOfTheirNonWhitePixels)
{
    struct Case {
        const char* name;
        int w, h;
        PixelFn px;
        int mode, n;
        std::vector<RECT> expected;
    } cases[] = {
        {"pure white", 8, 8, [](int, int) { return W; }, 0, 0, {}},
        {"one black pixel at (3, 5)", 10, 10, [](int x, int y) { return x == 3 && y == 5 ? B : W; }, 0, 0,
         {{3, 5, 4, 6}}},
        {"runs in a row", 5, 1, [](int x, int) { return x == 1 || x == 2 || x == 4 ? B : W; }, 0, 0,
         {{1, 0, 3, 1}, {4, 0, 5, 1}}},
        {"near white is inside", 4, 1, [](int x, int) { return x == 2 ? RGB(254, 255, 255) : W; }, 0, 0,
         {{2, 0, 3, 1}}},
        {"white with any other red, green or blue is inside", 3, 3,
         [](int x, int y) { return x == 1 && y == 1 ? RGB(255, 254, 255) : x == 2 && y == 2 ? RGB(255, 255, 254) : W; },
         0, 0, {{1, 1, 2, 2}, {2, 2, 3, 3}}},
        {"mode 1 leaves out the first n columns", 6, 3, [](int, int) { return B; }, 1, 2, {{2, 0, 6, 3}}},
        {"mode 1 with n at the width", 6, 3, [](int, int) { return B; }, 1, 6, {}},
        {"mode 1 with n beyond the width", 6, 3, [](int, int) { return B; }, 1, 60, {}},
        {"mode 1 with a negative n cuts nothing", 6, 3, [](int, int) { return B; }, 1, -4, {{0, 0, 6, 3}}},
        {"mode 2 with n 0 leaves out the top row", 6, 3, [](int, int) { return B; }, 2, 0, {{0, 1, 6, 3}}},
        {"mode 2 with n 1 leaves out rows 0 and 1", 6, 3, [](int, int) { return B; }, 2, 1, {{0, 2, 6, 3}}},
        {"another mode cuts nothing", 6, 3, [](int, int) { return B; }, 3, 2, {{0, 0, 6, 3}}},
        {"rows alike after the cut columns", 5, 4, [](int x, int y) { return x == 0 && y % 2 ? W : B; }, 1, 1,
         {{1, 0, 5, 4}}},
        {"rows alike but for one pixel", 4, 3, [](int x, int y) { return y == 1 && x == 3 ? W : B; }, 0, 0,
         {{0, 0, 4, 1}, {0, 1, 3, 2}, {0, 2, 4, 3}}},
    };
    // Each mask as a section with its rows top-down and bottom-up in memory.
    for (auto& c : cases) {
        for (bool topDown : {true, false}) {
            HBITMAP mask = MakeDib(c.w, c.h, c.px, topDown);
            ASSERT_NE(mask, nullptr) << c.name;
            HRGN got = c.mode == 0 ? BitmapToRegion(mask) : BitmapToRegionPart(mask, c.mode, c.n);
            ASSERT_NE(got, nullptr) << c.name;
            HRGN want = RegionOf(c.expected);
            EXPECT_TRUE(EqualRgn(got, want))
                << c.name << (topDown ? "" : " (bottom-up)") << ": got " << Describe(got) << "want " << Describe(want);
            RECT box;
            EXPECT_EQ(GetRgnBox(got, &box), c.expected.empty()       ? NULLREGION
                                            : c.expected.size() == 1 ? SIMPLEREGION
                                                                     : COMPLEXREGION)
                << c.name;
            DeleteObject(want);
            DeleteObject(got);
            DeleteObject(mask);
        }
    }
}

TEST(SkinRegion, MoreThanTwoThousandRunsMakeOneRegion)
{
    // Every other pixel: 120 x 100 has 6,000 runs in rows that never repeat; a row of
    // 4,100 pixels has more runs than one batch takes; equal rows in bands of 3.
    auto chequer = [](int x, int y) { return (x + y) % 2 ? B : W; };
    auto bands = [](int x, int y) { return (x + y / 3) % 2 ? B : W; };
    struct Case {
        int w, h;
        PixelFn px;
        int mode, n;
    } cases[] = {{120, 100, chequer, 0, 0}, {120, 100, chequer, 1, 7}, {120, 100, chequer, 2, 41},
                 {4100, 3, chequer, 0, 0},   {4100, 7, bands, 0, 0},     {150, 90, bands, 1, 3}};
    for (auto& c : cases) {
        HBITMAP mask = MakeDib(c.w, c.h, c.px, c.w < 1000);
        HRGN got = c.mode == 0 ? BitmapToRegion(mask) : BitmapToRegionPart(mask, c.mode, c.n);
        ASSERT_NE(got, nullptr);
        HRGN want = RegionOf(ReferenceRuns(c.w, c.h, c.px, c.mode, c.n));
        EXPECT_TRUE(EqualRgn(got, want)) << c.w << " x " << c.h << " mode " << c.mode;
        DeleteObject(want);
        DeleteObject(got);
        DeleteObject(mask);
    }
}

TEST(SkinRegion, NoMaskNoRegion)
{
    EXPECT_EQ(BitmapToRegion(nullptr), nullptr);
    EXPECT_EQ(BitmapToRegionPart(nullptr, 1, 3), nullptr);
}

TEST(SkinRegion, ADdbMaskFromAPictureFileCutsTheSame)
{
    // The skins' masks come in as device bitmaps, not DIB sections.
    HDC screen = GetDC(nullptr);
    HBITMAP ddb = CreateCompatibleBitmap(screen, 9, 4);
    HDC mem = CreateCompatibleDC(screen);
    HGDIOBJ old = SelectObject(mem, ddb);
    RECT all = {0, 0, 9, 4}, inner = {2, 1, 7, 3};
    FillRect(mem, &all, (HBRUSH)GetStockObject(WHITE_BRUSH));
    FillRect(mem, &inner, (HBRUSH)GetStockObject(BLACK_BRUSH));
    SelectObject(mem, old);
    DeleteDC(mem);
    ReleaseDC(nullptr, screen);
    HRGN got = BitmapToRegion(ddb);
    HRGN want = CreateRectRgn(2, 1, 7, 3);
    EXPECT_TRUE(EqualRgn(got, want)) << Describe(got);
    DeleteObject(got);
    DeleteObject(want);
    DeleteObject(ddb);
}
