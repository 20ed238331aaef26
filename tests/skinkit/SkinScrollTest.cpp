#include "skinkit/CSkinScrollWnd.h"
#include "skinkit/CListBoxEx.h"
#include "skinkit/CTreeCtrlEx.h"
#include "skinkit/SkinBitmapsRes.h"
#include "skinkit/SkinScrollGeometry.h"
#include "core/FunctionCatalogue.h"
#include "GuiTestSupport.h"
#include "PickerTestSupport.h"
#include "SkinTestSupport.h"
#include <gtest/gtest.h>
#include <atomic>
#include <functional>
#include <string>
#include <vector>

namespace {

SCROLLINFO Info(int nMin, int nMax, UINT nPage, int nPos)
{
    SCROLLINFO si = {};
    si.cbSize = sizeof(si);
    si.fMask = SIF_ALL;
    si.nMin = nMin;
    si.nMax = nMax;
    si.nPage = nPage;
    si.nPos = nPos;
    si.nTrackPos = -1;
    return si;
}

// The list of the picker's macro folder, with a record of the scroll messages it gets.
class MacroList : public CListBoxEx {
public:
    struct Scroll {
        WORD code;
        WORD position;
        DWORD tick;
    };
    std::vector<Scroll> scrolls;
    // The SB_LINEDOWN messages so far, for a person's hand on another thread.
    std::atomic<int> lineDowns{0};
    int placed = 0;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_VSCROLL) scrolls.push_back({LOWORD(wParam), HIWORD(wParam), GetTickCount()});
        if (message == WM_VSCROLL && LOWORD(wParam) == SB_LINEDOWN) ++lineDowns;
        if (message == WM_WINDOWPOSCHANGED) ++placed;
        return CListBoxEx::WindowProc(message, wParam, lParam);
    }
    int Count(WORD code) const
    {
        int n = 0;
        for (auto& s : scrolls) n += s.code == code;
        return n;
    }
    int LastPosition(WORD code) const
    {
        int p = -1;
        for (auto& s : scrolls)
            if (s.code == code) p = s.position;
        return p;
    }
    int Top() const { return (int)::SendMessageW(m_hWnd, LB_GETTOPINDEX, 0, 0); }
};

// A host that counts the WM_DESTROY it gets.
class Host : public PickerHost {
public:
    int destroys = 0;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_DESTROY) ++destroys;
        return PickerHost::WindowProc(message, wParam, lParam);
    }
};

HBITMAP SkinPicture()
{
    return (HBITMAP)LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDB_SCROLLBAR), IMAGE_BITMAP, 0, 0, 0);
}

struct WrappedList {
    Host host;
    MacroList list;
    HBITMAP skin = SkinPicture();
    CSkinScrollWnd* frame = nullptr;

    bool Make(int rows = 50)
    {
        if (!skin || !host.Open(200, 150, 240, 300)) return false;
        if (!list.Create(WS_CHILD | WS_VISIBLE | WS_VSCROLL | LBS_NOTIFY | LBS_OWNERDRAWVARIABLE | LBS_HASSTRINGS,
                         RECT{20, 30, 196, 270}, &host, 115))
            return false;
        list.SetColors(0x292929, 0x161616);
        list.SetTextColors(0x00CCFF, 0x008080);
        list.m_bCloseParent = 0;
        list.m_nListKind = 3;
        list.m_hNotifyWnd = host.m_hWnd;
        for (int i = 0; i < rows; ++i) list.AddItem((L"Macro " + std::to_wstring(i + 1)).c_str(), IDB_LIST_BULLET);
        frame = AttachSkinScroll(&list, skin);
        PumpFor(100);
        return frame != nullptr;
    }
    ~WrappedList()
    {
        host.DestroyWindow();
        DeleteObject(skin);
    }
    CSkinScrollBar& Bar() { return frame->m_vertBar; }
    // Waits until the bar shows the list's position.
    bool BarFollows()
    {
        return PumpUntil([&] { return Bar().m_si.nPos == list.Top(); });
    }
    POINT OnBar(int along)
    {
        POINT p = {Bar().m_nPartWidth / 2, along};
        Bar().ClientToScreen(&p);
        return p;
    }
    POINT ThumbCentre()
    {
        ScrollParts parts = MeasureScrollParts(Bar().m_nLength, Bar().m_nPartWidth, Bar().m_si, Bar().m_si.nPos, false);
        return OnBar(parts.arrow + parts.offset + parts.thumb / 2);
    }
};

}  // namespace

