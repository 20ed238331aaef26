#include "skinkit/CDMarker.h"
#include "skinkit/CVMarker.h"
#include "skinkit/SkinFiles.h"
#include "core/Messages.h"
#include "core/SkinEntry.h"
#include "framework/CDC.h"
#include "GuiTestSupport.h"
#include "SkinTestSupport.h"
#include <gtest/gtest.h>
#include <vector>

namespace {

constexpr COLORREF kEmpty = RGB(0, 0, 160);
constexpr COLORREF kFull = RGB(200, 0, 0);

struct Report {
    WPARAM value;
    LPARAM id;
};

// The sensor-settings panel in miniature: its pictures and the five markers at their
// entries of the shipped "Strings.xml", with the panel's ranges, recording the reports.
class MarkerHost : public CWnd {
public:
    CBitmap normal, down;
    CDMarker doubleClick, scroll, sensitivity;
    CVMarker deviceX, deviceY;
    std::vector<Report> reports;

    struct Slot {
        const wchar_t* entry;
        CSliderMarker* marker;
        int id;
    };
    std::vector<Slot> Slots()
    {
        return {{L"SLIDERS_DOUBLE_CLICK_SPEED", &doubleClick, 11},
                {L"SLIDERS_SCROLL_SPEED", &scroll, 12},
                {L"SLIDERS_SENSITIVITY", &sensitivity, 13},
                {L"SLIDERS_ADVANCE_SENSITIVITY_X", &deviceX, 14},
                {L"SLIDERS_ADVANCE_SENSITIVITY_Y", &deviceY, 15}};
    }

