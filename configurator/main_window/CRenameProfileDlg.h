#pragma once
#include "skinkit/CBitmapBtn.h"
#include "skinkit/CSkinDialog.h"
#include "framework/CEdit.h"
#include "framework/CGdiObject.h"
#include "framework/CString.h"

class CAPDlg;

// The rename dialog of the profile popup: a name field with OK, Cancel and exit. OK hands
// the name to the main window, which takes it into the current profile; Cancel, exit and
// Esc change nothing. Enter does nothing.
class CRenameProfileDlg : public CSkinDialog {
public:
    // mainDlg: the window that takes the name (none: OK only closes).
    explicit CRenameProfileDlg(CAPDlg* mainDlg);

    // The name shown when the dialog opens; before DoModal.
    void SetName(const CString& name) { m_strName = name; }

    BOOL OnInitDialog() override;
    BOOL PreTranslateMessage(MSG* msg) override;

    CBitmap m_bmpMask, m_bmpNormal, m_bmpOver, m_bmpDisabled, m_bmpDown;
    HRGN m_hRgn = nullptr;
    CBitmap m_bmpBackground;
    CBitmapBtn m_btnOK, m_btnCancel, m_btnExit;
    CString m_strName;
    CEdit m_editName;

protected:
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    void OnDraw(CDC* dc) override;

    LRESULT OnCreate(WPARAM, LPARAM);
    LRESULT OnDestroy(WPARAM, LPARAM);
    LRESULT OnLButtonDown(WPARAM, LPARAM);
    DECLARE_MESSAGE_MAP()

private:
    void LoadSkin();
    CAPDlg* m_pMainDlg;
};
