#include "ConfiguratorRig.h"
#include "configurator/function_picker/CAdvanceFunctionDlg.h"
#include <gtest/gtest.h>

namespace {

const int kButton = 3;  // mouse button 4
// A caption and a slot that no case gives, to see what a case leaves alone.
const wchar_t* const kBefore = L"Right Click";
const int kBeforeCode = 2;

struct Case {
    int code;
    bool scroll;            // the scroll-button popup's variant
    const wchar_t* caption; // null: caption and tooltip stay as they were
    int slot;               // the slot afterwards
    bool picker;            // the picker was asked to show the button
};

void Prepare(CAPDlg& d)
{
    d.ShowButtonAssignment(kBeforeCode, kButton);
    ASSERT_EQ(d.m_mouseButtons[kButton].GetCaption(), kBefore);
    ASSERT_EQ(d.m_config.profiles[d.m_config.PROFILE_ID].buttons[kButton].code, kBeforeCode);
}

// One case from the caption the button had before: its caption and tooltip, and the slot of
// the current profile.
void Check(CAPDlg& d, const Case& c)
{
    SCOPED_TRACE(testing::Message() << "code " << c.code << (c.scroll ? " (scroll)" : ""));
    Prepare(d);
    if (c.scroll)
        d.ShowScrollButtonAssignment(c.code, kButton);
    else
        d.ShowButtonAssignment(c.code, kButton);
    CBitmapBtn& b = d.m_mouseButtons[kButton];
    const wchar_t* expected = c.caption ? c.caption : kBefore;
    EXPECT_EQ(b.GetCaption(), expected);
    EXPECT_EQ(b.m_strToolTip, expected);
    EXPECT_EQ(d.m_config.profiles[d.m_config.PROFILE_ID].buttons[kButton].code, c.slot);
}

}  // namespace

// Every family of codes through both variants: the caption and the tooltip always agree,
// the basic codes are written into the slot, other codes only shown, code 13 opens the
// picker, and codes with no caption leave the button as it was.
TEST(Captions, EveryFamilyOfCodes)
{
    MainWindowRig rig;
    std::unique_ptr<ConfigData> cfg = MainWindowRig::ShippedConfig();
    cfg->PROFILE_ID = 1;
    CopyField(cfg->profiles[3].PROFILE_NAME, L"Fourth & last");
    CopyField(cfg->profiles[1].macros[49].MACRO_NAME, L"Fiftieth <macro>");
    CopyField(cfg->profiles[1].macros[0].MACRO_NAME, L"");
    ASSERT_TRUE(rig.WriteConfig(*cfg));
    ASSERT_TRUE(rig.Open());
    CAPDlg& d = *rig.dlg;

    const Case cases[] = {
        {1, false, L"Left Click", 1, false},
        {2, false, L"Right Click", 2, false},
        {3, false, L"Double Click", 3, false},
        {4, false, L"Mouse Button 4", 4, false},
        {5, false, L"Mouse Button 5", 5, false},
        {6, false, L"Middle Click", 6, false},
        {9, false, L"Disabled", 9, false},
        {11, false, nullptr, kBeforeCode, false},
        {12, false, nullptr, kBeforeCode, false},
        {13, false, L"Button Assignments", kBeforeCode, true},
        {16, false, L"400 DPI", kBeforeCode, false},
        {19, false, L"3200 DPI", kBeforeCode, false},
        {20, false, L"DPI Up", kBeforeCode, false},
        {21, false, L"DPI Down", kBeforeCode, false},
        {35, false, L"Fourth & last", kBeforeCode, false},
        {42, false, L"Next Profile", kBeforeCode, false},
        {43, false, L"Previous Profile", kBeforeCode, false},
        {80, false, L"Stop Casting and Attacking", 80, false},
        {81, false, L"Set Focus", 81, false},
        {82, false, L"Dismount", 82, false},
        {101, false, L"Move and Steer", kBeforeCode, false},
        {113, false, L"Pitch Down", kBeforeCode, false},
        {352, false, L"Next Action Bar", kBeforeCode, false},
        {709, false, L"Screenshot", kBeforeCode, false},
        {1049, false, L"Fiftieth <macro>", kBeforeCode, false},
        {1000, false, L"", kBeforeCode, false},
        // Codes without a caption.
        {0, false, nullptr, kBeforeCode, false},
        {-1, false, nullptr, kBeforeCode, false},
        {7, false, nullptr, kBeforeCode, false},
        {22, false, nullptr, kBeforeCode, false},
        {44, false, nullptr, kBeforeCode, false},
        {115, false, nullptr, kBeforeCode, false},
        {1050, false, nullptr, kBeforeCode, false},
        // The scroll-button popup's variant knows 11 and 12, not 6.
        {6, true, nullptr, kBeforeCode, false},
        {11, true, L"Scroll Up", 11, false},
        {12, true, L"Scroll Down", 12, false},
        {9, true, L"Disabled", 9, false},
        {80, true, L"Stop Casting and Attacking", 80, false},
        {13, true, L"Button Assignments", kBeforeCode, true},
        {17, true, L"800 DPI", kBeforeCode, false},
    };
    for (const Case& c : cases) {
        if (g_pAdvanceFunctionDlg) g_pAdvanceFunctionDlg->SelectCurrentFunction(-1);
        Check(d, c);
        EXPECT_EQ(g_pAdvanceFunctionDlg && g_pAdvanceFunctionDlg->m_nButton == kButton, c.picker);
        // Only the current profile's slot is ever written.
        EXPECT_EQ(d.m_config.profiles[0].buttons[kButton].code, d.m_savedConfig.profiles[0].buttons[kButton].code);
    }
    // A button index outside the eleven changes nothing at all.
    d.ShowButtonAssignment(1, 11);
    d.ShowButtonAssignment(1, -1);
    EXPECT_EQ(d.m_mouseButtons[kButton].GetCaption(), L"800 DPI");
    rig.Pump(100);
    SaveWindowPng(rig.Hwnd(), L"main-captions");
}