TEST(SkinScrollGeometry, PartsOfTheBar)
{
    const int w = 13;
    struct Case {
        const char* name;
        int length;
        SCROLLINFO si;
        int arrow, thumb, offset;
    } cases[] = {
        {"a track of 11 pixels draws no thumb", 2 * w + 11, Info(0, 99, 10, 0), w, 0, 0},
        {"no track: each arrow half the length", 2 * w, Info(0, 99, 10, 0), w, 0, 0},
        {"shorter still", 20, Info(0, 99, 10, 0), 10, 0, 0},
        {"a page of ten in a hundred", 2 * w + 200, Info(0, 99, 10, 0), w, 20, 0},
        {"at the end", 2 * w + 200, Info(0, 99, 10, 90), w, 20, 180},
        {"half way", 2 * w + 200, Info(0, 99, 10, 45), w, 20, 90},
        {"everything fits: no thumb, the track split evenly", 2 * w + 200, Info(0, 9, 10, 0), w, 0, 100},
        {"a small page keeps a thumb of 12", 2 * w + 200, Info(0, 999, 10, 0), w, 12, 0},
        {"a page larger than the whole", 2 * w + 200, Info(0, 2, 10, 0), w, 0, 100},
        {"an empty range", 2 * w + 200, Info(0, -1, 0, 0), w, 0, 100},
    };
    for (auto& c : cases) {
        ScrollParts p = MeasureScrollParts(c.length, w, c.si, c.si.nPos, false);
        EXPECT_EQ(p.arrow, c.arrow) << c.name;
        EXPECT_EQ(p.thumb, c.thumb) << c.name;
        EXPECT_EQ(p.offset, c.offset) << c.name;
    }

    ScrollParts p = MeasureScrollParts(2 * w + 200, w, Info(0, 99, 10, 45), 45, true);
    struct Hit {
        int at, part;
    } hits[] = {{-1, -1},
                {0, SB_LINEUP},
                {12, SB_LINEUP},
                {13, SB_PAGEUP},
                {102, SB_PAGEUP},
                {103, SB_THUMBTRACK},
                {122, SB_THUMBTRACK},
                {123, SB_PAGEDOWN},
                {212, SB_PAGEDOWN},
                {213, SB_LINEDOWN},
                {300, SB_LINEDOWN}};
    for (auto& h : hits) EXPECT_EQ(ScrollPartAt(p, h.at), h.part) << h.at;
    RECT thumb = ScrollPartRect(p, SB_THUMBTRACK, w, true);
    EXPECT_TRUE(SameRect(thumb, RECT{0, 103, 13, 123}));
    RECT across = ScrollPartRect(p, SB_THUMBTRACK, w, false);
    EXPECT_TRUE(SameRect(across, RECT{103, 0, 123, 13}));

    // Dragging: the pixels the thumb moves scaled to positions, held within the range.
    SCROLLINFO si = Info(0, 99, 10, 45);
    EXPECT_EQ(ThumbDragPosition(si, 45, 18, p), 45 + 18 * 90 / 180);
    EXPECT_EQ(ThumbDragPosition(si, 45, 1000, p), 90) << "beyond the end stays at nMax - nMin - nPage + 1";
    EXPECT_EQ(ThumbDragPosition(si, 45, -1000, p), 0);
}

