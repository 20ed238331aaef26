#include "PersonHand.h"
#include "PickerRig.h"
#include "configurator/main_window/MainLayout.h"
#include "configurator/function_picker/CAdvanceFunctionDlg.h"
#include "core/Messages.h"
#include <gtest/gtest.h>
#include <algorithm>
#include <atomic>
#include <vector>

namespace {

// Every place a window takes while the recorder lives, as its moves happen.
class PlaceRecorder {
public:
    explicit PlaceRecorder(HWND watched)
    {
        s_watched = watched;
        s_places.clear();
        m_hook = SetWindowsHookExW(WH_CALLWNDPROCRET, &Hook, nullptr, GetCurrentThreadId());
    }
    ~PlaceRecorder()
    {
        if (m_hook) UnhookWindowsHookEx(m_hook);
        s_watched = nullptr;
    }
    const std::vector<RECT>& Places() const { return s_places; }

private:
    static LRESULT CALLBACK Hook(int code, WPARAM w, LPARAM l)
    {
        const CWPRETSTRUCT* c = (const CWPRETSTRUCT*)l;
        if (code == HC_ACTION && c->hwnd == s_watched && c->message == WM_WINDOWPOSCHANGED) {
            const WINDOWPOS* wp = (const WINDOWPOS*)c->lParam;
            if (!(wp->flags & SWP_NOMOVE) || !(wp->flags & SWP_NOSIZE)) {
                RECT r;
                GetWindowRect(s_watched, &r);
                if (s_places.empty() || !EqualRect(&s_places.back(), &r)) s_places.push_back(r);
            }
        }
        return CallNextHookEx(nullptr, code, w, l);
    }
    HHOOK m_hook = nullptr;
    static HWND s_watched;
    static std::vector<RECT> s_places;
};

HWND PlaceRecorder::s_watched = nullptr;
std::vector<RECT> PlaceRecorder::s_places;

// The places a slide went through, each at the first appearance of its value (width or
// top), and those values. Wine may put an unmanaged popup back at the position of one step
// before (a late notice of the display's) for one message; such a place repeats the value
// of the step before, so it is left out here.
std::vector<RECT> FirstPlaces(const std::vector<RECT>& places, LONG (*value)(const RECT&))
{
    std::vector<RECT> first;
    for (const RECT& r : places)
        if (std::none_of(first.begin(), first.end(), [&](const RECT& f) { return value(f) == value(r); }))
            first.push_back(r);
    return first;
}
std::vector<LONG> Values(const std::vector<RECT>& places, LONG (*value)(const RECT&))
{
    std::vector<LONG> values;
    for (const RECT& r : places) values.push_back(value(r));
    return values;
}
LONG Width(const RECT& r)
{
    return r.right - r.left;
}
LONG Top(const RECT& r)
{
    return r.top;
}
LONG Right(const RECT& r)
{
    return r.right;
}

// The places before the first time the window stood at rect.
std::vector<RECT> Before(const std::vector<RECT>& places, const RECT& rect)
{
    auto at = std::find_if(places.begin(), places.end(), [&](const RECT& r) { return EqualRect(&r, &rect) != FALSE; });
    return std::vector<RECT>(places.begin(), at);
}

RECT At(POINT p, int w, int h)
{
    return RECT{p.x, p.y, p.x + w, p.y + h};
}

// The main window and what shows around it, as a person sees the screen.
void SaveScreenAround(CAPDlg& d, const wchar_t* name)
{
    RECT r = d.GetWindowRect();
    for (CWnd* panel : {(CWnd*)&d.m_propertiesDlg, (CWnd*)&d.m_illuminationDlg}) {
        if (!panel->IsWindowVisible()) continue;
        RECT p = panel->GetWindowRect();
        UnionRect(&r, &r, &p);
    }
    SaveScreenPng(r, name);
}

void ExpectDocked(CAPDlg& d)
{
    CPropertiesDlg& s = d.m_propertiesDlg;
    CIllumination& l = d.m_illuminationDlg;
    // Once the window system has answered every move of the panels.
    PumpUntil([&] {
        RECT m = d.GetWindowRect(), gs = s.GetWindowRect(), gl = l.GetWindowRect();
        RECT es = At(PropertiesDockPlace(m, s.m_nPanelWidth), s.m_nPanelWidth, s.m_nPanelHeight);
        RECT el = At(IlluminationDockPlace(m), l.m_nPanelWidth, l.m_nPanelHeight);
        return EqualRect(&gs, &es) && EqualRect(&gl, &el);
    });
    RECT main = d.GetWindowRect();
    RECT expected = At(PropertiesDockPlace(main, s.m_nPanelWidth), s.m_nPanelWidth, s.m_nPanelHeight);
    RECT got = s.GetWindowRect();
    EXPECT_TRUE(EqualRect(&got, &expected)) << got.left << "," << got.top << " not " << expected.left << "," << expected.top;
    expected = At(IlluminationDockPlace(main), l.m_nPanelWidth, l.m_nPanelHeight);
    got = l.GetWindowRect();
    EXPECT_TRUE(EqualRect(&got, &expected)) << got.left << "," << got.top << " not " << expected.left << "," << expected.top;
}

}  // namespace

