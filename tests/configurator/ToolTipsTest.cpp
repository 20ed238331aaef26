#include "PickerRig.h"
#include <gtest/gtest.h>
#include <commctrl.h>
#include <algorithm>
#include <vector>

namespace {

BOOL CALLBACK CollectToolTip(HWND hwnd, LPARAM tips)
{
    wchar_t name[64] = {};
    GetClassNameW(hwnd, name, 64);
    if (lstrcmpiW(name, TOOLTIPS_CLASSW) == 0) ((std::vector<HWND>*)tips)->push_back(hwnd);
    return TRUE;
}

// The tooltip windows of this thread.
std::vector<HWND> ThreadToolTips()
{
    std::vector<HWND> tips;
    EnumThreadWindows(GetCurrentThreadId(), &CollectToolTip, (LPARAM)&tips);
    return tips;
}

}  // namespace

// A desktop's task bar lists the visible windows that have no owner and are no tool
// windows: every tooltip of the main window, its panels and the picker is owned by the
// window it serves and is a tool window, as the system's own tooltips are.
TEST(ToolTips, OwnedToolWindowsThatStayOffTheTaskBar)
{
    PickerRig rig;
    ASSERT_TRUE(rig.OpenMain());
    CAPDlg& d = *rig.dlg;
    ASSERT_TRUE(rig.ShowPicker(2));
    rig.Click(d.m_btnMouseProperties);
    rig.Click(d.m_btnIllumination);
    ASSERT_TRUE(PumpUntil([&] { return d.m_bPropertiesShown && d.m_bIlluminationShown; }));
    // The pointer over each window, and a tooltip shown, as a person sees one.
    for (HWND w : rig.OwnWindows()) {
        MouseMoveTo(ScreenCenter(w));
        rig.Pump(100);
    }
    SetForegroundWindow(d.m_hWnd);
    MouseMoveTo(ScreenCenter(d.m_btnApply.m_hWnd));
    ASSERT_TRUE(PumpUntil([&] {
        HWND tip = d.m_btnApply.m_toolTip.m_hWnd;
        return tip && IsWindowVisible(tip);
    })) << "the Apply button's tooltip shown";
    SaveScreenPng(d.GetWindowRect(), L"main-apply-tooltip");

    std::vector<HWND> tips = ThreadToolTips();
    EXPECT_GE(tips.size(), 40u) << "the buttons' tooltips are made";
    const std::vector<HWND> own = rig.OwnWindows();
    int shown = 0;
    for (HWND tip : tips) {
        HWND owner = GetWindow(tip, GW_OWNER);
        EXPECT_NE(owner, nullptr) << "tooltip " << tip << " has an owner";
        EXPECT_NE(std::find(own.begin(), own.end(), owner), own.end()) << "owned by the window it serves";
        EXPECT_TRUE(GetWindowLongPtrW(tip, GWL_EXSTYLE) & WS_EX_TOOLWINDOW) << "tooltip " << tip;
        shown += IsWindowVisible(tip) ? 1 : 0;
    }
    EXPECT_EQ(shown, 1) << "the tooltip of the button under the pointer";
}
