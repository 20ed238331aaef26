#include "PickerRig.h"
#include "skinkit/PopupMenus.h"
#include <gtest/gtest.h>
#include <functional>
#include <string>
#include <vector>

namespace {

// The window's pixels once everything pending is painted.
std::vector<DWORD> Painted(HWND hwnd, int* width, int* height)
{
    RedrawWindow(hwnd, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    PumpFor(100);
    return CaptureWindow(hwnd, width, height);
}

BOOL CALLBACK CollectDescendant(HWND hwnd, LPARAM windows)
{
    ((std::vector<HWND>*)windows)->push_back(hwnd);
    return TRUE;
}

// The window and each window inside it invalidated whole, as a control invalidates itself
// (its ground erased first, or not), and painted.
void Repaint(HWND hwnd, bool erase)
{
    std::vector<HWND> windows = {hwnd};
    EnumChildWindows(hwnd, &CollectDescendant, (LPARAM)&windows);
    for (HWND w : windows) {
        InvalidateRect(w, nullptr, erase);
        UpdateWindow(w);
    }
}

// Painted again, the window shows the pixels of its first paint: once with every window's
// ground erased, then without. The pictures compared are saved as
// repaint-<name>-first and repaint-<name>-again.
void ExpectSameAfterRepaint(HWND hwnd, const std::wstring& name)
{
    ASSERT_TRUE(IsWindowVisible(hwnd)) << "shown";
    // No hover anywhere.
    MouseMoveTo(POINT{1279, 1023});
    PumpFor(200);
    int w = 0, h = 0;
    std::vector<DWORD> first = Painted(hwnd, &w, &h);
    ASSERT_FALSE(first.empty());
    SavePixelsPng(first, w, h, (L"repaint-" + name + L"-first").c_str());
    for (bool erase : {true, false}) Repaint(hwnd, erase);
    int w2 = 0, h2 = 0;
    std::vector<DWORD> again = Painted(hwnd, &w2, &h2);
    SavePixelsPng(again, w2, h2, (L"repaint-" + name + L"-again").c_str());
    ASSERT_EQ(w, w2);
    ASSERT_EQ(h, h2);
    int differing = 0, x = -1, y = -1;
    for (int i = 0; i < w * h; ++i) {
        if (first[i] == again[i]) continue;
        if (differing++ == 0) {
            x = i % w;
            y = i / w;
        }
    }
    EXPECT_EQ(differing, 0) << "pixels a repaint changed, the first at " << x << "," << y;
}

template <class Popup>
bool Open(Popup* popup)
{
    return popup && popup->m_hWnd && IsWindowVisible(popup->m_hWnd);
}

}  // namespace

// The picker with each folder open: the command tree, the DPI, profile and macro lists,
// with a row selected and without.
TEST(Repaint, PickerListsAndTree)
{
    PickerRig rig;
    std::unique_ptr<ConfigData> cfg = MainWindowRig::ShippedConfig();
    GiveMacros(cfg->profiles[cfg->PROFILE_ID], 4);
    ASSERT_TRUE(rig.WriteConfig(*cfg));
    ASSERT_TRUE(rig.OpenMain());
    ASSERT_TRUE(rig.ShowPicker(3));
    CAdvanceFunctionDlg& p = rig.Picker();
    const struct {
        const wchar_t* name;
        int folder;
        CListBoxEx* list;
        int row;
    } cases[] = {
        {L"picker-tree", 0, nullptr, -1},
        {L"picker-dpi", 1, &p.m_dpiList, -1},
        {L"picker-dpi-selected", 1, &p.m_dpiList, 4},
        {L"picker-profiles", 2, &p.m_profileList, -1},
        {L"picker-macros-selected", 3, &p.m_macroList, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << CString(c.name).GetString());
        rig.Bar().OpenFolder(c.folder);
        if (c.list) {
            c.list->SetCurSel(c.row);
            // Focus in and out, as a person's clicks move it.
            c.list->SetFocus();
            PumpFor(50);
            p.SetFocus();
        } else {
            p.m_commandTree.SetFocus();
        }
        PumpFor(200);
        ExpectSameAfterRepaint(p.m_hWnd, c.name);
    }
}

// The main window and its two panels, shown, then the button popup of the main window and
// the popups of the two panels.
TEST(Repaint, MainWindowPanelsAndPopups)
{
    MainWindowRig rig;
    ASSERT_TRUE(rig.Open());
    CAPDlg& d = *rig.dlg;
    rig.Click(d.m_btnMouseProperties);
    rig.Click(d.m_btnIllumination);
    ASSERT_TRUE(PumpUntil([&] { return d.m_bPropertiesShown && d.m_bIlluminationShown; }));
    ExpectSameAfterRepaint(d.m_hWnd, L"main");
    ExpectSameAfterRepaint(d.m_propertiesDlg.m_hWnd, L"settings-panel");
    ExpectSameAfterRepaint(d.m_illuminationDlg.m_hWnd, L"lighting-panel");

    SetForegroundWindow(d.m_hWnd);
    rig.Pump(200);
    rig.RightClick(d.m_mouseButtons[6]);
    ASSERT_TRUE(PumpUntil([] { return Open(g_pButtonMenu); }));
    ExpectSameAfterRepaint(g_pButtonMenu->m_hWnd, L"button-popup");
    g_pButtonMenu->m_list.SetCurSel(2);
    ExpectSameAfterRepaint(g_pButtonMenu->m_hWnd, L"button-popup-selected");

    struct {
        const wchar_t* name;
        CWnd* panel;
        CBitmapBtn* opener;
        std::function<CSkinPopupMenu*()> popup;
    } cases[] = {
        {L"dpi-popup", &d.m_propertiesDlg, &d.m_propertiesDlg.m_btnDpi, [] { return (CSkinPopupMenu*)g_pDpiMenu; }},
        {L"intensity-popup", &d.m_illuminationDlg, &d.m_illuminationDlg.m_btnIntensity,
         [] { return (CSkinPopupMenu*)g_pIntensityMenu; }},
        {L"pulsation-popup", &d.m_illuminationDlg, &d.m_illuminationDlg.m_btnPulsation,
         [] { return (CSkinPopupMenu*)g_pPulsationMenu; }},
    };
    for (auto& c : cases) {
        SCOPED_TRACE(testing::Message() << CString(c.name).GetString());
        c.panel->SetForegroundWindow();
        rig.Pump(200);
        ClickOnButton(*c.opener);
        ASSERT_TRUE(PumpUntil([&] { return Open(c.popup()); }));
        ExpectSameAfterRepaint(c.popup()->m_hWnd, c.name);
    }
}
