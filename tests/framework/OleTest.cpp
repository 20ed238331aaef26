#include "framework/AfxOle.h"
#include "framework/COleDataObject.h"
#include "framework/COleDataSource.h"
#include "framework/COleDropTarget.h"
#include "framework/CWnd.h"
#include "GuiTestSupport.h"
#include <gtest/gtest.h>
#include <cstring>
#include <string>

namespace {


std::wstring TextOf(HGLOBAL h)
{
    std::wstring s((const wchar_t*)GlobalLock(h));
    GlobalUnlock(h);
    return s;
}

// Answers what the test sets and notes what it was asked.
class ScriptedTarget : public COleDropTarget {
public:
    DROPEFFECT over = DROPEFFECT_NONE;
    DROPEFFECT dropEx = (DROPEFFECT)-1;
    BOOL drop = TRUE;
    int drops = 0, leaves = 0;
    POINT lastPoint = {};
    DROPEFFECT dropEffect = 0, dropDefault = 0, dropList = 0;
    std::wstring text;

    DROPEFFECT OnDragEnter(CWnd*, COleDataObject*, DWORD, POINT p) override
    {
        lastPoint = p;
        return over;
    }
    DROPEFFECT OnDragOver(CWnd*, COleDataObject*, DWORD, POINT p) override
    {
        lastPoint = p;
        return over;
    }
    DROPEFFECT OnDropEx(CWnd*, COleDataObject*, DROPEFFECT d, DROPEFFECT list, POINT) override
    {
        dropDefault = d;
        dropList = list;
        return dropEx;
    }
    BOOL OnDrop(CWnd*, COleDataObject* data, DROPEFFECT effect, POINT) override
    {
        ++drops;
        dropEffect = effect;
        HGLOBAL h = data->GetGlobalData(CF_UNICODETEXT);
        if (h) {
            text = TextOf(h);
            GlobalFree(h);
        }
        return drop;
    }
    void OnDragLeave(CWnd*) override { ++leaves; }
};

}  // namespace

TEST(Ole, DataSourceOffersCopiesOfItsBlocks)
{
    ASSERT_TRUE(AfxOleInit());
    COleDataSource source;
    source.CacheGlobalData(CF_UNICODETEXT, TextBlock(L"1200"));
    COleDataObject data;
    data.Attach(source.GetDataObject(), FALSE);
    EXPECT_TRUE(data.IsDataAvailable(CF_UNICODETEXT));
    EXPECT_FALSE(data.IsDataAvailable(CF_TEXT));
    EXPECT_EQ(data.GetGlobalData(CF_TEXT), nullptr);
    for (int i = 0; i < 2; ++i) {
        HGLOBAL h = data.GetGlobalData(CF_UNICODETEXT);
        ASSERT_NE(h, nullptr);
        EXPECT_EQ(TextOf(h), L"1200");
        GlobalFree(h);
    }
    source.Empty();
    EXPECT_FALSE(data.IsDataAvailable(CF_UNICODETEXT));
}

TEST(Ole, DropTargetFiltersEffectsAndFallsBackToThePlainDrop)
{
    ASSERT_TRUE(AfxOleInit());
    CWnd wnd;
    ASSERT_TRUE(wnd.CreateEx(0, CWnd::RegisterWndClass(0), L"drop target", WS_POPUP | WS_VISIBLE, 120, 80, 100, 100,
                             nullptr, nullptr));
    ScriptedTarget target;
    ASSERT_TRUE(target.Register(&wnd));
    IDropTarget* direct = (IDropTarget*)GetPropW(wnd.m_hWnd, L"OleDropTargetInterface");
    ASSERT_NE(direct, nullptr);
    COleDataSource source;
    source.CacheGlobalData(CF_UNICODETEXT, TextBlock(L"7"));
    IDataObject* data = source.GetDataObject();
    POINT client = {10, 20};
    ClientToScreen(wnd.m_hWnd, &client);
    POINTL at = {client.x, client.y};

    struct Case {
        const char* name;
        DROPEFFECT over, allowed, dropEx;
        BOOL drop;
        DROPEFFECT enterEffect, dropResult;
        int drops;
    } cases[] = {
        {"copy answered and allowed", DROPEFFECT_COPY | DROPEFFECT_MOVE, DROPEFFECT_COPY, (DROPEFFECT)-1, TRUE,
         DROPEFFECT_COPY, DROPEFFECT_COPY, 1},
        {"copy answered, only move allowed", DROPEFFECT_COPY, DROPEFFECT_MOVE, (DROPEFFECT)-1, TRUE, DROPEFFECT_NONE,
         DROPEFFECT_NONE, 0},
        {"plain drop refuses", DROPEFFECT_COPY, DROPEFFECT_COPY, (DROPEFFECT)-1, FALSE, DROPEFFECT_COPY,
         DROPEFFECT_NONE, 1},
        {"drop with effect decides", DROPEFFECT_COPY, DROPEFFECT_COPY, DROPEFFECT_COPY, TRUE, DROPEFFECT_COPY,
         DROPEFFECT_COPY, 0},
        {"nothing answered", DROPEFFECT_NONE, DROPEFFECT_COPY, DROPEFFECT_NONE, TRUE, DROPEFFECT_NONE,
         DROPEFFECT_NONE, 0},
    };
    for (auto& c : cases) {
        target.over = c.over;
        target.dropEx = c.dropEx;
        target.drop = c.drop;
        target.drops = 0;
        target.text.clear();
        DWORD effect = c.allowed;
        EXPECT_EQ(direct->DragEnter(data, MK_LBUTTON, at, &effect), S_OK) << c.name;
        EXPECT_EQ(effect, c.enterEffect) << c.name;
        EXPECT_EQ(target.lastPoint.x, 10) << c.name;
        EXPECT_EQ(target.lastPoint.y, 20) << c.name;
        effect = c.allowed;
        EXPECT_EQ(direct->Drop(data, 0, at, &effect), S_OK) << c.name;
        EXPECT_EQ(effect, c.dropResult) << c.name;
        EXPECT_EQ(target.drops, c.drops) << c.name;
        EXPECT_EQ(target.dropList, c.allowed) << c.name;
        if (c.drops) {
            EXPECT_EQ(target.text, L"7") << c.name;
            EXPECT_EQ(target.dropEffect, c.enterEffect) << c.name;
        }
    }
    target.Revoke();
    EXPECT_EQ(GetPropW(wnd.m_hWnd, L"OleDropTargetInterface"), nullptr);
}
