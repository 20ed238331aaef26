#include "GearloomRun.h"
#include "SuiteRun.h"
#include "RecordingWindow.h"
#include "GuiTestSupport.h"
#include "TrayDriver.h"
#include "service/DriverLink.h"
#include "core/ConfigFile.h"
#include "core/ConfigSettings.h"
#include "core/Messages.h"
#include <gtest/gtest.h>
#include <algorithm>
#include <memory>

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

    // Exit from the main window: with nothing unsaved no question comes, and the program
    // ends.
    void ExitAskingNothing()
    {
        ASSERT_TRUE(program.BringToFront());
        program.Click(L"EXIT");
        HWND question = program.WaitForBox(1500);
        if (question) GearloomRun::Close(question, false);
        EXPECT_EQ(question, nullptr) << "no unsaved change";
        EXPECT_TRUE(program.WaitForExit(10000));
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
    HWND box = program.WaitForBox(WINDOW_WAIT_MS);
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
    HWND question = program.WaitForBox(WINDOW_WAIT_MS);
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
    EXPECT_TRUE(WaitUntil([&] { return program.Pixels(L"MOUSE_BUTTON_5") != fifth; })) << "highlighted";
    ASSERT_EQ(run.mouse.Button(5, false).result, SIM_OK);
    // The other buttons lose their highlight and are painted again: looked at once painted.
    EXPECT_TRUE(WaitUntil([&] { return program.Pixels(L"MOUSE_BUTTON_6") == sixth; })) << "another button";
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
    EXPECT_TRUE(WaitUntil([&] { return run.ReadConfig()->PROFILE_ID == 3; }));
    EXPECT_TRUE(WaitUntil([&] { return program.Pixels(L"PROFILE_4") != fourth; })) << "the fourth profile shown";
    Sleep(300);
    SaveWindowPng(program.Window(), L"e2e-gearloom-tray-pick");
    ExitAskingNothing();
    EXPECT_EQ(run.ReadConfig()->PROFILE_ID, 3);
}

namespace {

POINT Centre(const RECT& r)
{
    return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

// A person's click at a point (a slider's track, a button): pressed and let go there.
void ClickAt(POINT p)
{
    MouseMoveTo(POINT{p.x + 3, p.y + 1});
    Sleep(50);
    MouseClickAt(p);
    Sleep(150);
}

POINT PopupRowPoint(const RECT& opener, int row)
{
    return POINT{opener.left + 30, opener.bottom + 10 + 20 * row};
}

HWND RootAt(POINT p)
{
    HWND h = WindowFromPoint(p);
    return h ? GetAncestor(h, GA_ROOT) : nullptr;
}

// A click on the button at opener, then on row k of the popup it opens under itself, each
// once the window before it is there or gone: the program may be slow to answer.
void ChooseFromPopup(const RECT& opener, int row)
{
    const POINT at = PopupRowPoint(opener, row);
    const HWND before = RootAt(at);
    ClickAt(Centre(opener));
    EXPECT_TRUE(WaitUntil([&] { return RootAt(at) != before; }))
        << "the popup opened; under its row is " << DescribeWindow(WindowFromPoint(at));
    const HWND popup = RootAt(at);
    EXPECT_TRUE(ClickOn(popup, at));
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(popup) || !IsWindowVisible(popup); })) << "the popup closed";
}

UINT SystemValue(UINT action)
{
    UINT v = 0;
    SystemParametersInfoW(action, 0, &v, 0);
    return v;
}

}  // namespace

