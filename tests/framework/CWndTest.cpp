#include "framework/CWnd.h"
#include "framework/CWinApp.h"
#include <gtest/gtest.h>
#include <vector>

namespace {

UINT g_registeredHello = 0;

class TestWnd : public CWnd {
public:
    std::vector<UINT> defaults;  // messages that reached DefWindowProc
    int createCalls = 0;
    int timerTicks = 0;
    LRESULT createResult = 0;
    HWND handleDuringCreate = nullptr;

    LRESULT OnCreate(WPARAM, LPARAM)
    {
        ++createCalls;
        handleDuringCreate = m_hWnd;
        LRESULT r = Default();
        return createResult ? createResult : r;
    }
    LRESULT OnUserFive(WPARAM w, LPARAM l) { return (LRESULT)(w + l + 50); }
    LRESULT OnTimer(WPARAM id, LPARAM)
    {
        if (id == 7) ++timerTicks;
        return 0;
    }

protected:
    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message >= WM_USER) defaults.push_back(message);
        // Registered messages are handled here, as the service window does it.
        if (message == g_registeredHello && message != 0) return (LRESULT)wParam * 2;
        return CWnd::DefWindowProc(message, wParam, lParam);
    }

    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(TestWnd, CWnd)
    ON_MESSAGE(WM_CREATE, OnCreate)
    ON_MESSAGE(WM_TIMER, OnTimer)
    ON_MESSAGE(WM_USER + 5, OnUserFive)
END_MESSAGE_MAP()

class DerivedWnd : public TestWnd {
public:
    LRESULT OnUserSix(WPARAM, LPARAM) { return 6; }
    LRESULT OnUserFiveAgain(WPARAM, LPARAM) { return 500; }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(DerivedWnd, TestWnd)
    ON_MESSAGE(WM_USER + 6, OnUserSix)
END_MESSAGE_MAP()

bool CreateHidden(CWnd& w, const wchar_t* title = L"framework test window")
{
    return w.CreateEx(0, CWnd::RegisterWndClass(0), title, WS_POPUP, 100, 100, 100, 100, nullptr, nullptr) != FALSE;
}

void RegisterTestMessages()
{
    g_registeredHello = RegisterWindowMessageW(L"TharnicFrameworkTestHello");
}

}  // namespace

TEST(CWnd, CreatesAHiddenWindowLinkedToItsObject)
{
    TestWnd w;
    ASSERT_TRUE(CreateHidden(w));
    EXPECT_EQ(w.createCalls, 1);
    EXPECT_EQ(w.handleDuringCreate, w.m_hWnd);
    EXPECT_FALSE(IsWindowVisible(w.m_hWnd));
    EXPECT_EQ(CWnd::FromHandle(w.m_hWnd), &w);
    EXPECT_EQ(GetWindowLongPtrW(w.m_hWnd, GWLP_USERDATA), reinterpret_cast<LONG_PTR>(&w));
    EXPECT_EQ(w.GetWindowText(), L"framework test window");
    EXPECT_TRUE(w.SetWindowText(L"renamed"));
    EXPECT_EQ(FindWindowW(nullptr, L"renamed"), w.m_hWnd);
    HWND h = w.m_hWnd;
    EXPECT_TRUE(w.DestroyWindow());
    EXPECT_EQ(w.m_hWnd, nullptr);
    EXPECT_FALSE(IsWindow(h));
    EXPECT_EQ(CWnd::FromHandle(h), nullptr);
}

