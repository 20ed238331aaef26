#include "ConfiguratorRig.h"
#include "configurator/function_picker/CAdvanceFunctionDlg.h"
#include "configurator/main_window/MainLayout.h"
#include "core/ConfigSettings.h"
#include "core/Messages.h"
#include "skinkit/PopupMenus.h"
#include <gtest/gtest.h>
#include <cstring>

namespace {

// The shipped skin's texts, as the shipped "Menu.xml" gives them.
const wchar_t* const kDefaultCaptions[BUTTON_COUNT] = {
    L"Left Click", L"Right Click", L"Middle Click", L"Disabled", L"Disabled", L"Disabled",
    L"Mouse Button 4", L"Mouse Button 5", L"Disabled", L"Disabled", L"Disabled"};

}  // namespace

// A fresh start: the window at the top of the screen in the middle, of its picture's size
// and shape, titled for the other programs; no unsaved change; the current profile checked
// and the only one that can be dragged; each profile button in its light colour with its
// name; each mouse button captioned with its function.
TEST(MainWindow, AtRest)
{
    MainWindowRig rig;
    std::unique_ptr<ConfigData> cfg = MainWindowRig::ShippedConfig();
    cfg->PROFILE_ID = 2;
    for (int j = 0; j < PROFILE_COUNT; ++j) {
        cfg->profiles[j].LED_COLOR = RGB(20 * j, 255 - 20 * j, 100);
        CString name;
        name.Format(L"Raid set %d", j + 1);
        CopyField(cfg->profiles[j].PROFILE_NAME, name);
    }
    ASSERT_TRUE(rig.WriteConfig(*cfg));
    ASSERT_TRUE(rig.Open());
    CAPDlg& d = *rig.dlg;

    EXPECT_EQ(FindWindowW(nullptr, GEARLOOM_MAIN_TITLE), rig.Hwnd());
    EXPECT_EQ(memcmp(&d.m_config, &d.m_savedConfig, sizeof(ConfigData)), 0);
    EXPECT_FALSE(d.HasUnsavedChanges());
    EXPECT_EQ(d.m_config.PROFILE_ID, 2);

    RECT work = {};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    RECT r = d.GetWindowRect();
    EXPECT_EQ(r.right - r.left, d.m_sizeNormal.cx);
    EXPECT_EQ(r.bottom - r.top, d.m_sizeNormal.cy);
    EXPECT_GT(d.m_sizeNormal.cx, 0);
    EXPECT_EQ(r.left, (work.right - d.m_sizeNormal.cx) / 2);
    EXPECT_EQ(r.top, 0);
    HRGN region = CreateRectRgn(0, 0, 0, 0);
    EXPECT_NE(GetWindowRgn(rig.Hwnd(), region), ERROR) << "cut to the mask";
    // A corner of the picture lies outside the rounded shape.
    EXPECT_FALSE(PtInRegion(region, 0, 0));
    EXPECT_TRUE(PtInRegion(region, d.m_sizeNormal.cx / 2, d.m_sizeNormal.cy / 2));
    DeleteObject(region);
    EXPECT_TRUE(d.GetStyle() & WS_SYSMENU);
    EXPECT_TRUE(d.GetStyle() & WS_MINIMIZEBOX);
    EXPECT_TRUE(d.GetExStyle() & WS_EX_APPWINDOW);

    for (int j = 0; j < PROFILE_COUNT; ++j) {
        CBitmapBtn& b = d.m_profileButtons[j];
        ASSERT_NE(b.m_hWnd, nullptr) << j;
        EXPECT_EQ(b.GetCheck(), j == 2 ? 1 : 0) << j;
        EXPECT_EQ(b.m_bDragSource, j == 2 ? 1 : 0) << j;
        EXPECT_EQ(b.m_nItemValue, j);
        EXPECT_EQ(b.m_nDropKind, 1);
        EXPECT_EQ(b.m_bFill, 1);
        EXPECT_EQ(b.m_crFill, (COLORREF)RGB(20 * j, 255 - 20 * j, 100)) << j;
        CString name;
        name.Format(L"Raid set %d", j + 1);
        EXPECT_EQ(b.m_strToolTip, name);
        CString entry;
        entry.Format(L"Profile %d", j + 1);
        EXPECT_EQ(d.m_defaultProfileNames[j], entry);
    }
    for (int i = 0; i < BUTTON_COUNT; ++i) {
        CBitmapBtn& b = d.m_mouseButtons[i];
        ASSERT_NE(b.m_hWnd, nullptr) << i;
        EXPECT_EQ(b.GetCaption(), kDefaultCaptions[i]) << i;
        EXPECT_EQ(b.m_strToolTip, kDefaultCaptions[i]) << i;
        EXPECT_EQ(b.m_nCaptionLeft, 26);
        EXPECT_EQ(b.m_nItemValue, 16 + i);
        // The left and right buttons keep their clicks: they take no dropped function.
        EXPECT_EQ(b.m_nDropKind, i < 2 ? -1 : 2) << i;
        EXPECT_TRUE(b.IsWindowEnabled());
    }
    EXPECT_EQ(d.m_btnOK.GetCaption(), L"OK");
    EXPECT_EQ(d.m_btnApply.GetCaption(), L"Apply");
    EXPECT_EQ(d.m_btnFileMenu.GetCaption(), L"File");
    EXPECT_EQ(d.m_btnExit.GetCaption(), L"");
    EXPECT_EQ(d.m_btnExit.m_strToolTip, L"Exit");
    EXPECT_EQ(d.m_btnMouseProperties.m_bUpwardCaption[0], 1);
    EXPECT_EQ(d.m_btnAssignments.m_bDownwardCaption[0], 1);
    EXPECT_EQ(d.m_btnIllumination.m_bBoldCaption[0], 1);
    EXPECT_EQ(d.m_btnChronicle.m_bLightCaption, 1);
    EXPECT_EQ(d.m_btnInGameMode.m_bToggle, 1);
    EXPECT_EQ(d.m_btnInGameMode.GetCheck(), 0);
    EXPECT_EQ(d.m_strRate1000, L"1000 Hz");
    EXPECT_EQ(d.m_strAbout, L"About...");
    EXPECT_NE(d.m_strWarningRestoreProfile, L"");
    // The panels exist from the start, hidden; the picker only once it is needed.
    EXPECT_NE(d.m_propertiesDlg.m_hWnd, nullptr);
    EXPECT_NE(d.m_illuminationDlg.m_hWnd, nullptr);
    EXPECT_FALSE(d.m_propertiesDlg.IsWindowVisible());
    EXPECT_EQ(d.m_propertiesDlg.m_pConfig, &d.m_config);
    EXPECT_EQ(d.m_illuminationDlg.m_pConfig, &d.m_config);
    EXPECT_EQ(g_pAdvanceFunctionDlg, nullptr);
    // Once painted, every button has its tooltip and the images take drops.
    ASSERT_TRUE(PumpUntil([&] { return d.m_btnExit.m_toolTip.m_hWnd != nullptr; }));
    EXPECT_EQ(d.m_btnExit.m_toolTip.GetText(&d.m_btnExit, 1), L"Exit");
    EXPECT_EQ(d.m_mouseButtons[0].m_toolTip.GetText(&d.m_mouseButtons[0], 1), L"Left Click");
    EXPECT_EQ(d.m_profileButtons[9].m_toolTip.GetText(&d.m_profileButtons[9], 1), L"Raid set 10");
    EXPECT_NE(GetPropW(d.m_profileButtons[3].m_hWnd, L"OleDropTargetInterface"), nullptr);
    EXPECT_NE(GetPropW(d.m_mouseButtons[3].m_hWnd, L"OleDropTargetInterface"), nullptr);
    // Captions set later keep their tooltips in step.
    d.ShowButtonAssignment(9, 0);
    EXPECT_EQ(d.m_mouseButtons[0].m_toolTip.GetText(&d.m_mouseButtons[0], 1), L"Disabled");
    d.ShowButtonAssignment(1, 0);

    SetForegroundWindow(rig.Hwnd());
    EXPECT_TRUE(WindowInFront(rig.Hwnd()));
    MouseMoveTo(POINT{r.left + 5, r.bottom + 40});
    rig.Pump(300);
    SaveWindowPng(rig.Hwnd(), L"main-rest");

    // Hovering a mouse button's plate lights it.
    CBitmapBtn& plate = d.m_mouseButtons[6];
    MouseMoveTo(ScreenCenter(plate.m_hWnd));
    EXPECT_TRUE(PumpUntil([&] { return plate.m_nHover == 1; }));
    rig.Pump(200);
    SaveWindowPng(rig.Hwnd(), L"main-hover");
    MouseMoveTo(POINT{r.left + 5, r.bottom + 40});
    rig.Pump(100);
}