// The texts come from the files at every call: a scroll family with its own texts, two
// button families of which the last one wins, a missing DPI family, a basic function
// without its text (which then is not assigned either).
TEST(Captions, FollowTheMenuFile)
{
    MainWindowRig rig(MainWindowRig::Program::Copy);
    rig.EditProgramFile(L"Menu.xml", L"<BUTTON_OFF>Disabled</BUTTON_OFF>\r\n</SCROLL_BUTTON_MENU>",
                        L"<BUTTON_OFF>Wheel off</BUTTON_OFF>\r\n</SCROLL_BUTTON_MENU>");
    rig.EditProgramFile(L"Menu.xml", L"<CHANGE_DPI>", L"<CHANGE_DPX>");
    rig.EditProgramFile(L"Menu.xml", L"</CHANGE_DPI>", L"</CHANGE_DPX>");
    rig.EditProgramFile(L"Menu.xml", L"<DOUBLE_CLICK>Double Click</DOUBLE_CLICK>\r\n<WINDOWS_BUTTON_4>",
                        L"<WINDOWS_BUTTON_4>");
    rig.EditProgramFile(L"Menu.xml", L"</BUTTON_MENU>",
                        L"</BUTTON_MENU>\r\n<BUTTON_MENU>\r\n<LEFT_CLICK>Primary</LEFT_CLICK>\r\n</BUTTON_MENU>");
    ASSERT_TRUE(rig.Open());
    CAPDlg& d = *rig.dlg;
    const int p = d.m_config.PROFILE_ID;

    const Case cases[] = {
        {9, true, L"Wheel off", 9, false},
        {9, false, L"Disabled", 9, false},
        {1, false, L"Primary", 1, false},
        {1, true, L"Left Click", 1, false},
        {16, false, nullptr, kBeforeCode, false},
        {3, false, nullptr, kBeforeCode, false},
        {3, true, L"Double Click", 3, false},
    };
    for (const Case& c : cases) Check(d, c);

    // Without the file nothing changes.
    Prepare(d);
    DeleteFileW(rig.AppDir() + L"Menu.xml");
    d.ShowButtonAssignment(9, kButton);
    EXPECT_EQ(d.m_mouseButtons[kButton].GetCaption(), kBefore);
    EXPECT_EQ(d.m_config.profiles[p].buttons[kButton].code, kBeforeCode);
}

// A slot holding 13 (from the file) opens the picker for its button at every refresh.
TEST(Captions, StoredCodeThirteenOpensThePicker)
{
    MainWindowRig rig;
    std::unique_ptr<ConfigData> cfg = MainWindowRig::ShippedConfig();
    cfg->profiles[cfg->PROFILE_ID].buttons[5].code = 13;
    ASSERT_TRUE(rig.WriteConfig(*cfg));
    ASSERT_TRUE(rig.Open());
    CAPDlg& d = *rig.dlg;
    ASSERT_NE(g_pAdvanceFunctionDlg, nullptr);
    EXPECT_EQ(g_pAdvanceFunctionDlg->m_nButton, 5);
    EXPECT_EQ(g_pAdvanceFunctionDlg->m_pConfig, &d.m_config);
    EXPECT_EQ(d.m_mouseButtons[5].GetCaption(), L"Button Assignments");
    EXPECT_EQ(d.m_config.profiles[d.m_config.PROFILE_ID].buttons[5].code, 13);
    EXPECT_FALSE(d.HasUnsavedChanges());
    g_pAdvanceFunctionDlg->SelectCurrentFunction(-1);
    d.RefreshFromProfile();
    EXPECT_EQ(g_pAdvanceFunctionDlg->m_nButton, 5);
    CAdvanceFunctionDlg* picker = g_pAdvanceFunctionDlg;
    rig.Close();
    // The picker goes with the main window.
    EXPECT_EQ(g_pAdvanceFunctionDlg, nullptr);
    (void)picker;
}
