#include "ServiceRig.h"
#include "SimMouseClient.h"
#include "service/DeviceSettings.h"
#include "service/DriverLink.h"
#include "core/AppPaths.h"
#include "core/ConfigSettings.h"
#include "core/Messages.h"
#include <gtest/gtest.h>
#include <set>
#include <thread>

namespace {

struct Want {
    DWORD code;
    std::vector<BYTE> in;
};

std::string Describe(const std::vector<SimMouse::Request>& got)
{
    std::string s;
    for (auto& r : got) {
        s += SimRequestName(r.code);
        s += "(";
        for (size_t i = 0; i < r.in.size() && i < 8; ++i) s += std::to_string(r.in[i]) + (i + 1 < r.in.size() ? " " : "");
        s += ") ";
    }
    return s;
}

void ExpectRequests(const SimMouse& mouse, const std::vector<Want>& want)
{
    auto got = mouse.Requests();
    SCOPED_TRACE("requests: " + Describe(got));
    ASSERT_EQ(got.size(), want.size());
    for (size_t i = 0; i < want.size(); ++i) {
        EXPECT_EQ(got[i].code, want[i].code) << "request " << i << ": " << SimRequestName(got[i].code);
        EXPECT_EQ(got[i].in, want[i].in) << "request " << i << ": " << SimRequestName(got[i].code);
    }
}

const std::vector<Want> kApplyProfileDefaults = {
    {IOCTL_PRE_SENSITIVITY, Bytes({1})},
    {IOCTL_SET_SENSITIVITY_X, DwordBytes(10)},
    {IOCTL_SET_SENSITIVITY_Y, DwordBytes(10)},
    {IOCTL_SET_INTERCEPTION_MASK, DwordBytes(0xFFE4)},
    {IOCTL_POST_MASK, Bytes({0})},
};

std::vector<Want> Join(std::vector<Want> a, const std::vector<Want>& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// A service window whose mouse was plugged in after the start, on the default
// configuration; the log is cleared after the session start.
struct Session {
    ServiceRig rig;
    explicit Session(const ConfigData* cfg = nullptr, const wchar_t* profileChanged = nullptr)
    {
        auto defaults = ServiceRig::DefaultConfig();
        rig.WriteConfig(cfg ? *cfg : *defaults, profileChanged);
        EXPECT_TRUE(rig.Create(false));
        rig.Plug();
        rig.mouse.ClearLog();
        rig.clock.Clear();
        rig.mouseSettings.calls.clear();
    }
    CHIDWnd& W() { return *rig.wnd; }
};

}  // namespace

TEST(ServiceSession, StartWithoutMouseRunsQuietlyAndWritesFirmwareZero)
{
    ServiceRig rig;
    rig.WriteConfig(*ServiceRig::DefaultConfig());
    PeerWindow about(GEARLOOM_ABOUT_TITLE);
    ASSERT_TRUE(rig.Create(false));
    EXPECT_EQ(g_hDevice, nullptr);
    EXPECT_TRUE(rig.mouse.Requests(true).empty());
    EXPECT_EQ(FindWindowW(nullptr, PORTWARDEN_WINDOW_TITLE), rig.wnd->m_hWnd);
    EXPECT_EQ(FindWindowW(nullptr, PORTWARDEN_CREATION_TITLE), nullptr);
    EXPECT_EQ(CString(g_szConfDir), rig.ConfDir());
    EXPECT_EQ(GetFirmwareVersion(), 0);
    EXPECT_EQ(GetSoftwareVersion(), 114);
    rig.Pump();
    EXPECT_EQ(about.Of(WM_VERSION_CHANGED).size(), 1u);
    // No session: no game-watch timer.
    EXPECT_FALSE(::KillTimer(rig.wnd->m_hWnd, 100));
    // The event semaphore starts at 0 and holds at most 100.
    LONG before = -1;
    EXPECT_FALSE(ReleaseSemaphore(g_hEventSemaphore, 101, nullptr));
    EXPECT_TRUE(ReleaseSemaphore(g_hEventSemaphore, 100, &before));
    EXPECT_EQ(before, 0);
    EXPECT_EQ(rig.wnd->SendMessage(WM_SERVICE_PING), 1);
}

TEST(ServiceSession, ServiceWindowIsKnownBeforeTheDeviceCanReportEvents)
{
    ServiceRig rig;
    HWND seenAtOpen = (HWND)-1;
    rig.mouse.onOpen = [&] { seenAtOpen = g_hServiceWnd; };
    ASSERT_TRUE(rig.Create(false));
    EXPECT_EQ(seenAtOpen, rig.wnd->m_hWnd);

    // A word the mouse had pending before the service registered arrives once it does.
    rig.mouse.onOpen = nullptr;
    rig.mouse.QueueEvent(8);
    rig.Plug();
    rig.HandleDeviceEvents(1);
    EXPECT_EQ(g_nPrevButtons, 8);
}

TEST(ServiceSession, SessionStartSendsRequestsInOrderWithTheirBuffers)
{
    ServiceRig rig;
    auto cfg = ServiceRig::DefaultConfig();
    cfg->profiles[0].ADVANCE_SENSITIVITY_X = 3;
    cfg->profiles[0].ADVANCE_SENSITIVITY_Y = 17;
    cfg->profiles[0].DOUBLE_CLICK_SPEED = 640;
    cfg->profiles[0].SENSITIVITY = 12;
    cfg->profiles[0].SCROLL_SPEED = 4;
    rig.WriteConfig(*cfg);
    ASSERT_TRUE(rig.Create(false));
    // The program folder holds a stand-in for the tray program, which the session starts.
    ASSERT_TRUE(CopyFileW(ExeDir() + L"start_marker.exe", rig.AppDir() + L"Bellwick.exe", FALSE));
    rig.mouse.ClearLog();
    rig.clock.Clear();

    rig.Plug();

    ASSERT_NE(g_hDevice, nullptr);
    ExpectRequests(rig.mouse, {
        {IOCTL_REGISTER_EVENT, DwordBytes((DWORD)(ULONG_PTR)g_hEventSemaphore)},
        {IOCTL_GET_FIRMWARE_VERSION, {}},
        {IOCTL_GET_DPI_STAGE, Bytes({0})},
        {IOCTL_GET_POLLING_RATE, Bytes({0})},
        {IOCTL_PRE_LED_COLOR, Bytes({1})},
        {IOCTL_GET_LED_COLOR, Bytes({0, 0, 0})},
        {IOCTL_GET_LED_INTENSITY, Bytes({0})},
        {IOCTL_GET_LED_PULSATION, Bytes({0})},
        {IOCTL_PRE_SENSITIVITY, Bytes({1})},
        {IOCTL_SET_SENSITIVITY_X, DwordBytes(3)},
        {IOCTL_SET_SENSITIVITY_Y, DwordBytes(17)},
        {IOCTL_SET_INTERCEPTION_MASK, DwordBytes(0xFFE4)},
        {IOCTL_POST_MASK, Bytes({0})},
    });
    EXPECT_EQ(rig.mouse.Semaphore(), g_hEventSemaphore);
    EXPECT_EQ(rig.mouseSettings.calls,
              (std::vector<FakeMouseSettings::Call>{{'D', 640}, {'S', 12}, {'W', 4}}));
    EXPECT_EQ(rig.clock.Waits(), std::vector<DWORD>(12, 1));

    // The device's own values replace those of the file at once.
    auto saved = rig.ReadConfig();
    EXPECT_EQ(saved->profiles[0].DPI_VALUE, 2);
    EXPECT_EQ(saved->POLLING_RATE, 1);
    EXPECT_EQ(saved->profiles[0].LED_COLOR, 0x302010u);
    EXPECT_EQ(saved->profiles[0].LED_INTENSITY, 3);
    EXPECT_EQ(saved->profiles[0].LED_PULSATION, 2);
    EXPECT_EQ(GetFirmwareVersion(), 105);

    // The tray program was started from the program folder.
    CString marker = rig.AppDir() + L"Bellwick.exe.started";
    for (DWORD start = GetTickCount(); GetFileAttributesW(marker) == INVALID_FILE_ATTRIBUTES;) {
        ASSERT_LT(GetTickCount() - start, 20000u) << "Bellwick.exe was not started";
        Sleep(20);
    }
    // The game watch runs.
    EXPECT_TRUE(::KillTimer(rig.wnd->m_hWnd, 100));
}

TEST(ServiceSession, ReloadSendsOnlyChangedSettingsThenPostReloadThenTheProfile)
{
    struct Case {
        const char* name;
        void (*change)(ConfigData&);
        std::vector<Want> changed;  // after the DPI stage and its read-back
        int colourWaits;
    } cases[] = {
        {"nothing", [](ConfigData&) {}, {}, 0},
        {"pulsation", [](ConfigData& c) { c.profiles[0].LED_PULSATION = 4; },
         {{IOCTL_SET_LED_PULSATION, Bytes({4})}}, 0},
        {"colour", [](ConfigData& c) { c.profiles[0].LED_COLOR = 0x0000FF; },
         {{IOCTL_PRE_LED_COLOR, Bytes({1})}, {IOCTL_SET_LED_COLOR, Bytes({0xFF, 0, 0})}}, 1},
        {"intensity and polling rate", [](ConfigData& c) { c.profiles[0].LED_INTENSITY = 1; c.POLLING_RATE = 3; },
         {{IOCTL_SET_LED_INTENSITY, Bytes({1})}, {IOCTL_SET_POLLING_RATE, Bytes({3})}}, 0},
        {"stage only", [](ConfigData& c) { c.profiles[0].DPI_VALUE = 3; }, {}, 0},
        {"another profile", [](ConfigData& c) { c.profiles[5].LED_PULSATION = 1; }, {}, 0},
    };
    for (auto& c : cases) {
        SCOPED_TRACE(c.name);
        Session s;
        // The file as the session start saved it, then changed as Apply would.
        auto cfg = s.rig.ReadConfig();
        ValidateConfig(*cfg);
        c.change(*cfg);
        s.rig.WriteConfig(*cfg);
        int stage = cfg->profiles[0].DPI_VALUE;

        EXPECT_EQ(s.W().SendMessage(WM_RELOAD_CONFIG), 1);

        std::vector<Want> want = {{IOCTL_SET_DPI_STAGE, Bytes({stage})}, {IOCTL_GET_DPI_STAGE, Bytes({0})}};
        want = Join(want, c.changed);
        want.push_back({IOCTL_POST_RELOAD, {}});
        ExpectRequests(s.rig.mouse, Join(want, kApplyProfileDefaults));
        // The colour's pause, the pause after 0x222640, then the profile's five steps.
        std::vector<DWORD> waits(c.colourWaits, 200);
        waits.push_back(100);
        waits.insert(waits.end(), 5, 1);
        EXPECT_EQ(s.rig.clock.Waits(), waits);
        EXPECT_EQ(s.rig.mouse.GetState().stage, stage);
    }
}

TEST(ServiceSession, ProfileSwitchAppliesTheProfileThenItsChangedDeviceSettings)
{
    Session s;
    PeerWindow gearloom(GEARLOOM_MAIN_TITLE);
    EXPECT_EQ(s.W().SendMessage(WM_PROFILE_CHANGE, 3), 1);

    // Profile 4 holds the defaults; profile 1 the values read from the mouse at the start.
    ExpectRequests(s.rig.mouse, Join(kApplyProfileDefaults, {
        {IOCTL_SET_DPI_STAGE, Bytes({4})},
        {IOCTL_GET_DPI_STAGE, Bytes({0})},
        {IOCTL_PRE_LED_COLOR, Bytes({1})},
        {IOCTL_SET_LED_COLOR, Bytes({0xFF, 0x3C, 0x00})},
        {IOCTL_SET_LED_INTENSITY, Bytes({4})},
        {IOCTL_SET_LED_PULSATION, Bytes({3})},
    }));
    EXPECT_EQ(s.W().m_config.PROFILE_ID, 3);
    EXPECT_EQ(s.W().m_prevConfig.PROFILE_ID, 0);
    EXPECT_EQ(s.W().m_savedConfig.PROFILE_ID, 0);
    EXPECT_EQ(s.rig.ReadConfig()->PROFILE_ID, 3);
    auto told = gearloom.Of(WM_SERVICE_PROFILE_CHANGED);
    ASSERT_EQ(told.size(), 1u);
    EXPECT_EQ(told[0].wParam, 3u);
}

TEST(ServiceSession, ProfileIndexesOutsideTheTenAreRefused)
{
    Session s;
    PeerWindow gearloom(GEARLOOM_MAIN_TITLE);
    WPARAM bad[] = {10, 99, (WPARAM)-1, (WPARAM)0x100000003ull};
    for (WPARAM p : bad) EXPECT_EQ(s.W().SendMessage(WM_PROFILE_CHANGE, p), 1);
    for (int p : {10, -1, 1000}) EXPECT_EQ(s.W().SetProfile(p), 0);
    s.W().SwitchProfile(10);
    s.W().SwitchProfile(-1);
    EXPECT_TRUE(s.rig.mouse.Requests().empty());
    EXPECT_EQ(s.W().m_config.PROFILE_ID, 0);
    EXPECT_EQ(s.rig.ReadConfig()->PROFILE_ID, 0);
    EXPECT_TRUE(gearloom.received.empty());
}

TEST(ServiceSession, ProfileChangeWithoutMouseDoesNothing)
{
    ServiceRig rig;
    rig.WriteConfig(*ServiceRig::DefaultConfig());
    ASSERT_TRUE(rig.Create(false));
    EXPECT_EQ(rig.wnd->SendMessage(WM_PROFILE_CHANGE, 4), 1);
    EXPECT_EQ(rig.ReadConfig()->PROFILE_ID, 0);
    EXPECT_TRUE(rig.mouse.Requests(true).empty());
}

TEST(ServiceSession, DpiStepsStopAtBothEnds)
{
    struct Case { int stage; bool up; int result; std::vector<Want> want; } cases[] = {
        {1, true, 0, {{IOCTL_GET_DPI_STAGE, Bytes({0})}}},
        {4, false, 0, {{IOCTL_GET_DPI_STAGE, Bytes({0})}}},
        {5, false, 0, {{IOCTL_GET_DPI_STAGE, Bytes({0})}}},
        {5, true, 1, {{IOCTL_GET_DPI_STAGE, Bytes({0})}, {IOCTL_SET_DPI_STAGE, Bytes({4})}}},
        {2, true, 1, {{IOCTL_GET_DPI_STAGE, Bytes({0})}, {IOCTL_SET_DPI_STAGE, Bytes({1})}}},
        {3, false, 1, {{IOCTL_GET_DPI_STAGE, Bytes({0})}, {IOCTL_SET_DPI_STAGE, Bytes({4})}}},
    };
    for (auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "stage " << c.stage << (c.up ? " up" : " down"));
        Session s;
        PeerWindow gearloom(GEARLOOM_MAIN_TITLE);
        auto state = s.rig.mouse.GetState();
        state.stage = c.stage;
        s.rig.mouse.SetState(state);
        s.rig.mouse.ClearLog();
        EXPECT_EQ(c.up ? s.W().DpiUp() : s.W().DpiDown(), c.result);
        ExpectRequests(s.rig.mouse, c.want);
        s.rig.Pump();
        auto posted = gearloom.Of(WM_SERVICE_DPI_CHANGED);
        if (c.result) {
            int target = c.up ? c.stage - 1 : c.stage + 1;
            ASSERT_EQ(posted.size(), 1u);
            EXPECT_EQ(posted[0].wParam, (WPARAM)target);
            EXPECT_EQ(s.rig.clock.Count(100), 1);
            EXPECT_EQ(g_nLastDpiStage, target);
            // The configuration program stores the stage itself.
            EXPECT_EQ(s.rig.ReadConfig()->profiles[0].DPI_VALUE, 2);
        } else {
            EXPECT_TRUE(posted.empty());
        }
    }
}

