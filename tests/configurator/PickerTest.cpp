#include "PickerRig.h"
#include "core/FunctionCatalogue.h"
#include "core/FunctionCodes.h"
#include "core/Messages.h"
#include <gtest/gtest.h>
#include <string>

namespace {

// The region's bounding box in the window's coordinates; empty without a region.
RECT RegionBox(HWND hwnd)
{
    RECT box = {};
    HRGN region = CreateRectRgn(0, 0, 0, 0);
    if (GetWindowRgn(hwnd, region) != ERROR) GetRgnBox(region, &box);
    DeleteObject(region);
    return box;
}

}  // namespace

// Made on first use: hidden, of its picture's size and shape, its side bar with the four
// folders filled from the catalogue and the working copy, the close button captioned.
TEST(Picker, MadeFromTheSkinTheCatalogueAndTheWorkingCopy)
{
    PickerRig rig;
    std::unique_ptr<ConfigData> cfg = MainWindowRig::ShippedConfig();
    cfg->PROFILE_ID = 3;
    GiveMacros(cfg->profiles[3], 4);
    // A hand-edited file may leave a gap; the list shows the used slots in slot order.
    CopyField(cfg->profiles[3].macros[7].MACRO_NAME, L"After a gap");
    CopyField(cfg->profiles[6].PROFILE_NAME, L"Dungeon night");
    ASSERT_TRUE(rig.WriteConfig(*cfg));
    ASSERT_TRUE(rig.OpenMain());
    CAdvanceFunctionDlg& p = rig.Picker();

    EXPECT_FALSE(p.IsWindowVisible());
    EXPECT_EQ(p.m_nPanelWidth, 230);
    EXPECT_EQ(p.m_nPanelHeight, 470);
    RECT r = p.GetWindowRect();
    EXPECT_EQ(r.right - r.left, 230);
    EXPECT_EQ(r.bottom - r.top, 470);
    RECT box = RegionBox(p.m_hWnd);
    EXPECT_FALSE(IsRectEmpty(&box)) << "cut to its mask";
    EXPECT_EQ(p.GetParentHwnd(), rig.Hwnd()) << "owned by the main window";
    EXPECT_EQ(p.m_pConfig, &rig.dlg->m_config);

    EXPECT_EQ(rig.Bar().GetFolderCount(), 4);
    EXPECT_EQ(rig.Bar().GetRectInParent().top, 80);
    EXPECT_EQ(p.m_commandTree.GetCount(), 7u + 131u);
    EXPECT_EQ(p.m_dpiList.GetCount(), 6);
    ASSERT_EQ(p.m_profileList.GetCount(), 12);
    EXPECT_EQ(p.m_profileList.GetText(6), L"Dungeon night");
    EXPECT_EQ(p.m_profileList.GetText(10), L"Next Profile");
    EXPECT_EQ(p.m_profileList.GetCurSel(), -1);
    ASSERT_EQ(p.m_macroList.GetCount(), 5);
    EXPECT_EQ(p.m_macroList.GetText(0), L"Macro 1");
    EXPECT_EQ(p.m_macroList.GetText(4), L"After a gap");
    const wchar_t* captions[4] = {L"Game Commands", L"DPI", L"Profiles", L"Macros"};
    for (int i = 0; i < 4; ++i) EXPECT_EQ(p.m_strFolderCaption[i], captions[i]) << i;
    EXPECT_EQ(p.m_closeButton.GetCaption(), L"Close");
    EXPECT_NE(p.m_closeButton.m_bDownwardCaption[0], 0);

    // The main window's views refresh it: another profile shows its own macros.
    rig.dlg->SelectProfile(4);
    EXPECT_EQ(p.m_macroList.GetCount(), 0);
}

