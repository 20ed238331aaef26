#pragma once
#include <windows.h>
#include <commdlg.h>
#include "framework/CObject.h"

class CWnd;

// The system's print dialog, asking for a printer device context. The context and the
// dialog's printer settings belong to the object and go with it.
class CPrintDialog : public CObject {
public:
    // printSetupOnly: the setup dialog instead of the print dialog. flags: PD_* flags.
    explicit CPrintDialog(BOOL printSetupOnly,
                          DWORD flags = PD_ALLPAGES | PD_USEDEVMODECOPIES | PD_NOPAGENUMS | PD_HIDEPRINTTOFILE |
                                        PD_NOSELECTION,
                          CWnd* parent = nullptr);
    ~CPrintDialog() override;
    CPrintDialog(const CPrintDialog&) = delete;
    CPrintDialog& operator=(const CPrintDialog&) = delete;

    // Runs the dialog, owned by the parent (else the main window); IDOK when the person
    // chose Print, IDCANCEL when they cancelled or the dialog failed (no printer, for one).
    virtual INT_PTR DoModal();
    // The chosen printer's device context, null before DoModal or when it failed.
    HDC GetPrinterDC() const { return m_pd.hDC; }

    PRINTDLGW m_pd;

private:
    CWnd* m_pParent;
};