TEST(ServiceSession, DpiStepWithoutConfigurationProgramWritesTheFile)
{
    Session s;
    EXPECT_EQ(s.W().DpiDown(), 1);  // 2 -> 3
    EXPECT_EQ(s.rig.ReadConfig()->profiles[0].DPI_VALUE, 3);
    EXPECT_EQ(s.W().m_config.profiles[0].DPI_VALUE, 3);
    EXPECT_EQ(s.W().m_savedConfig.profiles[0].DPI_VALUE, 3);
}

TEST(ServiceSession, ASteppedStageSurvivesASwitchAwayAndBack)
{
    struct Case {
        const char* how;
        bool up;
        bool program;  // the configuration program runs and stores the stage itself
        int stage;
    } cases[] = {
        {"up", true, false, 1},
        {"down", false, false, 3},
        {"up, the configuration program running", true, true, 1},
        {"down, the configuration program running", false, true, 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.how);
        Session s;  // profile 1 at the mouse's stage 2, the other profiles at 4
        std::unique_ptr<PeerWindow> gearloom(c.program ? new PeerWindow(GEARLOOM_MAIN_TITLE) : nullptr);
        // The step comes from a button, as a user makes it.
        s.W().m_config.profiles[0].buttons[5].code = c.up ? 20 : 21;
        s.W().HandleButtonPress(0x21);
        s.W().HandleButtonRelease(0x21);
        ASSERT_EQ(s.rig.mouse.GetState().stage, c.stage);

        EXPECT_EQ(s.W().SendMessage(WM_PROFILE_CHANGE, 4), 1);
        EXPECT_EQ(s.rig.mouse.GetState().stage, 4);
        EXPECT_EQ(s.W().SendMessage(WM_PROFILE_CHANGE, 0), 1);
        EXPECT_EQ(s.rig.mouse.GetState().stage, c.stage);
        EXPECT_EQ(s.W().m_config.profiles[0].DPI_VALUE, c.stage);
        EXPECT_EQ(s.rig.ReadConfig()->profiles[0].DPI_VALUE, c.program ? 2 : c.stage);

        // The next session start keeps the stepped stage in the file and the mouse.
        s.rig.mouse.Unplug();
        s.rig.HandleDeviceEvents(1);
        s.rig.mouse.Replug();
        s.rig.HandleDeviceEvents(1);
        EXPECT_EQ(s.rig.mouse.GetState().stage, c.stage);
        EXPECT_EQ(s.rig.ReadConfig()->profiles[0].DPI_VALUE, c.stage);
    }
}