// The settings and lighting panels as a person uses them: a DPI stage from the DPI popup,
// three sliders and the X sensitivity, a colour picked from the colour picture, an intensity
// and a pulsation from their popups. After Apply the device gets the changed stage, light
// colour, intensity and pulsation (and nothing else besides what every reload sends), and
// the Windows mouse settings are those set.
TEST_F(GearloomEndToEnd, PanelSettingsReachTheDeviceAndWindows)
{
    Start(nullptr);
    const std::unique_ptr<ConfigData> started = run.ReadConfig();
    const ProfileData& first = started->profiles[0];
    const int row = first.DPI_VALUE == 2 ? 1 : 2;  // 1600 dpi, or 800 when it is already 1600
    const int stage = 4 - row;

    program.Click(L"BUTTON_MOUSE_PROPERTIES");
    HWND settings = program.WaitForPanel(L"MOUSE_PROPERTIES", WINDOW_WAIT_MS);
    ASSERT_NE(settings, nullptr) << "the settings panel slid out";
    RECT dpi = program.ControlIn(settings, L"MOUSE_PROPERTIES", L"DPI_MENU");
    ChooseFromPopup(dpi, row);
    // Double-click slider three quarters along (750: 350 ms), scroll speed at 150 of 160
    // (16 lines), pointer speed at 40 (5), X sensitivity 84 of 112 up (13).
    RECT track = program.ControlIn(settings, L"MOUSE_PROPERTIES", L"SLIDERS_DOUBLE_CLICK_SPEED");
    ClickAt(POINT{track.left + 120, Centre(track).y});
    track = program.ControlIn(settings, L"MOUSE_PROPERTIES", L"SLIDERS_SCROLL_SPEED");
    ClickAt(POINT{track.left + 150, Centre(track).y});
    track = program.ControlIn(settings, L"MOUSE_PROPERTIES", L"SLIDERS_SENSITIVITY");
    ClickAt(POINT{track.left + 40, Centre(track).y});
    track = program.ControlIn(settings, L"MOUSE_PROPERTIES", L"SLIDERS_ADVANCE_SENSITIVITY_X");
    ClickAt(POINT{Centre(track).x, track.bottom - 84});
    Sleep(300);
    SaveWindowPng(settings, L"e2e-gearloom-settings-panel");

    ASSERT_TRUE(program.BringToFront());
    program.Click(L"BUTTON_ILLUMINATION");
    HWND lighting = program.WaitForPanel(L"ILLUMINATION_SETTING", WINDOW_WAIT_MS);
    ASSERT_NE(lighting, nullptr) << "the lighting panel slid out";
    RECT colour = program.ControlIn(lighting, L"ILLUMINATION_SETTINGS", L"COLOR_MENU");
    ClickAt(Centre(colour));
    Sleep(600);
    RECT around = {colour.left - 2, colour.top, colour.left + 300, colour.bottom + 150};
    SaveScreenPng(around, L"e2e-gearloom-colour-picker");
    const POINT pixel = {37, 21};
    const COLORREF picked = BmpPixel(ReadBytes(run.AppDir() + L"skins\\Color.bmp"), pixel.x, pixel.y);
    MouseClickAt(POINT{colour.left - 2 + 2 + pixel.x, colour.bottom + 2 + pixel.y});
    Sleep(400);
    RECT intensity = program.ControlIn(lighting, L"ILLUMINATION_SETTINGS", L"INTENSITY_MENU");
    ChooseFromPopup(intensity, 2);  // LOW: 2
    RECT pulsation = program.ControlIn(lighting, L"ILLUMINATION_SETTINGS", L"PULSATION_MENU");
    ChooseFromPopup(pulsation, 3);  // OFF: 1
    SaveWindowPng(lighting, L"e2e-gearloom-lighting-panel");

    uint32_t mark = run.mouse.LogMark();
    ASSERT_TRUE(program.BringToFront());
    program.Click(L"BUTTON_APPLY");
    ASSERT_TRUE(run.WaitForRequest(mark, IOCTL_POST_MASK));
    Sleep(300);

    std::unique_ptr<ConfigData> saved = run.ReadConfig();
    const ProfileData& p = saved->profiles[0];
    EXPECT_EQ(p.DPI_VALUE, stage);
    EXPECT_EQ(p.DOUBLE_CLICK_SPEED, 350);
    EXPECT_EQ(p.SCROLL_SPEED, 16);
    EXPECT_EQ(p.SENSITIVITY, 5);
    EXPECT_EQ(p.ADVANCE_SENSITIVITY_X, 13);
    EXPECT_EQ(p.ADVANCE_SENSITIVITY_Y, first.ADVANCE_SENSITIVITY_Y);
    EXPECT_EQ(p.LED_COLOR, picked);
    EXPECT_EQ(p.LED_INTENSITY, 2);
    EXPECT_EQ(p.LED_PULSATION, 1);

    std::vector<SimLogEntry> sent = run.RequestsSince(mark);
    const std::vector<uint32_t> expected = {
        IOCTL_SET_DPI_STAGE,     IOCTL_GET_DPI_STAGE,     IOCTL_PRE_LED_COLOR,     IOCTL_SET_LED_COLOR,
        IOCTL_SET_LED_INTENSITY, IOCTL_SET_LED_PULSATION, IOCTL_POST_RELOAD,       IOCTL_PRE_SENSITIVITY,
        IOCTL_SET_SENSITIVITY_X, IOCTL_SET_SENSITIVITY_Y, IOCTL_SET_INTERCEPTION_MASK, IOCTL_POST_MASK};
    EXPECT_EQ(RequestCodes(sent), expected) << RequestNames(sent);
    SimDeviceState s = run.State();
    EXPECT_EQ(s.settings.stage, stage);
    EXPECT_EQ(s.settings.r, GetRValue(picked));
    EXPECT_EQ(s.settings.g, GetGValue(picked));
    EXPECT_EQ(s.settings.b, GetBValue(picked));
    EXPECT_EQ(s.settings.intensity, 2);
    EXPECT_EQ(s.settings.pulsation, 1);
    EXPECT_EQ(s.settings.sensX, 13);

    // Windows: the registry values the program writes and the settings the service applies.
    EXPECT_EQ(RegistryText(L"Control Panel\\Mouse", L"DoubleClickSpeed"), L"350");
    EXPECT_EQ(RegistryText(L"Control Panel\\Mouse", L"MouseSensitivity"), L"5");
    EXPECT_EQ(RegistryText(L"Control Panel\\Desktop", L"WheelScrollLines"), L"16");
    // The pointer speed is set for the session only (not saved), and Wine shows such a value
    // to the process that set it alone; the saved two reach this process too.
    EXPECT_EQ(GetDoubleClickTime(), 350u);
    EXPECT_EQ(SystemValue(SPI_GETWHEELSCROLLLINES), 16u);
}