TEST(CWnd, ForeignWindowsHaveNoObject)
{
    HWND h = CreateWindowExW(0, L"STATIC", L"x", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(h, nullptr);
    EXPECT_EQ(CWnd::FromHandle(h), nullptr);
    DestroyWindow(h);
    EXPECT_EQ(CWnd::FromHandle(nullptr), nullptr);
}

TEST(CWnd, CreateFailsWhenWmCreateRefuses)
{
    TestWnd w;
    w.createResult = -1;
    EXPECT_FALSE(CreateHidden(w));
    EXPECT_EQ(w.m_hWnd, nullptr);
    EXPECT_EQ(w.createCalls, 1);
}

TEST(CWnd, MessageMapsDispatchFixedMessagesAndRegisteredOnesReachDefWindowProc)
{
    RegisterTestMessages();
    DerivedWnd w;
    ASSERT_TRUE(CreateHidden(w));
    struct Case { UINT message; WPARAM w; LPARAM l; LRESULT want; } cases[] = {
        {WM_USER + 5, 1, 2, 53},          // base map, reached through the derived map
        {WM_USER + 6, 0, 0, 6},           // derived map
        {g_registeredHello, 21, 0, 42},   // registered: the virtual DefWindowProc
        {WM_USER + 99, 0, 0, 0},          // not mapped anywhere
    };
    for (auto& c : cases) EXPECT_EQ(w.SendMessage(c.message, c.w, c.l), c.want) << c.message;
    ASSERT_EQ(w.defaults.size(), 2u);
    EXPECT_EQ(w.defaults[0], g_registeredHello);
    EXPECT_EQ(w.defaults[1], (UINT)(WM_USER + 99));

    // Posted messages take the same road through the pump.
    w.defaults.clear();
    ASSERT_TRUE(w.PostMessage(g_registeredHello));
    ASSERT_TRUE(w.PostMessage(WM_USER + 5));
    MSG msg;
    while (PeekMessageW(&msg, w.m_hWnd, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
    ASSERT_EQ(w.defaults.size(), 1u);
    EXPECT_EQ(w.defaults[0], g_registeredHello);
}

TEST(CWnd, TimersReachTheMappedHandlerUntilKilled)
{
    TestWnd w;
    ASSERT_TRUE(CreateHidden(w));
    ASSERT_NE(w.SetTimer(7, 10), 0u);
    MSG msg;
    while (w.timerTicks < 2 && GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
    EXPECT_EQ(w.timerTicks, 2);
    EXPECT_TRUE(w.KillTimer(7));
    EXPECT_FALSE(w.KillTimer(7));
}

TEST(CWnd, DestroyedObjectNoLongerReceivesMessages)
{
    HWND h;
    {
        TestWnd w;
        ASSERT_TRUE(CreateHidden(w));
        h = w.m_hWnd;
    }
    EXPECT_FALSE(IsWindow(h));
}

namespace {

class TestApp : public CWinApp {
public:
    TestWnd* wnd = nullptr;
    bool makeWindow = true;
    int exitCalls = 0;
    BOOL InitInstance() override
    {
        if (!makeWindow) return TRUE;
        wnd = new TestWnd;
        if (!CreateHidden(*wnd, L"framework test main window")) return FALSE;
        m_pMainWnd = wnd;
        return TRUE;
    }
    int ExitInstance() override
    {
        ++exitCalls;
        delete wnd;
        wnd = nullptr;
        return CWinApp::ExitInstance() + 1000;
    }
};

}  // namespace

TEST(CWinApp, DestroyingTheMainWindowEndsTheMessagePump)
{
    TestApp app;
    EXPECT_EQ(GetApp(), &app);
    ASSERT_TRUE(app.InitInstance());
    // The window goes away from inside the pump, as WM_CLOSE does it.
    PostMessageW(app.wnd->m_hWnd, WM_CLOSE, 0, 0);
    EXPECT_EQ(app.Run(), 1000);
    EXPECT_EQ(app.exitCalls, 1);
}

TEST(CWinApp, WithoutAMainWindowRunEndsAtOnce)
{
    TestApp app;
    app.makeWindow = false;
    ASSERT_TRUE(app.InitInstance());
    EXPECT_EQ(app.Run(), 1000);
    EXPECT_EQ(app.exitCalls, 1);
}

TEST(CWinApp, TheGlobalPointerFollowsTheObject)
{
    {
        TestApp app;
        EXPECT_EQ(GetApp(), &app);
    }
    EXPECT_EQ(GetApp(), nullptr);
}