TEST(SidePanels, DockPlaces)
{
    const RECT main = {220, 0, 1060, 620};
    POINT p = PickerDockPlace(main);
    EXPECT_EQ(p.x, 1044);
    EXPECT_EQ(p.y, 89);
    p = PropertiesDockPlace(main, 236);
    EXPECT_EQ(p.x, 220 + 17 - 236);
    EXPECT_EQ(p.y, 89);
    p = IlluminationDockPlace(main);
    EXPECT_EQ(p.x, 307);
    EXPECT_EQ(p.y, 602);
    RECT open = PropertiesOpenBounds(RECT{1, 89, 237, 521});
    EXPECT_EQ(open.left, 4);
    EXPECT_EQ(open.right, 246);
    EXPECT_EQ(open.top, 89);
    EXPECT_EQ(open.bottom, 521);
}

// Both panels are docked, hidden, once the window is up, and follow it when it moves.
TEST(SidePanels, DockedAtTheEdgesAndFollowTheWindow)
{
    MainWindowRig rig;
    ASSERT_TRUE(rig.Open());
    CAPDlg& d = *rig.dlg;
    ASSERT_GT(d.m_propertiesDlg.m_nPanelWidth, 0);
    ASSERT_GT(d.m_illuminationDlg.m_nPanelHeight, 0);
    EXPECT_FALSE(d.m_propertiesDlg.IsWindowVisible());
    EXPECT_FALSE(d.m_illuminationDlg.IsWindowVisible());
    ExpectDocked(d);
    // The picker, once made, docks with them.
    d.MakeFunctionPicker();
    RECT r = d.GetWindowRect();
    d.MoveWindow(r.left + 40, r.top + 30, r.right - r.left, r.bottom - r.top);
    rig.Pump(50);
    ExpectDocked(d);
    CAdvanceFunctionDlg& picker = *g_pAdvanceFunctionDlg;
    RECT expected = At(PickerDockPlace(d.GetWindowRect()), picker.m_nPanelWidth, picker.m_nPanelHeight);
    RECT got = picker.GetWindowRect();
    EXPECT_TRUE(EqualRect(&got, &expected)) << got.left << "," << got.top;
}

