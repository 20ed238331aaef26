#include "ConfiguratorRig.h"
#include "configurator/main_window/MainLayout.h"
#include "configurator/panels/PanelSettings.h"
#include "core/Messages.h"
#include "skinkit/PopupMenus.h"
#include <gtest/gtest.h>
#include <memory>

namespace {

// The main window with its settings panel slid open and in front.
CPropertiesDlg& OpenSettings(MainWindowRig& rig)
{
    CAPDlg& d = *rig.dlg;
    rig.Click(d.m_btnMouseProperties);
    EXPECT_TRUE(PumpUntil([&] { return d.m_bPropertiesShown == 1; }));
    CPropertiesDlg& panel = d.m_propertiesDlg;
    panel.SetForegroundWindow();
    EXPECT_TRUE(WindowInFront(panel.m_hWnd));
    // Docked, once the window system has answered every step of the slide, and painted.
    const POINT at = PropertiesDockPlace(d.GetWindowRect(), panel.m_nPanelWidth);
    EXPECT_TRUE(WindowPlaced(panel.m_hWnd, RECT{at.x, at.y, at.x + panel.m_nPanelWidth, at.y + panel.m_nPanelHeight}));
    EXPECT_TRUE(WindowShown(panel.m_hWnd));
    return panel;
}

// A person presses the left button at one point and lets it go at another.
void PressAndRelease(POINT press, POINT release)
{
    WhilePersonActs([=] {
        MouseMoveTo(press);
        Sleep(80);
        MouseButton(true, true);
        Sleep(80);
        MouseMoveTo(POINT{(press.x + release.x) / 2, (press.y + release.y) / 2});
        Sleep(60);
        MouseMoveTo(release);
        Sleep(80);
        MouseButton(true, false);
        Sleep(80);
    });
    PumpFor(150);
}

CSliderMarker& Marker(CPropertiesDlg& panel, int id)
{
    CSliderMarker* markers[] = {&panel.m_markerDoubleClick, &panel.m_markerScroll, &panel.m_markerSensitivity,
                                &panel.m_markerX, &panel.m_markerY};
    return *markers[id - MARKER_DOUBLE_CLICK];
}

int Field(const ProfileData& p, int id)
{
    switch (id) {
    case MARKER_DOUBLE_CLICK: return p.DOUBLE_CLICK_SPEED;
    case MARKER_SCROLL: return p.SCROLL_SPEED;
    case MARKER_SENSITIVITY: return p.SENSITIVITY;
    case MARKER_SENSITIVITY_X: return p.ADVANCE_SENSITIVITY_X;
    default: return p.ADVANCE_SENSITIVITY_Y;
    }
}

bool PopupOpen()
{
    return g_pDpiMenu && g_pDpiMenu->m_hWnd && IsWindowVisible(g_pDpiMenu->m_hWnd);
}

}  // namespace

TEST(SettingsPanel, SliderValuesAndTheirSettings)
{
    std::unique_ptr<ConfigData> cfg = NewConfigData();
    ProfileData* p = &cfg->profiles[0];
    const struct {
        int id, released, stored;
    } cases[] = {
        {MARKER_DOUBLE_CLICK, 150, 950}, {MARKER_DOUBLE_CLICK, 600, 500}, {MARKER_DOUBLE_CLICK, 950, 150},
        {MARKER_SCROLL, 7, 7},           {MARKER_SENSITIVITY, 20, 20},   {MARKER_SENSITIVITY_X, 1, 1},
        {MARKER_SENSITIVITY_Y, 18, 18},
    };
    for (const auto& c : cases) {
        EXPECT_TRUE(StoreMarkerValue(*p, c.id, c.released));
        EXPECT_EQ(Field(*p, c.id), c.stored) << c.id;
        EXPECT_EQ(MarkerValueOf(*p, c.id), c.released) << c.id;
    }
    EXPECT_FALSE(StoreMarkerValue(*p, 16, 3));
    EXPECT_FALSE(StoreMarkerValue(*p, 10, 3));
}

