#include "PickerRig.h"
#include "PersonHand.h"
#include "skinkit/CSkinScrollWnd.h"
#include "skinkit/SkinScrollGeometry.h"
#include "core/FunctionCodes.h"
#include "core/Messages.h"
#include <gtest/gtest.h>
#include <functional>
#include <string>

namespace {

// Where a person picks something in the picker: its folder, the point, its code and text.
struct Pick {
    const char* name;
    int folder;
    std::function<POINT()> where;
    int code;
    std::function<CString()> text;
};

std::vector<Pick> Picks(CAdvanceFunctionDlg& p)
{
    auto command = [&p](size_t root, size_t child) {
        return [&p, root, child] {
            HTREEITEM item = p.m_commandTree.ItemAtPosition(root, child);
            p.m_commandTree.Expand(p.m_commandTree.GetParentItem(item), TVE_EXPAND);
            return TreeItemPoint(p.m_commandTree, item);
        };
    };
    auto commandText = [&p](size_t root, size_t child) {
        return [&p, root, child] { return p.m_commandTree.GetItemText(p.m_commandTree.ItemAtPosition(root, child)); };
    };
    auto row = [](CListBoxEx& list, int r) {
        return [&list, r] {
            list.SendMessage(LB_SETTOPINDEX, (WPARAM)(r > 3 ? r - 3 : 0));
            return ListRowPoint(list, r);
        };
    };
    auto rowText = [](CListBoxEx& list, int r) { return [&list, r] { return list.GetText(r); }; };
    return {
        {"a command", PICKER_FOLDER_COMMANDS, command(1, 2), 203, commandText(1, 2)},
        {"the last command", PICKER_FOLDER_COMMANDS, command(2, 51), 352, commandText(2, 51)},
        {"a DPI stage", PICKER_FOLDER_DPI, row(p.m_dpiList, 2), 18, rowText(p.m_dpiList, 2)},
        {"a DPI step", PICKER_FOLDER_DPI, row(p.m_dpiList, 5), 21, rowText(p.m_dpiList, 5)},
        {"a profile", PICKER_FOLDER_PROFILES, row(p.m_profileList, 3), 35, rowText(p.m_profileList, 3)},
        {"a profile step", PICKER_FOLDER_PROFILES, row(p.m_profileList, 11), 43, rowText(p.m_profileList, 11)},
        {"a macro", PICKER_FOLDER_MACROS, row(p.m_macroList, 1), 1001, rowText(p.m_macroList, 1)},
    };
}

// The rig with three macros and a named profile in the current profile.
bool OpenWithMacros(PickerRig& rig, int macros = 3)
{
    std::unique_ptr<ConfigData> cfg = MainWindowRig::ShippedConfig();
    GiveMacros(cfg->profiles[cfg->PROFILE_ID], macros);
    CopyField(cfg->profiles[3].PROFILE_NAME, L"Arena");
    return rig.WriteConfig(*cfg) && rig.OpenMain();
}

void OpenFolder(PickerRig& rig, int folder)
{
    if (rig.OpenFolder() != folder) rig.ClickHeader(folder);
}

}  // namespace

// A click on a command, a DPI row, a profile row or a macro row gives the button the
// picker shows that function in the working copy, and the button's caption names it.
TEST(PickerPick, AClickedItemBecomesTheFunctionOfTheButtonShown)
{
    PickerRig rig;
    ASSERT_TRUE(OpenWithMacros(rig));
    const int button = 4;
    ASSERT_TRUE(rig.ShowPicker(button));
    CAdvanceFunctionDlg& p = rig.Picker();
    const ConfigData saved = rig.dlg->m_savedConfig;
    const wchar_t* shots[4] = {L"picker-folder-commands", L"picker-folder-dpi", L"picker-folder-profiles",
                               L"picker-folder-macros"};
    for (const Pick& pick : Picks(p)) {
        OpenFolder(rig, pick.folder);
        ASSERT_EQ(rig.OpenFolder(), pick.folder) << pick.name;
        ASSERT_TRUE(ClickOn(p.m_hWnd, pick.where())) << pick.name;
        EXPECT_TRUE(PumpUntil([&] { return rig.Code(button) == pick.code; })) << pick.name;
        rig.Pump(GetDoubleClickTime() + 100);
        EXPECT_EQ(rig.Caption(button), pick.text()) << pick.name;
        EXPECT_EQ(rig.dlg->m_mouseButtons[button].m_strToolTip, pick.text()) << pick.name;
        rig.SaveBoth(shots[pick.folder]);
    }
    EXPECT_TRUE(rig.dlg->HasUnsavedChanges());
    EXPECT_EQ(CompareConfig(saved, rig.dlg->m_savedConfig), 0) << "the saved copy waits for Apply";
    EXPECT_EQ(rig.Code(button - 1), saved.profiles[saved.PROFILE_ID].buttons[button - 1].code) << "only that button";
}

