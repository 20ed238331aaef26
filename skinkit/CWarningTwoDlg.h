#pragma once
#include "skinkit/CBitmapBtn.h"
#include "skinkit/CNoticeDialog.h"

// The question box: the caller's question with Yes (IDOK) and No (IDCANCEL).
class CWarningTwoDlg : public CNoticeDialog {
public:
    explicit CWarningTwoDlg(const CString& question);

    CBitmapBtn m_btnYes;
    CBitmapBtn m_btnNo;
    CString m_strQuestion;

protected:
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    void CreateControls(const std::vector<SkinItem>& strings) override;
    bool MessageText(const SkinEntry&, CString& text) override;
};