TEST(SkinScroll, AWrappedListShowsASkinnedBarInPlaceOfItsOwn)
{
    WrappedList w;
    ASSERT_TRUE(w.Make());
    CSkinScrollWnd* frame = w.frame;
    RECT at = frame->GetRectInParent();
    EXPECT_TRUE(SameRect(at, RECT{20, 30, 196, 270})) << "the frame takes the list's place";
    EXPECT_EQ(frame->GetDlgCtrlID(), 115);
    EXPECT_EQ(::GetParent(w.list.m_hWnd), frame->m_clip.m_hWnd);
    EXPECT_EQ(w.frame, SkinScrollFrameOf(w.list.m_hWnd));
    EXPECT_TRUE(w.Bar().IsWindowVisible());
    EXPECT_FALSE(frame->m_horzBar.IsWindowVisible());
    RECT bar = w.Bar().GetRectInParent();
    EXPECT_TRUE(SameRect(bar, RECT{176 - 13, 0, 176, 240}));
    RECT clip = frame->m_clip.GetRectInParent();
    EXPECT_TRUE(SameRect(clip, RECT{0, 0, 176 - 13, 240}));
    EXPECT_EQ(w.list.GetClientRect().right, 176 - 13) << "the list loses the skin's thickness only";
    EXPECT_EQ(w.Bar().m_si.nMax, 49);
    EXPECT_EQ(w.Bar().m_si.nPage, 12u);
    EXPECT_TRUE(w.Bar().IsWindowEnabled());
    SaveWindowPng(w.host.m_hWnd, L"skin-scroll-list-top");
}

TEST(SkinScroll, TheBarFollowsTheListScrolledByWheelKeysAndThumb)
{
    WrappedList w;
    ASSERT_TRUE(w.Make());
    w.list.SetFocus();
    MouseMoveTo(ScreenCenter(w.list.m_hWnd));
    PumpFor(100);

    // Wheel: one line per message.
    for (int i = 0; i < 3; ++i) MouseWheel(-WHEEL_DELTA);
    ASSERT_TRUE(PumpUntil([&] { return w.list.Top() == 3; }));
    EXPECT_TRUE(w.BarFollows()) << w.Bar().m_si.nPos;

    // Keys (the first key of a list without a caret only puts the caret on row 0).
    w.list.SetCurSel(3);
    struct Key {
        WORD vk;
        int top;
    } keys[] = {{VK_END, 50 - 12}, {VK_HOME, 0}, {VK_NEXT, 0}, {VK_NEXT, -1}};
    for (auto& k : keys) {
        KeyTap(k.vk, true);
        ASSERT_TRUE(PumpUntil([&] { return k.top >= 0 ? w.list.Top() == k.top : w.list.Top() > 0; })) << k.vk;
        PumpFor(100);
        EXPECT_TRUE(w.BarFollows()) << k.vk << ": " << w.Bar().m_si.nPos << " for " << w.list.Top();
    }
    SaveWindowPng(w.host.m_hWnd, L"skin-scroll-list-paged");

    // The thumb, dragged with the mouse: the thumb follows the mouse, and the list goes
    // where it was let go. (Wine's list box reads the position of a drag from its own
    // bar, which is not the one dragged, so it moves only at the release.)
    int before = w.list.Top();
    POINT from = w.ThumbCentre();
    w.list.scrolls.clear();
    AsAPerson([&] {
        MouseMoveTo(from);
        Sleep(100);
        MouseButton(true, true);
        Sleep(100);
        for (int i = 1; i <= 6; ++i) {
            MouseMoveTo(POINT{from.x, from.y + 10 * i});
            Sleep(60);
        }
        Sleep(150);
        MouseButton(true, false);
    });
    int tracked = w.list.LastPosition(SB_THUMBTRACK);
    EXPECT_GT(tracked, before) << "the thumb moved with the mouse";
    EXPECT_EQ(w.list.LastPosition(SB_THUMBPOSITION), tracked);
    EXPECT_EQ(w.list.Top(), tracked);
    EXPECT_TRUE(w.BarFollows());
    EXPECT_FALSE(w.Bar().IsDragging());
    EXPECT_EQ(w.Bar().m_si.nTrackPos, -1);
    SaveWindowPng(w.host.m_hWnd, L"skin-scroll-list-dragged");

    // Dragged far beyond the end, the list stops at its last position.
    from = w.ThumbCentre();
    AsAPerson([&] {
        MouseMoveTo(from);
        Sleep(100);
        MouseButton(true, true);
        Sleep(100);
        MouseMoveTo(POINT{from.x, from.y + 600});
        Sleep(200);
        MouseButton(true, false);
    });
    EXPECT_EQ(w.list.Top(), 50 - 12);
    EXPECT_TRUE(w.BarFollows());
}

