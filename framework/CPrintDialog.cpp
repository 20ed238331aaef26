#include "framework/CPrintDialog.h"
#include "framework/CWinApp.h"
#include "framework/CWnd.h"

CPrintDialog::CPrintDialog(BOOL printSetupOnly, DWORD flags, CWnd* parent) : m_pParent(parent)
{
    ZeroMemory(&m_pd, sizeof(m_pd));
    m_pd.lStructSize = sizeof(m_pd);
    m_pd.Flags = flags | PD_RETURNDC;
    if (printSetupOnly) m_pd.Flags |= PD_PRINTSETUP;
    m_pd.nCopies = 1;
}

CPrintDialog::~CPrintDialog()
{
    if (m_pd.hDC) DeleteDC(m_pd.hDC);
    if (m_pd.hDevMode) GlobalFree(m_pd.hDevMode);
    if (m_pd.hDevNames) GlobalFree(m_pd.hDevNames);
}

INT_PTR CPrintDialog::DoModal()
{
    HWND owner = m_pParent ? m_pParent->m_hWnd : nullptr;
    if (!owner) {
        CWnd* main = AfxGetMainWnd();
        if (main) owner = main->m_hWnd;
    }
    // A second run gives back what the first one took.
    if (m_pd.hDC) {
        DeleteDC(m_pd.hDC);
        m_pd.hDC = nullptr;
    }
    m_pd.hwndOwner = owner;
    return PrintDlgW(&m_pd) ? IDOK : IDCANCEL;
}
