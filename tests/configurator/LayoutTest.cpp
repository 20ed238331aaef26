#include "configurator/main_window/MainLayout.h"
#include "configurator/main_window/PrintBitmap.h"
#include "configurator/GearloomRes.h"
#include "GuiTestSupport.h"
#include <gtest/gtest.h>
#include <vector>

TEST(MainLayout, PlaceCentredAtTheTop)
{
    const struct {
        RECT work;
        SIZE window;
        POINT at;
    } cases[] = {
        {{0, 0, 1280, 994}, {840, 620}, {220, 0}},
        {{0, 30, 1281, 1024}, {840, 620}, {220, 0}},
        {{0, 0, 800, 600}, {840, 620}, {-20, 0}},
    };
    for (const auto& c : cases) {
        POINT at = MainWindowPlace(c.work, c.window);
        EXPECT_EQ(at.x, c.at.x);
        EXPECT_EQ(at.y, c.at.y);
    }
}

TEST(MainLayout, PollingRatesOfTheToolsMenu)
{
    const struct {
        int rate;
        UINT checked;
    } cases[] = {{1, ID_RATE_1000}, {2, ID_RATE_500}, {3, ID_RATE_250}, {0, ID_RATE_250}, {4, ID_RATE_250}, {-1, ID_RATE_250}};
    for (const auto& c : cases) EXPECT_EQ(CheckedRateCommand(c.rate), c.checked) << c.rate;
    EXPECT_EQ(RateOfCommand(ID_RATE_250), 3);
    EXPECT_EQ(RateOfCommand(ID_RATE_500), 2);
    EXPECT_EQ(RateOfCommand(ID_RATE_1000), 1);
    EXPECT_EQ(RateOfCommand(ID_ABOUT), 0);
}

TEST(MainLayout, ReportedMouseButtons)
{
    for (int i = -1; i <= 16; ++i) EXPECT_EQ(IsReportedMouseButton(i), i >= 2 && i <= 10) << i;
    EXPECT_STREQ(MouseButtonEntryName(0), L"MOUSE_BUTTON_1");
    EXPECT_STREQ(MouseButtonEntryName(10), L"MOUSE_BUTTON_11");
    EXPECT_STREQ(MouseButtonEntryName(11), L"");
    EXPECT_STREQ(ProfileEntryName(9), L"PROFILE_10");
    EXPECT_STREQ(ProfileEntryName(-1), L"");
}

TEST(PrintHelpers, CapitalizeFirst)
{
    const struct {
        const wchar_t* in;
        const wchar_t* out;
    } cases[] = {{L"thrain", L"Thrain"}, {L"Thrain", L"Thrain"}, {L"", L""}, {L"z", L"Z"}, {L"éowyn", L"éowyn"},
                 {L"1st", L"1st"}, {L"a b", L"A b"}};
    for (const auto& c : cases) {
        CString s(c.in);
        CapitalizeFirst(s);
        EXPECT_STREQ(s.GetString(), c.out);
    }
}

// A picture printed at twice its size on a device context of our own: every pixel lands
// as a 2 x 2 block of its colour.
TEST(PrintHelpers, PrintBitmapScalesThePicture)
{
    const int w = 5, h = 3;
    const COLORREF colours[] = {RGB(255, 0, 0), RGB(0, 128, 0), RGB(0, 0, 255), RGB(255, 204, 0), RGB(41, 41, 41)};
    HDC screen = GetDC(nullptr);
    HBITMAP picture = CreateCompatibleBitmap(screen, w, h);
    HDC mem = CreateCompatibleDC(screen);
    HGDIOBJ old = SelectObject(mem, picture);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) SetPixel(mem, x, y, colours[(x + y) % 5]);
    SelectObject(mem, old);

    BITMAPINFO bi = {};
    bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
    bi.bmiHeader.biWidth = 20;
    bi.bmiHeader.biHeight = -20;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HBITMAP page = CreateDIBSection(screen, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    ASSERT_NE(page, nullptr);
    old = SelectObject(mem, page);
    PatBlt(mem, 0, 0, 20, 20, WHITENESS);
    PrintBitmap(mem, picture, 2.0, 2.0);
    GdiFlush();
    const DWORD* px = (const DWORD*)bits;
    for (int y = 0; y < 2 * h; ++y)
        for (int x = 0; x < 2 * w; ++x) {
            COLORREF c = colours[(x / 2 + y / 2) % 5];
            DWORD expected = (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c);
            EXPECT_EQ(px[y * 20 + x] & 0xFFFFFF, expected) << x << "," << y;
        }
    EXPECT_EQ(px[7 * 20 + 11] & 0xFFFFFF, 0xFFFFFFu) << "nothing beyond the scaled picture";
    // No picture, no printer: nothing happens.
    PrintBitmap(mem, nullptr, 1, 1);
    PrintBitmap(nullptr, picture, 1, 1);
    SelectObject(mem, old);
    DeleteObject(page);
    DeleteObject(picture);
    DeleteDC(mem);
    ReleaseDC(nullptr, screen);
}