TEST(SkinScroll, ArrowsAndTrackRepeatWhileHeld)
{
    WrappedList w;
    ASSERT_TRUE(w.Make());
    PumpFor(100);
    POINT down = w.OnBar(w.Bar().m_nLength - 4);

    // A click: one line at once.
    MouseClickAt(down);
    PumpFor(200);
    EXPECT_EQ(w.list.Top(), 1);
    EXPECT_EQ(w.list.Count(SB_LINEDOWN), 1);
    PumpFor(GetDoubleClickTime() + 100);

    // Held: at once, after 500 ms, then every 100 ms.
    w.list.scrolls.clear();
    w.list.lineDowns = 0;
    bool outsideSeen = false;
    int whileAway = 0;
    AsAPerson([&] {
        MouseMoveTo(down);
        Sleep(50);
        MouseButton(true, true);
        // Held until the repeat has given seven lines (1,000 ms on an idle machine).
        WaitUntil([&] { return w.list.lineDowns >= 7; });
        // Off the arrow the repeat pauses and the arrow shows at rest.
        MouseMoveTo(POINT{down.x - 60, down.y});
        WaitUntil([&] { return w.Bar().m_bOutside != 0; });
        outsideSeen = w.Bar().m_bOutside != 0;
        whileAway = w.list.lineDowns;
        Sleep(400);
        MouseButton(true, false);
    }, 3 * WINDOW_WAIT_MS);
    ASSERT_GE(w.list.scrolls.size(), 4u);
    DWORD first = w.list.scrolls[0].tick;
    EXPECT_GE(w.list.scrolls[1].tick - first, 450u) << "the second line after 500 ms";
    EXPECT_LE(w.list.scrolls[1].tick - first, 700u);
    // Every 100 ms after that, on average: the system's timer keeps its beat, so on a busy
    // machine a late line is followed by an early one.
    for (size_t i = 2; i < w.list.scrolls.size(); ++i) {
        DWORD gap = w.list.scrolls[i].tick - w.list.scrolls[i - 1].tick;
        EXPECT_LE(gap, 250u) << i;
    }
    if (w.list.scrolls.size() > 2) {
        DWORD repeats = (DWORD)w.list.scrolls.size() - 2;
        DWORD average = (w.list.scrolls.back().tick - w.list.scrolls[1].tick) / repeats;
        EXPECT_GE(average, 80u) << repeats << " repeats";
        EXPECT_LE(average, 150u) << repeats << " repeats";
    }
    EXPECT_GE(w.list.Count(SB_LINEDOWN), 6);
    EXPECT_LE(w.list.Count(SB_LINEDOWN), 9);
    EXPECT_TRUE(outsideSeen);
    EXPECT_EQ(w.list.Count(SB_LINEDOWN), whileAway) << "no line while the pointer is off the arrow";
    EXPECT_EQ(w.Bar().m_nPressedPart, -1);
    EXPECT_TRUE(w.BarFollows());
    PumpFor(GetDoubleClickTime() + 100);

    // The track below the thumb, held: pages until the thumb reaches the pointer.
    MouseClickAt(w.OnBar(20));  // back near the top first: the track above pages up
    PumpFor(GetDoubleClickTime() + 100);
    int topBefore = w.list.Top();
    POINT track = w.OnBar(w.Bar().m_nLength * 3 / 4);
    POINT trackClient = track;
    w.Bar().ScreenToClient(&trackClient);
    AsAPerson([&] {
        MouseMoveTo(track);
        Sleep(50);
        MouseButton(true, true);
        // Held until the thumb has come to the pointer, and a while longer: it stops there.
        WaitUntil([&] {
            CSkinScrollBar& bar = w.Bar();
            ScrollParts parts = MeasureScrollParts(bar.m_nLength, bar.m_nPartWidth, bar.m_si, bar.m_si.nPos, false);
            return parts.arrow + parts.offset + parts.thumb + parts.thumb >= trackClient.y;
        });
        Sleep(1000);
        MouseButton(true, false);
    }, 3 * WINDOW_WAIT_MS);
    EXPECT_GT(w.list.Top(), topBefore);
    EXPECT_LT(w.list.Top(), 50 - 12) << "it stopped at the pointer, not at the end";
    POINT client = track;
    w.Bar().ScreenToClient(&client);
    ScrollParts parts = MeasureScrollParts(w.Bar().m_nLength, w.Bar().m_nPartWidth, w.Bar().m_si, w.Bar().m_si.nPos, false);
    EXPECT_LE(parts.arrow + parts.offset, client.y + 1);
    EXPECT_GE(parts.arrow + parts.offset + parts.thumb + parts.thumb, client.y) << "the thumb came to the pointer";
    PumpFor(GetDoubleClickTime() + 100);

    // A double click pages once, for its first click only.
    w.list.scrolls.clear();
    POINT below = w.OnBar(w.Bar().m_nLength - 20);
    AsAPerson([&] {
        MouseClickAt(below);
        Sleep(60);
        MouseClickAt(below);
        Sleep(100);
    });
    EXPECT_EQ(w.list.scrolls.size(), 1u);
}

