#include "configurator/panels/CIllumination.h"
#include "configurator/GearloomRes.h"

CIllumination::CIllumination() : CDialog(IDD_ILLUMINATION_DIALOG)
{
}

BOOL CIllumination::Create(CWnd* owner)
{
    return CDialog::Create(IDD_ILLUMINATION_DIALOG, owner);
}
