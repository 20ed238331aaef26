#include "ServiceRig.h"
#include "service/ControlApi.h"
#include "service/DriverLink.h"
#include "core/Messages.h"
#include <gtest/gtest.h>
#include <mutex>

namespace {

// An outside controller: a window of its own on a thread of its own, recording every
// WM_CONTROL_API_ATTACH it receives. When stalled, its thread stops taking messages.
class Controller {
public:
    explicit Controller(bool stalled = false) : m_stalled(stalled)
    {
        m_ready = CreateEventW(nullptr, TRUE, FALSE, nullptr);
        m_release = CreateEventW(nullptr, TRUE, FALSE, nullptr);
        m_thread = CreateThread(nullptr, 0, &Controller::Run, this, 0, &m_threadId);
        WaitForSingleObject(m_ready, 10000);
    }
    ~Controller()
    {
        SetEvent(m_release);
        PostThreadMessageW(m_threadId, WM_QUIT, 0, 0);
        WaitForSingleObject(m_thread, 10000);
        CloseHandle(m_thread);
        CloseHandle(m_ready);
        CloseHandle(m_release);
    }
    HWND Window() const { return m_hwnd; }
    std::vector<std::pair<WPARAM, LPARAM>> Replies()
    {
        std::lock_guard<std::mutex> g(m_lock);
        return m_replies;
    }
    void Clear()
    {
        std::lock_guard<std::mutex> g(m_lock);
        m_replies.clear();
    }

private:
    static LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
    {
        Controller* self = (Controller*)GetWindowLongPtrW(hwnd, GWLP_USERDATA);
        if (self && message == RegisterWindowMessageW(CONTROL_API_ATTACH_NAME)) {
            std::lock_guard<std::mutex> g(self->m_lock);
            self->m_replies.push_back({wParam, lParam});
            return 0;
        }
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }
    static DWORD WINAPI Run(void* p)
    {
        Controller* self = (Controller*)p;
        WNDCLASSW wc = {};
        wc.lpfnWndProc = Proc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"ControlApiTestController";
        RegisterClassW(&wc);
        self->m_hwnd = CreateWindowExW(0, wc.lpszClassName, L"controller", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                       nullptr, nullptr);
        SetWindowLongPtrW(self->m_hwnd, GWLP_USERDATA, (LONG_PTR)self);
        SetEvent(self->m_ready);
        if (self->m_stalled) WaitForSingleObject(self->m_release, INFINITE);
        MSG msg;
        while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
        DestroyWindow(self->m_hwnd);
        return 0;
    }

    bool m_stalled;
    HANDLE m_ready, m_release, m_thread;
    DWORD m_threadId = 0;
    HWND m_hwnd = nullptr;
    std::mutex m_lock;
    std::vector<std::pair<WPARAM, LPARAM>> m_replies;
};

class ControlInterface : public testing::Test {
protected:
    ServiceRig rig;
    UINT attach = RegisterWindowMessageW(CONTROL_API_ATTACH_NAME);
    UINT discover = RegisterWindowMessageW(CONTROL_API_DISCOVER_NAME);
    HWND service = nullptr;

    void Start(bool mouse)
    {
        g_hControlClient = nullptr;
        rig.WriteConfig(*ServiceRig::DefaultConfig());
        ASSERT_TRUE(rig.Create(mouse));
        rig.Pump();
        // The controller finds the service by its title.
        service = FindWindowW(nullptr, PORTWARDEN_WINDOW_TITLE);
        ASSERT_EQ(service, rig.wnd->m_hWnd);
        rig.mouse.ClearLog();
    }
    void TearDown() override { g_hControlClient = nullptr; }

    // The request with that code, the last one sent.
    const SimMouse::Request* LastRequest(DWORD code, std::vector<SimMouse::Request>& log)
    {
        log = rig.mouse.Requests();
        for (auto it = log.rbegin(); it != log.rend(); ++it)
            if (it->code == code) return &*it;
        return nullptr;
    }
};

using Pairs = std::vector<std::pair<WPARAM, LPARAM>>;

} // namespace

TEST_F(ControlInterface, DiscoverIsAnsweredWithTheServiceWindow)
{
    Start(true);
    Controller a;
    SendMessageW(service, discover, (WPARAM)a.Window(), 0);
    EXPECT_EQ(a.Replies(), Pairs({{(WPARAM)service, 1}}));
    EXPECT_EQ(g_hControlClient, a.Window());
    EXPECT_EQ(SendMessageW(service, WM_SERVICE_PING, 0, 0), 1);
}

