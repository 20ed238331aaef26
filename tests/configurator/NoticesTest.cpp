#include "ConfiguratorRig.h"
#include "configurator/function_picker/CAdvanceFunctionDlg.h"
#include "core/Messages.h"
#include <gtest/gtest.h>

// A profile switched by the tray or the service: both copies take the index, so the switch
// is no unsaved change, and edits made meanwhile stay unsaved. Indexes past the ten profiles
// change nothing.
TEST(Notices, ProfileSwitchFromTheTrayOrTheService)
{
    MainWindowRig rig;
    ASSERT_TRUE(rig.Open());
    CAPDlg& d = *rig.dlg;
    CopyField(d.m_config.profiles[2].PROFILE_NAME, L"Edited");
    d.m_config.POLLING_RATE = 1;
    const struct {
        UINT message;
        WPARAM index;
        int expected;
    } cases[] = {
        {WM_PROFILE_CHANGE, 3, 3},
        {WM_PROFILE_CHANGE, 10, 3},
        {WM_PROFILE_CHANGE, (WPARAM)-1, 3},
        {WM_SERVICE_PROFILE_CHANGED, 9, 9},
        {WM_SERVICE_PROFILE_CHANGED, 0x7FFFFFFF, 9},
        {WM_PROFILE_CHANGE, 0, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "index " << (long long)(INT_PTR)c.index);
        EXPECT_EQ(d.SendMessage(c.message, c.index, 0), 1);
        EXPECT_EQ(d.m_config.PROFILE_ID, c.expected);
        EXPECT_EQ(d.m_savedConfig.PROFILE_ID, c.expected);
        for (int j = 0; j < PROFILE_COUNT; ++j) EXPECT_EQ(d.m_profileButtons[j].GetCheck(), j == c.expected ? 1 : 0);
        EXPECT_EQ(CString(d.m_config.profiles[2].PROFILE_NAME), L"Edited");
        EXPECT_EQ(d.m_config.POLLING_RATE, 1);
        EXPECT_TRUE(d.HasUnsavedChanges());
    }
    // The edits are all that is unsaved.
    CopyField(d.m_config.profiles[2].PROFILE_NAME, d.m_savedConfig.profiles[2].PROFILE_NAME);
    d.m_config.POLLING_RATE = d.m_savedConfig.POLLING_RATE;
    EXPECT_FALSE(d.HasUnsavedChanges());
}

// A DPI stage from the service goes into the saved current profile of both copies, even
// while the person shows another profile.
TEST(Notices, DpiStageFromTheService)
{
    MainWindowRig rig;
    ASSERT_TRUE(rig.Open());
    CAPDlg& d = *rig.dlg;
    rig.Click(d.m_profileButtons[5]);
    ASSERT_EQ(d.m_config.PROFILE_ID, 5);
    const int before = d.m_config.profiles[5].DPI_VALUE;
    const int stage = before == 1 ? 2 : 1;
    EXPECT_EQ(d.SendMessage(WM_SERVICE_DPI_CHANGED, stage, 0), 1);
    EXPECT_EQ(d.m_config.profiles[0].DPI_VALUE, stage);
    EXPECT_EQ(d.m_savedConfig.profiles[0].DPI_VALUE, stage);
    EXPECT_EQ(d.m_config.profiles[5].DPI_VALUE, before);
    d.m_config.PROFILE_ID = 0;
    EXPECT_FALSE(d.HasUnsavedChanges());
}

// A button pressed on the mouse while the program is in front: that button is highlighted
// and shown in the picker; releases, and buttons the window has no image for or that the
// service never reports, change nothing.
TEST(Notices, ButtonPressedWhileInFront)
{
    MainWindowRig rig;
    ASSERT_TRUE(rig.Open());
    CAPDlg& d = *rig.dlg;
    EXPECT_EQ(d.SendMessage(WM_SERVICE_BUTTON_STATE, 2, 0), 1);
    EXPECT_EQ(g_pAdvanceFunctionDlg, nullptr) << "a release does nothing";
    for (WPARAM ignored : {0, 1, 11, 15}) {
        EXPECT_EQ(d.SendMessage(WM_SERVICE_BUTTON_STATE, ignored, 1), 1);
        EXPECT_EQ(g_pAdvanceFunctionDlg, nullptr) << ignored;
    }
    for (CBitmapBtn& b : d.m_mouseButtons) EXPECT_EQ(b.GetCheck(), 0);
    EXPECT_EQ(d.SendMessage(WM_SERVICE_BUTTON_STATE, 2, 1), 1);
    ASSERT_NE(g_pAdvanceFunctionDlg, nullptr);
    EXPECT_EQ(g_pAdvanceFunctionDlg->m_nButton, 2);
    for (int i = 0; i < BUTTON_COUNT; ++i) EXPECT_EQ(d.m_mouseButtons[i].GetCheck(), i == 2 ? 1 : 0);
    // With the picker shown it is only told which button to show.
    d.SendMessage(WM_PANEL_STATE, 0, 50);
    EXPECT_EQ(d.m_bPickerShown, 1);
    g_pAdvanceFunctionDlg->SetTargetPos(0, 0);
    EXPECT_EQ(d.SendMessage(WM_SERVICE_BUTTON_STATE, 10, 1), 1);
    EXPECT_EQ(g_pAdvanceFunctionDlg->m_nButton, 10);
    EXPECT_EQ(g_pAdvanceFunctionDlg->m_nTargetX, 0);
    EXPECT_EQ(d.m_mouseButtons[10].GetCheck(), 1);
    d.SendMessage(WM_PANEL_STATE, 0, 54);
    EXPECT_EQ(d.m_bPickerShown, 0);
    EXPECT_FALSE(d.HasUnsavedChanges());
    rig.Pump(100);
    SaveWindowPng(rig.Hwnd(), L"main-button-highlighted");
}

// The side panels' messages: their shown flags follow the panel states; Esc in a panel
// ends the program without asking; the picker's close request reaches the window.
TEST(Notices, SidePanelMessages)
{
    MainWindowRig rig;
    ASSERT_TRUE(rig.Open());
    CAPDlg& d = *rig.dlg;
    const struct {
        LPARAM state;
        int picker, properties, illumination;
    } states[] = {{50, 1, 0, 0}, {51, 1, 1, 0}, {52, 1, 1, 1}, {53, 1, 0, 1}, {54, 0, 0, 1}, {55, 0, 0, 0}, {56, 0, 0, 0}};
    for (const auto& s : states) {
        EXPECT_EQ(d.SendMessage(WM_PANEL_STATE, 0, s.state), 0);
        EXPECT_EQ(d.m_bPickerShown, s.picker) << s.state;
        EXPECT_EQ(d.m_bPropertiesShown, s.properties) << s.state;
        EXPECT_EQ(d.m_bIlluminationShown, s.illumination) << s.state;
    }
    d.MakeFunctionPicker();
    g_pAdvanceFunctionDlg->PostClosePanel();
    rig.Pump(50);
    EXPECT_FALSE(rig.Ended());
    d.m_config.POLLING_RATE = 1;
    BoxAnswerer person(BoxAnswerer::Answer::No, {rig.Hwnd()});
    d.PostMessage(WM_PANEL_ESCAPE);
    EXPECT_TRUE(PumpUntil([&] { return rig.Ended(); }));
    EXPECT_EQ(person.Finish(), 0);
}
