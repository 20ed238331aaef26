#include "PickerRig.h"
#include "configurator/main_window/MainLayout.h"

bool PickerRig::OpenMain()
{
    if (!Open()) return false;
    dlg->MakeFunctionPicker();
    SetForegroundWindow(Hwnd());
    testing::AssertionResult front = WindowInFront(Hwnd());
    EXPECT_TRUE(front);
    return front && g_pAdvanceFunctionDlg && g_pAdvanceFunctionDlg->m_hWnd && g_pTaskBar;
}

bool PickerRig::ShowPicker(int n)
{
    dlg->HighlightMouseButton(n);
    dlg->ShowAssignmentsPanel(n);
    bool shown = PumpUntil([this] { return dlg->m_bPickerShown == 1; });
    EXPECT_TRUE(shown) << "the picker slid in";
    // Docked at the main window's right edge, once the window system has answered every
    // step of the slide.
    const POINT at = PickerDockPlace(dlg->GetWindowRect());
    testing::AssertionResult docked = WindowPlaced(
        Picker().m_hWnd, RECT{at.x, at.y, at.x + Picker().m_nPanelWidth, at.y + Picker().m_nPanelHeight});
    EXPECT_TRUE(docked);
    return shown && docked && WindowShown(Picker().m_hWnd);
}

int PickerRig::Code(int n) const
{
    const ConfigData& c = dlg->m_config;
    return c.profiles[c.PROFILE_ID].buttons[n].code;
}

int PickerRig::OpenFolder() const
{
    for (int i = 0; i < Bar().GetFolderCount(); ++i)
        if (Bar().m_folders[i]->m_bOpen) return i;
    return -1;
}

void PickerRig::ClickHeader(int i)
{
    RECT r = Bar().GetHeaderRect(i);
    POINT p = {75, r.top + 14};
    Bar().ClientToScreen(&p);
    EXPECT_TRUE(ClickOn(Bar().m_hWnd, p));
    EXPECT_TRUE(PumpUntil([&] { return OpenFolder() == i; })) << "folder " << i << " opened; open is " << OpenFolder();
    // The next click is no second click of a double click.
    PumpFor(GetDoubleClickTime() + 100);
}

void PickerRig::SaveBoth(const wchar_t* name) const
{
    RECT both = dlg->GetWindowRect();
    RECT picker = Picker().GetWindowRect();
    UnionRect(&both, &both, &picker);
    SaveScreenPng(both, name);
}

void GiveMacros(ProfileData& profile, int n)
{
    for (int s = 0; s < MACRO_COUNT; ++s) profile.macros[s] = MacroData{};
    for (int s = 0; s < n; ++s) {
        CString name;
        name.Format(L"Macro %d", s + 1);
        CopyField(profile.macros[s].MACRO_NAME, name);
        profile.macros[s].delayMode = 3;
    }
}
