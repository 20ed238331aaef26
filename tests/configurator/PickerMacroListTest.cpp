#include "PickerRig.h"
#include "core/ConfigSettings.h"
#include "core/FunctionCodes.h"
#include "core/Messages.h"
#include <gtest/gtest.h>
#include <string>

namespace {

// The main window with the picker shown for no button, its macro folder open on a profile
// whose first n slots are used; BUTTON_4 plays the second macro and BUTTON_5 the third.
bool OpenOnMacros(PickerRig& rig, int macros, int askBeforeDelete = 0)
{
    std::unique_ptr<ConfigData> cfg = MainWindowRig::ShippedConfig();
    ProfileData& p = cfg->profiles[cfg->PROFILE_ID];
    GiveMacros(p, macros);
    p.buttons[3].code = FIRST_MACRO_CODE + 1;
    p.buttons[4].code = FIRST_MACRO_CODE + 2;
    if (!rig.WriteConfig(*cfg) || !SetWarningOptionFlag(rig.ConfDir(), askBeforeDelete ? 0 : 1)) return false;
    if (!rig.OpenMain() || !rig.ShowPicker(-1)) return false;
    if (rig.OpenFolder() != PICKER_FOLDER_MACROS) rig.ClickHeader(PICKER_FOLDER_MACROS);
    return rig.OpenFolder() == PICKER_FOLDER_MACROS;
}

std::vector<HWND> Known(PickerRig& rig)
{
    std::vector<HWND> known = rig.OwnWindows();
    known.push_back(rig.Picker().m_hWnd);
    return known;
}

std::wstring SlotName(PickerRig& rig, int slot)
{
    const ConfigData& c = rig.dlg->m_config;
    return c.profiles[c.PROFILE_ID].macros[slot].MACRO_NAME;
}

}  // namespace

// DELETE asks first unless the person said not to; No keeps everything. A deletion switches
// off the buttons that played the macro and moves the later macros and their buttons down
// one slot, in the working copy, the list and the captions.
TEST(PickerMacros, DeleteAsksUnlessToldNotToAndRenumbersTheButtons)
{
    struct Case {
        const char* name;
        int ask;
        BoxAnswerer::Answer answer;
        bool deleted;
    };
    const Case cases[] = {
        {"asked, kept", 1, BoxAnswerer::Answer::No, false},
        {"asked, deleted", 1, BoxAnswerer::Answer::Yes, true},
        {"not asked", 0, BoxAnswerer::Answer::Close, true},
    };
    for (const Case& c : cases) {
        PickerRig rig;
        ASSERT_TRUE(OpenOnMacros(rig, 3, c.ask)) << c.name;
        CAdvanceFunctionDlg& p = rig.Picker();
        ASSERT_TRUE(ClickOn(p.m_macroList.m_hWnd, ListRowPoint(p.m_macroList, 1)));
        ASSERT_TRUE(PumpUntil([&] { return p.m_macroList.GetCurSel() == 1; })) << c.name;
        rig.Pump(GetDoubleClickTime() + 100);
        ASSERT_TRUE(rig.Bar().m_deleteButton.IsWindowEnabled()) << c.name;
        const ConfigData before = rig.dlg->m_config;
        BoxAnswerer person(c.answer, Known(rig), c.ask ? L"picker-delete-macro-question" : nullptr, c.ask ? WINDOW_WAIT_MS : 1500);
        ClickOnButton(rig.Bar().m_deleteButton);
        rig.Pump(GetDoubleClickTime() + 300);
        EXPECT_EQ(person.Finish(), c.ask) << c.name;
        if (!c.deleted) {
            EXPECT_EQ(CompareConfig(before, rig.dlg->m_config), 0) << c.name;
            EXPECT_EQ(p.m_macroList.GetCount(), 3) << c.name;
            continue;
        }
        EXPECT_EQ(rig.Code(3), 9) << c.name;
        EXPECT_EQ(rig.Code(4), FIRST_MACRO_CODE + 1) << c.name;
        EXPECT_EQ(SlotName(rig, 1), L"Macro 3") << c.name;
        EXPECT_EQ(SlotName(rig, 2), L"") << c.name;
        EXPECT_EQ(p.m_macroList.GetCount(), 2) << c.name;
        EXPECT_EQ(p.m_macroList.GetText(1), L"Macro 3") << c.name;
        EXPECT_EQ(rig.Caption(4), L"Macro 3") << c.name;
        EXPECT_TRUE(rig.dlg->HasUnsavedChanges()) << c.name;
    }
}

