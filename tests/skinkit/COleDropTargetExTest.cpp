#include "skinkit/COleDropTargetEx.h"
#include "skinkit/DropText.h"
#include "framework/AfxOle.h"
#include "framework/COleDataSource.h"
#include "framework/CWnd.h"
#include "core/Messages.h"
#include "GuiTestSupport.h"
#include <gtest/gtest.h>
#include <cstring>
#include <vector>

namespace {

// A control that takes drops through its map.
class Dropper : public CWnd {
public:
    COleDropTargetEx target;
    bool answers = true;
    std::vector<UINT> seen;
    POINT point = {};
    DWORD keyState = 0;
    CString text;

    LRESULT OnEnter(WPARAM w, LPARAM) { return Note(WM_DROPTARGET_ENTER, w, DROPEFFECT_COPY); }
    LRESULT OnOver(WPARAM w, LPARAM) { return Note(WM_DROPTARGET_OVER, w, DROPEFFECT_COPY); }
    LRESULT OnDropEx(WPARAM w, LPARAM) { return Note(WM_DROPTARGET_DROPEX, w, (LRESULT)-1); }
    LRESULT OnDrop(WPARAM w, LPARAM)
    {
        Note(WM_DROPTARGET_DROP, w, 0);
        TakeDroppedText(((COleDropInfo*)w)->m_pDataObject, text);
        return TRUE;
    }
    LRESULT OnLeave(WPARAM w, LPARAM)
    {
        leaveInfo = w;
        return Note(WM_DROPTARGET_LEAVE, w, 0);
    }
    WPARAM leaveInfo = 1;
    LRESULT Note(UINT message, WPARAM w, LRESULT answer)
    {
        seen.push_back(message);
        if (COleDropInfo* info = (COleDropInfo*)w) {
            point = info->m_point;
            keyState = info->m_dwKeyState;
        }
        return answers ? answer : 0;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(Dropper, CWnd)
    ON_MESSAGE(WM_DROPTARGET_ENTER, OnEnter)
    ON_MESSAGE(WM_DROPTARGET_OVER, OnOver)
    ON_MESSAGE(WM_DROPTARGET_DROPEX, OnDropEx)
    ON_MESSAGE(WM_DROPTARGET_DROP, OnDrop)
    ON_MESSAGE(WM_DROPTARGET_LEAVE, OnLeave)
END_MESSAGE_MAP()

class Deaf : public CWnd {
public:
    COleDropTargetEx target;
};


struct DropResult {
    DWORD enter, over, drop;
};

DropResult DropOnto(HWND hwnd, POINT client, const wchar_t* text)
{
    IDropTarget* t = (IDropTarget*)GetPropW(hwnd, L"OleDropTargetInterface");
    DropResult r = {99, 99, 99};
    if (!t) return r;
    COleDataSource data;
    data.CacheGlobalData(CF_UNICODETEXT, TextBlock(text));
    ClientToScreen(hwnd, &client);
    POINTL at = {client.x, client.y};
    r.enter = DROPEFFECT_COPY | DROPEFFECT_MOVE;
    t->DragEnter(data.GetDataObject(), MK_LBUTTON | MK_SHIFT, at, &r.enter);
    r.over = DROPEFFECT_COPY | DROPEFFECT_MOVE;
    t->DragOver(MK_LBUTTON | MK_SHIFT, at, &r.over);
    r.drop = DROPEFFECT_COPY | DROPEFFECT_MOVE;
    t->Drop(data.GetDataObject(), 0, at, &r.drop);
    return r;
}

bool Open(CWnd& w, int x)
{
    return w.CreateEx(0, CWnd::RegisterWndClass(0), L"drop relay", WS_POPUP | WS_VISIBLE, x, 100, 120, 80, nullptr,
                      nullptr) != FALSE;
}

}  // namespace

TEST(COleDropTargetEx, EventsReachTheWindowAsMessagesWithClientPoints)
{
    ASSERT_TRUE(AfxOleInit());
    Dropper d;
    ASSERT_TRUE(Open(d, 300));
    ASSERT_TRUE(d.target.Register(&d));
    DropResult r = DropOnto(d.m_hWnd, POINT{17, 23}, L"352");
    EXPECT_EQ(r.enter, (DWORD)DROPEFFECT_COPY);
    EXPECT_EQ(r.over, (DWORD)DROPEFFECT_COPY);
    EXPECT_EQ(r.drop, (DWORD)DROPEFFECT_COPY) << "-1 from the drop with effect goes on as the plain drop";
    EXPECT_EQ(d.seen, (std::vector<UINT>{WM_DROPTARGET_ENTER, WM_DROPTARGET_OVER, WM_DROPTARGET_OVER,
                                         WM_DROPTARGET_DROPEX, WM_DROPTARGET_DROP}));
    EXPECT_EQ(d.point.x, 17);
    EXPECT_EQ(d.point.y, 23);
    EXPECT_EQ(d.text, L"352");

    // A drag that leaves.
    d.seen.clear();
    IDropTarget* t = (IDropTarget*)GetPropW(d.m_hWnd, L"OleDropTargetInterface");
    COleDataSource data;
    data.CacheGlobalData(CF_UNICODETEXT, TextBlock(L"1"));
    DWORD effect = DROPEFFECT_COPY;
    t->DragEnter(data.GetDataObject(), MK_LBUTTON, POINTL{350, 130}, &effect);
    t->DragLeave();
    EXPECT_EQ(d.seen, (std::vector<UINT>{WM_DROPTARGET_ENTER, WM_DROPTARGET_LEAVE}));
    EXPECT_EQ(d.leaveInfo, 0u) << "leave carries nothing";
    EXPECT_EQ(d.keyState, (DWORD)MK_LBUTTON);
}

TEST(COleDropTargetEx, AWindowWithoutHandlersRefusesEveryDrop)
{
    ASSERT_TRUE(AfxOleInit());
    Deaf d;
    ASSERT_TRUE(Open(d, 500));
    ASSERT_TRUE(d.target.Register(&d));
    DropResult r = DropOnto(d.m_hWnd, POINT{5, 5}, L"16");
    EXPECT_EQ(r.enter, (DWORD)DROPEFFECT_NONE);
    EXPECT_EQ(r.over, (DWORD)DROPEFFECT_NONE);
    EXPECT_EQ(r.drop, (DWORD)DROPEFFECT_NONE);

    Dropper silent;
    silent.answers = false;
    ASSERT_TRUE(Open(silent, 700));
    ASSERT_TRUE(silent.target.Register(&silent));
    r = DropOnto(silent.m_hWnd, POINT{5, 5}, L"16");
    EXPECT_EQ(r.drop, (DWORD)DROPEFFECT_NONE);
}

TEST(DropText, WhollyANumberInRange)
{
    struct Case {
        const wchar_t* text;
        int low, high;
        bool ok;
        int n;
    } cases[] = {
        {L"0", 0, 9, true, 0},         {L"9", 0, 9, true, 9},       {L"10", 0, 9, false, 0},
        {L"-1", -5, 5, true, -1},      {L"-", -5, 5, false, 0},     {L"", 0, 9, false, 0},
        {L"3 ", 0, 9, false, 0},       {L"+3", 0, 9, false, 0},     {L"0x3", 0, 9, false, 0},
        {L"2147483647", 0, 2147483647, true, 2147483647},           {L"2147483648", 0, 2147483647, false, 0},
        {L"000016", 16, 1200, true, 16},
    };
    for (auto& c : cases) {
        int n = -99;
        EXPECT_EQ(ParseDroppedNumber(c.text, c.low, c.high, n), c.ok) << std::string(c.text, c.text + wcslen(c.text));
        if (c.ok) {
            EXPECT_EQ(n, c.n);
        }
    }
    int n = 0;
    EXPECT_FALSE(ParseDroppedNumber(nullptr, 0, 9, n));
}
