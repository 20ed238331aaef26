#include "skinkit/CListBoxEx.h"
#include "skinkit/CTreeCtrlEx.h"
#include "skinkit/SkinBitmapsRes.h"
#include "framework/AfxOle.h"
#include "core/Messages.h"
#include "GuiTestSupport.h"
#include "PickerTestSupport.h"
#include "SkinTestSupport.h"
#include <gtest/gtest.h>
#include <algorithm>
#include <string>

namespace {

// The picker's way of making a list, as a child of the host.
bool MakeList(PickerHost& host, CListBoxEx& list, const RECT& r, UINT id, int kind, int rows)
{
    if (!list.Create(WS_CHILD | WS_VISIBLE | WS_VSCROLL | LBS_NOTIFY | LBS_OWNERDRAWVARIABLE | LBS_HASSTRINGS, r, &host,
                     id))
        return false;
    list.SetColors(0x292929, 0x161616);
    list.SetTextColors(0x00CCFF, 0x008080);
    list.m_bCloseParent = 0;
    list.m_hNotifyWnd = host.m_hWnd;
    list.m_nListKind = kind;
    list.m_bDrag = 1;
    list.RegisterDropTarget(&host);
    for (int i = 0; i < rows; ++i) {
        std::wstring text = L"Row " + std::to_wstring(i + 1);
        list.AddItem(text.c_str(), IDB_LIST_BULLET);
    }
    return true;
}

void WaitPastDoubleClick()
{
    PumpFor(GetDoubleClickTime() + 100);
}

}  // namespace

TEST(CListBoxEx, RowsGiveTheCodesOfTheirListKind)
{
    PickerHost host;
    ASSERT_TRUE(host.Open(100, 100, 600, 300));
    CListBoxEx macros, profiles, dpi, other;
    ASSERT_TRUE(MakeList(host, macros, RECT{0, 0, 150, 300}, 115, 3, 50));
    ASSERT_TRUE(MakeList(host, profiles, RECT{150, 0, 300, 300}, 4369, 2, 13));
    ASSERT_TRUE(MakeList(host, dpi, RECT{300, 0, 450, 300}, 114, 1, 7));
    ASSERT_TRUE(MakeList(host, other, RECT{450, 0, 600, 300}, 116, -1, 3));
    for (int r = 0; r < 50; ++r) EXPECT_EQ(macros.RowCode(r), 1000 + r);
    EXPECT_EQ(macros.RowCode(50), -1);
    for (int r = 0; r < 12; ++r) EXPECT_EQ(profiles.RowCode(r), 32 + r);
    EXPECT_EQ(profiles.RowCode(12), -1) << "a thirteenth row has no code";
    for (int r = 0; r < 6; ++r) EXPECT_EQ(dpi.RowCode(r), 16 + r);
    EXPECT_EQ(dpi.RowCode(6), -1);
    EXPECT_EQ(dpi.RowCode(-1), -1);
    EXPECT_EQ(other.RowCode(0), -1);

    // Insertion at a row for an edited macro.
    EXPECT_EQ(macros.InsertItem(L"Edited", 20), 20);
    EXPECT_EQ(macros.GetText(20), CString(L"Edited"));
    EXPECT_EQ(macros.GetItemData(20), (DWORD_PTR)IDB_LIST_BULLET);
    EXPECT_EQ(macros.InsertItem(L"Last", -1), 51);
}

TEST(CListBoxEx, AClickReportsTheRowsCodeOnceAndARowWithoutCodeLetsTheMouseGo)
{
    ASSERT_TRUE(AfxOleInit());
    PickerHost host;
    ASSERT_TRUE(host.Open(200, 150, 200, 300));
    CListBoxEx profiles;
    ASSERT_TRUE(MakeList(host, profiles, RECT{0, 0, 200, 300}, 4369, 2, 13));
    PumpFor(100);

    MouseClickAt(ListRowPoint(profiles, 5));
    PumpUntil([&] { return !host.Codes(WM_SELECT_CODE).empty(); });
    PumpFor(200);
    EXPECT_EQ(host.Codes(WM_SELECT_CODE), std::vector<int>{37});
    EXPECT_EQ(profiles.GetCurSel(), 5);
    EXPECT_EQ(GetCapture(), nullptr);
    SaveWindowPng(host.m_hWnd, L"code-list-profiles");

    WaitPastDoubleClick();
    host.notices.clear();
    MouseClickAt(ListRowPoint(profiles, 12));
    PumpFor(400);
    EXPECT_TRUE(host.Codes(WM_SELECT_CODE).empty()) << "a thirteenth row has no code";
    EXPECT_EQ(profiles.GetCurSel(), 12);
    EXPECT_EQ(GetCapture(), nullptr) << "the release let the mouse go";

    // The next click elsewhere is an ordinary click again.
    WaitPastDoubleClick();
    MouseClickAt(ListRowPoint(profiles, 2));
    PumpUntil([&] { return !host.Codes(WM_SELECT_CODE).empty(); });
    EXPECT_EQ(host.Codes(WM_SELECT_CODE), std::vector<int>{34});
}

