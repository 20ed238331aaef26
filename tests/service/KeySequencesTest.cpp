#include "InputTimeline.h"
#include "ServiceRig.h"
#include "service/ButtonDispatcher.h"
#include "service/DriverLink.h"
#include "service/KeySequences.h"
#include "core/FunctionCodes.h"
#include "core/Messages.h"
#include <gtest/gtest.h>
#include <set>

namespace {

// Event code of each button index, as the driver link hands them to the dispatcher.
const int kEventCode[BUTTON_COUNT] = {1, 2, 4, 0x4020, 0x8020, 0x21, 0x10, 8, 0x820, 0x420, 0x1020};
const int LSHIFT = VK_LSHIFT, LCTRL = VK_LCONTROL, LALT = VK_LMENU;

// A service window on the simulated mouse whose buttons the test assigns directly.
class Dispatcher : public testing::Test {
protected:
    ServiceRig rig;
    InputTimeline timeline{rig.clock};

    void SetUp() override
    {
        rig.WriteConfig(*ServiceRig::DefaultConfig());
        ASSERT_TRUE(rig.Create(true));
        rig.Pump();
        SetInputSeam(&timeline);
        SetCursorPos(200, 150);
        rig.mouse.ClearLog();
    }

    // Press (or release) the button with that index while it holds code.
    std::string Run(int code, int button, bool release)
    {
        ProfileData& p = rig.wnd->m_config.profiles[rig.wnd->m_config.PROFILE_ID];
        p.buttons[button].code = code;
        timeline.Clear();
        if (release)
            rig.wnd->HandleButtonRelease(kEventCode[button]);
        else
            rig.wnd->HandleButtonPress(kEventCode[button]);
        return timeline.Text();
    }
};

} // namespace

TEST(KeySequences, EventCodesMapToTheirButtons)
{
    for (int i = 0; i < BUTTON_COUNT; ++i)
        EXPECT_EQ(ButtonIndexFromEventCode(kEventCode[i]), i) << std::hex << kEventCode[i];
    for (int code : {0, 0x20, 0x40, 0x22, 0x2020, 0x10020, -1})
        EXPECT_EQ(ButtonIndexFromEventCode(code), -1) << std::hex << code;
}

TEST(KeySequences, EveryCodeTheServiceActsOnMeansWhatTheSharedTableSays)
{
    using F = FunctionFamily;
    const int anyButton = 3;  // no native click on this button
    for (int code = -2; code <= FUNCTION_CODE_MAX + 100; ++code) {
        FunctionCodeInfo info = DescribeFunctionCode(code);
        const KeySteps& press = KeyStepsFor(code, false, anyButton);
        const KeySteps& release = KeyStepsFor(code, true, anyButton);
        bool acts = info.family == F::Mouse || info.family == F::Dpi || info.family == F::Profile ||
                    info.family == F::Chat || info.family == F::GameCommand || info.family == F::Macro;
        EXPECT_EQ(!press.empty(), acts) << code;
        if (!acts) {
            EXPECT_TRUE(release.empty()) << code;
        }
        for (const KeySteps* steps : {&press, &release}) {
            for (const KeyStep& s : *steps) {
                switch (s.type) {
                case KeyStepType::Key:
                case KeyStepType::Mouse:
                case KeyStepType::Wait:
                    EXPECT_TRUE(info.family == F::Mouse || info.family == F::Chat || info.family == F::GameCommand) << code;
                    break;
                case KeyStepType::SelectDpi:
                    EXPECT_EQ(info.family, F::Dpi);
                    // DPI_400 .. DPI_3200 select the stages 4 .. 1.
                    EXPECT_EQ(s.value, 4 - (code - FIRST_DPI_CODE)) << code;
                    break;
                case KeyStepType::DpiUp: EXPECT_STREQ(info.element, L"DPI_UP"); break;
                case KeyStepType::DpiDown: EXPECT_STREQ(info.element, L"DPI_DOWN"); break;
                case KeyStepType::SetProfile:
                    EXPECT_EQ(info.family, F::Profile);
                    EXPECT_EQ(s.value, code - FIRST_PROFILE_CODE) << code;
                    break;
                case KeyStepType::ProfileUp: EXPECT_STREQ(info.element, L"PROFILE_UP"); break;
                case KeyStepType::ProfileDown: EXPECT_STREQ(info.element, L"PROFILE_DOWN"); break;
                case KeyStepType::Macro:
                    EXPECT_EQ(info.family, F::Macro);
                    EXPECT_EQ(s.value, code - FIRST_MACRO_CODE) << code;
                    break;
                }
            }
        }
    }
}