// The in-game mode of the file: the toggle checked and the mouse buttons locked.
TEST(MainWindow, InGameModeFromTheFileLocksTheMouseButtons)
{
    MainWindowRig rig;
    std::unique_ptr<ConfigData> cfg = MainWindowRig::ShippedConfig();
    cfg->GAME_MODE = 1;
    ASSERT_TRUE(rig.WriteConfig(*cfg));
    ASSERT_TRUE(rig.Open());
    EXPECT_EQ(rig.dlg->m_btnInGameMode.GetCheck(), 1);
    for (CBitmapBtn& b : rig.dlg->m_mouseButtons) EXPECT_FALSE(b.IsWindowEnabled());
    rig.Pump(200);
    SaveWindowPng(rig.Hwnd(), L"main-in-game-mode");
}

// A tray icon the person hid comes back: the flag is written 1 and the tray is told; with
// the flag already 1 nothing is written or posted.
TEST(MainWindow, HiddenTrayIconIsShownAgainAtStart)
{
    struct Case {
        bool hidden;
    } cases[] = {{true}, {false}};
    for (const Case& c : cases) {
        MainWindowRig rig;
        SetTrayIconFlag(rig.ConfDir(), c.hidden ? 0 : 1);
        ASSERT_EQ(GetTrayIconFlag(rig.ConfDir()), c.hidden ? 0 : 1);
        std::vector<unsigned char> before = ReadBytes(rig.ConfigPath());
        PeerWindow tray(BELLWICK_WINDOW_TITLE);
        ASSERT_TRUE(rig.Open());
        rig.Pump(100);
        EXPECT_EQ(GetTrayIconFlag(rig.ConfDir()), 1);
        EXPECT_EQ(tray.Of(WM_SHOW_TRAY_ICON).size(), c.hidden ? 1u : 0u);
        if (!c.hidden) {
            EXPECT_EQ(ReadBytes(rig.ConfigPath()), before);
        }
    }
}

// Without a skin the window still opens, at the template's size, and works: captions,
// commands and notices go on.
TEST(MainWindow, WithoutSkinFilesTheWindowStillOpens)
{
    MainWindowRig rig(MainWindowRig::Program::Copy);
    DeleteFileW(rig.AppDir() + L"Skins.xml");
    DeleteFileW(rig.AppDir() + L"Strings.xml");
    DeleteFileW(rig.AppDir() + L"Menu.xml");
    ASSERT_TRUE(rig.Open());
    CAPDlg& d = *rig.dlg;
    RECT r = d.GetWindowRect();
    EXPECT_GT(r.right - r.left, 100);
    EXPECT_EQ(d.m_mouseButtons[0].m_hWnd, nullptr);
    EXPECT_EQ(d.m_strEdit, L"");
    rig.Command(1339);
    EXPECT_EQ(d.m_config.POLLING_RATE, 1);
    EXPECT_FALSE(rig.Ended());
    d.SendMessage(WM_PROFILE_CHANGE, 4);
    EXPECT_EQ(d.m_config.PROFILE_ID, 4);
    rig.Pump(100);
    SaveWindowPng(rig.Hwnd(), L"main-without-skin");
}
