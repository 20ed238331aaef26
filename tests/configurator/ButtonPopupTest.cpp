#include "ConfiguratorRig.h"
#include "configurator/function_picker/CAdvanceFunctionDlg.h"
#include "configurator/main_window/MainLayout.h"
#include "core/Messages.h"
#include "skinkit/PopupMenus.h"
#include <gtest/gtest.h>

namespace {

// A right press on a mouse button's image, as a person gives it.
void RightClickAt(HWND button)
{
    EXPECT_TRUE(TakesClickAt(button, ScreenCenter(button)));
    MouseMoveTo(ScreenCenter(button));
    Sleep(30);
    MouseButton(false, true);
    Sleep(30);
    MouseButton(false, false);
}

bool PopupOpen()
{
    return g_pButtonMenu && g_pButtonMenu->m_hWnd && IsWindowVisible(g_pButtonMenu->m_hWnd);
}

// The main window and the popup in one picture, as they are on the screen.
void SaveMainWithPopup(MainWindowRig& rig, const wchar_t* name)
{
    RECT a = rig.dlg->GetWindowRect();
    RECT b = g_pButtonMenu->GetWindowRect();
    RECT both;
    UnionRect(&both, &a, &b);
    SaveScreenPng(both, name);
}

}  // namespace

// A right click on mouse button 7 opens the popup under its image with the seven basic
// functions; the picture is taken; the last row gives the button code 9, and the popup is
// gone.
TEST(ButtonPopup, OpensUnderItsButtonAndReportsTheRow)
{
    MainWindowRig rig;
    ASSERT_TRUE(rig.Open());
    CAPDlg& d = *rig.dlg;
    SetForegroundWindow(rig.Hwnd());
    EXPECT_TRUE(WindowInFront(rig.Hwnd()));
    rig.Pump(100);
    CBitmapBtn& seventh = d.m_mouseButtons[6];
    ASSERT_EQ(seventh.GetCaption(), L"Mouse Button 4");
    RightClickAt(seventh.m_hWnd);
    ASSERT_TRUE(PumpUntil([] { return PopupOpen(); }));
    EXPECT_EQ(g_pButtonMenu->m_nButton, 6);
    EXPECT_EQ(seventh.GetCheck(), 1) << "highlighted";
    RECT image = seventh.GetClientRect();
    seventh.ClientToScreen(&image);
    RECT popup = g_pButtonMenu->GetWindowRect();
    EXPECT_EQ(popup.left, image.left);
    EXPECT_EQ(popup.top, image.bottom);
    EXPECT_EQ(popup.right - popup.left, g_pButtonMenu->m_nWidth);
    EXPECT_EQ(popup.bottom - popup.top, 7 * 20);
    const wchar_t* rows[] = {L"Left Click", L"Right Click", L"Double Click", L"Mouse Button 4",
                             L"Mouse Button 5", L"Middle Click", L"Disabled"};
    ASSERT_EQ(g_pButtonMenu->m_list.GetCount(), 7);
    for (int r = 0; r < 7; ++r) EXPECT_EQ(g_pButtonMenu->m_list.GetText(r), rows[r]) << r;
    EXPECT_EQ(::GetFocus(), g_pButtonMenu->m_list.m_hWnd);
    // Hovering a row highlights it only when chosen; the picture shows the popup at rest.
    EXPECT_TRUE(WindowOnScreen(g_pButtonMenu->m_hWnd));
    SaveMainWithPopup(rig, L"main-button-popup");

    RECT last;
    g_pButtonMenu->m_list.GetItemRect(6, &last);
    g_pButtonMenu->m_list.ClientToScreen(&last);
    ASSERT_TRUE(ClickOn(g_pButtonMenu->m_list.m_hWnd, POINT{(last.left + last.right) / 2, (last.top + last.bottom) / 2}));
    ASSERT_TRUE(PumpUntil([] { return g_pButtonMenu == nullptr; }));
    EXPECT_EQ(d.m_config.profiles[d.m_config.PROFILE_ID].buttons[6].code, 9);
    EXPECT_EQ(seventh.GetCaption(), L"Disabled");
    EXPECT_EQ(seventh.m_strToolTip, L"Disabled");
    EXPECT_TRUE(d.HasUnsavedChanges());
    EXPECT_FALSE(rig.Ended());
}