// Held and dragged onto a mouse-button image, an item gives that button its function,
// whichever button the picker shows (here none); a target outside the code's range
// refuses it: the profile buttons take profiles, the left button keeps its click.
TEST(PickerPick, AnItemDraggedOntoAMouseButtonBecomesItsFunction)
{
    PickerRig rig;
    ASSERT_TRUE(OpenWithMacros(rig));
    ASSERT_TRUE(rig.ShowPicker(-1));
    CAdvanceFunctionDlg& p = rig.Picker();
    CAPDlg& d = *rig.dlg;
    const int target = 5;
    for (const Pick& pick : Picks(p)) {
        OpenFolder(rig, pick.folder);
        DragWithTheMouse(pick.where(), ScreenCenter(d.m_mouseButtons[target].m_hWnd));
        EXPECT_TRUE(PumpUntil([&] { return rig.Code(target) == pick.code; })) << pick.name;
        rig.Pump(GetDoubleClickTime());
        EXPECT_EQ(rig.Caption(target), pick.text()) << pick.name;
    }
    rig.SaveBoth(L"picker-after-drags");

    const ConfigData before = d.m_config;
    OpenFolder(rig, PICKER_FOLDER_DPI);
    for (HWND refusing : {d.m_profileButtons[6].m_hWnd, d.m_mouseButtons[0].m_hWnd}) {
        DragWithTheMouse(ListRowPoint(p.m_dpiList, 0), ScreenCenter(refusing));
        rig.Pump(300);
        EXPECT_EQ(CompareConfig(before, d.m_config), 0);
    }
    EXPECT_EQ(d.m_config.PROFILE_ID, before.PROFILE_ID);
}

// A group node of the tree is no function, a group without commands (a damaged catalogue)
// included: a click on it stores nothing.
TEST(PickerPick, AGroupNodeIsNoFunction)
{
    PickerRig rig(MainWindowRig::Program::Copy);
    // An empty camera group ahead of the real one.
    rig.EditProgramFile(L"Functions.xml", L"<CAMERA_FUNCTIONS Strings=\"Camera\">",
                        L"<CAMERA_FUNCTIONS Strings=\"No commands\"></CAMERA_FUNCTIONS><CAMERA_FUNCTIONS Strings=\"Camera\">");
    ASSERT_TRUE(rig.OpenMain());
    const int button = 3;
    ASSERT_TRUE(rig.ShowPicker(button));
    CAdvanceFunctionDlg& p = rig.Picker();
    OpenFolder(rig, PICKER_FOLDER_COMMANDS);
    HTREEITEM empty = p.m_commandTree.GetRootItem();
    for (int i = 0; i < 5; ++i) empty = p.m_commandTree.GetNextSiblingItem(empty);
    ASSERT_EQ(p.m_commandTree.GetItemText(empty), L"No commands");
    ASSERT_FALSE(p.m_commandTree.ItemHasChildren(empty));
    const int before = rig.Code(button);
    for (HTREEITEM group : {empty, p.m_commandTree.GetRootItem()}) {
        ASSERT_TRUE(ClickOn(p.m_commandTree.m_hWnd, TreeItemPoint(p.m_commandTree, group)));
        rig.Pump(GetDoubleClickTime() + 200);
        EXPECT_EQ(rig.Code(button), before);
    }
    EXPECT_FALSE(rig.dlg->HasUnsavedChanges());
}