    // With the shipped pictures, or with plain ones (empty blue, full red) of the same size.
    bool Open(bool plainPictures)
    {
        std::vector<SkinItem> pictures = ReadSkinSection(L"Skins.xml", L"MOUSE_PROPERTIES");
        SIZE size = LoadSkinPicture(pictures, L"MOUSE_PROPERTIES_NORMAL", normal);
        LoadSkinPicture(pictures, L"MOUSE_PROPERTIES_DOWN", down);
        if (size.cx <= 0) return false;
        if (plainPictures) {
            normal.Attach(SolidDib(size.cx, size.cy, kEmpty));
            down.Attach(SolidDib(size.cx, size.cy, kFull));
        }
        if (!CreateEx(0, RegisterWndClass(0, LoadCursorW(nullptr, IDC_ARROW), (HBRUSH)GetStockObject(BLACK_BRUSH)),
                      L"marker host", WS_POPUP | WS_VISIBLE, 100, 100, size.cx, size.cy, nullptr, nullptr))
            return false;
        std::vector<SkinItem> strings = ReadSkinSection(L"Strings.xml", L"MOUSE_PROPERTIES");
        for (const Slot& s : Slots()) {
            const CString* text = FindSkinItem(strings, s.entry);
            if (!text) return false;
            SkinEntry e;
            ParseSkinEntry(*text, e);
            if (!s.marker->CreateMarker(s.id, e.rect, this)) return false;
            s.marker->SetBitmaps(normal, down, e.rect);
        }
        doubleClick.SetRange(950, 150);
        scroll.SetRange(18, 1);
        sensitivity.SetRange(20, 1);
        deviceX.SetDefaultRange();
        deviceY.SetDefaultRange();
        return ShowAt(m_hWnd, RECT{100, 100, 100 + size.cx, 100 + size.cy});
    }
    // A point of the host's client area on the screen.
    POINT Screen(int x, int y)
    {
        POINT p = {x, y};
        ClientToScreen(&p);
        return p;
    }
    LRESULT OnMarkerChanged(WPARAM w, LPARAM l)
    {
        reports.push_back({w, l});
        return 0;
    }
    // The panel's ground, as its own background erase shows it.
    LRESULT OnPaint(WPARAM, LPARAM)
    {
        CPaintDC dc(this);
        CDC picture;
        picture.CreateCompatibleDC(&dc);
        picture.SelectObject(normal);
        SIZE size = normal.GetSize();
        dc.BitBlt(0, 0, size.cx, size.cy, &picture, 0, 0, SRCCOPY);
        return 0;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(MarkerHost, CWnd)
    ON_MESSAGE(WM_MARKER_CHANGED, OnMarkerChanged)
    ON_MESSAGE(WM_PAINT, OnPaint)
END_MESSAGE_MAP()

// A person presses at from, moves to to in two steps and lets go there.
void SlideWithTheMouse(POINT from, POINT to)
{
    WhilePersonActs([&] {
        MouseMoveTo(from);
        Sleep(40);
        MouseButton(true, true);
        Sleep(30);
        for (int i = 1; i <= 2; ++i) {
            MouseMoveTo(POINT{from.x + (to.x - from.x) * i / 2, from.y + (to.y - from.y) * i / 2});
            Sleep(20);
        }
        MouseButton(true, false);
        Sleep(30);
    });
    PumpFor(50);
}

}  // namespace

// Each marker of the settings panel, dragged by the mouse to a point before its start, its
// start, its middle, its end and past its end; the release reports the value with the
// marker's id. Horizontal tracks are 160 pixels wide and vertical ones 112 high.
TEST(SliderMarker, ReleasePointsMapToValuesOnEveryMarker)
{
    SkinFolders folders;
    MarkerHost host;
    ASSERT_TRUE(host.Open(false));
    enum Where { Before, Start, Middle, End, Past };
    struct Case {
        int id;
        Where where;
        int value;
    } cases[] = {
        {11, Before, 150}, {11, Start, 150}, {11, Middle, 550}, {11, End, 950}, {11, Past, 950},
        {12, Before, 1},   {12, Start, 1},   {12, Middle, 9},   {12, End, 18},  {12, Past, 18},
        {13, Before, 1},   {13, Start, 1},   {13, Middle, 10},  {13, End, 20},  {13, Past, 20},
        {14, Before, 1},   {14, Start, 1},   {14, Middle, 9},   {14, End, 18},  {14, Past, 18},
        {15, Before, 1},   {15, Start, 1},   {15, Middle, 9},   {15, End, 18},  {15, Past, 18},
    };
    for (const auto& slot : host.Slots()) {
        const RECT& t = slot.marker->m_rcTrack;
        if (slot.id <= 13) ASSERT_EQ(t.right - t.left, 160) << slot.id;
        else ASSERT_EQ(t.bottom - t.top, 112) << slot.id;
    }
    for (const Case& c : cases) {
        CSliderMarker* m = host.Slots()[c.id - 11].marker;
        const RECT& t = m->m_rcTrack;
        bool horizontal = c.id <= 13;
        POINT press = host.Screen((t.left + t.right) / 2, (t.top + t.bottom) / 2);
        POINT release;
        if (horizontal) {
            int x[] = {t.left - 20, t.left, (t.left + t.right) / 2, t.right, t.right + 30};
            release = host.Screen(x[c.where], (t.top + t.bottom) / 2);
        } else {
            int y[] = {t.bottom + 20, t.bottom, (t.top + t.bottom) / 2, t.top, t.top - 30};
            release = host.Screen((t.left + t.right) / 2, y[c.where]);
        }
        host.reports.clear();
        SlideWithTheMouse(press, release);
        PumpUntil([&] { return !host.reports.empty(); });
        ASSERT_EQ(host.reports.size(), 1u) << c.id << " at " << c.where;
        EXPECT_EQ((int)host.reports[0].value, c.value) << c.id << " at " << c.where;
        EXPECT_EQ(host.reports[0].id, c.id);
        EXPECT_EQ(m->GetPosition(), c.value);
        EXPECT_FALSE(m->IsDragging());
        EXPECT_NE(GetCapture(), m->m_hWnd);
    }
    // As the panel shows a record: double-click time 500 ms, scroll 3 lines, speed 10,
    // sensitivity 6 and 14.
    host.doubleClick.SetPosition(1100 - 500);
    host.scroll.SetPosition(3);
    host.sensitivity.SetPosition(10);
    host.deviceX.SetPosition(6);
    host.deviceY.SetPosition(14);
    GrabWindow(host.m_hWnd);
    SaveWindowPng(host.m_hWnd, L"slider-markers-set");
}

// The arithmetic alone, with the example of a 400-pixel track and the empty cases that
// would divide by zero.
TEST(SliderMarker, MappingArithmetic)
{
    struct Case {
        MarkerAxis axis;
        RECT track;
        int min, max;
        POINT at;
        int value;
    } cases[] = {
        {MarkerAxis::Horizontal, {100, 0, 500, 10}, 150, 950, {300, 5}, 550},
        {MarkerAxis::Horizontal, {100, 0, 500, 10}, 150, 950, {-5000, 5}, 150},
        {MarkerAxis::Horizontal, {100, 0, 500, 10}, 150, 950, {30000, 5}, 950},
        {MarkerAxis::Vertical, {0, 100, 10, 200}, 1, 18, {5, 150}, 9},
        {MarkerAxis::Vertical, {0, 100, 10, 200}, 1, 18, {5, -30000}, 18},
        {MarkerAxis::Horizontal, {100, 0, 100, 10}, 1, 18, {150, 5}, 1},
        {MarkerAxis::Vertical, {0, 100, 10, 100}, 1, 18, {5, 50}, 1},
        {MarkerAxis::Horizontal, {100, 0, 500, 10}, 5, 5, {300, 5}, 5},
    };
    for (const Case& c : cases) EXPECT_EQ(MarkerValueAt(c.axis, c.track, c.min, c.max, c.at), c.value);
    EXPECT_EQ(MarkerFillExtent(MarkerAxis::Horizontal, RECT{0, 0, 160, 14}, 150, 950, 600), 90);
    EXPECT_EQ(MarkerFillExtent(MarkerAxis::Horizontal, RECT{0, 0, 160, 14}, 5, 5, 5), 0);
    EXPECT_EQ(MarkerFillExtent(MarkerAxis::Vertical, RECT{0, 0, 18, 0}, 1, 18, 18), 0);
}

// A value set from the record fills the track from the left (horizontal) or the bottom
// (vertical) up to the value's place; a value out of range shows min.
TEST(SliderMarker, ValueSetFromTheRecordShowsAtItsPlace)
{
    SkinFolders folders;
    MarkerHost host;
    ASSERT_TRUE(host.Open(true));
    struct Case {
        int id;
        int value;      // as the panel sets it
        int shown;      // the value the marker keeps
        int filled;     // full columns from the left, or rows from the bottom
    } cases[] = {
        {11, 1100 - 500, 600, 90},   // double-click time 500 ms
        {11, 1100 - 950, 150, 0},
        {12, 9, 9, 75},
        {13, 20, 20, 160},
        {14, 1, 1, 0},
        {15, 18, 18, 112},
        {15, 10, 10, 59},
        {14, 19, 1, 0},  // above max: min, not the nearer bound
        {12, 0, 1, 0},
    };
    for (const Case& c : cases) {
        CSliderMarker* m = host.Slots()[c.id - 11].marker;
        m->SetPosition(c.value);
        EXPECT_EQ(m->GetPosition(), c.shown) << c.id << " " << c.value;
        WindowPixels p = GrabWindow(m->m_hWnd);
        int filled = 0;
        if (c.id <= 13) {
            while (filled < p.width && p.At(filled, p.height / 2) == kFull) ++filled;
            for (int x = filled; x < p.width; ++x) ASSERT_EQ(p.At(x, p.height / 2), kEmpty) << c.id << " x " << x;
            EXPECT_EQ(p.Count(RECT{0, 0, filled, p.height}, kFull), filled * p.height);
        } else {
            while (filled < p.height && p.At(p.width / 2, p.height - 1 - filled) == kFull) ++filled;
            for (int y = 0; y < p.height - filled; ++y) ASSERT_EQ(p.At(p.width / 2, y), kEmpty) << c.id << " y " << y;
            EXPECT_EQ(p.Count(RECT{0, p.height - filled, p.width, p.height}, kFull), filled * p.width);
        }
        EXPECT_EQ(filled, c.filled) << c.id << " " << c.value;
    }
    EXPECT_TRUE(host.reports.empty());
}

TEST(SliderMarker, PressAloneChangesNothingAndAClickReportsItsPoint)
{
    SkinFolders folders;
    MarkerHost host;
    ASSERT_TRUE(host.Open(false));
    host.scroll.SetPosition(4);
    const RECT& t = host.scroll.m_rcTrack;
    int y = (t.top + t.bottom) / 2;
    WhilePersonActs([&] {
        MouseMoveTo(host.Screen(t.right - 1, y));
        Sleep(50);
        MouseButton(true, true);
        Sleep(100);
    });
    EXPECT_TRUE(PumpUntil([&] { return host.scroll.IsDragging(); })) << "the press taken";
    EXPECT_EQ(host.scroll.GetPosition(), 4);
    EXPECT_TRUE(host.reports.empty());
    WhilePersonActs([] {
        MouseButton(true, false);
        Sleep(50);
    });
    PumpUntil([&] { return !host.reports.empty(); });
    ASSERT_EQ(host.reports.size(), 1u);
    EXPECT_EQ((int)host.reports[0].value, 1 + 17 * 159 / 160);
    EXPECT_EQ(host.reports[0].id, 12);
}

// Another window of the thread takes the mouse during a drag: the marker leaves it there,
// ends its drag and shows the value the parent knows again; later moves change nothing.
TEST(SliderMarker, LosingTheCaptureEndsTheDragWithoutTakingTheCaptureBack)
{
    SkinFolders folders;
    MarkerHost host;
    ASSERT_TRUE(host.Open(true));
    CDMarker& m = host.sensitivity;
    m.SetPosition(5);
    const RECT& t = m.m_rcTrack;
    auto clientPoint = [&](int parentX) { return MAKELPARAM(parentX - t.left, (t.bottom - t.top) / 2); };
    m.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, clientPoint(t.left + 10));
    ASSERT_EQ(GetCapture(), m.m_hWnd);
    m.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, clientPoint(t.right - 1));
    EXPECT_EQ(m.GetPosition(), 19);

    CWnd other;
    ASSERT_TRUE(other.CreateEx(0, CWnd::RegisterWndClass(0), L"other", WS_POPUP | WS_VISIBLE, 0, 0, 20, 20, nullptr,
                               nullptr));
    other.SetCapture();
    PumpFor(50);
    EXPECT_EQ(GetCapture(), other.m_hWnd);
    EXPECT_FALSE(m.IsDragging());
    EXPECT_EQ(m.GetPosition(), 5);
    m.SendMessage(WM_MOUSEMOVE, 0, clientPoint(t.left + 80));
    EXPECT_EQ(m.GetPosition(), 5);
    WindowPixels p = GrabWindow(m.m_hWnd);
    EXPECT_EQ(p.At(MarkerFillExtent(MarkerAxis::Horizontal, t, 1, 20, 5) - 1, p.height / 2), kFull);
    EXPECT_EQ(p.At(MarkerFillExtent(MarkerAxis::Horizontal, t, 1, 20, 5), p.height / 2), kEmpty);
    PumpFor(50);
    EXPECT_TRUE(host.reports.empty());
    ReleaseCapture();
}
