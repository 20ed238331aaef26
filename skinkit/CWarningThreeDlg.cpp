#include "skinkit/CWarningThreeDlg.h"
#include "skinkit/NoticeDialogsRes.h"
#include "core/ConfigSettings.h"

CWarningThreeDlg::CWarningThreeDlg() : CNoticeDialog(IDD_WARNING_THREE, L"WARNING_THREE", 12)
{
}

void CWarningThreeDlg::CreateControls(const std::vector<SkinItem>& strings)
{
    CreateOptionButtons(strings, m_btnExit, m_btnYes, m_btnNo, m_btnOption);
}

bool CWarningThreeDlg::MessageText(const SkinEntry& entry, CString& text)
{
    text = entry.text;
    return true;
}

BOOL CWarningThreeDlg::OnCommand(WPARAM wParam, LPARAM lParam)
{
    AnswerWithOption((HWND)lParam, m_btnExit, m_btnYes, m_btnNo, m_btnOption, &SetWarningOptionFlag);
    return CNoticeDialog::OnCommand(wParam, lParam);
}
