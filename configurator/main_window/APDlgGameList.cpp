#include "configurator/main_window/CAPDlg.h"
#include "configurator/main_window/CEditGameDlg.h"

// FILE > EDIT and the profile popup's EDIT: the game list of the current profile, edited on
// the working copy (a change waits for Apply).
void CAPDlg::OnEditGames()
{
    DisableSidePanels();
    CEditGameDlg dialog(this);
    dialog.SetConfig(&m_config);
    dialog.DoModal();
    EnableSidePanels();
}