TEST(ServiceSession, DpiStepsGoOnWhileTheStageCannotBeRead)
{
    Session s;
    s.rig.mouse.FailRequest(IOCTL_GET_DPI_STAGE);
    struct Step { bool up; int result; int stageAfter; } steps[] = {
        {true, 1, 1},   // no stage known: up from 2
        {true, 0, 1},   // already at 1
        {false, 1, 2},
        {false, 1, 3},  // the steps follow what they set
        {false, 1, 4},
        {false, 0, 4},
    };
    for (auto& st : steps) {
        EXPECT_EQ(st.up ? s.W().DpiUp() : s.W().DpiDown(), st.result);
        EXPECT_EQ(s.rig.mouse.GetState().stage, st.stageAfter);
        EXPECT_EQ(g_nLastDpiStage, st.stageAfter);
    }
}

TEST(ServiceSession, DirectDpiChoiceIsRecordedEverywhere)
{
    Session s;
    PeerWindow gearloom(GEARLOOM_MAIN_TITLE);
    EXPECT_EQ(s.W().SelectDpiStage(3), 1);
    ExpectRequests(s.rig.mouse, {{IOCTL_SET_DPI_STAGE, Bytes({3})}});
    s.rig.Pump();
    ASSERT_EQ(gearloom.Of(WM_SERVICE_DPI_CHANGED).size(), 1u);
    EXPECT_EQ(gearloom.Of(WM_SERVICE_DPI_CHANGED)[0].wParam, 3u);
    EXPECT_EQ(s.rig.ReadConfig()->profiles[0].DPI_VALUE, 3);
    EXPECT_EQ(s.W().m_config.profiles[0].DPI_VALUE, 3);
    EXPECT_EQ(g_nLastDpiStage, 3);

    // A later reload sends the chosen stage, not the one from before.
    s.rig.mouse.ClearLog();
    s.W().SendMessage(WM_RELOAD_CONFIG);
    auto req = s.rig.mouse.Requests();
    ASSERT_FALSE(req.empty());
    EXPECT_EQ(req[0].code, IOCTL_SET_DPI_STAGE);
    EXPECT_EQ(req[0].in, Bytes({3}));
}

