// Drops on the main window's buttons: a profile onto another profile's button, a function
// code onto a mouse button.
#include "configurator/main_window/CAPDlg.h"
#include "configurator/main_window/MainLayout.h"

LRESULT CAPDlg::OnProfileDropped(WPARAM wParam, LPARAM lParam)
{
    // Only the current profile's button is a drag source, so the source is the current
    // profile.
    const unsigned source = (unsigned)wParam, target = (unsigned)lParam;
    if (source >= (unsigned)PROFILE_COUNT || target >= (unsigned)PROFILE_COUNT || source == target) return 1;
    CString question = FormatProfileCopyQuestion(m_strWarningChangeProfile, (int)target + 1, (int)source + 1);
    if (!Ask(question)) return 1;
    // Every field: name, character, device settings, light, games, functions and macros.
    // The copy waits for Apply like every other change.
    m_config.profiles[target] = m_config.profiles[source];
    RefreshFromProfile();
    return 1;
}

LRESULT CAPDlg::OnAssignmentDropped(WPARAM wParam, LPARAM lParam)
{
    const int index = (int)lParam - 16;
    const int code = (int)wParam;
    const int p = m_config.PROFILE_ID;
    if (!AcceptsDroppedFunction(index, code) || p < 0 || p >= PROFILE_COUNT) return 1;
    m_config.profiles[p].buttons[index].code = code;
    RefreshFromProfile();
    return 1;
}
