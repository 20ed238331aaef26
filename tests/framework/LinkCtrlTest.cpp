#include "framework/CMFCLinkCtrl.h"
#include "framework/CWnd.h"
#include "GuiTestSupport.h"
#include "TestSupport.h"
#include <gtest/gtest.h>

namespace {

class LinkParent : public CWnd {
public:
    int clicks = 0;
    void OnLinkClicked() { ++clicks; }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(LinkParent, CWnd)
    ON_BN_CLICKED(1, OnLinkClicked)
END_MESSAGE_MAP()

}  // namespace

TEST(CMFCLinkCtrl, OpensOnItsOwnClickOrEnterAndLeavesOtherCommandsToItsParent)
{
    TempDir temp;
    LinkParent parent;
    ASSERT_TRUE(parent.CreateEx(0, CWnd::RegisterWndClass(0, nullptr, (HBRUSH)GetStockObject(WHITE_BRUSH)),
                                L"link parent", WS_POPUP | WS_VISIBLE, 200, 200, 240, 80, nullptr, nullptr));
    ASSERT_TRUE(ShowAt(parent.m_hWnd, RECT{200, 200, 440, 280}));
    CMFCLinkCtrl link;
    ASSERT_TRUE(link.Create(L"Reader", WS_CHILD | WS_VISIBLE | WS_TABSTOP, RECT{10, 10, 150, 40}, &parent, 1));
    // An address that opens nothing: no program starts.
    link.SetURL(temp.File(L"missing-page.html"));
    PumpFor(200);

    EXPECT_TRUE(ClickOn(link.m_hWnd));
    ASSERT_TRUE(PumpUntil([&] { return link.m_bVisited != FALSE; }));
    PumpFor(100);
    EXPECT_EQ(parent.clicks, 0);

    // The same command sent by someone else (a dialog's default key) reaches the parent.
    link.m_bVisited = FALSE;
    parent.SendMessage(WM_COMMAND, MAKEWPARAM(1, BN_CLICKED), (LPARAM)link.m_hWnd);
    EXPECT_EQ(parent.clicks, 1);
    EXPECT_FALSE(link.m_bVisited);

    link.SetFocus();
    KeyTap(VK_RETURN);
    EXPECT_TRUE(PumpUntil([&] { return link.m_bVisited != FALSE; }));
    EXPECT_EQ(parent.clicks, 1);
    SaveWindowPng(parent.m_hWnd, L"framework-link");
}
