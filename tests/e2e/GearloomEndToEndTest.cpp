#include "GearloomRun.h"
#include "SuiteRun.h"
#include "GuiTestSupport.h"
#include "service/DriverLink.h"
#include "core/ConfigFile.h"
#include "core/Messages.h"
#include <gtest/gtest.h>
#include <algorithm>

// The configuration program beside the real service on the simulated mouse: what a person
// does in its window reaches the file, the registry and the device; what the service and
// the tray say reaches its window.

namespace {


class GearloomEndToEnd : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::wstring error = run.StartMouse();
        ASSERT_TRUE(error.empty()) << "simulated mouse: " << std::string(error.begin(), error.end());
        ASSERT_EQ(FindWindowW(nullptr, PORTWARDEN_WINDOW_TITLE), nullptr) << "a service is already running";
        ASSERT_EQ(FindWindowW(nullptr, GEARLOOM_MAIN_TITLE), nullptr) << "a configuration program is running";
    }

    // The service first (its session start takes the device's values into the first
    // profile and writes the file), then the profiles the test wants, then the program.
    void Start(void (*shape)(ConfigData&))
    {
        ASSERT_TRUE(run.WriteConfig(*SuiteRun::DefaultConfig()));
        ASSERT_TRUE(run.StartService());
        ASSERT_EQ(run.State().registered, 1);
        std::unique_ptr<ConfigData> cfg = run.ReadConfig();
        ValidateConfig(*cfg);
        // The other profiles as the first, so that a switch changes only what the test sets.
        for (int j = 1; j < PROFILE_COUNT; ++j) {
            ProfileData& p = cfg->profiles[j];
            const ProfileData& first = cfg->profiles[0];
            p.DPI_VALUE = first.DPI_VALUE;
            p.LED_COLOR = first.LED_COLOR;
            p.LED_INTENSITY = first.LED_INTENSITY;
            p.LED_PULSATION = first.LED_PULSATION;
            p.ADVANCE_SENSITIVITY_X = first.ADVANCE_SENSITIVITY_X;
            p.ADVANCE_SENSITIVITY_Y = first.ADVANCE_SENSITIVITY_Y;
        }
        if (shape) shape(*cfg);
        ASSERT_TRUE(WriteNewConfigFile(*cfg, run.ConfigPath()));
        ASSERT_TRUE(program.Start());
    }

    SuiteRun run;
    GearloomRun program{run};
};

}  // namespace

// Apply without a change writes nothing and the device hears nothing. After a change (the
// fifth profile, with its own light colour and wheel lines) Apply writes "Config.xml" and
// the registry, and the device receives the changed light alone besides the steps every
// reload takes.
TEST_F(GearloomEndToEnd, ApplySendsOnlyTheChangedSettingsToTheDevice)
{
    Start([](ConfigData& cfg) {
        cfg.profiles[4].LED_COLOR = 0x00FF00;  // green
        cfg.profiles[4].SCROLL_SPEED = 9;
    });
    std::vector<unsigned char> before = ReadBytes(run.ConfigPath());
    uint32_t mark = run.mouse.LogMark();
    program.Click(L"BUTTON_APPLY");
    Sleep(700);
    EXPECT_EQ(ReadBytes(run.ConfigPath()), before);
    EXPECT_TRUE(run.RequestsSince(mark).empty()) << RequestNames(run.RequestsSince(mark));

    program.Click(L"PROFILE_5");
    Sleep(200);
    program.Click(L"BUTTON_APPLY");
    ASSERT_TRUE(run.WaitForRequest(mark, IOCTL_POST_MASK));
    Sleep(300);
    EXPECT_EQ(run.ReadConfig()->PROFILE_ID, 4);
    EXPECT_EQ(RegistryText(L"Control Panel\\Desktop", L"WheelScrollLines"), L"9");
    std::vector<SimLogEntry> sent = run.RequestsSince(mark);
    const std::vector<uint32_t> expected = {IOCTL_SET_DPI_STAGE, IOCTL_GET_DPI_STAGE, IOCTL_PRE_LED_COLOR,
                                            IOCTL_SET_LED_COLOR, IOCTL_POST_RELOAD, IOCTL_PRE_SENSITIVITY,
                                            IOCTL_SET_SENSITIVITY_X, IOCTL_SET_SENSITIVITY_Y,
                                            IOCTL_SET_INTERCEPTION_MASK, IOCTL_POST_MASK};
    EXPECT_EQ(RequestCodes(sent), expected) << RequestNames(sent);
    SimDeviceState s = run.State();
    EXPECT_EQ(s.settings.r, 0);
    EXPECT_EQ(s.settings.g, 0xFF);
    EXPECT_EQ(s.settings.b, 0);
    SaveWindowPng(program.Window(), L"e2e-gearloom-applied");
}