// Each slider, pressed and let go past its low end, at its middle and past its high end by
// a person, stores its value in the current profile of the working copy only.
TEST(SettingsPanel, SliderPositionsMapToValues)
{
    MainWindowRig rig;
    ASSERT_TRUE(rig.Open());
    CAPDlg& d = *rig.dlg;
    rig.Click(d.m_profileButtons[2]);
    CPropertiesDlg& panel = OpenSettings(rig);
    enum Where { LowEnd, Middle, HighEnd };
    const struct {
        int id;
        Where where;
        int stored;
    } cases[] = {
        {MARKER_DOUBLE_CLICK, LowEnd, 950},  {MARKER_DOUBLE_CLICK, Middle, 550},  {MARKER_DOUBLE_CLICK, HighEnd, 150},
        {MARKER_SCROLL, LowEnd, 1},          {MARKER_SCROLL, Middle, 9},          {MARKER_SCROLL, HighEnd, 18},
        {MARKER_SENSITIVITY, LowEnd, 1},     {MARKER_SENSITIVITY, Middle, 10},    {MARKER_SENSITIVITY, HighEnd, 20},
        {MARKER_SENSITIVITY_X, LowEnd, 1},   {MARKER_SENSITIVITY_X, Middle, 9},   {MARKER_SENSITIVITY_X, HighEnd, 18},
        {MARKER_SENSITIVITY_Y, LowEnd, 1},   {MARKER_SENSITIVITY_Y, Middle, 9},   {MARKER_SENSITIVITY_Y, HighEnd, 18},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "slider " << c.id << " at " << (int)c.where);
        CSliderMarker& m = Marker(panel, c.id);
        ASSERT_NE(m.m_hWnd, nullptr);
        RECT r = m.GetWindowRect();
        const bool vertical = c.id >= MARKER_SENSITIVITY_X;
        // The middle of the track, and past its ends: left and right, or bottom and top.
        POINT middle = {r.left + (r.right - r.left) / 2, r.top + (r.bottom - r.top) / 2};
        POINT release = middle;
        if (c.where == LowEnd && vertical) release.y = r.bottom + 30;
        if (c.where == LowEnd && !vertical) release.x = r.left - 30;
        if (c.where == HighEnd && vertical) release.y = r.top - 30;
        if (c.where == HighEnd && !vertical) release.x = r.right + 30;
        PressAndRelease(middle, release);
        EXPECT_EQ(Field(d.m_config.profiles[2], c.id), c.stored);
        EXPECT_EQ(Field(d.m_savedConfig.profiles[2], c.id), Field(MainWindowRig::ShippedConfig()->profiles[2], c.id));
    }
    EXPECT_TRUE(d.HasUnsavedChanges());
    SaveWindowPng(panel.m_hWnd, L"settings-panel-sliders-set");
    // A report from no slider of the panel changes nothing.
    std::unique_ptr<ConfigData> before = NewConfigData();
    *before = d.m_config;
    panel.SendMessage(WM_MARKER_CHANGED, 5, 99);
    panel.SendMessage(WM_MARKER_CHANGED, 5, 0);
    EXPECT_EQ(CompareConfig(*before, d.m_config), 0);
}