// Esc and Alt+F4 in the picker end the program at once, unsaved changes or not; Enter
// does nothing.
TEST(PickerPick, EscAndAltF4InThePickerEndTheProgram)
{
    for (bool altF4 : {false, true}) {
        PickerRig rig;
        ASSERT_TRUE(rig.OpenMain());
        ASSERT_TRUE(rig.ShowPicker(3));
        CAdvanceFunctionDlg& p = rig.Picker();
        p.SetForegroundWindow();
        EXPECT_TRUE(WindowInFront(p.m_hWnd));
        p.m_commandTree.SetFocus();
        rig.Pump(100);
        ASSERT_EQ(GetForegroundWindow(), p.m_hWnd);
        rig.dlg->m_config.POLLING_RATE = rig.dlg->m_config.POLLING_RATE == 1 ? 2 : 1;
        KeyTap(VK_RETURN);
        rig.Pump(200);
        EXPECT_FALSE(rig.Ended()) << "Enter does nothing";
        BoxAnswerer person(BoxAnswerer::Answer::No, {rig.Hwnd(), p.m_hWnd}, nullptr, 1500);
        if (altF4) {
            INPUT in[4] = {};
            WORD keys[4] = {VK_LMENU, VK_F4, VK_F4, VK_LMENU};
            for (int i = 0; i < 4; ++i) {
                in[i].type = INPUT_KEYBOARD;
                in[i].ki.wVk = keys[i];
                in[i].ki.wScan = (WORD)MapVirtualKeyW(keys[i], MAPVK_VK_TO_VSC);
                in[i].ki.dwFlags = i >= 2 ? KEYEVENTF_KEYUP : 0;
            }
            SendInput(4, in, sizeof(INPUT));
        } else {
            KeyTap(VK_ESCAPE);
        }
        EXPECT_TRUE(PumpUntil([&] { return rig.Ended(); })) << (altF4 ? "Alt+F4" : "Esc");
        EXPECT_EQ(person.Finish(), 0) << "nothing asked";
    }
}

// A mouse button pressed while the program is in front, as the service reports it from
// its own process: the button is highlighted and the picker slides in for it; with the
// picker shown, another press only shows the other button.
TEST(PickerPick, AButtonPressedOnTheMouseOpensThePickerForIt)
{
    PickerRig rig;
    std::unique_ptr<ConfigData> cfg = MainWindowRig::ShippedConfig();
    cfg->profiles[cfg->PROFILE_ID].buttons[4].code = 402;
    cfg->profiles[cfg->PROFILE_ID].buttons[7].code = 19;
    ASSERT_TRUE(rig.WriteConfig(*cfg));
    ASSERT_TRUE(rig.OpenMain());
    CAPDlg& d = *rig.dlg;
    auto press = [](int button, int state) {
        return PostFromSecondProcess(GEARLOOM_MAIN_TITLE, WM_SERVICE_BUTTON_STATE, button, state);
    };
    ASSERT_EQ(press(4, 1), 0u);
    ASSERT_TRUE(PumpUntil([&] { return d.m_bPickerShown == 1; }));
    rig.Pump(100);
    CAdvanceFunctionDlg& p = rig.Picker();
    EXPECT_EQ(p.m_nButton, 4);
    for (int i = 0; i < BUTTON_COUNT; ++i) EXPECT_EQ(d.m_mouseButtons[i].GetCheck(), i == 4 ? 1 : 0) << i;
    EXPECT_EQ(rig.OpenFolder(), PICKER_FOLDER_COMMANDS);
    EXPECT_EQ(p.m_commandTree.ItemCode(p.m_commandTree.GetSelectedItem()), 402);
    EXPECT_EQ(p.GetWindowRect().left, d.GetWindowRect().right - 16) << "docked at the right edge";
    rig.SaveBoth(L"picker-opened-by-a-mouse-button");

    ASSERT_EQ(press(7, 0), 0u);
    rig.Pump(200);
    EXPECT_EQ(p.m_nButton, 4) << "a release does nothing";
    ASSERT_EQ(press(7, 1), 0u);
    EXPECT_TRUE(PumpUntil([&] { return p.m_nButton == 7; }));
    rig.Pump(100);
    EXPECT_EQ(d.m_mouseButtons[7].GetCheck(), 1);
    EXPECT_EQ(d.m_mouseButtons[4].GetCheck(), 0);
    EXPECT_EQ(rig.OpenFolder(), PICKER_FOLDER_DPI);
    EXPECT_EQ(p.m_dpiList.GetCurSel(), 3);
    EXPECT_EQ(d.m_bPickerShown, 1);
    EXPECT_TRUE(p.IsWindowVisible());
    EXPECT_FALSE(d.HasUnsavedChanges());
}

