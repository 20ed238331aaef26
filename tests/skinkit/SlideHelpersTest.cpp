#include "skinkit/SlideHelpers.h"
#include "skinkit/SkinPicture.h"
#include "framework/CDC.h"
#include "framework/CWnd.h"
#include "core/Messages.h"
#include "GuiTestSupport.h"
#include "SkinTestSupport.h"
#include <gtest/gtest.h>
#include <vector>

namespace {

// A side panel in miniature: the settings panel's picture, and where every move put it.
class Panel : public CWnd {
public:
    CBitmap picture;
    std::vector<RECT> places;

    // A popup, or a child of parent (no window manager moves a child behind the slide's
    // back, so every step it takes can be seen exactly).
    bool Open(int x, HWND parent = nullptr)
    {
        SIZE size;
        LoadPictureFile(SourceFile(L"resources\\skins\\mouse_properties_normal.bmp"), picture, size);
        return CreateEx(0, RegisterWndClass(0), L"slide panel", parent ? WS_CHILD : WS_POPUP, x, 100, 10, 10, parent,
                        nullptr) != FALSE;
    }
    LRESULT OnPosChanged(WPARAM, LPARAM l)
    {
        const WINDOWPOS* wp = (const WINDOWPOS*)l;
        if (!(wp->flags & SWP_NOSIZE) || !(wp->flags & SWP_NOMOVE)) places.push_back(GetRectInParent());
        return Default();
    }
    LRESULT OnEraseBkgnd(WPARAM, LPARAM) { return TRUE; }
    LRESULT OnPaint(WPARAM, LPARAM)
    {
        CPaintDC dc(this);
        CDC source;
        source.CreateCompatibleDC(&dc);
        source.SelectObject(picture);
        RECT r = GetClientRect();
        dc.BitBlt(0, 0, r.right, r.bottom, &source, 0, 0, SRCCOPY);
        return 0;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(Panel, CWnd)
    ON_MESSAGE(WM_WINDOWPOSCHANGED, OnPosChanged)
    ON_MESSAGE(WM_ERASEBKGND, OnEraseBkgnd)
    ON_MESSAGE(WM_PAINT, OnPaint)
END_MESSAGE_MAP()

// The main window's side: what the slides tell it.
class Notified : public CWnd {
public:
    std::vector<LPARAM> notices;
    bool Open(bool shown = false)
    {
        return CreateEx(0, RegisterWndClass(0, nullptr, (HBRUSH)GetStockObject(DKGRAY_BRUSH)), L"slide owner",
                        WS_POPUP | (shown ? WS_VISIBLE : 0), 150, 50, 900, 700, nullptr, nullptr) != FALSE;
    }
    LRESULT OnPanelState(WPARAM w, LPARAM l)
    {
        EXPECT_EQ(w, 0u);
        notices.push_back(l);
        return 0;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(Notified, CWnd)
    ON_MESSAGE(WM_PANEL_STATE, OnPanelState)
END_MESSAGE_MAP()

std::vector<int> Widths(const std::vector<RECT>& places)
{
    std::vector<int> w;
    for (const RECT& r : places)
        if (w.empty() || w.back() != r.right - r.left) w.push_back(r.right - r.left);
    return w;
}

}  // namespace

TEST(SlideHelpers, WidthsOfEachTick)
{
    struct Case {
        int direction, width, full, min, next;
        bool ends;
    } cases[] = {
        {1, 25, 300, 25, 33, false},  {1, 289, 300, 25, 297, false}, {1, 297, 300, 25, 300, true},
        {2, 300, 300, 0, 292, false}, {2, 4, 300, 0, 0, true},        {2, 8, 300, 0, 0, true},
        {1, 25, 20, 25, 25, true},    // narrower than the opening strip: ends at once
    };
    for (auto& c : cases) {
        int next = NextSlideWidth(c.direction, c.width, c.full, c.min);
        EXPECT_EQ(next, c.next) << c.direction << " from " << c.width;
        EXPECT_EQ(SlideEnds(next, c.full, c.min), c.ends) << c.direction << " from " << c.width;
    }
}

TEST(SlideHelpers, OpensAndClosesWithTheRightEdgeFixed)
{
    Notified owner;
    ASSERT_TRUE(owner.Open(true));
    Panel panel;
    ASSERT_TRUE(panel.Open(100, owner.m_hWnd));
    const RECT bounds = {500, 100, 800, 532};
    BYTE busy = 0;

    SetSlideBounds(bounds, RECT{});
    SlideOpen(&busy, owner.m_hWnd, panel.m_hWnd);
    EXPECT_EQ(busy, 1);
    EXPECT_TRUE(panel.IsWindowVisible()) << "shown as a strip at once";
    bool saved = false;
    ASSERT_TRUE(PumpUntil(
        [&] {
            RECT r = panel.GetWindowRect();
            if (!saved && r.right - r.left >= 150) {
                SaveWindowPng(owner.m_hWnd, L"slide-panel-opening");
                saved = true;
            }
            return !owner.notices.empty();
        },
        5000));
    std::vector<int> expected;
    for (int w = 25; w < 300; w += 8) expected.push_back(w);
    expected.push_back(300);
    EXPECT_EQ(expected.size(), 36u) << "the first strip and 35 ticks";
    EXPECT_EQ(Widths(panel.places), expected);
    for (const RECT& r : panel.places) {
        EXPECT_EQ(r.right, bounds.right);
        EXPECT_EQ(r.top, bounds.top);
        EXPECT_EQ(r.bottom, bounds.bottom);
    }
    EXPECT_EQ(owner.notices, std::vector<LPARAM>{SLIDE_OPENED});
    EXPECT_EQ(busy, 0);
    EXPECT_TRUE(panel.IsWindowVisible());
    RECT full = panel.GetRectInParent();
    EXPECT_TRUE(EqualRect(&full, &bounds));
    SaveWindowPng(owner.m_hWnd, L"slide-panel-open");

    panel.places.clear();
    owner.notices.clear();
    SetSlideBounds(bounds, RECT{});
    SlideClose(&busy, panel.m_hWnd, owner.m_hWnd);
    EXPECT_EQ(busy, 1);
    ASSERT_TRUE(PumpUntil([&] { return !owner.notices.empty(); }));
    std::vector<int> closing;
    for (int w = 292; w > 0; w -= 8) closing.push_back(w);
    closing.push_back(0);
    EXPECT_EQ(Widths(panel.places), closing);
    for (const RECT& r : panel.places) EXPECT_EQ(r.right, bounds.right);
    EXPECT_EQ(owner.notices, std::vector<LPARAM>{SLIDE_CLOSED});
    EXPECT_EQ(busy, 0);
    EXPECT_FALSE(panel.IsWindowVisible());
}

// The side panels are popups: they slide in screen coordinates and end where the bounds say.
TEST(SlideHelpers, APopupPanelEndsOpenAtItsBoundsAndClosedHidden)
{
    Notified owner;
    ASSERT_TRUE(owner.Open());
    Panel panel;
    ASSERT_TRUE(panel.Open(100));
    const RECT bounds = {420, 180, 656, 612};
    BYTE busy = 0;
    SetSlideBounds(bounds, RECT{});
    SlideOpen(&busy, owner.m_hWnd, panel.m_hWnd);
    ASSERT_TRUE(PumpUntil([&] { return !owner.notices.empty(); }));
    EXPECT_EQ(owner.notices, std::vector<LPARAM>{SLIDE_OPENED});
    // On a loaded machine the X server's answer to an earlier step of the slide can still be on
    // its way; the popup must come to rest at its bounds.
    RECT r = {};
    EXPECT_TRUE(PumpUntil([&] { r = panel.GetWindowRect(); return EqualRect(&r, &bounds) != 0; }))
        << r.left << "," << r.top << " " << r.right << "," << r.bottom;
    EXPECT_TRUE(panel.IsWindowVisible());
    SaveWindowPng(panel.m_hWnd, L"slide-popup-open");

    owner.notices.clear();
    SetSlideBounds(bounds, RECT{});
    SlideClose(&busy, panel.m_hWnd, owner.m_hWnd);
    ASSERT_TRUE(PumpUntil([&] { return !owner.notices.empty(); }));
    EXPECT_EQ(owner.notices, std::vector<LPARAM>{SLIDE_CLOSED});
    EXPECT_FALSE(panel.IsWindowVisible());
    EXPECT_EQ(busy, 0);
}

TEST(SlideHelpers, ANewSlideStopsTheOneRunning)
{
    Notified owner;
    ASSERT_TRUE(owner.Open(true));
    Panel first, second;
    ASSERT_TRUE(first.Open(100, owner.m_hWnd));
    ASSERT_TRUE(second.Open(600, owner.m_hWnd));
    BYTE firstBusy = 0, secondBusy = 0;

    SetSlideBounds(RECT{100, 100, 400, 400}, RECT{});
    SlideOpen(&firstBusy, owner.m_hWnd, first.m_hWnd);
    ASSERT_TRUE(PumpUntil([&] { return first.GetRectInParent().right - first.GetRectInParent().left >= 100; }));
    SetSlideBounds(RECT{600, 100, 800, 400}, RECT{});
    SlideOpen(&secondBusy, owner.m_hWnd, second.m_hWnd);
    EXPECT_EQ(firstBusy, 0) << "the first slide is over";
    RECT stopped = first.GetRectInParent();
    size_t moves = first.places.size();

    ASSERT_TRUE(PumpUntil([&] { return !owner.notices.empty(); }));
    PumpFor(200);
    EXPECT_EQ(owner.notices, std::vector<LPARAM>{SLIDE_OPENED}) << "only the second slide ends";
    EXPECT_EQ(secondBusy, 0);
    EXPECT_EQ(first.places.size(), moves) << "the first panel no longer moves";
    RECT now = first.GetRectInParent();
    EXPECT_TRUE(EqualRect(&now, &stopped));
    RECT secondRect = second.GetRectInParent();
    EXPECT_EQ(secondRect.left, 600);
    EXPECT_EQ(secondRect.right, 800);
}
