#pragma once
#include "ConfiguratorRig.h"
#include "configurator/function_picker/CAdvanceFunctionDlg.h"
#include "skinkit/CTaskBar.h"

// The main window in front with its function picker, as a person opens it: shown for a
// mouse button by a click on the button's image, slid in at the window's right edge.
class PickerRig : public MainWindowRig {
public:
    using MainWindowRig::MainWindowRig;

    // The main window opened and brought to the front; the picker made (hidden).
    bool OpenMain();
    // The picker slid in for mouse button n (as the main window shows it) and shown.
    bool ShowPicker(int n);
    CAdvanceFunctionDlg& Picker() const { return *g_pAdvanceFunctionDlg; }
    CTaskBar& Bar() const { return *g_pTaskBar; }
    // The code of button n in the working copy's current profile.
    int Code(int n) const;
    CString Caption(int n) const { return dlg->m_mouseButtons[n].GetCaption(); }
    // The folder that is open, -1 for none.
    int OpenFolder() const;
    // A real click on folder i's header.
    void ClickHeader(int i);
    // The main window and the picker as a person sees them, saved under that name.
    void SaveBoth(const wchar_t* name) const;
};

// A profile whose first n macro slots are used, named "Macro 1", "Macro 2"...; the others
// free.
void GiveMacros(ProfileData& profile, int n);
