#include "ConfiguratorRig.h"
#include "configurator/main_window/MainLayout.h"
#include "configurator/panels/CSelColorDlg.h"
#include "core/Messages.h"
#include "skinkit/PopupMenus.h"
#include <gtest/gtest.h>

namespace {

// The main window with its lighting panel slid out and in front.
CIllumination& OpenLighting(MainWindowRig& rig)
{
    CAPDlg& d = *rig.dlg;
    rig.Click(d.m_btnIllumination);
    EXPECT_TRUE(PumpUntil([&] { return d.m_bIlluminationShown == 1; }));
    CIllumination& panel = d.m_illuminationDlg;
    panel.SetForegroundWindow();
    EXPECT_TRUE(WindowInFront(panel.m_hWnd));
    // Docked, once the window system has answered every step of the slide, and painted.
    const POINT at = IlluminationDockPlace(d.GetWindowRect());
    EXPECT_TRUE(WindowPlaced(panel.m_hWnd, RECT{at.x, at.y, at.x + panel.m_nPanelWidth, at.y + panel.m_nPanelHeight}));
    EXPECT_TRUE(WindowShown(panel.m_hWnd));
    return panel;
}

bool PickerOpen()
{
    return g_pSelColorDlg && g_pSelColorDlg->m_hWnd && IsWindowVisible(g_pSelColorDlg->m_hWnd);
}

template <class Popup>
bool Open(Popup* popup)
{
    return popup && popup->m_hWnd && IsWindowVisible(popup->m_hWnd);
}

// A rectangle of the screen holding all the given windows.
RECT Around(std::initializer_list<HWND> windows)
{
    RECT all = {0, 0, 0, 0};
    for (HWND w : windows) {
        RECT r;
        GetWindowRect(w, &r);
        UnionRect(&all, &all, &r);
    }
    return all;
}

}  // namespace