// With fifty macros a new one is refused with a notice and no editor; the fiftieth can be
// deleted, leaving its slot free. An edit with no row selected and a DELETE while another
// folder is open do nothing.
TEST(PickerMacros, FiftyAreTheLimitAndNothingIsDoneWithoutARow)
{
    PickerRig rig;
    ASSERT_TRUE(OpenOnMacros(rig, MACRO_COUNT));
    CAdvanceFunctionDlg& p = rig.Picker();
    ASSERT_EQ(p.m_macroList.GetCount(), MACRO_COUNT);
    ASSERT_TRUE(SetWarningFourOptionFlag(rig.ConfDir(), 1));
    const ConfigData before = rig.dlg->m_config;
    {
        BoxAnswerer person(BoxAnswerer::Answer::Close, Known(rig), L"picker-macros-full-notice");
        ClickOnButton(rig.Bar().m_newMacroButton);
        rig.Pump(GetDoubleClickTime() + 300);
        EXPECT_EQ(person.Finish(), 1) << "the notice, and no editor after it";
    }
    EXPECT_EQ(CompareConfig(before, rig.dlg->m_config), 0);
    EXPECT_EQ(p.m_macroList.GetCount(), MACRO_COUNT);

    p.m_macroList.SetCurSel(-1);
    for (UINT message : {WM_EDIT_MACRO, WM_DELETE_MACRO}) {
        BoxAnswerer person(BoxAnswerer::Answer::Close, Known(rig), nullptr, 1500);
        p.SendMessage(message);
        rig.Pump(200);
        EXPECT_EQ(person.Finish(), 0) << message;
    }
    EXPECT_EQ(CompareConfig(before, rig.dlg->m_config), 0);

    rig.dlg->m_config.profiles[rig.dlg->m_config.PROFILE_ID].buttons[5].code = FIRST_MACRO_CODE + 49;
    // The current folder as the picker sets it when it opens one.
    rig.Bar().OpenFolder(PICKER_FOLDER_DPI);
    p.m_macroList.SetCurSel(MACRO_COUNT - 1);
    p.SendMessage(WM_DELETE_MACRO);
    EXPECT_EQ(p.m_macroList.GetCount(), MACRO_COUNT) << "another folder is current";

    rig.Bar().OpenFolder(PICKER_FOLDER_MACROS);
    rig.Pump(100);
    p.SendMessage(WM_DELETE_MACRO);
    EXPECT_EQ(p.m_macroList.GetCount(), MACRO_COUNT - 1);
    EXPECT_EQ(SlotName(rig, MACRO_COUNT - 2), L"Macro 49");
    EXPECT_EQ(SlotName(rig, MACRO_COUNT - 1), L"");
    EXPECT_EQ(rig.Code(5), 9);
    EXPECT_EQ(rig.Code(4), FIRST_MACRO_CODE + 2) << "an earlier macro keeps its code";
}

// A new macro goes to the first free slot as the last row, selected, and the button the
// picker shows plays it; an edited one keeps its row and slot, and its buttons show its new
// name.
TEST(PickerMacros, ANewMacroIsAddedAndGivenToTheButtonAnEditedOneRenamed)
{
    PickerRig rig;
    ASSERT_TRUE(OpenOnMacros(rig, 2));
    CAdvanceFunctionDlg& p = rig.Picker();
    ASSERT_TRUE(rig.ShowPicker(5));
    const int profile = rig.dlg->m_config.PROFILE_ID;
    MacroData made = rig.dlg->m_config.profiles[profile].macros[0];
    CopyField(made.MACRO_NAME, L"Fresh");
    g_bEditMacro = 0;
    p.StoreMacro(profile, 2, made);
    EXPECT_TRUE(PumpUntil([&] { return rig.Code(5) == FIRST_MACRO_CODE + 2; }));
    EXPECT_EQ(p.m_macroList.GetCount(), 3);
    EXPECT_EQ(p.m_macroList.GetCurSel(), 2);
    EXPECT_EQ(SlotName(rig, 2), L"Fresh");
    rig.Pump(200);
    EXPECT_EQ(rig.Caption(5), L"Fresh");

    CopyField(made.MACRO_NAME, L"Renamed");
    g_bEditMacro = 1;
    g_nEditMacro = 1;
    p.StoreMacro(profile, 1, made);
    rig.Pump(200);
    EXPECT_EQ(g_bEditMacro, 0);
    EXPECT_EQ(p.m_macroList.GetCount(), 3);
    EXPECT_EQ(p.m_macroList.GetText(1), L"Renamed");
    EXPECT_EQ(SlotName(rig, 1), L"Renamed");
    EXPECT_EQ(rig.Code(3), FIRST_MACRO_CODE + 1);
    EXPECT_EQ(rig.Caption(3), L"Renamed");
    rig.SaveBoth(L"picker-macros-new-and-renamed");
}
