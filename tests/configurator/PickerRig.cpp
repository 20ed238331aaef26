#include "PickerRig.h"

bool PickerRig::OpenMain()
{
    if (!Open()) return false;
    dlg->MakeFunctionPicker();
    SetForegroundWindow(Hwnd());
    PumpUntil([this] { return GetForegroundWindow() == Hwnd(); }, 2000);
    PumpFor(100);
    return g_pAdvanceFunctionDlg && g_pAdvanceFunctionDlg->m_hWnd && g_pTaskBar;
}

bool PickerRig::ShowPicker(int n)
{
    dlg->HighlightMouseButton(n);
    dlg->ShowAssignmentsPanel(n);
    bool shown = PumpUntil([this] { return dlg->m_bPickerShown == 1; }, 5000);
    PumpFor(100);
    return shown && Picker().IsWindowVisible();
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
    MouseClickAt(p);
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