// A click on the colour picture, opened under the colour button (where it stays whatever
// place the system reports for it while it shows), makes the colour of that pixel the
// current profile's light colour in the working copy: the swatch and the profile button
// show it, and the picker is gone.
TEST(LightingPanel, ColourPickedFromTheColourPicture)
{
    MainWindowRig rig;
    ASSERT_TRUE(rig.Open());
    CAPDlg& d = *rig.dlg;
    rig.Click(d.m_profileButtons[2]);
    CIllumination& panel = OpenLighting(rig);
    std::vector<unsigned char> chart = ReadBytes(rig.AppDir() + L"skins\\Color.bmp");
    ASSERT_FALSE(chart.empty());
    const POINT pixels[] = {{37, 21}, {201, 96}};
    bool saved = false;
    for (POINT at : pixels) {
        SCOPED_TRACE(testing::Message() << "pixel " << at.x << "," << at.y);
        ClickOnButton(panel.m_btnColor);
        ASSERT_TRUE(PumpUntil([] { return PickerOpen(); }));
        RECT button = panel.m_btnColor.GetWindowRect();
        RECT picker = g_pSelColorDlg->GetWindowRect();
        EXPECT_EQ(picker.left, button.left - 2);
        EXPECT_EQ(picker.top, button.bottom);
        // As the system reports the window manager's frame before the manager has put it
        // in place: the screen's corner.
        g_pSelColorDlg->SetWindowPos(nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        RECT after = g_pSelColorDlg->GetWindowRect();
        EXPECT_EQ(after.left, button.left - 2) << "stays at its place";
        EXPECT_EQ(after.top, button.bottom) << "stays at its place";
        EXPECT_TRUE(WindowOnScreen(g_pSelColorDlg->m_hWnd));
        if (!saved) {
            saved = true;
            SaveScreenPng(Around({panel.m_hWnd, g_pSelColorDlg->m_hWnd}), L"lighting-colour-picker");
        }
        const COLORREF expected = BmpPixel(chart, at.x, at.y);
        ASSERT_NE(expected, d.m_config.profiles[2].LED_COLOR);
        ASSERT_TRUE(ClickOn(g_pSelColorDlg->m_hWnd, POINT{picker.left + 2 + at.x, picker.top + 2 + at.y}));
        ASSERT_TRUE(PumpUntil([] { return g_pSelColorDlg == nullptr; }));
        EXPECT_EQ(d.m_config.profiles[2].LED_COLOR, expected);
        EXPECT_EQ(panel.m_btnColor.m_crSwatch, expected);
        EXPECT_EQ(d.m_profileButtons[2].m_crFill, expected) << "the main window refreshed";
        EXPECT_TRUE(WindowShown(panel.m_hWnd));
        int w = 0, h = 0;
        std::vector<DWORD> swatch = CaptureWindow(panel.m_btnColor.m_hWnd, &w, &h);
        ASSERT_FALSE(swatch.empty());
        DWORD shown = swatch[(size_t)(h / 2) * w + 10];
        EXPECT_EQ(RGB(shown >> 16 & 0xFF, shown >> 8 & 0xFF, shown & 0xFF), expected);
    }
    EXPECT_TRUE(d.HasUnsavedChanges());
    EXPECT_NE(d.m_savedConfig.profiles[2].LED_COLOR, d.m_config.profiles[2].LED_COLOR);
    SaveWindowPng(panel.m_hWnd, L"lighting-panel-colour-picked");
}

// The picker closes without a pick on a second click of its button, on a click on the
// panel's body, on its frame, on a right click and when the panel moves with the main
// window; the light stays as it was.
TEST(LightingPanel, PickerClosesWithoutAPick)
{
    MainWindowRig rig;
    ASSERT_TRUE(rig.Open());
    CAPDlg& d = *rig.dlg;
    CIllumination& panel = OpenLighting(rig);
    const COLORREF before = d.m_config.profiles[0].LED_COLOR;
    enum Road { SecondClick, PanelBody, Frame, RightClick, Moved };
    for (Road road : {SecondClick, PanelBody, Frame, RightClick, Moved}) {
        SCOPED_TRACE(testing::Message() << "road " << (int)road);
        rig.Pump(300);
        ClickOnButton(panel.m_btnColor);
        ASSERT_TRUE(PumpUntil([] { return PickerOpen(); }));
        EXPECT_TRUE(WindowOnScreen(g_pSelColorDlg->m_hWnd));
        RECT picker = g_pSelColorDlg->GetWindowRect();
        RECT body = panel.GetWindowRect();
        switch (road) {
        case SecondClick: ClickOnButton(panel.m_btnColor); break;
        case PanelBody: EXPECT_TRUE(ClickOn(panel.m_hWnd, POINT{body.right - 30, body.bottom - 8})); break;
        case Frame: EXPECT_TRUE(ClickOn(g_pSelColorDlg->m_hWnd, POINT{picker.left, picker.top + 20})); break;
        case RightClick:
            MouseMoveTo(POINT{picker.left + 40, picker.top + 20});
            Sleep(30);
            MouseButton(false, true);
            Sleep(30);
            MouseButton(false, false);
            break;
        case Moved: {
            RECT main = d.GetWindowRect();
            ::SetWindowPos(d.m_hWnd, nullptr, main.left + 20, main.top + 10, 0, 0,
                           SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
            break;
        }
        }
        EXPECT_TRUE(PumpUntil([] { return g_pSelColorDlg == nullptr; }));
        EXPECT_EQ(d.m_config.profiles[0].LED_COLOR, before);
    }
    EXPECT_FALSE(d.HasUnsavedChanges());
    EXPECT_FALSE(rig.Ended());
}

// Intensity and pulsation come from their popups under their buttons: a row stores its
// level (HIGH 4 .. OFF 1) and shows its text; a second click on the button closes the popup.
TEST(LightingPanel, IntensityAndPulsationFromTheirPopups)
{
    MainWindowRig rig;
    ASSERT_TRUE(rig.Open());
    CAPDlg& d = *rig.dlg;
    d.m_config.profiles[0].LED_INTENSITY = 4;
    d.m_config.profiles[0].LED_PULSATION = 3;
    d.RefreshFromProfile();
    CIllumination& panel = OpenLighting(rig);
    EXPECT_EQ(panel.m_btnIntensity.GetCaption(), L"High");
    EXPECT_EQ(panel.m_btnPulsation.GetCaption(), L"Medium");

    ClickOnButton(panel.m_btnIntensity);
    ASSERT_TRUE(PumpUntil([] { return Open(g_pIntensityMenu); }));
    RECT button = panel.m_btnIntensity.GetWindowRect();
    RECT popup = g_pIntensityMenu->GetWindowRect();
    EXPECT_EQ(popup.left, button.left);
    EXPECT_EQ(popup.top, button.bottom);
    EXPECT_TRUE(WindowOnScreen(g_pIntensityMenu->m_hWnd));
    SaveScreenPng(Around({panel.m_hWnd, g_pIntensityMenu->m_hWnd}), L"lighting-intensity-popup");
    EXPECT_TRUE(ClickOn(g_pIntensityMenu->m_list.m_hWnd, RowPoint(*g_pIntensityMenu, 3)));
    ASSERT_TRUE(PumpUntil([] { return g_pIntensityMenu == nullptr; }));
    EXPECT_EQ(d.m_config.profiles[0].LED_INTENSITY, 1);
    EXPECT_EQ(panel.m_btnIntensity.GetCaption(), L"Off");

    rig.Pump(300);
    ClickOnButton(panel.m_btnPulsation);
    ASSERT_TRUE(PumpUntil([] { return Open(g_pPulsationMenu); }));
    EXPECT_TRUE(WindowOnScreen(g_pPulsationMenu->m_hWnd));
    EXPECT_TRUE(ClickOn(g_pPulsationMenu->m_list.m_hWnd, RowPoint(*g_pPulsationMenu, 0)));
    ASSERT_TRUE(PumpUntil([] { return g_pPulsationMenu == nullptr; }));
    EXPECT_EQ(d.m_config.profiles[0].LED_PULSATION, 4);
    EXPECT_EQ(panel.m_btnPulsation.GetCaption(), L"Fast");
    EXPECT_TRUE(d.HasUnsavedChanges());

    // A second click on its button closes the open popup; the next opens it again.
    for (bool open : {true, false, true}) {
        rig.Pump(400);
        ClickOnButton(panel.m_btnIntensity);
        if (open)
            EXPECT_TRUE(PumpUntil([] { return Open(g_pIntensityMenu); }));
        else
            EXPECT_TRUE(PumpUntil([] { return g_pIntensityMenu == nullptr; }));
        rig.Pump(200);
        EXPECT_EQ(Open(g_pIntensityMenu), open);
    }
    // Rows no popup has change nothing.
    panel.SendMessage(WM_PULSATIONMENU_SELECT, 4, 0);
    panel.SendMessage(WM_INTENSITYMENU_SELECT, (WPARAM)-1, 0);
    EXPECT_EQ(d.m_config.profiles[0].LED_PULSATION, 4);
    EXPECT_EQ(d.m_config.profiles[0].LED_INTENSITY, 1);
    rig.Close();
    EXPECT_EQ(g_pIntensityMenu, nullptr);
}
