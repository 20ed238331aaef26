#include "skinkit/CWarningTwoDlg.h"
#include "skinkit/NoticeDialogsRes.h"
#include "skinkit/SkinButtons.h"

CWarningTwoDlg::CWarningTwoDlg(const CString& question)
    : CNoticeDialog(IDD_WARNING_TWO, L"WARNING_TWO", 12), m_strQuestion(question)
{
}

void CWarningTwoDlg::CreateControls(const std::vector<SkinItem>& strings)
{
    const SkinButtonRow rows[] = {
        {L"BUTTON_YES", &m_btnYes, SKIN_CHECK | SKIN_TOOLTIP | SKIN_CAPTION},
        {L"BUTTON_NO", &m_btnNo, SKIN_CHECK | SKIN_TOOLTIP | SKIN_CAPTION},
    };
    CreateSkinButtons(this, strings, rows, sizeof(rows) / sizeof(rows[0]), StatePictures());
}

bool CWarningTwoDlg::MessageText(const SkinEntry&, CString& text)
{
    text = m_strQuestion;
    return true;
}

BOOL CWarningTwoDlg::OnCommand(WPARAM wParam, LPARAM lParam)
{
    HWND from = (HWND)lParam;
    if (from && from == m_btnYes.m_hWnd)
        OnOK();
    else if (from && from == m_btnNo.m_hWnd)
        OnCancel();
    return CNoticeDialog::OnCommand(wParam, lParam);
}