TEST(SkinScroll, TheFrameMovesShowsAndGoesWithItsWindow)
{
    WrappedList w;
    ASSERT_TRUE(w.Make());
    // Moved and sized by its owner (as the side bar places a folder's window): the frame
    // goes there and the window stays at the clip child's origin.
    w.list.placed = 0;
    w.list.MoveWindow(0, 45, 174, 195);
    EXPECT_LE(w.list.placed, 4) << "the window's moves are not passed back and forth";
    PumpFor(100);
    RECT at = w.frame->GetRectInParent();
    EXPECT_TRUE(SameRect(at, RECT{0, 45, 174, 240}));
    RECT inside = w.list.GetRectInParent();
    EXPECT_EQ(inside.left, 0);
    EXPECT_EQ(inside.top, 0);
    EXPECT_EQ(inside.right, 174);
    EXPECT_EQ(inside.bottom, 195);
    RECT bar = w.Bar().GetRectInParent();
    EXPECT_TRUE(SameRect(bar, RECT{174 - 13, 0, 174, 195}));
    // Sized only: the frame keeps its place.
    SetWindowPos(w.list.m_hWnd, nullptr, 0, 0, 150, 150, SWP_NOMOVE | SWP_NOZORDER);
    PumpFor(100);
    at = w.frame->GetRectInParent();
    EXPECT_TRUE(SameRect(at, RECT{0, 45, 150, 195}));

    w.list.ShowWindow(SW_HIDE);
    EXPECT_FALSE(w.frame->IsWindowVisible());
    w.list.ShowWindow(SW_SHOW);
    EXPECT_TRUE(w.frame->IsWindowVisible());

    // Taken out again: the window is back in the host at the frame's place.
    HWND frameWindow = w.frame->m_hWnd;
    EXPECT_TRUE(DetachSkinScroll(&w.list));
    EXPECT_FALSE(IsWindow(frameWindow));
    EXPECT_EQ(::GetParent(w.list.m_hWnd), w.host.m_hWnd);
    RECT back = w.list.GetRectInParent();
    EXPECT_TRUE(SameRect(back, RECT{0, 45, 150, 195}));
    EXPECT_EQ(SkinScrollFrameOf(w.list.m_hWnd), nullptr);
    EXPECT_TRUE(DetachSkinScroll(&w.list)) << "not wrapped: nothing to do";
    w.frame = nullptr;
}