TEST(ServiceSession, RefusedRequestsAreNotReportedAsDone)
{
    Session s;
    PeerWindow gearloom(GEARLOOM_MAIN_TITLE);
    struct Case { DWORD code; int (*call)(CHIDWnd&); } cases[] = {
        {IOCTL_SET_DPI_STAGE, [](CHIDWnd& w) { return w.SetDpiStage(3); }},
        {IOCTL_SET_POLLING_RATE, [](CHIDWnd& w) { return w.SetPollingRate(3); }},
        {IOCTL_SET_LED_COLOR, [](CHIDWnd& w) { return w.SetLedColor(0xFF); }},
        {IOCTL_SET_LED_INTENSITY, [](CHIDWnd& w) { return w.SetLedIntensity(2); }},
        {IOCTL_SET_LED_PULSATION, [](CHIDWnd& w) { return w.SetLedPulsation(2); }},
        {IOCTL_SET_DPI_STAGE, [](CHIDWnd& w) { return w.SelectDpiStage(1); }},
        {IOCTL_SET_DPI_STAGE, [](CHIDWnd& w) { return w.DpiDown(); }},
    };
    for (auto& c : cases) {
        SCOPED_TRACE(SimRequestName(c.code));
        EXPECT_EQ(c.call(s.W()), 1);
        s.rig.mouse.FailRequest(c.code);
        EXPECT_EQ(c.call(s.W()), 0);
        s.rig.mouse.FailRequest(c.code, 0);
    }
    // Only the two successful DPI choices were told and written.
    s.rig.Pump();
    EXPECT_EQ(gearloom.Of(WM_SERVICE_DPI_CHANGED).size(), 2u);
}