// The settings panel slides open with its right edge fixed, growing a few pixels a tick,
// once at a time; the main window hears when it is open. Its close button slides it shut.
TEST(SidePanels, SettingsPanelSlidesWithItsRightEdgeFixed)
{
    MainWindowRig rig;
    ASSERT_TRUE(rig.Open());
    CAPDlg& d = *rig.dlg;
    CPropertiesDlg& panel = d.m_propertiesDlg;
    const RECT docked = panel.GetWindowRect();
    std::vector<RECT> places;
    {
        PlaceRecorder recorder(panel.m_hWnd);
        rig.Click(d.m_btnMouseProperties);
        EXPECT_EQ(panel.m_bBusy, 1);
        EXPECT_EQ(d.m_bPropertiesShown, 0) << "not shown while it slides";
        // Asked again while it slides: the slide goes on as it was.
        d.ShowPropertiesPanel();
        ASSERT_TRUE(PumpUntil([&] { return d.m_bPropertiesShown == 1; }));
        places = recorder.Places();
    }
    EXPECT_EQ(panel.m_bBusy, 0);
    ASSERT_GE(places.size(), 10u);
    // The slide, then the docking.
    EXPECT_TRUE(EqualRect(&places.back(), &docked));
    places = Before(places, docked);
    const RECT open = PropertiesOpenBounds(docked);
    std::vector<LONG> widths;
    for (LONG w = 25; w < Width(open); w += 8) widths.push_back(w);
    widths.push_back(Width(open));
    std::vector<RECT> steps = FirstPlaces(places, &Width);
    EXPECT_EQ(Values(steps, &Width), widths);
    EXPECT_EQ(Values(steps, &Right), std::vector<LONG>(steps.size(), open.right));
    EXPECT_EQ(Values(steps, &Top), std::vector<LONG>(steps.size(), open.top));
    EXPECT_TRUE(panel.IsWindowVisible());
    rig.Pump(200);
    SaveScreenAround(d, L"settings-panel-docked");
    SaveWindowPng(panel.m_hWnd, L"settings-panel");

    // Shown: the button does not slide it again.
    rig.Click(d.m_btnMouseProperties);
    EXPECT_EQ(panel.m_bBusy, 0);
    {
        PlaceRecorder recorder(panel.m_hWnd);
        EXPECT_TRUE(ClickOn(panel.m_btnClose.m_hWnd));
        ASSERT_TRUE(PumpUntil([&] { return d.m_bPropertiesShown == 0; }));
        places = recorder.Places();
    }
    EXPECT_FALSE(panel.IsWindowVisible());
    ASSERT_GE(places.size(), 10u);
    // The slide, then the docking of the hidden panel.
    EXPECT_TRUE(EqualRect(&places.back(), &docked));
    places = Before(places, docked);
    widths.clear();
    for (LONG w = Width(docked) - 8; w > 0; w -= 8) widths.push_back(w);
    widths.push_back(0);
    steps = FirstPlaces(places, &Width);
    EXPECT_EQ(Values(steps, &Width), widths);
    EXPECT_EQ(Values(steps, &Right), std::vector<LONG>(steps.size(), docked.right));
    ExpectDocked(d);
    // Hidden: a close request does nothing.
    d.SendMessage(WM_CLOSE_PANEL, 0, 53);
    EXPECT_EQ(panel.m_bBusy, 0);
    EXPECT_FALSE(panel.IsWindowVisible());
}

