#include "framework/CButton.h"
#include "framework/CWnd.h"
#include "GuiTestSupport.h"
#include <commctrl.h>
#include <gtest/gtest.h>
#include <functional>
#include <string>
#include <vector>

namespace {

std::vector<std::string> g_log;

void Note(const std::string& s)
{
    g_log.push_back(s);
}

// Draws itself and keeps its own clicks.
class SelfishButton : public CButton {
public:
    void DrawItem(DRAWITEMSTRUCT* dis) override
    {
        Note("button draws");
        FillRect(dis->hDC, &dis->rcItem, (HBRUSH)GetStockObject(BLACK_BRUSH));
    }
    void OnClicked() { Note("button clicked"); }
    void OnNotifyClick(NMHDR*, LRESULT* result)
    {
        Note("button NM_CLICK");
        *result = 77;
    }
    LRESULT OnScroll(WPARAM w, LPARAM) { Note("button scroll " + std::to_string(LOWORD(w))); return 0; }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(SelfishButton, CButton)
    ON_CONTROL_REFLECT(BN_CLICKED, OnClicked)
    ON_NOTIFY_REFLECT(NM_CLICK, OnNotifyClick)
    ON_REFLECT(WM_HSCROLL, OnScroll)
END_MESSAGE_MAP()

class MeasuringList : public CWnd {
public:
    LRESULT OnMeasure(WPARAM, LPARAM l)
    {
        Note("list measures");
        ((MEASUREITEMSTRUCT*)l)->itemHeight = 33;
        return TRUE;
    }
    LRESULT OnDraw(WPARAM, LPARAM) { return TRUE; }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(MeasuringList, CWnd)
    ON_REFLECT(WM_MEASUREITEM, OnMeasure)
    ON_REFLECT(WM_DRAWITEM, OnDraw)
END_MESSAGE_MAP()

// A label that colours itself only when asked to.
class ColouredLabel : public CWnd {
public:
    HBRUSH brush = nullptr;
    LRESULT OnColour(WPARAM, LPARAM)
    {
        Note("label colours");
        return (LRESULT)brush;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(ColouredLabel, CWnd)
    ON_WM_CTLCOLOR_REFLECT(OnColour)
END_MESSAGE_MAP()

class Parent : public CWnd {
public:
    void OnPlainClicked() { Note("parent clicked 101"); }
    void OnRange(UINT id) { Note("parent range " + std::to_string(id)); }
    void OnMenu() { Note("parent command 300"); }
    void OnNotifyClick(NMHDR* h, LRESULT* result)
    {
        Note("parent NM_CLICK " + std::to_string(h->idFrom));
        *result = 5;
    }
    LRESULT OnDrawItem(WPARAM, LPARAM) { Note("parent draws"); return TRUE; }
    LRESULT OnMeasureItem(WPARAM, LPARAM) { Note("parent measures"); return TRUE; }
    LRESULT OnCtlColor(WPARAM, LPARAM) { Note("parent colours"); return (LRESULT)GetStockObject(GRAY_BRUSH); }
    LRESULT OnScroll(WPARAM, LPARAM) { Note("parent scroll"); return 0; }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(Parent, CWnd)
    ON_BN_CLICKED(101, OnPlainClicked)
    ON_COMMAND_RANGE(200, 210, OnRange)
    ON_COMMAND(300, OnMenu)
    ON_NOTIFY(NM_CLICK, 400, OnNotifyClick)
    ON_MESSAGE(WM_DRAWITEM, OnDrawItem)
    ON_MESSAGE(WM_MEASUREITEM, OnMeasureItem)
    ON_WM_CTLCOLOR(OnCtlColor)
    ON_MESSAGE(WM_HSCROLL, OnScroll)
END_MESSAGE_MAP()

}  // namespace

TEST(MessageMaps, ControlRowsAndReflectionSendEachNotificationToOneHandler)
{
    Parent parent;
    ASSERT_TRUE(parent.CreateEx(0, CWnd::RegisterWndClass(0), L"reflection parent", WS_POPUP | WS_VISIBLE, 10, 10,
                                300, 200, nullptr, nullptr));
    SelfishButton selfish;
    ASSERT_TRUE(selfish.Create(L"", WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, RECT{0, 0, 40, 20}, &parent, 100));
    CButton plain;
    ASSERT_TRUE(plain.Create(L"plain", WS_CHILD | WS_VISIBLE, RECT{50, 0, 90, 20}, &parent, 101));
    ColouredLabel withBrush, withoutBrush;
    withBrush.brush = (HBRUSH)GetStockObject(WHITE_BRUSH);
    ASSERT_TRUE(withBrush.Create(L"STATIC", L"a", WS_CHILD, RECT{0, 30, 40, 50}, &parent, 102));
    ASSERT_TRUE(withoutBrush.Create(L"STATIC", L"b", WS_CHILD, RECT{0, 60, 40, 80}, &parent, 103));
    EXPECT_EQ(CWnd::FromHandle(selfish.m_hWnd), &selfish);
    EXPECT_EQ(CWnd::FromHandle(withBrush.m_hWnd), &withBrush);

    HWND p = parent.m_hWnd;
    NMHDR fromSelfish = {selfish.m_hWnd, 100, NM_CLICK};
    NMHDR fromPlain = {plain.m_hWnd, 400, NM_CLICK};
    struct Case {
        const char* name;
        std::function<LRESULT()> send;
        std::vector<std::string> log;
        LRESULT result;
    } cases[] = {
        {"reflected click", [&] { return SendMessageW(p, WM_COMMAND, MAKEWPARAM(100, BN_CLICKED), (LPARAM)selfish.m_hWnd); },
         {"button clicked"}, 0},
        {"parent's click row", [&] { return SendMessageW(p, WM_COMMAND, MAKEWPARAM(101, BN_CLICKED), (LPARAM)plain.m_hWnd); },
         {"parent clicked 101"}, 0},
        {"other code from the same id", [&] { return SendMessageW(p, WM_COMMAND, MAKEWPARAM(101, BN_SETFOCUS), (LPARAM)plain.m_hWnd); },
         {}, 0},
        {"menu range", [&] { return SendMessageW(p, WM_COMMAND, MAKEWPARAM(205, 0), 0); }, {"parent range 205"}, 0},
        {"outside the range", [&] { return SendMessageW(p, WM_COMMAND, MAKEWPARAM(211, 0), 0); }, {}, 0},
        {"accelerator", [&] { return SendMessageW(p, WM_COMMAND, MAKEWPARAM(300, 1), 0); }, {"parent command 300"}, 0},
        {"reflected notify", [&] { return SendMessageW(p, WM_NOTIFY, 100, (LPARAM)&fromSelfish); }, {"button NM_CLICK"}, 77},
        {"parent's notify row", [&] { return SendMessageW(p, WM_NOTIFY, 400, (LPARAM)&fromPlain); }, {"parent NM_CLICK 400"}, 5},
        {"label with a brush", [&] { return SendMessageW(p, WM_CTLCOLORSTATIC, 0, (LPARAM)withBrush.m_hWnd); },
         {"label colours"}, (LRESULT)GetStockObject(WHITE_BRUSH)},
        {"label without a brush", [&] { return SendMessageW(p, WM_CTLCOLORSTATIC, 0, (LPARAM)withoutBrush.m_hWnd); },
         {"label colours", "parent colours"}, (LRESULT)GetStockObject(GRAY_BRUSH)},
        {"reflected scroll", [&] { return SendMessageW(p, WM_HSCROLL, SB_LINEDOWN, (LPARAM)selfish.m_hWnd); },
         {"button scroll 1"}, 0},
        {"scroll of a plain control", [&] { return SendMessageW(p, WM_HSCROLL, SB_LINEDOWN, (LPARAM)plain.m_hWnd); },
         {"parent scroll"}, 0},
    };
    for (auto& c : cases) {
        g_log.clear();
        EXPECT_EQ(c.send(), c.result) << c.name;
        EXPECT_EQ(g_log, c.log) << c.name;
    }

    // A real paint: the owner-drawn button draws itself and the parent draws nothing (the
    // system still asks the parent for the button's colours).
    g_log.clear();
    selfish.RedrawWindow();
    std::vector<std::string> draws;
    for (auto& s : g_log)
        if (s.find("draws") != std::string::npos) draws.push_back(s);
    EXPECT_EQ(draws, (std::vector<std::string>{"button draws"}));
}

TEST(MessageMaps, MeasureItemReachesAControlWhileItIsBeingCreated)
{
    Parent parent;
    ASSERT_TRUE(parent.CreateEx(0, CWnd::RegisterWndClass(0), L"reflection parent", WS_POPUP, 10, 10, 300, 200,
                                nullptr, nullptr));
    g_log.clear();
    MeasuringList list;
    ASSERT_TRUE(list.Create(L"LISTBOX", L"", WS_CHILD | LBS_OWNERDRAWFIXED | LBS_HASSTRINGS, RECT{0, 0, 100, 100},
                            &parent, 500));
    EXPECT_EQ(g_log, (std::vector<std::string>{"list measures"}));
    EXPECT_EQ(list.SendMessage(LB_GETITEMHEIGHT, 0), 33);
}

TEST(MessageMaps, SystemControlsAreLinkedFromCreationToDestruction)
{
    Parent parent;
    ASSERT_TRUE(parent.CreateEx(0, CWnd::RegisterWndClass(0), L"reflection parent", WS_POPUP, 10, 10, 300, 200,
                                nullptr, nullptr));
    HWND h;
    {
        CButton b;
        ASSERT_TRUE(b.Create(L"x", WS_CHILD, RECT{0, 0, 10, 10}, &parent, 7));
        h = b.m_hWnd;
        EXPECT_EQ(CWnd::FromHandle(h), &b);
        EXPECT_EQ(b.GetDlgCtrlID(), 7);
    }
    EXPECT_FALSE(IsWindow(h));

    // A control made elsewhere, linked afterwards and let go again.
    HWND other = CreateWindowExW(0, L"BUTTON", L"y", WS_CHILD, 0, 0, 10, 10, parent.m_hWnd, (HMENU)8, nullptr, nullptr);
    CButton later;
    ASSERT_TRUE(later.SubclassDlgItem(8, &parent));
    EXPECT_EQ(CWnd::FromHandle(other), &later);
    EXPECT_FALSE(CButton().SubclassWindow(other));
    EXPECT_EQ(later.UnsubclassWindow(), other);
    EXPECT_EQ(CWnd::FromHandle(other), nullptr);
    EXPECT_TRUE(IsWindow(other));
}