// The current profile's settings show on the sliders: each filled up to its value, the
// rest of the track empty; the double-click slider the other way round.
TEST(SettingsPanel, ValuesFromTheRecordShowAtTheirPlace)
{
    MainWindowRig rig;
    ASSERT_TRUE(rig.Open());
    CAPDlg& d = *rig.dlg;
    CPropertiesDlg& panel = OpenSettings(rig);
    ProfileData& p = d.m_config.profiles[d.m_config.PROFILE_ID];
    p.DOUBLE_CLICK_SPEED = 500;
    p.SCROLL_SPEED = 9;
    p.SENSITIVITY = 20;
    p.ADVANCE_SENSITIVITY_X = 1;
    p.ADVANCE_SENSITIVITY_Y = 10;
    d.RefreshFromProfile();
    rig.Pump(100);
    std::vector<unsigned char> normal = ReadBytes(rig.AppDir() + L"skins\\mouse_properties_normal.bmp");
    std::vector<unsigned char> down = ReadBytes(rig.AppDir() + L"skins\\mouse_properties_down.bmp");
    ASSERT_FALSE(normal.empty());
    ASSERT_FALSE(down.empty());
    const struct {
        int id, position, filled;  // filled: columns from the left, or rows from the bottom
    } cases[] = {
        {MARKER_DOUBLE_CLICK, 600, 90}, {MARKER_SCROLL, 9, 75},       {MARKER_SENSITIVITY, 20, 160},
        {MARKER_SENSITIVITY_X, 1, 0},   {MARKER_SENSITIVITY_Y, 10, 59},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "slider " << c.id);
        CSliderMarker& m = Marker(panel, c.id);
        EXPECT_EQ(m.GetPosition(), c.position);
        const bool vertical = c.id >= MARKER_SENSITIVITY_X;
        int w = 0, h = 0;
        std::vector<DWORD> shown = CaptureWindow(m.m_hWnd, &w, &h);
        ASSERT_EQ(w, m.m_rcTrack.right - m.m_rcTrack.left);
        // Every pixel shows the full track inside the filled part and the empty one outside.
        int wrong = 0, differs = 0;
        for (int y = 0; y < h; ++y) {
            for (int x = 0; x < w; ++x) {
                bool filled = vertical ? y >= h - c.filled : x < c.filled;
                int px = m.m_rcTrack.left + x, py = m.m_rcTrack.top + y;
                COLORREF full = BmpPixel(down, px, py), empty = BmpPixel(normal, px, py);
                COLORREF expected = filled ? full : empty;
                DWORD got = shown[(size_t)y * w + x];
                if (RGB(got >> 16 & 0xFF, got >> 8 & 0xFF, got & 0xFF) != expected) ++wrong;
                if (full != empty) ++differs;
            }
        }
        EXPECT_EQ(wrong, 0);
        EXPECT_GT(differs, w * h / 4) << "the full and the empty track can be told apart";
    }
    SaveWindowPng(panel.m_hWnd, L"settings-panel-from-record");
    EXPECT_TRUE(d.HasUnsavedChanges());
}