// Clicking elsewhere closes the popup and the main window lets go of it; a right click on
// another button while one is open opens a new one for that button; Esc in the popup
// closes only the popup; the main window's end takes an open popup with it.
TEST(ButtonPopup, ClosesOnFocusLossEscAndWithTheWindow)
{
    MainWindowRig rig;
    ASSERT_TRUE(rig.Open());
    CAPDlg& d = *rig.dlg;
    SetForegroundWindow(rig.Hwnd());
    EXPECT_TRUE(WindowInFront(rig.Hwnd()));
    rig.Pump(100);

    RightClickAt(d.m_mouseButtons[3].m_hWnd);
    ASSERT_TRUE(PumpUntil([] { return PopupOpen(); }));
    // A person looks at it a moment before clicking elsewhere, here on the window's body.
    rig.Pump(600);
    RECT r = d.GetWindowRect();
    ASSERT_TRUE(ClickOn(d.m_hWnd, POINT{r.left + 420, r.top + 60}));
    EXPECT_TRUE(PumpUntil([] { return g_pButtonMenu == nullptr; })) << "deleted once it closed itself";
    EXPECT_EQ(d.m_config.profiles[0].buttons[3].code, d.m_savedConfig.profiles[0].buttons[3].code);

    // From one button's popup straight to another's, back and forth.
    for (int k = 0; k < 4; ++k) {
        int n = k % 2 ? 3 : 8;
        RightClickAt(d.m_mouseButtons[n].m_hWnd);
        ASSERT_TRUE(PumpUntil([&] { return PopupOpen() && g_pButtonMenu->m_nButton == n; })) << k;
        rig.Pump(600);
        EXPECT_TRUE(PopupOpen()) << k;
        EXPECT_EQ(d.m_mouseButtons[n].GetCheck(), 1);
        EXPECT_EQ(d.m_mouseButtons[11 - n].GetCheck(), 0);
    }

    ASSERT_EQ(::GetFocus(), g_pButtonMenu->m_list.m_hWnd);
    KeyTap(VK_ESCAPE);
    EXPECT_TRUE(PumpUntil([] { return g_pButtonMenu == nullptr; }));
    rig.Pump(200);
    EXPECT_FALSE(rig.Ended()) << "Esc went to the popup only";

    RightClickAt(d.m_mouseButtons[5].m_hWnd);
    ASSERT_TRUE(PumpUntil([] { return PopupOpen(); }));
    rig.Close();
    EXPECT_EQ(g_pButtonMenu, nullptr);
}

// The scroll-button popup's choices reach the window as its message; no window of the
// program opens that popup, so it is driven by the message alone.
TEST(ButtonPopup, ScrollMenuChoicesByMessage)
{
    MainWindowRig rig;
    ASSERT_TRUE(rig.Open());
    CAPDlg& d = *rig.dlg;
    const int p = d.m_config.PROFILE_ID;
    const struct {
        int row;
        int code;
        const wchar_t* caption;
    } cases[] = {{3, 11, L"Scroll Up"}, {4, 12, L"Scroll Down"}, {7, 9, L"Disabled"}, {0, 1, L"Left Click"}};
    for (const auto& c : cases) {
        EXPECT_EQ(d.SendMessage(WM_SCROLLMENU_SELECT, c.row, 4), 1);
        EXPECT_EQ(d.m_config.profiles[p].buttons[4].code, c.code);
        EXPECT_EQ(d.m_mouseButtons[4].GetCaption(), c.caption);
    }
    // Rows without a code in the scroll popup's list leave the button alone.
    EXPECT_EQ(d.SendMessage(WM_SCROLLMENU_SELECT, 9, 4), 1);
    EXPECT_EQ(d.SendMessage(WM_SCROLLMENU_SELECT, (WPARAM)-1, 4), 1);
    EXPECT_EQ(d.SendMessage(WM_BUTTONMENU_SELECT, 7, 4), 1);
    EXPECT_EQ(d.SendMessage(WM_BUTTONMENU_SELECT, 2, 40), 1);
    EXPECT_EQ(d.m_config.profiles[p].buttons[4].code, 1);
    EXPECT_EQ(d.m_mouseButtons[4].GetCaption(), L"Left Click");
}