TEST(CListBoxEx, TwoWheelNotchesAtOnceScrollOneLine)
{
    PickerHost host;
    ASSERT_TRUE(host.Open(200, 150, 200, 200));
    CListBoxEx macros;
    ASSERT_TRUE(MakeList(host, macros, RECT{0, 0, 200, 200}, 115, 3, 50));
    MouseMoveTo(ScreenCenter(macros.m_hWnd));
    macros.SetFocus();
    PumpFor(100);
    MouseWheel(-2 * WHEEL_DELTA);
    PumpUntil([&] { return macros.SendMessage(LB_GETTOPINDEX) != 0; });
    EXPECT_EQ(macros.SendMessage(LB_GETTOPINDEX), 1);
    MouseWheel(WHEEL_DELTA);
    PumpUntil([&] { return macros.SendMessage(LB_GETTOPINDEX) == 0; });
    EXPECT_EQ(macros.SendMessage(LB_GETTOPINDEX), 0);
}

TEST(CListBoxEx, ARowDraggedWithTheMouseReachesATargetOfItsRange)
{
    ASSERT_TRUE(AfxOleInit());
    PickerHost host;
    ASSERT_TRUE(host.Open(100, 100, 640, 300));
    CListBoxEx dpi, profiles, empty;
    ASSERT_TRUE(MakeList(host, dpi, RECT{0, 0, 150, 150}, 114, 1, 6));
    ASSERT_TRUE(MakeList(host, profiles, RECT{0, 150, 150, 300}, 4369, 2, 12));
    ASSERT_TRUE(MakeList(host, empty, RECT{160, 0, 310, 150}, 115, 3, 0));
    ASSERT_TRUE(host.AddTargets(RECT{400, 40, 560, 80}, RECT{400, 200, 560, 240}));
    CodeTarget own(16, 1200), anything(-100000, 100000);
    ASSERT_TRUE(own.Open(900, 300));
    ASSERT_TRUE(anything.Open(900, 500));

    struct Case {
        const char* name;
        POINT from;
        HWND to;
        std::vector<int> functionDrops, ownDrops, reported;
    } cases[] = {
        {"a DPI row onto a mouse-button image", ListRowPoint(dpi, 2), host.functionButton.m_hWnd, {18}, {}, {18}},
        {"a DPI row onto a profile button, out of its range", ListRowPoint(dpi, 3), host.profileButton.m_hWnd, {}, {}, {19}},
        {"a profile row onto a window of its own", ListRowPoint(profiles, 5), own.m_hWnd, {}, {37}, {37}},
        {"nothing from an empty list", ScreenCenter(empty.m_hWnd), anything.m_hWnd, {}, {}, {}},
    };
    for (auto& c : cases) {
        host.notices.clear();
        own.dropped.clear();
        anything.dropped.clear();
        DragWithTheMouse(c.from, ScreenCenter(c.to));
        PumpFor(200);
        EXPECT_EQ(host.Codes(WM_DROP_FUNCTION), c.functionDrops) << c.name;
        EXPECT_TRUE(host.Codes(WM_DROP_PROFILE).empty()) << c.name;
        EXPECT_EQ(own.dropped, c.ownDrops) << c.name;
        EXPECT_TRUE(anything.dropped.empty()) << c.name;
        // Back up, the row is chosen in the picker as well.
        EXPECT_EQ(host.Codes(WM_SELECT_CODE), c.reported) << c.name;
        std::vector<HWND> lists = {dpi.m_hWnd, profiles.m_hWnd, empty.m_hWnd};
        EXPECT_EQ(std::count(lists.begin(), lists.end(), GetCapture()), 0) << c.name << ": no list holds the mouse";
        WaitPastDoubleClick();
    }
}

TEST(CodeControls, DroppedNumbersAreTakenAndIgnoredOtherTextsRefused)
{
    ASSERT_TRUE(AfxOleInit());
    PickerHost host;
    ASSERT_TRUE(host.Open(100, 100, 400, 300));
    CListBoxEx list;
    ASSERT_TRUE(MakeList(host, list, RECT{0, 0, 200, 300}, 114, 1, 6));
    CTreeCtrlEx tree;
    ASSERT_TRUE(tree.Create(WS_CHILD | WS_VISIBLE, RECT{200, 0, 400, 300}, &host, 117));
    tree.RegisterDropTarget(nullptr);
    struct Case {
        const wchar_t* text;
        DWORD effect;
    } cases[] = {{L"352", DROPEFFECT_COPY}, {L"-1", DROPEFFECT_COPY}, {L"abc", DROPEFFECT_NONE},
                 {L"", DROPEFFECT_NONE}, {L"12 monkeys", DROPEFFECT_NONE}};
    for (HWND control : {list.m_hWnd, tree.m_hWnd}) {
        for (auto& c : cases) {
            std::string name(c.text, c.text + wcslen(c.text));
            DropAnswer a = DropText(control, POINT{20, 20}, c.text);
            EXPECT_EQ(a.over, c.effect) << name;
            EXPECT_EQ(a.drop, c.effect) << name;
            EXPECT_EQ(BlocksLeftAfterDrop(control, POINT{20, 20}, c.text), 0) << name << ": every block read is freed";
        }
    }
    PumpFor(50);
    EXPECT_TRUE(host.notices.empty()) << "a drop changes nothing";
}

TEST(CListBoxEx, LosingTheFocusClosesTheParentOnlyWithTheFlag)
{
    for (int flag : {1, 0}) {
        PickerHost host;
        ASSERT_TRUE(host.Open(100, 100, 200, 200));
        CListBoxEx list;
        ASSERT_TRUE(MakeList(host, list, RECT{0, 0, 200, 200}, 114, 1, 6));
        list.m_bCloseParent = flag;
        list.SetFocus();
        PickerHost other;
        ASSERT_TRUE(other.Open(400, 100, 100, 100));
        other.SetFocus();
        PumpFor(100);
        EXPECT_EQ(IsWindow(host.m_hWnd) != FALSE, flag == 0) << flag;
    }
}
