// The main window's PRINT command: the current profile's sheet on the printer the person
// picks in the print dialog.
#include "configurator/main_window/CAPDlg.h"
#include "configurator/main_window/ProfileSheet.h"
#include "framework/CDC.h"
#include "framework/CPrintDialog.h"

void CAPDlg::OnPrintProfile()
{
    int id = m_config.PROFILE_ID;
    if (id < 0 || id >= PROFILE_COUNT) return;
    // The captions the buttons show, unsaved changes included.
    CString captions[BUTTON_COUNT];
    for (int i = 0; i < BUTTON_COUNT; ++i) captions[i] = m_mouseButtons[i].GetCaption();
    CBitmap sheet;
    {
        CClientDC window(this);
        DrawProfileSheet(sheet, &window, captions, m_config.profiles[id]);
    }
    CPrintDialog dlg(FALSE, PD_ALLPAGES | PD_USEDEVMODECOPIESANDCOLLATE | PD_NOPAGENUMS | PD_HIDEPRINTTOFILE |
                                PD_NOSELECTION);
    DisableSidePanels();
    INT_PTR answer = dlg.DoModal();
    EnableSidePanels();
    if (answer != IDOK || !dlg.GetPrinterDC()) return;
    PrintProfileSheet(dlg.GetPrinterDC(), sheet);
}