// The skinned bars follow the macro list and the command tree when they scroll by the
// wheel, by keys and by the bar's thumb.
TEST(PickerPick, TheScrollBarsFollowTheLists)
{
    PickerRig rig;
    std::unique_ptr<ConfigData> cfg = MainWindowRig::ShippedConfig();
    GiveMacros(cfg->profiles[cfg->PROFILE_ID], 40);
    cfg->profiles[cfg->PROFILE_ID].buttons[6].code = 1039;
    ASSERT_TRUE(rig.WriteConfig(*cfg));
    ASSERT_TRUE(rig.OpenMain());
    // Shown for a button playing the fortieth macro: the list is scrolled to it.
    ASSERT_TRUE(rig.ShowPicker(6));
    CAdvanceFunctionDlg& p = rig.Picker();
    CListBoxEx& list = p.m_macroList;
    ASSERT_EQ(rig.OpenFolder(), PICKER_FOLDER_MACROS);
    ASSERT_EQ(list.GetCurSel(), 39);
    CSkinScrollWnd* frame = SkinScrollFrameOf(list.m_hWnd);
    ASSERT_NE(frame, nullptr);
    CSkinScrollBar& bar = frame->m_vertBar;
    auto top = [&] { return (int)list.SendMessage(LB_GETTOPINDEX); };
    auto follows = [&] { return PumpUntil([&] { return bar.m_si.nPos == top(); }); };
    EXPECT_GT(top(), 20);
    EXPECT_TRUE(follows());
    EXPECT_TRUE(bar.IsWindowVisible());
    rig.SaveBoth(L"picker-macros-scrolled");

    MouseMoveTo(ScreenCenter(list.m_hWnd));
    rig.Pump(100);
    int before = top();
    for (int i = 0; i < 3; ++i) MouseWheel(WHEEL_DELTA);
    EXPECT_TRUE(PumpUntil([&] { return top() == before - 3; })) << "wheel";
    EXPECT_TRUE(follows()) << "wheel";

    list.SetFocus();
    // Page Up moves the caret to the top row first, and the list only with the second.
    for (WORD vk : {VK_HOME, VK_END, VK_PRIOR}) {
        int was = top();
        for (int i = 0; i < 2 && top() == was; ++i) {
            KeyTap(vk, true);
            PumpUntil([&] { return top() != was; }, 700);
        }
        EXPECT_NE(top(), was) << vk;
        EXPECT_TRUE(follows()) << vk;
    }

    before = top();
    ScrollParts parts = MeasureScrollParts(bar.m_nLength, bar.m_nPartWidth, bar.m_si, bar.m_si.nPos, false);
    POINT from = {bar.m_nPartWidth / 2, parts.arrow + parts.offset + parts.thumb / 2};
    bar.ClientToScreen(&from);
    WhilePersonActs([from] {
        MouseMoveTo(from);
        Sleep(100);
        MouseButton(true, true);
        Sleep(100);
        for (int i = 1; i <= 6; ++i) {
            MouseMoveTo(POINT{from.x, from.y - 15 * i});
            Sleep(60);
        }
        Sleep(150);
        MouseButton(true, false);
    });
    EXPECT_TRUE(PumpUntil([&] { return top() < before; })) << "thumb";
    EXPECT_TRUE(follows()) << "thumb";
    rig.SaveBoth(L"picker-macros-thumb-dragged");

    // The tree, every group open: its bar follows the keys and the wheel too.
    OpenFolder(rig, PICKER_FOLDER_COMMANDS);
    CTreeCtrlEx& tree = p.m_commandTree;
    for (HTREEITEM g = tree.GetRootItem(); g; g = tree.GetNextSiblingItem(g)) tree.Expand(g, TVE_EXPAND);
    CSkinScrollBar& treeBar = SkinScrollFrameOf(tree.m_hWnd)->m_vertBar;
    auto treePos = [&] {
        SCROLLINFO si = {sizeof(si), SIF_POS};
        GetScrollInfo(tree.m_hWnd, SB_VERT, &si);
        return si.nPos;
    };
    tree.SetFocus();
    MouseMoveTo(ScreenCenter(tree.m_hWnd));
    rig.Pump(100);
    KeyTap(VK_END, true);
    EXPECT_TRUE(PumpUntil([&] { return treePos() > 0; }));
    EXPECT_TRUE(PumpUntil([&] { return treeBar.m_si.nPos == treePos(); }));
    int was = treePos();
    for (int i = 0; i < 4; ++i) MouseWheel(WHEEL_DELTA);
    EXPECT_TRUE(PumpUntil([&] { return treePos() < was; }));
    EXPECT_TRUE(PumpUntil([&] { return treeBar.m_si.nPos == treePos(); }));
    rig.SaveBoth(L"picker-commands-scrolled");
    // Keys and the wheel pick nothing, whatever command the pointer rests on.
    EXPECT_EQ(rig.Code(6), 1039);
}