TEST_F(Dispatcher, EveryCodeProducesItsInputOnPressAndRelease)
{
    POINT cursor = {};
    ASSERT_TRUE(GetCursorPos(&cursor));
    ASSERT_TRUE(cursor.x != 0 || cursor.y != 0) << "the at-cursor events need a cursor away from 0,0";

    struct Case {
        int code;
        int button;
        std::string press;
        std::string release;
    };
    std::vector<Case> cases = {
        // Mouse functions, with the buttons Windows clicks natively.
        {1, 3, "m2:0", "m4:0"},
        {1, 0, "", ""},
        {2, 0, "m8@:0", "m10@:0"},
        {2, 1, "", ""},
        {3, 5, "m2:0 m4:0 m2:0 m4:0", ""},
        {4, 7, "m80:1", "m100:1"},
        {4, 6, "", ""},
        {5, 6, "m80:2", "m100:2"},
        {5, 7, "", ""},
        {6, 4, "m20@:0", "m40@:0"},
        {6, 2, "m20@:0", "m40@:0"},
        {9, 4, "", ""},
        {11, 4, "", ""},
        {12, 4, "", ""},
        {13, 4, "", ""},
        // Chat commands.
        {80, 5, Typed("\r/STOPCASTING\r\r/STOPATTACK\r"), ""},
        {81, 5, Typed("\r/FOCUS\r"), ""},
        {82, 5, Typed("\r/DISMOUNT\r"), ""},
        // MOVEMENT_KEYS: held keys go down extended and up plain.
        {101, 3, "m20:1", "m40:2"},
        {101, 2, "", ""},
        {102, 3, "87ve", "87^"},
        {103, 3, "65ve", "65^"},
        {104, 3, "83ve", "83^"},
        {105, 3, "68ve", "68^"},
        {106, 3, "81ve", "81^"},
        {107, 3, "69ve", "69^"},
        {108, 3, "32ve w200 32^e", ""},
        {109, 3, "88ve w200 88^e", ""},
        {110, 3, "90v w100 90^", ""},
        {111, 3, Tap(VK_NUMLOCK), ""},
        {112, 3, Tap(VK_INSERT), ""},
        {113, 3, Tap(VK_DELETE), ""},
        {114, 3, Tap(VK_DIVIDE), ""},
        // CHAT_FUNCTIONS.
        {201, 8, Tap(VK_RETURN), ""},
        {202, 8, Tap(VK_OEM_2), ""},
        {203, 8, Tap(VK_PRIOR), ""},
        {204, 8, Tap(VK_NEXT), ""},
        {205, 8, With(LSHIFT, VK_NEXT), ""},
        {206, 8, Tap('R'), ""},
        {207, 8, With(LCTRL, VK_PRIOR), ""},
        {208, 8, With(LCTRL, VK_NEXT), ""},
        {209, 8, "162v 160v 34v 34^ 160^ 162^", ""},
        {210, 8, With(LSHIFT, 'C'), ""},
        // ACTION_BAR_FUNCTIONS.
        // 301..350 are generated below.
        {351, 9, "160ve w50 38v w50 38^ w50 160^e w50 160^", ""},
        {352, 9, "160ve w50 40v w50 40^ w50 160^e 160^", ""},
        // TARGETING_FUNCTIONS.
        {401, 10, Tap(VK_TAB), ""},
        {402, 10, With(LSHIFT, VK_TAB), ""},
        {403, 10, With(LCTRL, VK_TAB), ""},
        {404, 10, "162v 160v 9v 9^ 16^ 162^", ""},
        {405, 10, Tap(VK_F1), ""},
        {410, 10, With(LSHIFT, VK_F1), ""},
        // 406..409 and 411..414 are generated below.
        {415, 10, Tap('G'), ""},
        {416, 10, Tap('F'), ""},
        {417, 10, Tap('V'), ""},
        {418, 10, With(LSHIFT, 'V'), ""},
        {419, 10, With(LCTRL, 'V'), ""},
        {420, 10, Tap('T'), ""},
        {421, 10, With(LSHIFT, 'T'), ""},
        // INTERFACE_PANEL_FUNCTIONS.
        {501, 4, Tap('C'), ""},
        {502, 4, With(LSHIFT, 'B'), ""},
        // 503..506 are generated below.
        {507, 4, Tap('B'), ""},
        {508, 4, Tap('P'), ""},
        {509, 4, With(LSHIFT, 'I'), ""},
        {510, 4, Tap('N'), ""},
        {511, 4, Tap('H'), ""},
        {512, 4, With(LSHIFT, 'P'), ""},
        {513, 4, Tap('U'), ""},
        {514, 4, Tap('K'), ""},
        {515, 4, Tap('L'), ""},
        {516, 4, Tap(VK_ESCAPE), ""},
        {517, 4, Tap('M'), ""},
        {518, 4, Tap('O'), ""},
        {519, 4, With(LSHIFT, VK_SPACE), ""},
        {520, 4, With(LSHIFT, 'M'), ""},
        {521, 4, With(LSHIFT, 'O'), ""},
        // CAMERA_FUNCTIONS.
        {601, 2, Tap(VK_END), ""},
        {602, 2, Tap(VK_HOME), ""},
        {603, 2, "m800:120", ""},
        {604, 2, "m800:-120", ""},
        // MISCELLANEOUS_FUNCTIONS.
        {701, 6, Tap(VK_ADD), ""},
        {702, 6, Tap(VK_SUBTRACT), ""},
        {703, 6, With(LCTRL, 'M'), ""},
        {704, 6, With(LCTRL, 'S'), ""},
        {705, 6, With(LCTRL, VK_OEM_PLUS), ""},
        {706, 6, With(LCTRL, VK_OEM_MINUS), ""},
        {707, 6, With(LALT, 'Z'), ""},
        {708, 6, With(LCTRL, 'R'), ""},
        {709, 6, Tap(VK_SNAPSHOT), ""},
        // Codes without a row.
        {0, 3, "", ""}, {-1, 3, "", ""}, {7, 3, "", ""}, {8, 3, "", ""}, {10, 3, "", ""},
        {14, 3, "", ""}, {15, 3, "", ""}, {22, 3, "", ""}, {31, 3, "", ""}, {44, 3, "", ""},
        {79, 3, "", ""}, {83, 3, "", ""}, {100, 3, "", ""}, {115, 3, "", ""}, {200, 3, "", ""},
        {211, 3, "", ""}, {300, 3, "", ""}, {353, 3, "", ""}, {400, 3, "", ""}, {422, 3, "", ""},
        {500, 3, "", ""}, {522, 3, "", ""}, {600, 3, "", ""}, {605, 3, "", ""}, {700, 3, "", ""},
        {710, 3, "", ""}, {999, 3, "", ""}, {1050, 3, "", ""}, {1200, 3, "", ""}, {1201, 3, "", ""},
        {100000, 3, "", ""},
    };
    // The families of keys: the twelve action-bar keys alone, with Alt, the F keys and
    // the digits with Ctrl, the page digits with Shift, the party and bag F keys.
    const int actionKeys[12] = {'1', '2', '3', '4', '5', '6', '7', '8', '9', '0', VK_OEM_MINUS, VK_OEM_PLUS};
    for (int i = 0; i < 12; ++i) {
        cases.push_back({301 + i, 9, Tap(actionKeys[i]), ""});
        cases.push_back({313 + i, 9, With(LALT, actionKeys[i]), ""});
    }
    for (int i = 0; i < 10; ++i) {
        cases.push_back({325 + i, 9, With(LCTRL, VK_F1 + i), ""});
        cases.push_back({335 + i, 9, With(LCTRL, actionKeys[i]), ""});
    }
    for (int i = 0; i < 6; ++i) cases.push_back({345 + i, 9, With(LSHIFT, '1' + i), ""});
    for (int i = 0; i < 4; ++i) {
        cases.push_back({406 + i, 10, Tap(VK_F2 + i), ""});
        cases.push_back({411 + i, 10, With(LSHIFT, VK_F2 + i), ""});
        cases.push_back({503 + i, 4, Tap(VK_F8 + i), ""});
    }
    // Every one of the 131 game commands has its row above.
    std::set<int> commands;
    for (const Case& c : cases)
        if (c.code >= 101 && c.code <= 709 && !c.press.empty()) commands.insert(c.code);
    EXPECT_EQ(commands.size(), 131u);
    for (const Case& c : cases) {
        EXPECT_EQ(Run(c.code, c.button, false), c.press) << "press of code " << c.code << " on button index " << c.button;
        EXPECT_TRUE(timeline.ScanCodesMatch()) << c.code;
        for (const INPUT& in : timeline.Inputs()) {
            if (in.type == INPUT_KEYBOARD) {
                EXPECT_EQ(in.ki.time, 0u);
                EXPECT_EQ(in.ki.dwExtraInfo, 0u);
            } else if (in.mi.dx != 0 || in.mi.dy != 0) {
                EXPECT_EQ(in.mi.dx, cursor.x) << c.code;
                EXPECT_EQ(in.mi.dy, cursor.y) << c.code;
                EXPECT_EQ(in.mi.dwExtraInfo, 0u) << c.code;
            }
        }
        EXPECT_EQ(Run(c.code, c.button, true), c.release) << "release of code " << c.code << " on button index " << c.button;
    }
    // The keys and clicks above are all there is: no device request came from them.
    EXPECT_TRUE(rig.mouse.Codes().empty());
}

