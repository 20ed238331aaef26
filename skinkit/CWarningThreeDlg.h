#pragma once
#include "skinkit/CBitmapBtn.h"
#include "skinkit/CNoticeDialog.h"

// The question before a macro is deleted: Yes (IDOK) stores the "do not ask again"
// option as WARNING_OPTION_FLAG first; No and exit end with IDCANCEL and store nothing.
// Its text comes from "Strings.xml".
class CWarningThreeDlg : public CNoticeDialog {
public:
    CWarningThreeDlg();

    CBitmapBtn m_btnExit;
    CBitmapBtn m_btnYes;
    CBitmapBtn m_btnNo;
    CBitmapBtn m_btnOption;

protected:
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    void CreateControls(const std::vector<SkinItem>& strings) override;
    bool MessageText(const SkinEntry& entry, CString& text) override;
    bool DrawsOptionLabel() const override { return true; }
};