// What the service tells the program while another window is in front: a button set to
// DPI 3200 makes the settings panel show that stage, a button set to the sixth profile
// switches the window to it; both in the working and the saved copy, so Exit then asks
// nothing.
TEST_F(GearloomEndToEnd, TheServicesNoticesChangeTheWindow)
{
    Start([](ConfigData& cfg) {
        cfg.profiles[0].DPI_VALUE = 4;
        cfg.profiles[0].buttons[4].code = 19;  // BUTTON_5: DPI 3200
        cfg.profiles[0].buttons[5].code = 37;  // BUTTON_6: the sixth profile
    });
    // The service takes the buttons' new functions.
    EXPECT_EQ(run.Send(WM_RELOAD_CONFIG), 1);
    program.Click(L"BUTTON_MOUSE_PROPERTIES");
    HWND settings = program.WaitForPanel(L"MOUSE_PROPERTIES", WINDOW_WAIT_MS);
    ASSERT_NE(settings, nullptr);
    auto dpiPixels = [&] {
        int w = 0, h = 0;
        std::vector<DWORD> all = CaptureWindow(settings, &w, &h);
        RECT r = program.ControlIn(settings, L"MOUSE_PROPERTIES", L"DPI_MENU");
        RECT win;
        GetWindowRect(settings, &win);
        OffsetRect(&r, -win.left, -win.top);
        std::vector<DWORD> part;
        for (int y = r.top; y < r.bottom && y < h; ++y)
            for (int x = r.left; x < r.right && x < w; ++x) part.push_back(all[(size_t)y * w + x]);
        return part;
    };
    const std::vector<DWORD> dpi400 = dpiPixels();
    const std::vector<DWORD> sixth = program.Pixels(L"PROFILE_6");

    RecordingWindow other(L"Another program in front", true);
    MoveWindow(other.Handle(), 860, 800, 400, 200, TRUE);
    ASSERT_TRUE(other.TakeFocus());
    ASSERT_EQ(run.mouse.Button(5, true).result, SIM_OK);
    ASSERT_EQ(run.mouse.Button(5, false).result, SIM_OK);
    EXPECT_TRUE(WaitUntil([&] { return dpiPixels() != dpi400; })) << "3200 dpi shown";
    EXPECT_TRUE(WaitUntil([&] { return run.ReadConfig()->profiles[0].DPI_VALUE == 1; }));
    SaveWindowPng(settings, L"e2e-gearloom-dpi-from-the-service");

    ASSERT_EQ(run.mouse.Button(6, true).result, SIM_OK);
    ASSERT_EQ(run.mouse.Button(6, false).result, SIM_OK);
    EXPECT_TRUE(WaitUntil([&] { return program.Pixels(L"PROFILE_6") != sixth; })) << "the sixth profile shown";
    EXPECT_TRUE(WaitUntil([&] { return run.ReadConfig()->PROFILE_ID == 5; }));
    Sleep(300);
    SaveWindowPng(program.Window(), L"e2e-gearloom-profile-from-the-service");

    ExitAskingNothing();
    std::unique_ptr<ConfigData> after = run.ReadConfig();
    EXPECT_EQ(after->PROFILE_ID, 5);
    EXPECT_EQ(after->profiles[0].DPI_VALUE, 1);
}