// The lighting panel slides down out of the main window's bottom edge, ten pixels a tick,
// its rows above the line cut away, and docks; its close button slides it back up.
TEST(SidePanels, LightingPanelSlidesDownAndBack)
{
    MainWindowRig rig;
    ASSERT_TRUE(rig.Open());
    CAPDlg& d = *rig.dlg;
    CIllumination& panel = d.m_illuminationDlg;
    const RECT docked = panel.GetWindowRect();
    const int h = panel.m_nPanelHeight;
    std::vector<RECT> places;
    {
        PlaceRecorder recorder(panel.m_hWnd);
        rig.Click(d.m_btnIllumination);
        EXPECT_EQ(panel.m_bBusy, 1);
        d.ShowIlluminationPanel();
        ASSERT_TRUE(PumpUntil([&] { return d.m_bIlluminationShown == 1; }));
        places = recorder.Places();
    }
    // Offsets h, h - 10, ... down to above 0, then the target, then the docking.
    std::vector<LONG> tops;
    for (int offset = h; offset > 0; offset -= 10) tops.push_back(docked.top - 2 - offset);
    tops.push_back(docked.top - 2);
    tops.push_back(docked.top);
    std::vector<RECT> steps = FirstPlaces(places, &Top);
    EXPECT_EQ(Values(steps, &Top), tops);
    EXPECT_EQ(places.back().top, docked.top);
    EXPECT_EQ(Values(steps, &Width), std::vector<LONG>(steps.size(), Width(docked)));
    EXPECT_EQ(Values(steps, [](const RECT& r) { return r.left; }), std::vector<LONG>(steps.size(), docked.left));
    EXPECT_TRUE(panel.IsWindowVisible());
    rig.Pump(200);
    SaveScreenAround(d, L"lighting-panel-docked");
    SaveWindowPng(panel.m_hWnd, L"lighting-panel");

    // Moving the main window moves the shown panel with it.
    RECT r = d.GetWindowRect();
    d.MoveWindow(r.left - 30, r.top + 20, r.right - r.left, r.bottom - r.top);
    rig.Pump(50);
    ExpectDocked(d);

    EXPECT_TRUE(ClickOn(panel.m_btnClose.m_hWnd));
    ASSERT_TRUE(PumpUntil([&] { return d.m_bIlluminationShown == 0; }));
    EXPECT_FALSE(panel.IsWindowVisible());
    EXPECT_EQ(panel.m_bBusy, 0);
    ExpectDocked(d);
}

// The main window moving while a panel slides: the slides end where the panels now dock.
TEST(SidePanels, MovingWhileTheySlide)
{
    MainWindowRig rig;
    ASSERT_TRUE(rig.Open());
    CAPDlg& d = *rig.dlg;
    rig.Click(d.m_btnMouseProperties);
    rig.Click(d.m_btnIllumination);
    ASSERT_EQ(d.m_propertiesDlg.m_bBusy, 1);
    ASSERT_EQ(d.m_illuminationDlg.m_bBusy, 1);
    RECT r = d.GetWindowRect();
    d.MoveWindow(r.left + 60, r.top + 40, r.right - r.left, r.bottom - r.top);
    ASSERT_TRUE(PumpUntil([&] { return d.m_bPropertiesShown && d.m_bIlluminationShown; }));
    rig.Pump(50);
    ExpectDocked(d);
    EXPECT_TRUE(d.m_propertiesDlg.IsWindowVisible());
    EXPECT_TRUE(d.m_illuminationDlg.IsWindowVisible());
}