TEST(SkinScroll, AWrappedWindowDestroyedAloneLeavesItsParentAlone)
{
    WrappedList w;
    ASSERT_TRUE(w.Make());
    HWND frameWindow = w.frame->m_hWnd;
    w.list.DestroyWindow();
    PumpFor(100);
    EXPECT_FALSE(IsWindow(frameWindow)) << "the frame goes with its window";
    EXPECT_TRUE(IsWindow(w.host.m_hWnd));
    EXPECT_EQ(w.host.destroys, 0) << "no WM_DESTROY reaches the parent";
    EXPECT_TRUE(w.host.IsWindowVisible());

    // Several wrapped windows going with their parent.
    WrappedList other;
    ASSERT_TRUE(other.Make());
    MacroList second;
    ASSERT_TRUE(second.Create(WS_CHILD | WS_VISIBLE | WS_VSCROLL | LBS_NOTIFY | LBS_HASSTRINGS, RECT{0, 0, 10, 10},
                              &other.host, 114));
    ASSERT_NE(AttachSkinScroll(&second, other.skin), nullptr);
    EXPECT_EQ(AttachSkinScroll(&second, other.skin), nullptr) << "wrapped once";
    other.host.DestroyWindow();
    EXPECT_EQ(other.host.destroys, 1);
    EXPECT_FALSE(IsWindow(second.m_hWnd));
}

TEST(SkinScroll, AWrappedCommandTree)
{
    Host host;
    ASSERT_TRUE(host.Open(200, 150, 200, 260));
    HBITMAP skin = SkinPicture();
    CTreeCtrlEx tree;
    ASSERT_TRUE(tree.Create(WS_CHILD | WS_VISIBLE | WS_TABSTOP | TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT,
                            RECT{0, 25, 174, 240}, &host, 117));
    tree.SetBkColor(0x161616);
    tree.SetTextColor(0x00CCFF);
    tree.SetFont(tree.m_font, TRUE);
    tree.AddCatalogue(LoadCatalogue(SourceFile(L"resources\\Functions.xml")).roots);
    for (HTREEITEM root = tree.GetRootItem(); root; root = tree.GetNextSiblingItem(root)) tree.Expand(root, TVE_EXPAND);
    CSkinScrollWnd* frame = AttachSkinScroll(&tree, skin);
    ASSERT_NE(frame, nullptr);
    PumpFor(200);
    EXPECT_TRUE(frame->m_vertBar.IsWindowVisible());
    EXPECT_TRUE(frame->m_horzBar.IsWindowVisible()) << "the commands are wider than the tree";
    EXPECT_EQ(frame->m_nCornerType, 2);
    tree.SelectItem(tree.GetRootItem());
    tree.EnsureVisible(tree.GetRootItem());
    host.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    SaveWindowPng(host.m_hWnd, L"skin-scroll-tree-top");

    tree.SetFocus();
    KeyTap(VK_END, true);
    auto position = [&] {
        SCROLLINFO si = {};
        si.cbSize = sizeof(si);
        si.fMask = SIF_ALL;
        GetScrollInfo(tree.m_hWnd, SB_VERT, &si);
        return si.nPos;
    };
    ASSERT_TRUE(PumpUntil([&] { return position() > 0; }));
    EXPECT_TRUE(PumpUntil([&] { return frame->m_vertBar.m_si.nPos == position(); }));
    host.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    SaveWindowPng(host.m_hWnd, L"skin-scroll-tree-end");
    host.DestroyWindow();
    DeleteObject(skin);
}

namespace {

// A window of the test's thread that runs an action there when another thread asks.
class UiAction : public CWnd {
public:
    std::function<void()> action;
    bool Make()
    {
        return CreateEx(0, CWnd::RegisterWndClass(0), L"ui action", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr) != FALSE;
    }
    void Run() { ::SendMessageW(m_hWnd, WM_APP, 0, 0); }
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_APP && action) {
            action();
            return 0;
        }
        return CWnd::WindowProc(message, wParam, lParam);
    }
};

}  // namespace