TEST_F(Dispatcher, OnlyTheCatalogueAndMouseCodesProduceInput)
{
    std::set<int> withInput = {1, 2, 3, 4, 5, 6, 80, 81, 82};
    for (int group : {1, 2, 3, 4, 5, 6, 7}) {
        const int items[] = {0, 14, 10, 52, 21, 21, 4, 9};
        for (int i = 1; i <= items[group]; ++i) withInput.insert(100 * group + i);
    }
    ASSERT_EQ(withInput.size(), 9u + 131u);
    for (int code = -2; code <= 1300; ++code) {
        // DPI, profile and macro codes act without input of their own; they are tested below.
        if ((code >= 16 && code <= 43) || (code >= 1000 && code <= 1049)) continue;
        bool any = !Run(code, 3, false).empty();
        EXPECT_EQ(any, withInput.count(code) == 1) << code;
        Run(code, 3, true);
    }
}

TEST_F(Dispatcher, DpiAndProfileCodesCallTheirActions)
{
    struct DpiCase { int code; std::vector<DWORD> requests; int stageSet; } dpi[] = {
        {16, {IOCTL_SET_DPI_STAGE}, 4},
        {17, {IOCTL_SET_DPI_STAGE}, 3},
        {18, {IOCTL_SET_DPI_STAGE}, 2},
        {19, {IOCTL_SET_DPI_STAGE}, 1},
        {20, {IOCTL_GET_DPI_STAGE, IOCTL_SET_DPI_STAGE}, 1},  // the mouse is at stage 2
        {21, {IOCTL_GET_DPI_STAGE, IOCTL_SET_DPI_STAGE}, 3},
    };
    for (auto& c : dpi) {
        SimMouse::State s = rig.mouse.GetState();
        s.stage = 2;
        rig.mouse.SetState(s);
        rig.mouse.ClearLog();
        EXPECT_EQ(Run(c.code, 3, false), "w100") << c.code;  // the wait after a DPI change
        EXPECT_EQ(rig.mouse.Codes(), c.requests) << c.code;
        EXPECT_EQ(rig.mouse.Requests().back().in, Bytes({c.stageSet})) << c.code;
        rig.mouse.ClearLog();
        EXPECT_EQ(Run(c.code, 3, true), "") << c.code;
        EXPECT_TRUE(rig.mouse.Codes().empty()) << c.code;
    }

    ConfigData& cfg = rig.wnd->m_config;
    struct ProfileCase { int from; int code; int want; } profiles[] = {
        {0, 32, 0}, {0, 35, 3}, {4, 41, 9}, {9, 42, 9}, {3, 42, 4}, {3, 43, 2}, {0, 43, 0},
    };
    for (auto& c : profiles) {
        cfg.PROFILE_ID = c.from;
        for (ProfileData& p : cfg.profiles) p.buttons[3].code = c.code;
        rig.mouseSettings.calls.clear();
        Run(c.code, 3, false);
        EXPECT_EQ(cfg.PROFILE_ID, c.want) << c.code << " from " << c.from;
        // Every one of them applies the profile, also when it stays (PROFILE_UP at the last one).
        EXPECT_FALSE(rig.mouseSettings.calls.empty()) << c.code << " from " << c.from;
        Run(c.code, 3, true);
        EXPECT_EQ(cfg.PROFILE_ID, c.want);
    }

    // Without a device the profile codes do nothing, the profile steps still switch.
    CloseDevice();
    cfg.PROFILE_ID = 2;
    for (ProfileData& p : cfg.profiles) p.buttons[3].code = 36;
    Run(36, 3, false);
    EXPECT_EQ(cfg.PROFILE_ID, 2);
    for (ProfileData& p : cfg.profiles) p.buttons[3].code = 42;
    Run(42, 3, false);
    EXPECT_EQ(cfg.PROFILE_ID, 3);
}

