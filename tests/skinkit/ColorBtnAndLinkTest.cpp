#include "skinkit/CColorBtn.h"
#include "skinkit/CHyperlink.h"
#include "framework/CDC.h"
#include "GuiTestSupport.h"
#include "SkinTestSupport.h"
#include <gtest/gtest.h>

namespace {

constexpr COLORREF kNormal = RGB(0, 0, 160);
constexpr COLORREF kOver = RGB(0, 160, 0);
constexpr COLORREF kDown = RGB(160, 0, 0);
constexpr COLORREF kLink = RGB(0xD2, 0xA4, 0x12);

class Host : public CWnd {
public:
    CBitmap normal, over, down;
    bool Open()
    {
        normal.Attach(SolidDib(300, 200, kNormal));
        over.Attach(SolidDib(300, 200, kOver));
        down.Attach(SolidDib(300, 200, kDown));
        if (!CreateEx(0, RegisterWndClass(0, LoadCursorW(nullptr, IDC_ARROW), (HBRUSH)GetStockObject(BLACK_BRUSH)),
                      L"colour host", WS_POPUP | WS_VISIBLE, 150, 150, 300, 200, nullptr, nullptr))
            return false;
        return ShowAt(m_hWnd, RECT{150, 150, 450, 350});
    }
};

}  // namespace

TEST(CColorBtn, SwatchInsideTheSkinFrameAndTheDownImageWhenChecked)
{
    Host host;
    ASSERT_TRUE(host.Open());
    CColorBtn b;
    RECT r = {20, 20, 120, 50};
    ASSERT_TRUE(b.Create(L"", WS_CHILD | WS_VISIBLE, r, &host, 0));
    b.SetBitmaps(host.normal, host.over, host.down, host.normal, r);
    WindowPixels p = GrabWindow(b.m_hWnd);
    EXPECT_EQ(p.Count(RECT{0, 0, 100, 30}, kNormal), 100 * 30) << "no colour set: the plain image";

    b.SetColor(RGB(250, 20, 120));
    p = GrabWindow(b.m_hWnd);
    EXPECT_EQ(p.Count(RECT{1, 1, 79, 29}, RGB(250, 20, 120)), 78 * 28);
    EXPECT_EQ(p.Count(RECT{79, 0, 100, 30}, kNormal), 21 * 30) << "21 pixels of skin at the right";
    EXPECT_EQ(p.Count(RECT{0, 0, 100, 1}, kNormal), 100) << "a 1-pixel frame";
    EXPECT_EQ(p.Count(RECT{0, 29, 100, 30}, kNormal), 100);

    b.SetCheck(1);
    b.m_nHover = 1;
    p = GrabWindow(b.m_hWnd);
    EXPECT_EQ(p.At(90, 15), kDown);
    SaveWindowPng(host.m_hWnd, L"colour-button");

    // Hover from the real mouse, and its end.
    b.SetCheck(0);
    b.m_nHover = 0;
    MouseMoveTo(ScreenCenter(b.m_hWnd));
    ASSERT_TRUE(PumpUntil([&] { return b.m_nHover == 1; }));
    EXPECT_EQ(GrabWindow(b.m_hWnd).At(90, 15), kOver);
    MouseMoveTo(POINT{10, 10});
    ASSERT_TRUE(PumpUntil([&] { return b.m_nHover == 0; }));
    EXPECT_NE(GetCapture(), b.m_hWnd);
}

TEST(CHyperlink, DrawsItsBackgroundAndTextAndSizesToItsText)
{
    Host host;
    ASSERT_TRUE(host.Open());
    CHyperlink link;
    ASSERT_TRUE(link.Create(L"A link whose words do not fit", WS_CHILD | WS_VISIBLE, RECT{10, 10, 110, 40}, &host, 5));
    link.SetBackground(RECT{10, 10, 110, 40}, host.over);
    link.DisableParentFont();
    link.SetBoldFont();
    link.SetDefaultColors();
    WindowPixels p = GrabWindow(link.m_hWnd);
    EXPECT_GT(p.Count(RECT{0, 0, 100, 30}, kOver), 1000) << "the skin under the text";
    EXPECT_GT(p.Count(RECT{0, 0, 100, 30}, kLink), 20);
    EXPECT_EQ(link.m_hWndParentSeen, host.m_hWnd);

    SIZE size = link.SizeToContent();
    RECT after = link.GetWindowRect();
    EXPECT_EQ(after.right - after.left, size.cx);
    CClientDC dc(&link);
    dc.SelectObject(link.m_linkFont);
    SIZE extent = dc.GetTextExtent(link.GetWindowText());
    EXPECT_EQ(size.cx, extent.cx + 12);
    SaveWindowPng(host.m_hWnd, L"hyperlink");
}
