#pragma once
#include "framework/CEdit.h"
#include "skinkit/CBitmapBtn.h"
#include "skinkit/CNoticeDialog.h"

// The notice before the macro editor opens: a long text in a read-only box, Yes (IDOK)
// storing the "do not show again" option as WARNINGFOUR_OPTION_FLAG first, No and exit
// (IDCANCEL). It can be dragged by its body.
class CWarningFourDlg : public CNoticeDialog {
public:
    CWarningFourDlg();

    BOOL OnInitDialog() override;

    static constexpr UINT TEXT_BOX_ID = 4353;

    CBitmapBtn m_btnExit;
    CBitmapBtn m_btnYes;
    CBitmapBtn m_btnNo;
    CBitmapBtn m_btnOption;
    CEdit m_textBox;
    CFont m_textFont;
    CBrush m_textBrush;

protected:
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    void CreateControls(const std::vector<SkinItem>& strings) override;
    void AfterSkin() override;
    bool DrawsOptionLabel() const override { return true; }

    LRESULT OnCtlColor(WPARAM, LPARAM);
    LRESULT OnLButtonDown(WPARAM, LPARAM);
    LRESULT OnDestroy(WPARAM, LPARAM);
    DECLARE_MESSAGE_MAP()
};
