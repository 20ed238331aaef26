#include "configurator/function_picker/CAdvanceFunctionDlg.h"
#include "configurator/GearloomRes.h"
#include "core/Messages.h"

CAdvanceFunctionDlg* g_pAdvanceFunctionDlg = nullptr;

CAdvanceFunctionDlg::CAdvanceFunctionDlg() : CDialog(IDD_ADVANCE_FUNCTION)
{
}

BOOL CAdvanceFunctionDlg::Create(CWnd* parent)
{
    return CDialog::Create(IDD_ADVANCE_FUNCTION, parent);
}

void CAdvanceFunctionDlg::PostClosePanel()
{
    HWND owner = m_hWnd ? GetOwnerHwnd() : nullptr;
    if (owner) ::PostMessageW(owner, WM_CLOSE_PANEL, 0, 54);
}