// Esc, and Alt+F4 with either Alt key, in a side panel close the whole program at once,
// even with unsaved changes; Enter does nothing.
TEST(SidePanels, EscAndAltF4InAPanelCloseTheProgram)
{
    const struct {
        const wchar_t* name;
        bool lighting;
        WORD alt;  // 0: Esc
    } cases[] = {
        {L"Esc in the settings panel", false, 0},
        {L"left Alt+F4 in the lighting panel", true, VK_LMENU},
        {L"right Alt+F4 in the settings panel", false, VK_RMENU},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.name);
        MainWindowRig rig;
        ASSERT_TRUE(rig.Open());
        CAPDlg& d = *rig.dlg;
        rig.Click(c.lighting ? d.m_btnIllumination : d.m_btnMouseProperties);
        ASSERT_TRUE(PumpUntil([&] { return c.lighting ? d.m_bIlluminationShown : d.m_bPropertiesShown; }));
        d.m_config.POLLING_RATE = d.m_savedConfig.POLLING_RATE == 1 ? 2 : 1;
        CWnd& panel = c.lighting ? (CWnd&)d.m_illuminationDlg : (CWnd&)d.m_propertiesDlg;
        panel.SetForegroundWindow();
        EXPECT_TRUE(WindowInFront(panel.m_hWnd));
        panel.SetFocus();
        rig.Pump(100);
        KeyTap(VK_RETURN);
        rig.Pump(200);
        ASSERT_FALSE(rig.Ended()) << "Enter does nothing";
        BoxAnswerer person(BoxAnswerer::Answer::No, rig.OwnWindows(), nullptr, 1500);
        if (c.alt) {
            INPUT in[4] = {};
            for (INPUT& i : in) i.type = INPUT_KEYBOARD;
            in[0].ki.wVk = c.alt;
            in[0].ki.wScan = (WORD)MapVirtualKeyW(VK_MENU, MAPVK_VK_TO_VSC);
            in[0].ki.dwFlags = c.alt == VK_RMENU ? KEYEVENTF_EXTENDEDKEY : 0;
            in[1].ki.wVk = VK_F4;
            in[1].ki.wScan = (WORD)MapVirtualKeyW(VK_F4, MAPVK_VK_TO_VSC);
            in[2] = in[1];
            in[2].ki.dwFlags = KEYEVENTF_KEYUP;
            in[3] = in[0];
            in[3].ki.dwFlags |= KEYEVENTF_KEYUP;
            SendInput(4, in, sizeof(INPUT));
        } else {
            KeyTap(VK_ESCAPE);
        }
        EXPECT_TRUE(PumpUntil([&] { return rig.Ended(); }));
        EXPECT_EQ(person.Finish(), 0) << "no question";
    }
}

// A box that opens while a panel slides shut, from the main window or from the picker: the
// panel is disabled with the main window, finishes hiding under the box, and can be used
// again once the box is gone.
TEST(SidePanels, APanelThatHidesUnderABoxIsEnabledAfterIt)
{
    const struct {
        const wchar_t* name;
        bool lighting;
        bool fromPicker;
    } cases[] = {
        {L"the settings panel under the main window's question", false, false},
        {L"the lighting panel under the main window's question", true, false},
        {L"the settings panel under the picker's notice", false, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << CString(c.name).GetString());
        PickerRig rig;
        std::unique_ptr<ConfigData> cfg = MainWindowRig::ShippedConfig();
        // All fifty macros: a new one is refused with a notice.
        GiveMacros(cfg->profiles[cfg->PROFILE_ID], MACRO_COUNT);
        ASSERT_TRUE(rig.WriteConfig(*cfg));
        ASSERT_TRUE(rig.OpenMain());
        CAPDlg& d = *rig.dlg;
        CWnd& panel = c.lighting ? (CWnd&)d.m_illuminationDlg : (CWnd&)d.m_propertiesDlg;
        int& shown = c.lighting ? d.m_bIlluminationShown : d.m_bPropertiesShown;
        rig.Click(c.lighting ? d.m_btnIllumination : d.m_btnMouseProperties);
        ASSERT_TRUE(PumpUntil([&] { return shown == 1; }));

        std::atomic<int> hiddenUnderTheBox{0}, enabledUnderTheBox{-1};
        PersonHand person({[&](HWND box) {
            hiddenUnderTheBox = WaitUntil([&] { return shown == 0 && !IsWindowVisible(panel.m_hWnd); }) ? 1 : 0;
            enabledUnderTheBox = IsWindowEnabled(panel.m_hWnd) ? 1 : 0;
            PostMessageW(box, WM_CLOSE, 0, 0);
        }});
        if (c.lighting)
            d.HideIlluminationPanel();
        else
            d.HidePropertiesPanel();
        ASSERT_TRUE(IsWindowVisible(panel.m_hWnd)) << "sliding shut as the box opens";
        if (c.fromPicker)
            rig.Picker().SendMessage(WM_NEW_MACRO);
        else
            d.SendMessage(WM_DROP_PROFILE, (WPARAM)d.m_config.PROFILE_ID, (d.m_config.PROFILE_ID + 1) % PROFILE_COUNT);
        ASSERT_EQ(person.Finish(), 1) << "a box came";
        EXPECT_EQ(hiddenUnderTheBox, 1) << "the panel finished hiding while the box was up";
        EXPECT_EQ(enabledUnderTheBox, 0) << "disabled with the main window";
        EXPECT_TRUE(IsWindowEnabled(d.m_hWnd));
        EXPECT_TRUE(IsWindowEnabled(rig.Picker().m_hWnd));
        EXPECT_TRUE(IsWindowEnabled(panel.m_hWnd)) << "enabled again though hidden";

        // Shown again, it takes a click: its close button slides it shut.
        rig.Click(c.lighting ? d.m_btnIllumination : d.m_btnMouseProperties);
        ASSERT_TRUE(PumpUntil([&] { return shown == 1; }));
        CBitmapBtn& close = c.lighting ? d.m_illuminationDlg.m_btnClose : d.m_propertiesDlg.m_btnClose;
        MouseClickAt(ScreenCenter(close.m_hWnd));
        EXPECT_TRUE(PumpUntil([&] { return shown == 0; })) << "the click reached the panel";
    }
}

