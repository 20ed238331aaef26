// Places where the main window reaches panels and dialogs that are not built yet. Each
// keeps its name and its caller; none shows anything so far.
#include "configurator/main_window/CAPDlg.h"

// The side panels' slides and docking (the slide helpers, the sensor-settings and
// lighting panels).
void CAPDlg::DockSidePanels() {}
void CAPDlg::ShowPropertiesPanel() {}
void CAPDlg::ShowIlluminationPanel() {}
void CAPDlg::HidePropertiesPanel() {}
void CAPDlg::HideIlluminationPanel() {}

// Drops of a profile onto a profile button and of a function code onto a mouse button.
LRESULT CAPDlg::OnProfileDropped(WPARAM, LPARAM)
{
    return 1;
}

LRESULT CAPDlg::OnAssignmentDropped(WPARAM, LPARAM)
{
    return 1;
}
