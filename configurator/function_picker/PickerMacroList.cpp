// The picker's macro folder: a new macro, an edited one and a deletion, with the buttons
// that play the profile's macros kept pointing at the same macros.
#include "configurator/function_picker/CAdvanceFunctionDlg.h"
#include "configurator/function_picker/CMacroDialog.h"
#include "configurator/function_picker/MacroSlots.h"
#include "configurator/main_window/CAPDlg.h"
#include "skinkit/CTaskBar.h"
#include "skinkit/CWarningFourDlg.h"
#include "skinkit/CWarningOneDlg.h"
#include "skinkit/CWarningThreeDlg.h"
#include "skinkit/SkinBitmapsRes.h"
#include "core/AppPaths.h"
#include "core/ConfigSettings.h"
#include "core/FunctionCodes.h"
#include "core/Messages.h"

int g_bEditMacro = 0;
int g_nEditMacro = 0;

LRESULT CAdvanceFunctionDlg::OnNewMacro(WPARAM, LPARAM)
{
    int p = CurrentProfile();
    if (p < 0) return 1;
    // The new macro takes the slot after the listed ones; with all fifty in use there is none.
    int slot = FirstFreeMacroSlot(m_pConfig->profiles[p], m_macroList.GetCount());
    if (slot < 0) {
        TellMacrosFull();
        return 1;
    }
    if (GetWarningFourOptionFlag(g_szConfDir) != 1) {
        DisableMainWindow();
        CWarningFourDlg notice;
        INT_PTR answer = notice.DoModal();
        EnableMainWindow();
        if (answer == IDCANCEL) return 1;
    }
    g_bEditMacro = 0;
    RunMacroEditor(false, slot);
    if (g_pTaskBar) g_pTaskBar->DisableMacroFolder(m_macroList.GetCount() == 0 ? 1 : 0);
    return 1;
}

LRESULT CAdvanceFunctionDlg::OnEditMacro(WPARAM, LPARAM)
{
    // A double click that selected no row edits nothing.
    int row = m_macroList.GetCurSel();
    if (row < 0 || row >= MACRO_COUNT || CurrentProfile() < 0) return 1;
    g_bEditMacro = 1;
    g_nEditMacro = row;
    RunMacroEditor(true, row);
    return 1;
}

void CAdvanceFunctionDlg::RunMacroEditor(bool edit, int slot)
{
    int p = CurrentProfile();
    if (p < 0) return;
    // The editor keeps the profile and slot it was opened for, whatever the tray switches
    // to meanwhile.
    CMacroDialog editor(this);
    editor.SetSlot(p, slot);
    editor.SetMacro(edit ? &m_pConfig->profiles[p].macros[slot] : nullptr);
    DisableMainWindow();
    INT_PTR result = editor.DoModal();
    EnableMainWindow();
    if (result == IDOK) StoreMacro(editor.GetProfile(), editor.GetSlot(), editor.GetMacro());
}

void CAdvanceFunctionDlg::StoreMacro(int profile, int slot, const MacroData& macro)
{
    if (!m_pConfig || profile < 0 || profile >= PROFILE_COUNT || slot < 0 || slot >= MACRO_COUNT) return;
    // The list shows the current profile: a macro of another one changes only its slot.
    const bool shown = profile == CurrentProfile();
    CString name(macro.MACRO_NAME, FieldLength(macro.MACRO_NAME));
    if (g_bEditMacro == 0) {
        if (shown && g_pTaskBar) g_pTaskBar->OpenFolder(PICKER_FOLDER_MACROS);
        m_pConfig->profiles[profile].macros[slot] = macro;
        if (!shown) return;
        int row = m_macroList.AddItem(name, IDB_LIST_BULLET);
        // The button being edited plays the new macro.
        PostMessage(WM_SELECT_CODE, (WPARAM)(FIRST_MACRO_CODE + slot), 0);
        m_macroList.SetCurSel(row);
        return;
    }
    g_bEditMacro = 0;
    if (shown) {
        m_macroList.DeleteString(slot);
        m_macroList.InsertItem(name, slot);
    }
    m_pConfig->profiles[profile].macros[slot] = macro;
    // Buttons show their macros' names.
    if (CAPDlg* main = MainWindow()) main->UpdateButtons();
}

LRESULT CAdvanceFunctionDlg::DeleteMacro(WPARAM, LPARAM)
{
    if (!g_pTaskBar || g_pTaskBar->m_nCurrentFolder != PICKER_FOLDER_MACROS) return 1;
    int row = m_macroList.GetCurSel();
    int p = CurrentProfile();
    if (row >= 0 && p >= 0) {
        if (GetWarningOptionFlag(g_szConfDir) != 1) {
            DisableMainWindow();
            CWarningThreeDlg question;
            INT_PTR answer = question.DoModal();
            EnableMainWindow();
            if (answer == IDCANCEL) return 1;
        }
        int rows = m_macroList.GetCount();
        DeleteMacroRow(m_pConfig->profiles[p], row, rows);
        if (rows > 0) m_macroList.DeleteString(row);
    }
    g_pTaskBar->DisableMacroFolder(m_macroList.GetCount() == 0 ? 1 : 0);
    if (CAPDlg* main = MainWindow()) main->UpdateButtons();
    return 1;
}

LRESULT CAdvanceFunctionDlg::OnMacroFolderFocus(WPARAM, LPARAM)
{
    if (!g_pTaskBar) return 1;
    g_pTaskBar->m_nCurrentFolder = PICKER_FOLDER_MACROS;
    if (m_macroList.GetCurSel() >= 0) g_pTaskBar->m_deleteButton.EnableWindow(TRUE);
    return 1;
}

LRESULT CAdvanceFunctionDlg::OnMacroSelChange(WPARAM, LPARAM)
{
    if (g_pTaskBar) g_pTaskBar->m_deleteButton.EnableWindow(TRUE);
    return 1;
}

void CAdvanceFunctionDlg::TellMacrosFull()
{
    DisableMainWindow();
    CWarningOneDlg notice(m_strMacrosFull);
    notice.DoModal();
    EnableMainWindow();
}

void CAdvanceFunctionDlg::DisableMainWindow()
{
    // Also without a main-window pointer given: the main window and every panel beside it
    // stay still while a box or the editor is open over the picker.
    CAPDlg* main = MainWindow();
    HWND windows[4] = {m_hWnd, nullptr, nullptr, nullptr};
    if (main) {
        windows[1] = main->m_hWnd;
        if (main->m_propertiesDlg.m_hWnd && main->m_propertiesDlg.IsWindowVisible())
            windows[2] = main->m_propertiesDlg.m_hWnd;
        if (main->m_illuminationDlg.m_hWnd && main->m_illuminationDlg.IsWindowVisible())
            windows[3] = main->m_illuminationDlg.m_hWnd;
    }
    for (int i = 0; i < 4; ++i) {
        m_disabled[i] = windows[i] && ::IsWindowEnabled(windows[i]) ? windows[i] : nullptr;
        if (m_disabled[i]) ::EnableWindow(m_disabled[i], FALSE);
    }
}

void CAdvanceFunctionDlg::EnableMainWindow()
{
    for (HWND& h : m_disabled) {
        if (h && ::IsWindow(h)) ::EnableWindow(h, TRUE);
        h = nullptr;
    }
}