// A read-only "Config.xml": Apply tells the person the settings were not saved, the file
// stays as it was, the device hears nothing, and the change is still unsaved (Exit asks).
TEST_F(GearloomEndToEnd, ReadOnlyConfigGivesTheNotice)
{
    Start(nullptr);
    std::vector<unsigned char> before = ReadBytes(run.ConfigPath());
    ASSERT_TRUE(SetFileAttributesW(run.ConfigPath(), FILE_ATTRIBUTE_READONLY));
    uint32_t mark = run.mouse.LogMark();
    program.Click(L"PROFILE_3");
    Sleep(200);
    program.Click(L"BUTTON_APPLY");
    HWND box = program.WaitForBox(10000);
    ASSERT_NE(box, nullptr) << "the notice";
    Sleep(300);
    SaveWindowPng(box, L"e2e-gearloom-not-saved");
    GearloomRun::Close(box, false);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(box); }));
    Sleep(300);
    EXPECT_EQ(ReadBytes(run.ConfigPath()), before);
    EXPECT_TRUE(run.RequestsSince(mark).empty()) << RequestNames(run.RequestsSince(mark));

    ASSERT_TRUE(program.BringToFront());
    program.Click(L"EXIT");
    HWND question = program.WaitForBox(10000);
    ASSERT_NE(question, nullptr) << "unsaved: Exit asks";
    GearloomRun::Close(question, true);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(question); }));
    EXPECT_FALSE(program.WaitForExit(500));
    SetFileAttributesW(run.ConfigPath(), FILE_ATTRIBUTE_NORMAL);
}

// A button pressed on the mouse while the program is in front is highlighted in its window
// instead of doing what it is set to do (here a DPI stage, which would reach the device).
TEST_F(GearloomEndToEnd, AButtonPressedWhileTheProgramIsInFrontIsHighlighted)
{
    Start([](ConfigData& cfg) { cfg.profiles[0].buttons[4].code = 19; });  // BUTTON_5: DPI 3200
    ASSERT_TRUE(program.BringToFront());
    std::vector<DWORD> fifth = program.Pixels(L"MOUSE_BUTTON_5");
    std::vector<DWORD> sixth = program.Pixels(L"MOUSE_BUTTON_6");
    ASSERT_FALSE(fifth.empty());
    uint32_t mark = run.mouse.LogMark();
    ASSERT_EQ(run.mouse.Button(5, true).result, SIM_OK);
    EXPECT_TRUE(WaitUntil([&] { return program.Pixels(L"MOUSE_BUTTON_5") != fifth; }, 10000)) << "highlighted";
    ASSERT_EQ(run.mouse.Button(5, false).result, SIM_OK);
    Sleep(500);
    EXPECT_EQ(program.Pixels(L"MOUSE_BUTTON_6"), sixth);
    std::vector<SimLogEntry> sent = run.RequestsSince(mark);
    std::vector<uint32_t> codes = RequestCodes(sent);
    EXPECT_EQ(std::count(codes.begin(), codes.end(), IOCTL_SET_DPI_STAGE), 0) << RequestNames(sent);
    SaveWindowPng(program.Window(), L"e2e-gearloom-button-highlighted");
}

// A profile picked in the tray (the tray's notice to the service and to the program, sent
// here by this second process as the tray sends it): the service switches and writes the
// file, the window shows the profile, and there is no unsaved change (Exit ends at once).
TEST_F(GearloomEndToEnd, ATrayProfilePickSwitchesTheWindow)
{
    Start(nullptr);
    std::vector<DWORD> fourth = program.Pixels(L"PROFILE_4");
    PostMessageW(run.ServiceWindow(), WM_PROFILE_CHANGE, 3, 0);
    PostMessageW(program.Window(), WM_PROFILE_CHANGE, 3, 0);
    EXPECT_TRUE(WaitUntil([&] { return run.ReadConfig()->PROFILE_ID == 3; }, 10000));
    EXPECT_TRUE(WaitUntil([&] { return program.Pixels(L"PROFILE_4") != fourth; }, 10000)) << "the fourth profile shown";
    Sleep(300);
    SaveWindowPng(program.Window(), L"e2e-gearloom-tray-pick");
    ASSERT_TRUE(program.BringToFront());
    program.Click(L"EXIT");
    HWND question = program.WaitForBox(1500);
    if (question) GearloomRun::Close(question, false);
    EXPECT_EQ(question, nullptr) << "no unsaved change";
    EXPECT_TRUE(program.WaitForExit(10000));
    EXPECT_EQ(run.ReadConfig()->PROFILE_ID, 3);
}