// The picker opened for a button shows that button's function: its folder open alone and
// its row or command selected; a code no folder offers closes them all.
TEST(Picker, ShowsTheFunctionOfTheButtonItIsOpenedFor)
{
    PickerRig rig;
    std::unique_ptr<ConfigData> cfg = MainWindowRig::ShippedConfig();
    GiveMacros(cfg->profiles[cfg->PROFILE_ID], 3);
    ASSERT_TRUE(rig.WriteConfig(*cfg));
    ASSERT_TRUE(rig.OpenMain());
    CAdvanceFunctionDlg& p = rig.Picker();
    ProfileData& profile = rig.dlg->m_config.profiles[rig.dlg->m_config.PROFILE_ID];
    const int button = 6;

    struct Case {
        int code;
        int folder;
        int row;  // list row, or the command's child position under root group - 1
        int group;
    } cases[] = {
        {305, PICKER_FOLDER_COMMANDS, 4, 3}, {709, PICKER_FOLDER_COMMANDS, 8, 7}, {37, PICKER_FOLDER_PROFILES, 5, 0},
        {43, PICKER_FOLDER_PROFILES, 11, 0},  {17, PICKER_FOLDER_DPI, 1, 0},       {22, PICKER_FOLDER_DPI, -1, 0},
        {1002, PICKER_FOLDER_MACROS, 2, 0},  {1, PICKER_FOLDER_NONE, -1, 0},     {1050, PICKER_FOLDER_NONE, -1, 0},
    };
    for (const Case& c : cases) {
        p.SelectCurrentFunction(-1);
        p.m_dpiList.SetCurSel(-1);
        p.m_profileList.SetCurSel(-1);
        p.m_macroList.SetCurSel(-1);
        profile.buttons[button].code = c.code;
        p.SelectCurrentFunction(button);
        EXPECT_EQ(p.m_nButton, button) << c.code;
        EXPECT_EQ(rig.OpenFolder(), c.folder) << c.code;
        if (c.folder == PICKER_FOLDER_NONE) continue;
        if (c.folder == PICKER_FOLDER_COMMANDS) {
            HTREEITEM item = p.m_commandTree.GetSelectedItem();
            EXPECT_EQ(p.m_commandTree.ItemCode(item), c.code);
            EXPECT_EQ(item, p.m_commandTree.ItemAtPosition(c.group - 1, c.row));
            EXPECT_EQ(GetFocus(), p.m_commandTree.m_hWnd) << "the tree takes the keys";
            EXPECT_EQ(rig.Bar().m_nCurrentFolder, PICKER_FOLDER_COMMANDS);
            continue;
        }
        CListBoxEx& list = c.folder == PICKER_FOLDER_DPI        ? p.m_dpiList
                           : c.folder == PICKER_FOLDER_PROFILES ? p.m_profileList
                                                                : p.m_macroList;
        EXPECT_EQ(list.GetCurSel(), c.row) << c.code;
    }
    rig.Pump(100);

    // Without a button (the main window's own button), or with an index no slot has,
    // nothing is shown and a later pick stores nothing.
    profile.buttons[button].code = 17;
    p.SelectCurrentFunction(button);
    for (int none : {-1, 11, 15, -7}) {
        p.SelectCurrentFunction(none);
        EXPECT_EQ(p.m_nButton, -1) << none;
        EXPECT_EQ(rig.OpenFolder(), PICKER_FOLDER_DPI) << "no folder changes";
    }
    const ConfigData before = rig.dlg->m_config;
    p.SendMessage(WM_SELECT_CODE, 18, 0);
    EXPECT_EQ(CompareConfig(before, rig.dlg->m_config), 0);
}

// A pick is stored only when it is a code the picker offers: nothing the tree's group nodes,
// a stray message or a damaged catalogue could send.
TEST(Picker, StoresOnlyTheCodesItOffers)
{
    PickerRig rig;
    ASSERT_TRUE(rig.OpenMain());
    CAdvanceFunctionDlg& p = rig.Picker();
    const int button = 4;
    p.SelectCurrentFunction(button);
    const int before = rig.Code(button);
    for (int code : {-1, 0, 1, 6, 9, 11, 13, 22, 31, 44, 80, 100, 115, 710, 999, 1050, 1200, 65535}) {
        p.SendMessage(WM_SELECT_CODE, (WPARAM)code, 0);
        EXPECT_EQ(rig.Code(button), before) << code;
    }
    EXPECT_FALSE(rig.dlg->HasUnsavedChanges());
    for (int code : {16, 21, 32, 43, 101, 352, 709, 1000, 1049}) {
        p.SendMessage(WM_SELECT_CODE, (WPARAM)code, 0);
        EXPECT_EQ(rig.Code(button), code);
    }
}