TEST_F(ControlInterface, EveryCommandActsOnTheDeviceAndIsAnswered)
{
    Start(true);
    Controller a;
    SendMessageW(service, discover, (WPARAM)a.Window(), 0);
    const ProfileData& p = rig.wnd->m_config.profiles[rig.wnd->m_config.PROFILE_ID];
    COLORREF profileColor = p.LED_COLOR;
    struct Case {
        int command;
        LPARAM value;
        int reply;
        DWORD request;
        std::vector<BYTE> bytes;
    } cases[] = {
        {1, 3, 2, IOCTL_SET_POLLING_RATE, Bytes({3})},
        {1, -1, 2, IOCTL_SET_POLLING_RATE, Bytes({rig.wnd->m_config.POLLING_RATE})},
        {3, 0x0000FF, 4, IOCTL_SET_LED_COLOR, Bytes({0xFF, 0, 0})},
        {3, 0, 4, IOCTL_SET_LED_COLOR,
         Bytes({(int)(profileColor & 0xFF), (int)((profileColor >> 8) & 0xFF), (int)((profileColor >> 16) & 0xFF)})},
        {4, 2, 5, IOCTL_SET_LED_INTENSITY, Bytes({2})},
        {4, -1, 5, IOCTL_SET_LED_INTENSITY, Bytes({p.LED_INTENSITY})},
        {5, 1, 6, IOCTL_SET_LED_PULSATION, Bytes({1})},
        {5, -1, 6, IOCTL_SET_LED_PULSATION, Bytes({p.LED_PULSATION})},
        // The stage as last read from the device; setting one reads it back.
        {6, -1, 7, IOCTL_SET_DPI_STAGE, Bytes({p.DPI_VALUE})},
        {6, 1, 7, IOCTL_SET_DPI_STAGE, Bytes({1})},
        {6, -1, 7, IOCTL_SET_DPI_STAGE, Bytes({1})},
    };
    for (const Case& c : cases) {
        a.Clear();
        rig.mouse.ClearLog();
        SendMessageW(service, attach, (WPARAM)c.command, c.value);
        EXPECT_EQ(a.Replies(), Pairs({{(WPARAM)service, c.reply}})) << c.command << " " << c.value;
        std::vector<SimMouse::Request> log;
        const SimMouse::Request* r = LastRequest(c.request, log);
        ASSERT_TRUE(r) << c.command << " " << c.value;
        EXPECT_EQ(r->in, c.bytes) << c.command << " " << c.value;
    }
    // The configuration keeps its own values; only the device changed.
    EXPECT_EQ(p.LED_COLOR, profileColor);

    // The profile command switches like the tray's choice, into "Config.xml" too.
    a.Clear();
    SendMessageW(service, attach, 2, 4);
    EXPECT_EQ(a.Replies(), Pairs({{(WPARAM)service, 3}}));
    EXPECT_EQ(rig.wnd->m_config.PROFILE_ID, 4);
    EXPECT_EQ(rig.ReadConfig()->PROFILE_ID, 4);
    // A profile that does not exist is not made current.
    a.Clear();
    SendMessageW(service, attach, 2, 10);
    EXPECT_EQ(a.Replies(), Pairs({{(WPARAM)service, 17}}));
    EXPECT_EQ(rig.wnd->m_config.PROFILE_ID, 4);
}

TEST_F(ControlInterface, WithoutADeviceEveryCommandIsAnsweredAsFailedAndNothingIsSent)
{
    Start(false);
    Controller a;
    SendMessageW(service, discover, (WPARAM)a.Window(), 0);
    EXPECT_EQ(a.Replies(), Pairs({{(WPARAM)service, 1}}));
    int profile = rig.wnd->m_config.PROFILE_ID;
    for (int command = 1; command <= 6; ++command) {
        a.Clear();
        rig.mouse.ClearLog();
        SendMessageW(service, attach, (WPARAM)command, command == 2 ? 3 : -1);
        EXPECT_EQ(a.Replies(), Pairs({{(WPARAM)service, command + 15}})) << command;
        EXPECT_TRUE(rig.mouse.Codes().empty()) << command;
    }
    EXPECT_EQ(rig.wnd->m_config.PROFILE_ID, profile);
    EXPECT_EQ(SendMessageW(service, WM_SERVICE_PING, 0, 0), 1);
}