namespace {

struct DialogSearch {
    DWORD pid;
    const std::vector<HWND>* known;
    int childId;
    HWND found;
};

BOOL CALLBACK FindDialog(HWND h, LPARAM l)
{
    DialogSearch& s = *(DialogSearch*)l;
    DWORD pid = 0;
    GetWindowThreadProcessId(h, &pid);
    wchar_t name[16] = {};
    if (pid != s.pid || !IsWindowVisible(h) || !GetClassNameW(h, name, 16) || wcscmp(name, L"#32770") != 0)
        return TRUE;
    if (std::find(s.known->begin(), s.known->end(), h) != s.known->end()) return TRUE;
    if (s.childId && !GetDlgItem(h, s.childId)) return TRUE;
    s.found = h;
    return FALSE;
}

// A shown dialog of the program that is none of the known windows (the picker, the macro
// editor, a box); with childId, only one that has a child of that id.
HWND ShownDialogOf(HWND main, const std::vector<HWND>& known, int childId = 0)
{
    DialogSearch s = {0, &known, childId, nullptr};
    GetWindowThreadProcessId(main, &s.pid);
    EnumWindows(&FindDialog, (LPARAM)&s);
    return s.found;
}

// The shown children of a window that have exactly that size, from the top down.
std::vector<HWND> ShownChildrenSized(HWND parent, int width, int height)
{
    std::vector<HWND> out;
    for (HWND c = GetWindow(parent, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        RECT r = WindowRect(c);
        if (IsWindowVisible(c) && r.right - r.left == width && r.bottom - r.top == height) out.push_back(c);
    }
    std::sort(out.begin(), out.end(), [](HWND a, HWND b) {
        RECT ra = WindowRect(a), rb = WindowRect(b);
        return ra.top != rb.top ? ra.top < rb.top : ra.left < rb.left;
    });
    return out;
}

// A sliding window has come to rest: its place has stayed the same for a good while.
bool CameToRest(HWND window, DWORD ms)
{
    RECT last = {};
    int same = 0;
    return WaitUntil(
        [&] {
            RECT r = WindowRect(window);
            same = EqualRect(&r, &last) ? same + 1 : 0;
            last = r;
            return same >= 30;
        },
        ms);
}

// A window's pixels inside a screen rectangle.
std::vector<DWORD> PixelsIn(HWND window, const RECT& screen)
{
    int w = 0, h = 0;
    std::vector<DWORD> all = CaptureWindow(window, &w, &h);
    RECT r = screen, win = WindowRect(window);
    OffsetRect(&r, -win.left, -win.top);
    std::vector<DWORD> part;
    for (int y = std::max(0L, r.top); y < std::min((LONG)h, r.bottom); ++y)
        for (int x = std::max(0L, r.left); x < std::min((LONG)w, r.right); ++x) part.push_back(all[(size_t)y * w + x]);
    return part;
}

bool AllWhite(const std::vector<DWORD>& pixels)
{
    return !pixels.empty() &&
           std::all_of(pixels.begin(), pixels.end(), [](DWORD p) { return (p & 0xFFFFFF) == 0xFFFFFF; });
}

void SendKey(WORD vk, bool up)
{
    INPUT in = {};
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = vk;
    in.ki.wScan = (WORD)MapVirtualKeyW(vk, MAPVK_VK_TO_VSC);
    in.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    SendInput(1, &in, sizeof in);
}

// The key a played event reaches a program as: left and right modifiers as the generic ones.
WPARAM SentKey(int vk)
{
    switch (vk) {
    case VK_LSHIFT: case VK_RSHIFT: return VK_SHIFT;
    case VK_LCONTROL: case VK_RCONTROL: return VK_CONTROL;
    case VK_LMENU: case VK_RMENU: return VK_MENU;
    default: return (WPARAM)vk;
    }
}

}  // namespace

// The suite's main story as a player lives it. In the configuration program: a click on
// the fifth button's image opens the function picker for it; the macro folder's NEW_MACRO
// opens the macro editor; recorded delays, the display clicked, keys pressed on the
// keyboard with the player's own pauses, a name, OK; the new macro becomes the button's
// function; Apply. Then, with another program in front, the button pressed on the mouse:
// the service plays the macro into that program, its keys in order with the delays the
// editor recorded.
TEST_F(GearloomEndToEnd, AMacroRecordedInTheEditorPlaysFromTheMouseButton)
{
    Start(nullptr);
    // The player has told the program not to show the note before a new macro again.
    ASSERT_TRUE(SetWarningFourOptionFlag(run.ConfDir(), 1));
    const HWND main = program.Window();

    program.Click(L"MOUSE_BUTTON_5");
    HWND picker = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (picker = ShownDialogOf(main, {main}, 111)) != nullptr; }, 10000))
        << "the function picker slid out";
    ASSERT_TRUE(CameToRest(picker, 10000)) << "the picker came to rest";
    const HWND bar = GetDlgItem(picker, 111);
    const std::vector<DWORD> fifthBefore = program.Pixels(L"MOUSE_BUTTON_5");

    // The macro folder's header (the fourth), then its NEW_MACRO button (the left one).
    std::vector<HWND> headers;
    ASSERT_TRUE(WaitUntil([&] { return (headers = ShownChildrenSized(bar, 170, 19)).size() == 4; }, 10000))
        << "the four folder headers, " << headers.size() << " seen";
    std::vector<HWND> macroButtons = ShownChildrenSized(bar, 75, 22);
    if (macroButtons.empty()) {
        ClickAt(Centre(WindowRect(headers[3])));
        ASSERT_TRUE(WaitUntil([&] { return (macroButtons = ShownChildrenSized(bar, 75, 22)).size() == 2; }, 10000))
            << "the macro folder opened";
    }
    Sleep(300);
    SaveWindowPng(picker, L"e2e-gearloom-picker-macro-folder");
    ClickAt(Centre(WindowRect(macroButtons[0])));

    HWND editor = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (editor = ShownDialogOf(main, {main, picker})) != nullptr; }, 10000))
        << "the macro editor opened";
    ASSERT_TRUE(WaitUntil([&] { return GetForegroundWindow() == editor; }, 10000)) << "the editor in front";
    ASSERT_FALSE(IsWindowEnabled(main)) << "the editor is modal";

    // Recorded delays: the normal look, whose key display is white and empty.
    const RECT area = program.ControlIn(editor, L"MACRO", L"MACRO_AREA");
    ClickAt(Centre(program.ControlIn(editor, L"MACRO", L"BUTTON_RECORD_DELAY")));
    ASSERT_TRUE(WaitUntil([&] { return AllWhite(PixelsIn(editor, area)); }, 10000)) << "the key display shown";
    ClickAt(Centre(area));

    // Shift+H, then I, each key after a pause of the player's own.
    struct Step {
        WORD vk;
        bool up;
        DWORD pauseAfter;
    };
    const Step steps[] = {{VK_LSHIFT, false, 150}, {'H', false, 250}, {'H', true, 120},
                          {VK_LSHIFT, true, 300},  {'I', false, 200}, {'I', true, 0}};
    for (const Step& s : steps) {
        SendKey(s.vk, s.up);
        if (&s == &steps[0]) {
            ASSERT_TRUE(WaitUntil([&] { return !AllWhite(PixelsIn(editor, area)); }, 10000)) << "the first key shown";
        }
        Sleep(s.pauseAfter);
    }
    const RECT name = program.ControlIn(editor, L"MACRO", L"EDIT_NAME");
    ClickAt(Centre(name));
    const std::vector<DWORD> unnamed = PixelsIn(editor, name);
    for (WORD vk : {'S', 'T', 'O', 'R', 'Y'}) KeyTap(vk);
    // The name drawn: every key before it has been handled.
    ASSERT_TRUE(WaitUntil([&] { return PixelsIn(editor, name) != unnamed; }, 10000)) << "the name typed";
    Sleep(300);
    SaveWindowPng(editor, L"e2e-gearloom-macro-recorded");
    ClickAt(Centre(program.ControlIn(editor, L"MACRO", L"BUTTON_OK")));
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(editor); }, 10000)) << "the editor closed";

    // The new macro is the fifth button's function: its caption changes.
    ASSERT_TRUE(WaitUntil([&] { return IsWindowEnabled(main) && program.Pixels(L"MOUSE_BUTTON_5") != fifthBefore; }, 10000))
        << "the button shows its new function";
    Sleep(300);
    SaveWindowPng(main, L"e2e-gearloom-macro-on-the-fifth-button");
    uint32_t mark = run.mouse.LogMark();
    program.Click(L"BUTTON_APPLY");
    ASSERT_TRUE(run.WaitForRequest(mark, IOCTL_POST_MASK)) << "the service reloaded";

    std::unique_ptr<ConfigData> saved = run.ReadConfig();
    const ProfileData& profile = saved->profiles[saved->PROFILE_ID];
    const int code = profile.buttons[4].code;
    ASSERT_GE(code, 1000);
    ASSERT_LT(code, 1000 + MACRO_COUNT);
    const MacroData& macro = profile.macros[code - 1000];
    EXPECT_STREQ(macro.MACRO_NAME, L"story");
    EXPECT_EQ(macro.delayMode, 2);
    EXPECT_EQ(macro.loopFlag, 0);
    const int count = (int)(sizeof(steps) / sizeof(steps[0]));
    for (int i = 0; i < count; ++i) {
        EXPECT_EQ(macro.events[i].vk, steps[i].vk) << "event " << i;
        EXPECT_EQ(macro.events[i].up, steps[i].up ? 1 : 0) << "event " << i;
    }
    EXPECT_EQ(macro.events[count].vk, 0);

    // Another program in front takes the keys the mouse button plays.
    RecordingWindow game(L"A game in front", true);
    ASSERT_TRUE(game.TakeFocus());
    ASSERT_EQ(run.mouse.Button(5, true).result, SIM_OK);
    ASSERT_TRUE(game.WaitForKeys(count)) << game.Keys().size() << " of " << count << " keys arrived";
    ASSERT_EQ(run.mouse.Button(5, false).result, SIM_OK);
    EXPECT_EQ(run.Send(WM_SERVICE_PING), 1);  // the release has been handled
    std::vector<RecordingWindow::Message> keys = game.Keys();
    ASSERT_EQ(keys.size(), (size_t)count);
    for (int i = 0; i < count; ++i) {
        const MacroEvent& e = macro.events[i];
        EXPECT_EQ(keys[i].message, e.up ? (UINT)WM_KEYUP : (UINT)WM_KEYDOWN) << "key " << i;
        EXPECT_EQ(keys[i].wParam, SentKey(e.vk)) << "key " << i;
    }
    // The recorded delays, measured where the keys arrive, with the room the other macro
    // test leaves for a busy machine.
    for (int i = 0; i + 1 < count; ++i) {
        double measured = TicksToMs(keys[i + 1].time - keys[i].time);
        EXPECT_GT(measured, macro.events[i].delay - 10.0) << "wait " << i << ", recorded " << macro.events[i].delay;
        EXPECT_LT(measured, macro.events[i].delay + 40.0) << "wait " << i << ", recorded " << macro.events[i].delay;
    }
}