// The slide: the panel emerges from its target, 15 pixels a tick, with what shows always
// beginning at the target (the main window's right edge), and retracts into it the same
// way; the main window hears when each slide has ended.
TEST(Picker, SlidesOutOfTheMainWindowsRightEdgeAndBackIn)
{
    PickerRig rig;
    ASSERT_TRUE(rig.OpenMain());
    CAdvanceFunctionDlg& p = rig.Picker();
    CAPDlg& d = *rig.dlg;
    const RECT main = d.GetWindowRect();
    const int W = p.m_nPanelWidth;

    // The ticks are given by hand, so each one is seen.
    d.ShowAssignmentsPanel(3);
    p.KillTimer(CAdvanceFunctionDlg::SLIDE_IN_TIMER);
    EXPECT_EQ(p.m_nTargetX, main.right - 18);
    EXPECT_EQ(p.m_nTargetY, main.top + 89);
    EXPECT_EQ(p.m_nClipMode, 1);
    EXPECT_EQ(p.m_bSliding, 1);
    std::vector<int> offsets;
    while (p.m_nSlideOffset > 0 && offsets.size() < 100) {
        int offset = p.m_nSlideOffset;
        offsets.push_back(offset);
        p.SendMessage(WM_TIMER, CAdvanceFunctionDlg::SLIDE_IN_TIMER, 0);
        RECT r = p.GetWindowRect();
        RECT box = RegionBox(p.m_hWnd);
        EXPECT_EQ(r.left, p.m_nTargetX - offset);
        EXPECT_EQ(r.right - r.left, W);
        if (offset == W) {
            EXPECT_TRUE(IsRectEmpty(&box)) << "nothing shows at first";
        } else {
            EXPECT_GE(r.left + box.left, p.m_nTargetX) << "nothing shows left of the edge, offset " << offset;
        }
        EXPECT_TRUE(p.IsWindowVisible());
        EXPECT_EQ(d.m_bPickerShown, 0) << "not shown while it slides";
        if (offset == 125) {
            rig.Pump(100);
            rig.SaveBoth(L"picker-sliding-in");
        }
    }
    std::vector<int> expected;
    for (int o = W; o > 0; o -= 15) expected.push_back(o);
    EXPECT_EQ(offsets, expected);
    EXPECT_EQ(offsets.back(), 5);
    p.SendMessage(WM_TIMER, CAdvanceFunctionDlg::SLIDE_IN_TIMER, 0);
    EXPECT_EQ(p.m_bSliding, 0);
    PumpUntil([&] { return d.m_bPickerShown == 1; });
    EXPECT_EQ(d.m_bPickerShown, 1);
    RECT full = RegionBox(p.m_hWnd);
    EXPECT_LT(full.left, 15) << "the whole mask again";
    // Shown, it is docked 16 pixels inside the main window's right edge (once the window
    // system has answered every step of the slide).
    EXPECT_TRUE(WindowPlaced(p.m_hWnd, RECT{main.right - 16, main.top + 89, main.right - 16 + W, main.top + 89 + p.m_nPanelHeight}));
    RECT docked = p.GetWindowRect();
    EXPECT_EQ(docked.left, main.right - 16);
    EXPECT_EQ(docked.top, main.top + 89);

    d.HideAssignmentsPanel();
    p.KillTimer(CAdvanceFunctionDlg::SLIDE_OUT_TIMER);
    const int target = p.m_nTargetX;
    EXPECT_EQ(target, p.GetWindowRect().left);
    offsets.clear();
    while (p.IsWindowVisible() && offsets.size() < 100) {
        int offset = p.m_nSlideOffset;
        offsets.push_back(offset);
        p.SendMessage(WM_TIMER, CAdvanceFunctionDlg::SLIDE_OUT_TIMER, 0);
        if (!p.IsWindowVisible()) break;
        RECT r = p.GetWindowRect();
        EXPECT_EQ(r.left, target - offset);
        RECT box = RegionBox(p.m_hWnd);
        if (!IsRectEmpty(&box)) {
            EXPECT_GE(r.left + box.left, target);
        }
        EXPECT_EQ(d.m_bPickerShown, 1) << "shown while it slides back";
    }
    expected.clear();
    for (int o = 0; o < W; o += 15) expected.push_back(o);
    EXPECT_EQ(offsets, expected);
    EXPECT_EQ(p.m_bSliding, 0);
    PumpUntil([&] { return d.m_bPickerShown == 0; });
    EXPECT_EQ(d.m_bPickerShown, 0);
}