TEST(ServiceSession, WithoutMouseSettersSendNothingAndAnswerZero)
{
    ServiceRig rig;
    rig.WriteConfig(*ServiceRig::DefaultConfig());
    ASSERT_TRUE(rig.Create(false));
    CHIDWnd& w = *rig.wnd;
    int results[] = {w.SetDpiStage(-1), w.SetPollingRate(-1), w.SetLedColor(0), w.SetLedIntensity(-1),
                     w.SetLedPulsation(-1), w.ReadDpiStage(), w.ReadPollingRate(), w.ReadLedColor(),
                     w.ReadLedIntensity(), w.ReadLedPulsation(), w.SelectDpiStage(2), w.DpiUp(), w.DpiDown()};
    for (int r : results) EXPECT_EQ(r, 0);
    EXPECT_TRUE(rig.mouse.Requests(true).empty());
    // The profile application still sets the Windows values; the two requests issued
    // without a device fail in the driver's place.
    w.LoadConfiguration();
    EXPECT_EQ(w.ApplyProfile(), 1);
    EXPECT_EQ(rig.mouseSettings.calls.size(), 3u);
    auto req = rig.mouse.Requests();
    ASSERT_EQ(req.size(), 1u);
    EXPECT_EQ(req[0].code, IOCTL_PRE_SENSITIVITY);
    EXPECT_FALSE(req[0].ok);
}