// A box inside a box: the panels stay disabled until the outer one is gone.
TEST(SidePanels, NestedBoxesLeaveThePanelsToTheOuterOne)
{
    PickerRig rig;
    ASSERT_TRUE(rig.OpenMain());
    CAPDlg& d = *rig.dlg;
    rig.Click(d.m_btnMouseProperties);
    ASSERT_TRUE(PumpUntil([&] { return d.m_bPropertiesShown == 1; }));
    d.DisableSidePanels();
    d.DisableSidePanels();
    d.EnableSidePanels();
    EXPECT_FALSE(d.m_propertiesDlg.IsWindowEnabled());
    EXPECT_FALSE(rig.Picker().IsWindowEnabled());
    d.EnableSidePanels();
    EXPECT_TRUE(d.m_propertiesDlg.IsWindowEnabled());
    EXPECT_TRUE(rig.Picker().IsWindowEnabled());
    d.EnableSidePanels();
    EXPECT_TRUE(d.m_propertiesDlg.IsWindowEnabled()) << "an extra enabling changes nothing";
}

namespace {

// A window's region in screen coordinates (a new region; null when it has none).
HRGN ScreenRegion(HWND hwnd)
{
    HRGN region = CreateRectRgn(0, 0, 0, 0);
    if (GetWindowRgn(hwnd, region) == ERROR) {
        DeleteObject(region);
        return nullptr;
    }
    RECT r;
    GetWindowRect(hwnd, &r);
    OffsetRgn(region, r.left, r.top);
    return region;
}

// Whether two regions share a pixel, with the second moved by (dx, dy) first.
bool Overlap(HRGN a, HRGN b, int dx = 0, int dy = 0)
{
    HRGN moved = CreateRectRgn(0, 0, 0, 0);
    CombineRgn(moved, b, nullptr, RGN_COPY);
    OffsetRgn(moved, dx, dy);
    HRGN both = CreateRectRgn(0, 0, 0, 0);
    int kind = CombineRgn(both, a, moved, RGN_AND);
    DeleteObject(both);
    DeleteObject(moved);
    return kind != NULLREGION;
}

}  // namespace

