#include "configurator/panels/CSelColorDlg.h"
#include "core/AppPaths.h"
#include "core/Messages.h"
#include "ConfiguratorRig.h"
#include "GuiTestSupport.h"
#include "TestSupport.h"
#include <gtest/gtest.h>
#include <cwchar>
#include <vector>

namespace {

// The lighting panel as far as the picker sees it: the window it reports to, which deletes
// the picker when it says it has closed itself.
class PanelStandIn : public CWnd {
public:
    struct Message {
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
    };
    std::vector<Message> received;
    int checked = 0;  // the colour button's checked flag

    bool Open()
    {
        if (!CreateEx(0, RegisterWndClass(0, LoadCursorW(nullptr, IDC_ARROW), (HBRUSH)GetStockObject(GRAY_BRUSH)),
                      L"lighting panel", WS_POPUP | WS_VISIBLE, 200, 300, 600, 300, nullptr, nullptr))
            return false;
        return ShowAt(m_hWnd, RECT{200, 300, 800, 600});
    }
    CSelColorDlg* OpenPicker(POINT buttonBottomLeft)
    {
        received.clear();
        g_pSelColorDlg = new CSelColorDlg(this, &checked);
        g_pSelColorDlg->SetPopupPos(buttonBottomLeft.x, buttonBottomLeft.y);
        if (!g_pSelColorDlg->Create()) return nullptr;
        g_pSelColorDlg->ShowWindow(SW_SHOW);
        g_pSelColorDlg->SetFocus();
        g_pSelColorDlg->UpdateWindow();
        PumpFor(100);
        return g_pSelColorDlg;
    }
    LRESULT OnColorSelected(WPARAM w, LPARAM l)
    {
        received.push_back({WM_COLOR_SELECTED, w, l});
        return 0;
    }
    LRESULT OnPopupClosed(WPARAM w, LPARAM l)
    {
        received.push_back({WM_POPUP_CLOSED, w, l});
        if (g_pSelColorDlg && !g_pSelColorDlg->m_hWnd) {
            delete g_pSelColorDlg;
            g_pSelColorDlg = nullptr;
        }
        return 1;
    }
    ~PanelStandIn() override
    {
        delete g_pSelColorDlg;
        g_pSelColorDlg = nullptr;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(PanelStandIn, CWnd)
    ON_MESSAGE(WM_COLOR_SELECTED, OnColorSelected)
    ON_MESSAGE(WM_POPUP_CLOSED, OnPopupClosed)
END_MESSAGE_MAP()

// A person's click on the screen.
void ClickOnScreen(POINT p, bool left = true)
{
    WhilePersonActs([&] {
        MouseMoveTo(p);
        Sleep(60);
        MouseButton(left, true);
        Sleep(40);
        MouseButton(left, false);
        Sleep(60);
    });
    PumpFor(100);
}

class ColorPicker : public ::testing::Test {
protected:
    void SetUp() override { wcscpy(g_szAppDir, SourceFile(L"resources\\")); }
    void TearDown() override { g_szAppDir[0] = 0; }
};

}  // namespace

// The shipped chart (260 x 130) in a 2-pixel black frame, its picture lined up with the
// colour button's left edge; a click on a known pixel of the chart hands over that pixel's
// colour, then the closed notice, and the picker is gone.
TEST_F(ColorPicker, ClickOnTheChartPicksThePixelsColour)
{
    std::vector<unsigned char> chart = ReadBytes(SourceFile(L"resources\\skins\\Color.bmp"));
    ASSERT_GT(chart.size(), 54u);
    PanelStandIn panel;
    ASSERT_TRUE(panel.Open());
    struct Case {
        int x, y;  // in the chart
    } cases[] = {{0, 0}, {40, 30}, {130, 64}, {200, 110}, {239, 60}, {250, 20}, {259, 129}};
    bool saved = false;
    for (const Case& c : cases) {
        CSelColorDlg* picker = panel.OpenPicker(POINT{300, 400});
        ASSERT_TRUE(picker);
        RECT r = picker->GetWindowRect();
        EXPECT_EQ(r.left, 298);
        EXPECT_EQ(r.top, 400);
        EXPECT_EQ(r.right - r.left, 264);
        EXPECT_EQ(r.bottom - r.top, 134);
        RECT picture = {2, 2, 262, 132};
        EXPECT_TRUE(EqualRect(&picker->m_rcPicture, &picture) != FALSE);
        if (!saved) saved = !SaveWindowPng(picker->m_hWnd, L"colour-picker").IsEmpty();
        HWND hwnd = picker->m_hWnd;
        COLORREF expected = BmpPixel(chart, c.x, c.y);
        ClickOnScreen(POINT{r.left + 2 + c.x, r.top + 2 + c.y});
        ASSERT_EQ(panel.received.size(), 2u) << c.x << "," << c.y;
        EXPECT_EQ(panel.received[0].message, WM_COLOR_SELECTED);
        EXPECT_EQ((COLORREF)panel.received[0].wParam, expected) << c.x << "," << c.y;
        EXPECT_EQ(panel.received[0].lParam, 0);
        EXPECT_EQ(panel.received[1].message, WM_POPUP_CLOSED);
        EXPECT_EQ(panel.received[1].wParam, 1u);
        EXPECT_EQ((HWND)panel.received[1].lParam, hwnd);
        EXPECT_FALSE(IsWindow(hwnd));
        EXPECT_EQ(g_pSelColorDlg, nullptr);
    }
}

// Clicks that pick nothing still close it: the frame, a right click; Esc closes it too.
// With the opener's flag at 1 (the opener's own click closes it) there is no closed notice.
TEST_F(ColorPicker, OtherClicksOnlyCloseIt)
{
    PanelStandIn panel;
    ASSERT_TRUE(panel.Open());
    enum How { FrameClick, RightClick, Escape, OwnerDeletes };
    struct Case {
        How how;
        int checked;
        size_t notices;
    } cases[] = {{FrameClick, 0, 1}, {RightClick, 0, 1}, {Escape, 0, 1}, {FrameClick, 1, 0}, {OwnerDeletes, 1, 0}};
    for (const Case& c : cases) {
        panel.checked = c.checked;
        CSelColorDlg* picker = panel.OpenPicker(POINT{300, 400});
        ASSERT_TRUE(picker);
        HWND hwnd = picker->m_hWnd;
        RECT r = picker->GetWindowRect();
        switch (c.how) {
        case FrameClick: ClickOnScreen(POINT{r.left + 1, r.top + 50}); break;
        case RightClick: ClickOnScreen(POINT{r.left + 60, r.top + 50}, false); break;
        case Escape:
            KeyTap(VK_ESCAPE);
            PumpFor(200);
            break;
        case OwnerDeletes:
            delete g_pSelColorDlg;
            g_pSelColorDlg = nullptr;
            PumpFor(100);
            break;
        }
        EXPECT_FALSE(IsWindow(hwnd)) << c.how;
        ASSERT_EQ(panel.received.size(), c.notices) << c.how;
        if (c.notices) {
            EXPECT_EQ(panel.received[0].message, WM_POPUP_CLOSED);
        }
        if (g_pSelColorDlg) {
            delete g_pSelColorDlg;
            g_pSelColorDlg = nullptr;
        }
    }
}

// Without "Skins\Color.bmp" the picker is its 4 x 4 frame and a click picks nothing.
TEST_F(ColorPicker, WithoutThePictureOnlyTheFrame)
{
    TempDir empty;
    wcscpy(g_szAppDir, empty.Path());
    PanelStandIn panel;
    ASSERT_TRUE(panel.Open());
    CSelColorDlg* picker = panel.OpenPicker(POINT{300, 400});
    ASSERT_TRUE(picker);
    RECT r = picker->GetWindowRect();
    EXPECT_EQ(r.right - r.left, 4);
    EXPECT_EQ(r.bottom - r.top, 4);
    ClickOnScreen(POINT{r.left + 2, r.top + 2});
    ASSERT_EQ(panel.received.size(), 1u);
    EXPECT_EQ(panel.received[0].message, WM_POPUP_CLOSED);
}
