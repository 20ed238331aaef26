// The side panels at the main window's edges: docking, and the sensor-settings and
// lighting panels' slides. A panel slides once at a time: a request while it slides is
// dropped, and so are showing a shown panel and hiding one that is not shown.
#include "configurator/main_window/CAPDlg.h"
#include "configurator/main_window/MainLayout.h"
#include "configurator/function_picker/CAdvanceFunctionDlg.h"
#include "skinkit/SlideHelpers.h"

void CAPDlg::DockSidePanels()
{
    if (!m_hWnd) return;
    const RECT main = GetWindowRect();
    if (CAdvanceFunctionDlg* picker = g_pAdvanceFunctionDlg) {
        POINT at = PickerDockPlace(main);
        if (picker->m_hWnd) picker->MoveTo(at.x, at.y, picker->m_nPanelWidth, picker->m_nPanelHeight);
    }
    CPropertiesDlg& properties = m_propertiesDlg;
    if (properties.m_hWnd) {
        const int w = properties.m_nPanelWidth, h = properties.m_nPanelHeight;
        POINT at = PropertiesDockPlace(main, w);
        // While it slides, the slide follows the new place.
        if (properties.m_bBusy)
            SetSlideBounds(RECT{at.x, at.y, at.x + w, at.y + h}, RECT{0, 0, 0, 0});
        else
            properties.MoveWindow(at.x, at.y, w, h, TRUE);
    }
    CIllumination& illumination = m_illuminationDlg;
    if (illumination.m_hWnd) {
        POINT at = IlluminationDockPlace(main);
        illumination.MoveTo(at.x, at.y, illumination.m_nPanelWidth, illumination.m_nPanelHeight);
    }
}

void CAPDlg::ShowPropertiesPanel()
{
    CPropertiesDlg& panel = m_propertiesDlg;
    if (!panel.m_hWnd || panel.m_bBusy || m_bPropertiesShown) return;
    SetSlideBounds(PropertiesOpenBounds(panel.GetWindowRect()), RECT{0, 0, 0, 0});
    SlideOpen(&panel.m_bBusy, m_hWnd, panel.m_hWnd);
}

void CAPDlg::HidePropertiesPanel()
{
    CPropertiesDlg& panel = m_propertiesDlg;
    if (!panel.m_hWnd || panel.m_bBusy || !panel.IsWindowVisible()) return;
    SetSlideBounds(panel.GetWindowRect(), RECT{0, 0, 0, 0});
    SlideClose(&panel.m_bBusy, panel.m_hWnd, m_hWnd);
}

void CAPDlg::ShowIlluminationPanel()
{
    CIllumination& panel = m_illuminationDlg;
    if (!panel.m_hWnd || panel.m_bBusy || m_bIlluminationShown) return;
    RECT r = panel.GetWindowRect();
    panel.SetTargetPos(r.left, r.top - 2);
    panel.SetSlideClip();
    panel.SlideIn();
}

void CAPDlg::HideIlluminationPanel()
{
    CIllumination& panel = m_illuminationDlg;
    if (!panel.m_hWnd || panel.m_bBusy || !panel.IsWindowVisible()) return;
    RECT r = panel.GetWindowRect();
    panel.SetTargetPos(r.left, r.top);
    panel.SlideOut();
}