// One slide at a time: a slide started while the other runs turns it round where it is,
// and the panel ends where the last one sends it, its main window told once.
TEST(Picker, ASlideStartedDuringTheOtherTurnsItRound)
{
    PickerRig rig;
    ASSERT_TRUE(rig.OpenMain());
    CAdvanceFunctionDlg& p = rig.Picker();
    CAPDlg& d = *rig.dlg;
    ASSERT_TRUE(rig.ShowPicker(3));
    const int target = p.GetWindowRect().left;

    d.HideAssignmentsPanel();
    p.KillTimer(CAdvanceFunctionDlg::SLIDE_OUT_TIMER);
    for (int i = 0; i < 3; ++i) p.SendMessage(WM_TIMER, CAdvanceFunctionDlg::SLIDE_OUT_TIMER, 0);
    EXPECT_EQ(p.m_nSlideOffset, 45);
    // Shown again half-way: it comes back from where it is, not from nothing.
    p.SlideIn();
    EXPECT_EQ(p.m_nSlideOffset, 45);
    EXPECT_TRUE(PumpUntil([&] { return p.m_bSliding == 0; }));
    PumpUntil([&] { return d.m_bPickerShown == 1; });
    EXPECT_TRUE(p.IsWindowVisible());
    // Docked where it was, 16 pixels inside the main window's right edge.
    RECT was = p.GetWindowRect();
    OffsetRect(&was, target - was.left, 0);
    EXPECT_TRUE(WindowPlaced(p.m_hWnd, was));
    EXPECT_EQ(p.GetWindowRect().left, target);
    EXPECT_EQ(target, d.GetWindowRect().right - 16);
    EXPECT_EQ(d.m_bPickerShown, 1);

    // Closed while sliding in: it goes back into the same edge.
    p.ShowWindow(SW_HIDE);
    d.SendMessage(WM_PANEL_STATE, 0, 54);
    d.ShowAssignmentsPanel(3);
    p.KillTimer(CAdvanceFunctionDlg::SLIDE_IN_TIMER);
    for (int i = 0; i < 5; ++i) p.SendMessage(WM_TIMER, CAdvanceFunctionDlg::SLIDE_IN_TIMER, 0);
    const int edge = p.m_nTargetX;
    d.SendMessage(WM_CLOSE_PANEL, 0, 54);
    EXPECT_EQ(p.m_nTargetX, edge);
    EXPECT_TRUE(PumpUntil([&] { return p.m_bSliding == 0; }));
    PumpUntil([&] { return d.m_bPickerShown == 0; });
    EXPECT_FALSE(p.IsWindowVisible());
    EXPECT_EQ(d.m_bPickerShown, 0);
}

// While it slides, moving it only moves where the slide goes; at rest it moves at once.
TEST(Picker, MovedDuringASlideOnlyItsTargetMoves)
{
    PickerRig rig;
    ASSERT_TRUE(rig.OpenMain());
    CAdvanceFunctionDlg& p = rig.Picker();
    rig.dlg->ShowAssignmentsPanel(2);
    p.KillTimer(CAdvanceFunctionDlg::SLIDE_IN_TIMER);
    p.SendMessage(WM_TIMER, CAdvanceFunctionDlg::SLIDE_IN_TIMER, 0);
    RECT during = p.GetWindowRect();
    p.MoveTo(300, 200, 100, 100);
    RECT now = p.GetWindowRect();
    EXPECT_TRUE(EqualRect(&during, &now));
    EXPECT_EQ(p.m_nTargetX, 300);
    EXPECT_EQ(p.m_nTargetY, 200);
    p.SendMessage(WM_TIMER, CAdvanceFunctionDlg::SLIDE_IN_TIMER, 0);
    RECT next = p.GetWindowRect();
    EXPECT_EQ(next.left, 300 - (p.m_nPanelWidth - 15));
    EXPECT_EQ(next.top, 200);
    EXPECT_EQ(next.right - next.left, p.m_nPanelWidth) << "the slide keeps the panel's size";
    p.m_nSlideOffset = 0;
    p.SendMessage(WM_TIMER, CAdvanceFunctionDlg::SLIDE_IN_TIMER, 0);
    rig.Pump(50);
    p.MoveTo(310, 220, p.m_nPanelWidth, p.m_nPanelHeight);
    RECT rest = p.GetWindowRect();
    EXPECT_EQ(rest.left, 310);
    EXPECT_EQ(rest.top, 220);
}
