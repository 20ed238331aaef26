#include "configurator/panels/CPropertiesDlg.h"
#include "configurator/GearloomRes.h"

CPropertiesDlg::CPropertiesDlg() : CDialog(IDD_PROPERTIES_DIALOG)
{
}

BOOL CPropertiesDlg::Create(CWnd* owner)
{
    return CDialog::Create(IDD_PROPERTIES_DIALOG, owner);
}