// The three panels docked and shown: each meets the main window edge to edge, neither
// covering the other, so it makes no difference which of them is in front.
TEST(SidePanels, DockedPanelsMeetTheMainWindowEdgeToEdge)
{
    MainWindowRig rig;
    ASSERT_TRUE(rig.Open());
    CAPDlg& d = *rig.dlg;
    rig.Click(d.m_btnMouseProperties);
    rig.Click(d.m_btnIllumination);
    rig.Click(d.m_btnAssignments);
    ASSERT_TRUE(PumpUntil([&] { return d.m_bPropertiesShown && d.m_bIlluminationShown && d.m_bPickerShown; }, 10000))
        << "waited for the three panels to be shown: " << d.m_bPropertiesShown << d.m_bIlluminationShown << d.m_bPickerShown;
    rig.Pump(50);
    ExpectDocked(d);
    CAdvanceFunctionDlg& picker = *g_pAdvanceFunctionDlg;

    HRGN main = ScreenRegion(d.m_hWnd);
    ASSERT_NE(main, nullptr);
    const struct {
        const wchar_t* name;
        HWND panel;
        int dx, dy;  // the step from the main window towards the panel
    } panels[] = {
        {L"settings panel", d.m_propertiesDlg.m_hWnd, -1, 0},
        {L"function picker", picker.m_hWnd, 1, 0},
        {L"lighting panel", d.m_illuminationDlg.m_hWnd, 0, 1},
    };
    for (const auto& p : panels) {
        SCOPED_TRACE(testing::Message() << p.name);
        HRGN panel = ScreenRegion(p.panel);
        ASSERT_NE(panel, nullptr);
        EXPECT_FALSE(Overlap(panel, main)) << "the panel and the main window share pixels";
        EXPECT_TRUE(Overlap(panel, main, p.dx, p.dy)) << "a gap between the panel and the main window";
        DeleteObject(panel);
    }
    DeleteObject(main);

    // As a person sees them. The panels show in front of the main window that owns them; a
    // window manager may still raise the main window over them, so that order is shown too:
    // the main window's own pixels, inside its region, laid over the screen.
    RECT around = d.GetWindowRect();
    for (const auto& p : panels) {
        RECT r;
        GetWindowRect(p.panel, &r);
        UnionRect(&around, &around, &r);
    }
    std::vector<DWORD> before, panelsInFront = CaptureScreen(around);
    EXPECT_TRUE(PumpUntil([&] {
        before = panelsInFront;
        PumpFor(100);
        panelsInFront = CaptureScreen(around);
        return panelsInFront == before;
    })) << "waited for the screen to stop changing";
    const int w = around.right - around.left, h = around.bottom - around.top;
    SavePixelsPng(panelsInFront, w, h, L"side-panels-docked-panels-in-front");

    // A window brought in front: its own pixels, inside its region, over the picture.
    auto inFront = [&](std::vector<DWORD> picture, HWND hwnd) {
        int ww = 0, wh = 0;
        std::vector<DWORD> own = CaptureWindow(hwnd, &ww, &wh);
        HRGN region = ScreenRegion(hwnd);
        RECT r;
        GetWindowRect(hwnd, &r);
        for (int y = 0; y < wh; ++y)
            for (int x = 0; x < ww; ++x)
                if (PtInRegion(region, r.left + x, r.top + y))
                    picture[(size_t)(r.top + y - around.top) * w + (r.left + x - around.left)] = own[(size_t)y * ww + x];
        DeleteObject(region);
        return picture;
    };
    std::vector<DWORD> mainInFront = inFront(panelsInFront, d.m_hWnd);
    SavePixelsPng(mainInFront, w, h, L"side-panels-docked-main-in-front");
    EXPECT_TRUE(mainInFront == panelsInFront) << "what shows depends on which window is in front";
    const wchar_t* pictures[] = {L"side-panels-docked-settings-in-front", L"side-panels-docked-picker-in-front",
                                 L"side-panels-docked-lighting-in-front"};
    for (int i = 0; i < 3; ++i) {
        std::vector<DWORD> panelInFront = inFront(mainInFront, panels[i].panel);
        SavePixelsPng(panelInFront, w, h, pictures[i]);
        EXPECT_TRUE(panelInFront == panelsInFront) << "what shows depends on whether the " << panels[i].name << " is in front";
    }
}
