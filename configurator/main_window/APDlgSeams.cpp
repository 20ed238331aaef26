// Places where the main window reaches panels and dialogs that are not built yet. Each
// keeps its name and its caller; none shows anything so far.
#include "configurator/main_window/CAPDlg.h"

// The character card of the current profile, and the character dialog.
void CAPDlg::UpdateCharacterPanel() {}
void CAPDlg::OnChronicle() {}

// The About boxes, export, import, print, rename and the profile popup.
void CAPDlg::OnAbout() {}
void CAPDlg::OnSystemAbout() {}
void CAPDlg::OnExportProfile() {}
void CAPDlg::OnImportProfile() {}
void CAPDlg::OnPrintProfile() {}
void CAPDlg::OnRenameProfile() {}

LRESULT CAPDlg::OnProfileMenu(WPARAM, LPARAM)
{
    return 1;
}