// An arrow, the track or the thumb held when the mouse is taken from the bar (a box that
// disables the window, another window taking the mouse, the system cancelling the mode):
// the press ends there. Nothing repeats, the thumb no longer follows the pointer, the
// release that comes later goes elsewhere, and the frame keeps the bar in line again.
TEST(SkinScroll, APressEndsWhenTheMouseIsTakenFromTheBar)
{
    enum Way { Disabled, OtherWindow, CancelMode };
    enum Part { Arrow, Track, Thumb };
    const struct {
        const char* name;
        Way way;
        Part part;
    } cases[] = {
        {"the down arrow, the window disabled by a box", Disabled, Arrow},
        {"the track, the window disabled by a box", Disabled, Track},
        {"the thumb, the window disabled by a box", Disabled, Thumb},
        {"the down arrow, another window takes the mouse", OtherWindow, Arrow},
        {"the thumb, another window takes the mouse", OtherWindow, Thumb},
        {"the track, the mode cancelled", CancelMode, Track},
        {"the thumb, the mode cancelled", CancelMode, Thumb},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        WrappedList w;
        ASSERT_TRUE(w.Make());
        UiAction take;
        ASSERT_TRUE(take.Make());
        take.action = [&] {
            if (c.way == Disabled) w.host.EnableWindow(FALSE);
            if (c.way == OtherWindow) take.SetCapture();
            if (c.way == CancelMode) w.Bar().SendMessage(WM_CANCELMODE);
        };
        w.list.SendMessage(LB_SETTOPINDEX, c.part == Track ? 0 : 10);
        ASSERT_TRUE(w.BarFollows());
        POINT at = c.part == Arrow ? w.OnBar(w.Bar().m_nLength - 4)
                                   : c.part == Track ? w.OnBar(w.Bar().m_nLength * 3 / 4) : w.ThumbCentre();
        w.list.scrolls.clear();
        std::atomic<bool> pressed{false};
        DWORD lost = 0;
        AsAPerson([&] {
            MouseMoveTo(at);
            Sleep(100);
            MouseButton(true, true);
            pressed = WaitUntil([&] { return w.Bar().m_nPressedPart >= 0 || w.Bar().IsDragging(); }, 3000);
            Sleep(100);
            take.Run();
            lost = GetTickCount();
            // Still held, the pointer goes along the bar, then lets go.
            for (int i = 1; i <= 3; ++i) {
                MouseMoveTo(POINT{at.x, at.y + (c.part == Thumb ? 25 * i : 0)});
                Sleep(100);
            }
            Sleep(700);
            MouseButton(true, false);
            Sleep(100);
        });
        ASSERT_TRUE(pressed) << "the press reached the bar";
        int after = 0;
        for (auto& s : w.list.scrolls)
            if (s.tick > lost && (s.code == SB_LINEDOWN || s.code == SB_PAGEDOWN || s.code == SB_THUMBTRACK)) ++after;
        EXPECT_EQ(after, 0) << "no scrolling once the mouse was taken";
        EXPECT_EQ(w.Bar().m_nPressedPart, -1);
        EXPECT_FALSE(w.Bar().IsDragging());
        EXPECT_EQ(w.Bar().m_si.nTrackPos, -1);
        EXPECT_EQ(w.Bar().m_bAutoRepeat, 0);
        if (c.way == OtherWindow) {
            EXPECT_EQ(GetCapture(), take.m_hWnd) << "left where it went";
        }
        ReleaseCapture();
        w.host.EnableWindow(TRUE);
        // The frame follows the list again, by its timer too.
        w.list.SendMessage(LB_SETTOPINDEX, 20);
        EXPECT_TRUE(w.BarFollows()) << w.Bar().m_si.nPos << " for " << w.list.Top();
        w.host.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
        SaveWindowPng(w.host.m_hWnd, L"skin-scroll-mouse-taken");
        take.DestroyWindow();
    }
}