// The driver's contract fixes the size of every buffer; the mouse refuses any other.
TEST(ServiceSession, EveryRequestCarriesTheContractsBufferSizes)
{
    Session s;
    s.rig.mouse.ClearLog();
    s.rig.Plug();  // the device is open: nothing
    EXPECT_EQ(s.W().SendMessage(WM_WTSSESSION_CHANGE, WTS_CONSOLE_DISCONNECT), 0);
    EXPECT_EQ(s.W().SendMessage(WM_WTSSESSION_CHANGE, WTS_CONSOLE_CONNECT), 0);
    auto cfg = s.rig.ReadConfig();
    ValidateConfig(*cfg);
    cfg->POLLING_RATE = 3;
    s.rig.WriteConfig(*cfg);
    EXPECT_EQ(s.W().SendMessage(WM_RELOAD_CONFIG), 1);
    EXPECT_EQ(s.W().SendMessage(WM_PROFILE_CHANGE, 4), 1);
    EXPECT_EQ(s.W().SelectDpiStage(3), 1);
    EXPECT_EQ(s.W().DpiUp(), 1);
    EXPECT_EQ(s.W().DpiDown(), 1);
    EXPECT_NE(s.W().SendMessage(WM_FIRMWARE_VERSIONS), 0);
    s.rig.mouse.QueueEvent(0x10000001);
    s.rig.HandleDeviceEvents(1);
    s.rig.wnd.reset();

    auto requests = s.rig.mouse.Requests(true);
    std::set<DWORD> seen;
    for (auto& r : requests) {
        SCOPED_TRACE(SimRequestName(r.code));
        uint32_t in = 0, out = 0;
        ASSERT_TRUE(SimRequestSizes(r.code, &in, &out));
        EXPECT_EQ(r.inSize, in);
        EXPECT_EQ(r.outSize, out);
        EXPECT_TRUE(r.ok);
        seen.insert(r.code);
    }
    // Every request of a session but the firmware update's.
    EXPECT_EQ(seen.size(), 22u);
    // The registration carries the handle's 32 bits alone, also from a 64-bit service.
    ASSERT_EQ(requests[0].code, IOCTL_SET_INTERCEPTION_MASK);
    ASSERT_EQ(requests[2].code, IOCTL_REGISTER_EVENT);
    EXPECT_EQ(requests[2].inSize, 4u);
}

TEST(ServiceSession, ClosingGivesTheButtonsBackAndClosesTheDevice)
{
    Session s;
    s.rig.wnd.reset();
    ExpectRequests(s.rig.mouse, {{IOCTL_SET_INTERCEPTION_MASK, DwordBytes(0)}, {IOCTL_UNREGISTER_EVENT, {}}});
    EXPECT_EQ(s.rig.mouse.OpenHandleCount(), 0);
    EXPECT_EQ(g_hDevice, nullptr);
    EXPECT_EQ(g_hServiceWnd, nullptr);
    EXPECT_EQ(g_hEventSemaphore, nullptr);
}