// The DPI button opens the DPI popup under it; a row stores its stage and shows its text;
// a second click on the button closes the popup, a third opens it again. A stage from the
// service shows at once; a stage no row has changes nothing.
TEST(SettingsPanel, DpiPopup)
{
    MainWindowRig rig;
    ASSERT_TRUE(rig.Open());
    CAPDlg& d = *rig.dlg;
    d.m_config.profiles[0].DPI_VALUE = 4;
    d.RefreshFromProfile();
    CPropertiesDlg& panel = OpenSettings(rig);
    EXPECT_EQ(panel.m_btnDpi.GetCaption(), L"400 DPI");

    EXPECT_TRUE(ClickOn(panel.m_btnDpi.m_hWnd));
    ASSERT_TRUE(PumpUntil([] { return PopupOpen(); }));
    RECT button = panel.m_btnDpi.GetClientRect();
    panel.m_btnDpi.ClientToScreen(&button);
    RECT popup = g_pDpiMenu->GetWindowRect();
    EXPECT_EQ(popup.left, button.left);
    EXPECT_EQ(popup.top, button.bottom);
    ASSERT_EQ(g_pDpiMenu->m_list.GetCount(), 4);
    EXPECT_TRUE(WindowOnScreen(g_pDpiMenu->m_hWnd));
    RECT both = panel.GetWindowRect();
    UnionRect(&both, &both, &popup);
    SaveScreenPng(both, L"settings-panel-dpi-popup");
    EXPECT_TRUE(ClickOn(g_pDpiMenu->m_list.m_hWnd, RowPoint(*g_pDpiMenu, 2)));
    ASSERT_TRUE(PumpUntil([] { return g_pDpiMenu == nullptr; }));
    EXPECT_EQ(d.m_config.profiles[0].DPI_VALUE, 2);
    EXPECT_EQ(panel.m_btnDpi.GetCaption(), L"1600 DPI");
    EXPECT_TRUE(d.HasUnsavedChanges());

    // Open, closed by the button, opened again.
    for (bool open : {true, false, true}) {
        rig.Pump(400);
        ClickOnButton(panel.m_btnDpi);
        if (open)
            EXPECT_TRUE(PumpUntil([] { return PopupOpen(); }));
        else
            EXPECT_TRUE(PumpUntil([] { return g_pDpiMenu == nullptr; }));
        rig.Pump(200);
        EXPECT_EQ(PopupOpen(), open);
    }
    // Esc in the popup does nothing.
    KeyTap(VK_ESCAPE);
    rig.Pump(300);
    EXPECT_TRUE(PopupOpen());
    EXPECT_FALSE(rig.Ended());
    EXPECT_TRUE(ClickOn(g_pDpiMenu->m_list.m_hWnd, RowPoint(*g_pDpiMenu, 3)));
    ASSERT_TRUE(PumpUntil([] { return g_pDpiMenu == nullptr; }));
    EXPECT_EQ(d.m_config.profiles[0].DPI_VALUE, 1);
    EXPECT_EQ(panel.m_btnDpi.GetCaption(), L"3200 DPI");

    // The service's stage, in both copies of the saved current profile.
    EXPECT_EQ(d.SendMessage(WM_SERVICE_DPI_CHANGED, 3, 0), 1);
    EXPECT_EQ(panel.m_btnDpi.GetCaption(), L"800 DPI");
    EXPECT_EQ(d.m_savedConfig.profiles[0].DPI_VALUE, 3);
    EXPECT_EQ(d.SendMessage(WM_SERVICE_DPI_CHANGED, 5, 0), 1);
    EXPECT_EQ(panel.m_btnDpi.GetCaption(), L"800 DPI") << "no row for stage 5";
    EXPECT_EQ(d.m_config.profiles[0].DPI_VALUE, 5);
    panel.SendMessage(WM_DPIMENU_SELECT, 7, 0);
    EXPECT_EQ(d.m_config.profiles[0].DPI_VALUE, 5);
}

// Without "Menu.xml" a DPI choice closes the popup and changes nothing.
TEST(SettingsPanel, DpiChoiceWithoutTheMenuFile)
{
    MainWindowRig rig(MainWindowRig::Program::Copy);
    ASSERT_TRUE(rig.Open());
    CAPDlg& d = *rig.dlg;
    CPropertiesDlg& panel = OpenSettings(rig);
    const CString caption = panel.m_btnDpi.GetCaption();
    const int stage = d.m_config.profiles[0].DPI_VALUE;
    ASSERT_TRUE(DeleteFileW(rig.AppDir() + L"Menu.xml"));
    EXPECT_TRUE(ClickOn(panel.m_btnDpi.m_hWnd));
    ASSERT_TRUE(PumpUntil([] { return g_pDpiMenu && g_pDpiMenu->m_hWnd; }));
    EXPECT_EQ(g_pDpiMenu->m_list.GetCount(), 0);
    panel.SendMessage(WM_DPIMENU_SELECT, 0, 0);
    EXPECT_EQ(g_pDpiMenu, nullptr);
    EXPECT_EQ(d.m_config.profiles[0].DPI_VALUE, stage);
    EXPECT_EQ(panel.m_btnDpi.GetCaption(), caption);
    EXPECT_FALSE(d.HasUnsavedChanges());
}