TEST_F(ControlInterface, UnknownCommandsAndCommandsBeforeADiscoverAreNotAnswered)
{
    Start(true);
    Controller a, b;
    // Before any discover the command acts but its reply goes nowhere.
    SendMessageW(service, attach, 6, 2);
    std::vector<SimMouse::Request> log;
    ASSERT_TRUE(LastRequest(IOCTL_SET_DPI_STAGE, log));
    EXPECT_TRUE(a.Replies().empty());

    SendMessageW(service, discover, (WPARAM)a.Window(), 0);
    a.Clear();
    rig.mouse.ClearLog();
    for (WPARAM command : {(WPARAM)0, (WPARAM)7, (WPARAM)100, (WPARAM)-1})
        SendMessageW(service, attach, command, 1);
    EXPECT_TRUE(a.Replies().empty());
    EXPECT_TRUE(rig.mouse.Codes().empty());

    // A later discover takes over: replies go to the last controller, whoever sent the command.
    SendMessageW(service, discover, (WPARAM)b.Window(), 0);
    a.Clear();
    b.Clear();
    SendMessageW(service, attach, 4, 3);
    EXPECT_TRUE(a.Replies().empty());
    EXPECT_EQ(b.Replies(), Pairs({{(WPARAM)service, 5}}));
}

TEST_F(ControlInterface, AControllerThatStoppedAnsweringCannotFreezeTheService)
{
    Start(true);
    Controller stalled(true);
    SendMessageW(service, discover, (WPARAM)stalled.Window(), 0);
    // Both sends come back although the controller takes no messages.
    SendMessageW(service, attach, 6, 1);
    std::vector<SimMouse::Request> log;
    EXPECT_TRUE(LastRequest(IOCTL_SET_DPI_STAGE, log));
    EXPECT_EQ(SendMessageW(service, WM_SERVICE_PING, 0, 0), 1);
}

TEST_F(ControlInterface, ValuesOutsideTheirRangeAreRefusedBeforeTheyReachTheDevice)
{
    Start(true);
    Controller a;
    SendMessageW(service, discover, (WPARAM)a.Window(), 0);
    int profile = rig.wnd->m_config.PROFILE_ID;
    ASSERT_NE(profile, 3);
    const bool wide = sizeof(LPARAM) == 8;
    // Values above 32 bits exist only with a 64-bit LPARAM; cut to an int they would land
    // in range (0x100000003 is profile 3, 0xFFFFFFFF the profile's own stage).
    auto big = [](unsigned long long v) { return (LPARAM)v; };
    struct Case {
        int command;
        LPARAM value;
        int reply;
        bool onlyWide;
    } cases[] = {
        {2, -1, 17, false},
        {2, 10, 17, false},
        {2, big(0x100000003ull), 17, true},
        {2, big(0xFFFFFFFF00000003ull), 17, true},
        {1, big(0x100000003ull), 16, true},
        {3, big(0x1000000FFull), 18, true},
        {4, big(0xFFFFFFFFull), 19, true},
        {5, big(0x100000001ull), 20, true},
        {6, big(0xFFFFFFFFull), 21, true},
        {6, big(0x100000001ull), 21, true},
    };
    for (const Case& c : cases) {
        if (c.onlyWide && !wide) continue;
        a.Clear();
        rig.mouse.ClearLog();
        SendMessageW(service, attach, (WPARAM)c.command, c.value);
        EXPECT_EQ(a.Replies(), Pairs({{(WPARAM)service, c.reply}})) << c.command << " " << std::hex << c.value;
        EXPECT_TRUE(rig.mouse.Codes().empty()) << c.command << " " << std::hex << c.value;
        EXPECT_EQ(rig.wnd->m_config.PROFILE_ID, profile);
    }

    // A colour with the top bit set, as a 32-bit controller's value arrives sign-extended,
    // is still a colour.
    a.Clear();
    SendMessageW(service, attach, 3, (LPARAM)(LONG)0x800000FF);
    EXPECT_EQ(a.Replies(), Pairs({{(WPARAM)service, 4}}));
    std::vector<SimMouse::Request> log;
    const SimMouse::Request* r = LastRequest(IOCTL_SET_LED_COLOR, log);
    ASSERT_TRUE(r);
    EXPECT_EQ(r->in, Bytes({0xFF, 0, 0}));
}