TEST(ServiceSession, ConsoleDisconnectAndConnect)
{
    Session s;
    HWND h = s.W().m_hWnd;
    // Connect while the device is open: it is not opened a second time.
    EXPECT_EQ(s.W().SendMessage(WM_WTSSESSION_CHANGE, WTS_CONSOLE_CONNECT), 0);
    EXPECT_EQ(s.W().SendMessage(WM_DEVICECHANGE, 7), TRUE);
    EXPECT_EQ(s.rig.mouse.OpenCount(), 1);
    EXPECT_EQ(s.rig.mouse.OpenHandleCount(), 1);
    EXPECT_TRUE(s.rig.mouse.Requests().empty());

    EXPECT_EQ(s.W().SendMessage(WM_WTSSESSION_CHANGE, WTS_CONSOLE_DISCONNECT), 0);
    ExpectRequests(s.rig.mouse, {{IOCTL_SET_INTERCEPTION_MASK, DwordBytes(0)}, {IOCTL_UNREGISTER_EVENT, {}}});
    EXPECT_EQ(g_hDevice, nullptr);
    EXPECT_EQ(s.rig.mouse.OpenHandleCount(), 0);
    // The disconnect left the game watch running (checked by stopping it; the connect
    // below starts it again).
    EXPECT_TRUE(::KillTimer(h, 100));
    // Other session changes do nothing.
    EXPECT_EQ(s.W().SendMessage(WM_WTSSESSION_CHANGE, 5 /* WTS_SESSION_LOCK */), 0);
    EXPECT_EQ(s.rig.mouse.OpenCount(), 1);

    s.rig.mouse.ClearLog();
    EXPECT_EQ(s.W().SendMessage(WM_WTSSESSION_CHANGE, WTS_CONSOLE_CONNECT), 0);
    EXPECT_EQ(s.rig.mouse.OpenCount(), 2);
    EXPECT_EQ(s.rig.mouse.OpenHandleCount(), 1);
    auto codes = s.rig.mouse.Codes();
    ASSERT_FALSE(codes.empty());
    EXPECT_EQ(codes.front(), IOCTL_REGISTER_EVENT);
    EXPECT_EQ(codes.back(), IOCTL_POST_MASK);
    // The new session started the watch again.
    EXPECT_TRUE(::KillTimer(h, 100));
}

TEST(ServiceSession, ButtonEventsReachTheDispatcherThroughTheSemaphore)
{
    auto cfg = ServiceRig::DefaultConfig();
    ButtonSlot* b = cfg->profiles[0].buttons;
    b[3].code = 4;  // BUTTON_4: Windows button 4
    b[5].code = 5;  // BUTTON_6: Windows button 5
    b[6].code = 5;  // BUTTON_7: Windows button 5 (not its native button 4)
    b[7].code = 4;  // BUTTON_8: Windows button 4 (not its native button 5)
    Session s(cfg.get());

    s.rig.mouse.QueueEvent(0x10000000 | 0x4001);  // extended bits 0 and 14: BUTTON_6, then BUTTON_4
    s.rig.mouse.QueueEvent(8);                     // standard bit 3: BUTTON_8
    s.rig.mouse.QueueEvent(0x18);                  // standard bit 4: BUTTON_7
    s.rig.mouse.QueueEvent(0);                     // both released
    s.rig.HandleDeviceEvents(4);

    struct Sent { DWORD flags; DWORD data; } want[] = {
        {MOUSEEVENTF_XDOWN, 2}, {MOUSEEVENTF_XDOWN, 1},  // BUTTON_6, BUTTON_4
        {MOUSEEVENTF_XDOWN, 1},                          // BUTTON_8
        {MOUSEEVENTF_XDOWN, 2},                          // BUTTON_7
        {MOUSEEVENTF_XUP, 1}, {MOUSEEVENTF_XUP, 2},      // bit 3 then bit 4
    };
    auto inputs = s.rig.input.Inputs();
    ASSERT_EQ(inputs.size(), std::size(want));
    for (size_t i = 0; i < inputs.size(); ++i) {
        EXPECT_EQ(inputs[i].type, (DWORD)INPUT_MOUSE) << i;
        EXPECT_EQ(inputs[i].mi.dwFlags, want[i].flags) << i;
        EXPECT_EQ(inputs[i].mi.mouseData, want[i].data) << i;
    }
    EXPECT_EQ(g_nPrevExtButtons, 0x4001);
    EXPECT_EQ(g_nPrevButtons, 0);
}

TEST(ServiceSession, InGameModeRecordsButtonStatesWithoutActing)
{
    auto cfg = ServiceRig::DefaultConfig();
    cfg->GAME_MODE = 1;
    cfg->profiles[0].buttons[7].code = 4;  // BUTTON_8 would send Windows button 4
    Session s(cfg.get());
    PeerWindow gearloom(GEARLOOM_MAIN_TITLE);
    s.rig.foreground.window = gearloom.m_hWnd;  // even the configuration program gets nothing

    s.rig.mouse.QueueEvent(8);
    s.rig.HandleDeviceEvents(1);
    EXPECT_EQ(g_nPrevButtons, 8);
    s.rig.mouse.QueueEvent(0x10000000 | 0x0C00);
    s.rig.HandleDeviceEvents(1);
    EXPECT_EQ(g_nPrevExtButtons, 0x0C00);
    EXPECT_TRUE(s.rig.input.Inputs().empty());
    s.rig.Pump();
    EXPECT_TRUE(gearloom.received.empty());

    // Leaving in-game mode: BUTTON_8 is known to be down, so letting it go is a release.
    cfg->GAME_MODE = 0;
    s.rig.WriteConfig(*cfg);
    s.W().SendMessage(WM_RELOAD_CONFIG);
    s.rig.foreground.window = nullptr;
    s.rig.mouse.QueueEvent(0);
    s.rig.HandleDeviceEvents(1);
    auto inputs = s.rig.input.Inputs();
    ASSERT_EQ(inputs.size(), 1u);
    EXPECT_EQ(inputs[0].mi.dwFlags, (DWORD)MOUSEEVENTF_XUP);
}

