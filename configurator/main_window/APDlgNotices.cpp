// What the main window does with the notices of the service and the tray, the choices of
// its button popup and its side panels' messages.
#include "configurator/main_window/CAPDlg.h"
#include "configurator/main_window/MainLayout.h"
#include "configurator/function_picker/CAdvanceFunctionDlg.h"
#include "skinkit/PopupMenus.h"
#include "core/FunctionCodes.h"

void CAPDlg::ShowButtonMenu(CBitmapBtn& button, int n, CWnd* owner)
{
    RECT r = button.GetClientRect();
    button.ClientToScreen(&r);
    if (n < 0 || n >= BUTTON_COUNT) return;
    // The button popup is always opened anew.
    if (g_pButtonMenu) {
        g_pButtonMenu->Close();
        delete g_pButtonMenu;
        g_pButtonMenu = nullptr;
    }
    g_pButtonMenu = new CButtonMenu(owner, n);
    g_pButtonMenu->SetMenuPos(r.left, r.bottom);
    g_pButtonMenu->Create();
    g_pButtonMenu->ShowWindow(SW_SHOW);
}

LRESULT CAPDlg::OnButtonMenuSelect(WPARAM wParam, LPARAM lParam)
{
    if (g_pButtonMenu) {
        g_pButtonMenu->Close();
        delete g_pButtonMenu;
        g_pButtonMenu = nullptr;
    }
    int code = ButtonMenuRowCode((int)wParam);
    if (code > 0) ShowButtonAssignment(code, (int)lParam);
    return 1;
}

LRESULT CAPDlg::OnScrollMenuSelect(WPARAM wParam, LPARAM lParam)
{
    int code = ScrollMenuRowCode((int)wParam);
    if (code > 0) ShowScrollButtonAssignment(code, (int)lParam);
    return 1;
}

LRESULT CAPDlg::OnPopupClosed(WPARAM, LPARAM)
{
    // A popup that closed itself (the focus went elsewhere) is gone for good.
    if (g_pButtonMenu && !g_pButtonMenu->m_hWnd) {
        delete g_pButtonMenu;
        g_pButtonMenu = nullptr;
    }
    return 0;
}

LRESULT CAPDlg::OnProfileSwitched(WPARAM wParam, LPARAM)
{
    SelectProfile((unsigned)wParam);
    return 1;
}

void CAPDlg::SelectProfile(unsigned index)
{
    // Negative indexes count as large.
    if (index >= (unsigned)PROFILE_COUNT) return;
    m_config.PROFILE_ID = (int)index;
    m_savedConfig.PROFILE_ID = (int)index;
    RefreshFromProfile();
}

LRESULT CAPDlg::OnDpiChanged(WPARAM wParam, LPARAM)
{
    // The service acts on the saved current profile, whatever the person has chosen since.
    int p = m_savedConfig.PROFILE_ID;
    if (p < 0 || p >= PROFILE_COUNT) return 1;
    m_config.profiles[p].DPI_VALUE = (int)wParam;
    m_savedConfig.profiles[p].DPI_VALUE = (int)wParam;
    RefreshFromProfile();
    return 1;
}

LRESULT CAPDlg::OnMouseButtonPressed(WPARAM wParam, LPARAM lParam)
{
    // A button pressed while this program is in front selects it for editing.
    if (lParam != 1) return 1;
    int i = (int)wParam;
    if (!IsReportedMouseButton(i)) return 1;
    HighlightMouseButton(i);
    MakeFunctionPicker();
    if (m_bPickerShown)
        g_pAdvanceFunctionDlg->SelectCurrentFunction(i);
    else
        ShowAssignmentsPanel(i);
    return 1;
}

void CAPDlg::ShowAssignmentsPanel(int n)
{
    MakeFunctionPicker();
    CAdvanceFunctionDlg* picker = g_pAdvanceFunctionDlg;
    picker->SelectCurrentFunction(n);
    // It slides in to 18 pixels inside the right edge; docking then places it at 16.
    RECT r = GetWindowRect();
    picker->SetTargetPos(r.right - 18, r.top + 89);
    picker->SetSlideClip();
    picker->SlideIn();
}

void CAPDlg::HideAssignmentsPanel()
{
    CAdvanceFunctionDlg* picker = g_pAdvanceFunctionDlg;
    if (!picker || !picker->m_hWnd) return;
    // While it slides in, its window lies left of where it is going: that place stays the
    // target and the slide turns round.
    if (!picker->m_bSliding) {
        RECT r = picker->GetWindowRect();
        picker->SetTargetPos(r.left, r.top);
    }
    picker->SlideOut();
}

LRESULT CAPDlg::OnPanelState(WPARAM, LPARAM lParam)
{
    switch (lParam) {
    case 50: m_bPickerShown = 1; break;
    case 51: m_bPropertiesShown = 1; break;
    case 52: m_bIlluminationShown = 1; break;
    case 53: m_bPropertiesShown = 0; break;
    case 54: m_bPickerShown = 0; break;
    case 55: m_bIlluminationShown = 0; break;
    default: break;
    }
    DockSidePanels();
    RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    return 0;
}

LRESULT CAPDlg::OnPanelEscape(WPARAM, LPARAM)
{
    // Esc in a side panel ends the program, without the unsaved-changes question.
    PostMessage(WM_CLOSE);
    return 0;
}

LRESULT CAPDlg::OnClosePanel(WPARAM, LPARAM lParam)
{
    switch (lParam) {
    case 53: HidePropertiesPanel(); break;
    case 54: HideAssignmentsPanel(); break;
    case 55: HideIlluminationPanel(); break;
    default: break;
    }
    return 0;
}