namespace {

// A stand-in for the configuration program's main window, in this process.
HWND CreateProgramWindow(const wchar_t* title = GEARLOOM_MAIN_TITLE)
{
    return CreateWindowExW(0, L"STATIC", title, WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
}

// The button notice posted to window, taken from its queue.
bool TakeButtonNotice(HWND window, int& index, int& state)
{
    MSG msg;
    bool got = PeekMessageW(&msg, window, WM_SERVICE_BUTTON_STATE, WM_SERVICE_BUTTON_STATE, PM_REMOVE) != 0;
    index = got ? (int)msg.wParam : -1;
    state = got ? (int)msg.lParam : -1;
    return got;
}

} // namespace

TEST_F(Dispatcher, TheConfigurationProgramTakesButtonsThreeToElevenWhileInFront)
{
    rig.foreground.window = GetDesktopWindow();
    EXPECT_EQ(Run(102, 4, false), "87ve");  // no configuration program: looked up and not found
    EXPECT_EQ(Run(102, 4, true), "87^");
    HWND program = CreateProgramWindow();
    ASSERT_TRUE(program);
    // Noticed at the next button event.
    rig.foreground.window = program;
    int index, state;
    for (int button = 2; button < BUTTON_COUNT; ++button) {
        EXPECT_EQ(Run(102, button, false), "") << button;
        ASSERT_TRUE(TakeButtonNotice(program, index, state));
        EXPECT_EQ(index, button);
        EXPECT_EQ(state, 1);
        EXPECT_EQ(Run(102, button, true), "") << button;
        ASSERT_TRUE(TakeButtonNotice(program, index, state));
        EXPECT_EQ(index, button);
        EXPECT_EQ(state, 0);
    }
    // The first two buttons keep their function and post nothing.
    EXPECT_EQ(Run(201, 0, false), Tap(VK_RETURN));
    EXPECT_EQ(Run(201, 1, false), Tap(VK_RETURN));
    EXPECT_FALSE(TakeButtonNotice(program, index, state));

    // Another program in front: the buttons act.
    rig.foreground.window = GetDesktopWindow();
    EXPECT_EQ(Run(102, 4, false), "87ve");
    EXPECT_FALSE(TakeButtonNotice(program, index, state));
    DestroyWindow(program);
}

TEST_F(Dispatcher, TheConfigurationProgramIsFoundByItsExactTitleAtEveryEvent)
{
    int index, state;
    HWND program = CreateProgramWindow();
    ASSERT_TRUE(program);
    rig.foreground.window = program;
    EXPECT_EQ(Run(102, 4, false), "");
    EXPECT_EQ(FindConfigurationProgram(), program);
    ASSERT_TRUE(TakeButtonNotice(program, index, state));

    // A window found before that has another title now is not the program any more.
    SetWindowTextW(program, L"Something else");
    EXPECT_EQ(Run(102, 4, false), "87ve");
    EXPECT_EQ(Run(102, 4, true), "87^");
    EXPECT_EQ(FindConfigurationProgram(), nullptr);
    SetWindowTextW(program, GEARLOOM_MAIN_TITLE);
    EXPECT_EQ(Run(102, 4, false), "");
    ASSERT_TRUE(TakeButtonNotice(program, index, state));

    // The program closes and opens again: the new window is found at the next event.
    DestroyWindow(program);
    EXPECT_EQ(FindConfigurationProgram(), nullptr);
    EXPECT_EQ(Run(102, 4, false), "87ve");
    HWND again = CreateProgramWindow();
    ASSERT_TRUE(again);
    rig.foreground.window = again;
    // The program in front is told of the release, and the key pressed before it came is
    // let go all the same.
    EXPECT_EQ(Run(102, 4, true), "87^");
    ASSERT_TRUE(TakeButtonNotice(again, index, state));
    EXPECT_EQ(state, 0);
    EXPECT_EQ(FindConfigurationProgram(), again);

    // While the program is found, a window of another process in front gets the input.
    rig.foreground.window = GetDesktopWindow();
    EXPECT_EQ(Run(102, 4, false), "87ve");
    EXPECT_FALSE(TakeButtonNotice(again, index, state));
    DestroyWindow(again);
    EXPECT_EQ(FindConfigurationProgram(), nullptr);
}

TEST_F(Dispatcher, ButtonEventWordsFromTheMouseBecomeInput)
{
    ConfigData& cfg = rig.wnd->m_config;
    cfg.profiles[cfg.PROFILE_ID].buttons[3].code = 102;  // BUTTON_4: MOVE_FORWARD
    cfg.profiles[cfg.PROFILE_ID].buttons[5].code = 201;  // BUTTON_6: OPEN_CHAT
    timeline.Clear();
    rig.mouse.QueueEvent(0x10000000 | 0x4000 | 0x1);  // BUTTON_6 and BUTTON_4 down
    rig.mouse.QueueEvent(0x10000000);                 // both up
    rig.HandleDeviceEvents(2);
    EXPECT_EQ(timeline.Text(), Tap(VK_RETURN) + " 87ve 87^");
}