TEST(ServiceSession, OddEventWordsChangeNothing)
{
    Session s;
    g_nPrevButtons = 3;
    LONG arrivals = g_nArrivalCount;
    for (DWORD word : {0x40u, 0x20u | 0x100u, 0x0C00u, 0xFFu}) s.rig.mouse.QueueEvent(word);
    s.rig.HandleDeviceEvents(4);
    EXPECT_EQ(g_nPrevButtons, 3);
    EXPECT_EQ(g_nArrivalCount, arrivals);
    EXPECT_TRUE(s.rig.input.Inputs().empty());
    EXPECT_TRUE(s.rig.mouse.Requests().empty());
    // Injected states are handled as extended-button states.
    s.W().SendMessage(WM_INJECT_BUTTONS, 0x800);
    s.rig.HandleDeviceEvents(1);
    EXPECT_EQ(g_nPrevExtButtons, 0x800);
}

TEST(ServiceSession, RemovalStopsTheWatchAndArrivalRestartsItWithoutTheMask)
{
    Session s;
    HWND h = s.W().m_hWnd;
    PeerWindow tray(BELLWICK_WINDOW_TITLE);
    PeerWindow about(GEARLOOM_ABOUT_TITLE);
    LONG arrivals = g_nArrivalCount;

    s.rig.mouse.Unplug();
    s.rig.HandleDeviceEvents(1);
    s.rig.Pump();
    EXPECT_EQ(tray.Of(WM_SET_ICON_INACTIVE).size(), 1u);
    EXPECT_EQ(about.Of(WM_VERSION_CHANGED).size(), 1u);
    EXPECT_EQ(GetFirmwareVersion(), 0);
    EXPECT_FALSE(::KillTimer(h, 100));        // the watch stopped
    EXPECT_NE(g_hDevice, nullptr);            // the handle stays open
    EXPECT_TRUE(s.rig.mouse.Requests().empty());

    // The user changed a setting while the mouse was away; the mouse kept its own.
    auto cfg = s.rig.ReadConfig();
    ValidateConfig(*cfg);
    cfg->profiles[0].LED_INTENSITY = 1;
    s.rig.WriteConfig(*cfg);

    s.rig.mouse.Replug();
    s.rig.HandleDeviceEvents(1);
    s.rig.Pump();
    EXPECT_EQ(g_nArrivalCount, arrivals + 1);
    EXPECT_EQ(s.rig.clock.Count(2000), 1);
    EXPECT_EQ(tray.Of(WM_SET_ICON_ACTIVE).size(), 1u);
    ExpectRequests(s.rig.mouse, {
        {IOCTL_GET_FIRMWARE_VERSION, {}},
        {IOCTL_GET_DPI_STAGE, Bytes({0})},
        {IOCTL_GET_POLLING_RATE, Bytes({0})},
        {IOCTL_PRE_LED_COLOR, Bytes({1})},
        {IOCTL_GET_LED_COLOR, Bytes({0, 0, 0})},
        {IOCTL_GET_LED_INTENSITY, Bytes({0})},
        {IOCTL_GET_LED_PULSATION, Bytes({0})},
    });
    EXPECT_EQ(s.rig.ReadConfig()->profiles[0].LED_INTENSITY, 3);  // the mouse's value wins
    EXPECT_EQ(GetFirmwareVersion(), 105);
    EXPECT_EQ(s.rig.mouse.OpenCount(), 1);
    EXPECT_TRUE(::KillTimer(h, 100));         // the watch runs again
}

TEST(ServiceSession, HungConfigurationProgramDoesNotFreezeTheService)
{
    Session s;
    HANDLE release = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    HANDLE ready = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    std::thread peer([&] {
        PeerWindow gearloom(GEARLOOM_MAIN_TITLE);
        SetEvent(ready);
        WaitForSingleObject(release, 30000);  // does not pump: the window hangs
    });
    WaitForSingleObject(ready, 30000);
    s.W().SwitchProfile(2);  // sends WM_SERVICE_PROFILE_CHANGED to the hung window
    EXPECT_EQ(s.W().m_config.PROFILE_ID, 2);
    SetEvent(release);
    peer.join();
    CloseHandle(release);
    CloseHandle(ready);
}
