#include "skinkit/CWarningThreeDlg.h"
#include "skinkit/NoticeDialogsRes.h"
#include "skinkit/SkinButtons.h"
#include "core/AppPaths.h"
#include "core/ConfigSettings.h"

CWarningThreeDlg::CWarningThreeDlg() : CNoticeDialog(IDD_WARNING_THREE, L"WARNING_THREE", 12)
{
}

void CWarningThreeDlg::CreateControls(const std::vector<SkinItem>& strings)
{
    // The option starts unchecked whatever its entry says.
    const SkinButtonRow rows[] = {
        {L"BUTTON_EXIT", &m_btnExit, SKIN_CHECK | SKIN_TOOLTIP},
        {L"BUTTON_YES", &m_btnYes, SKIN_CHECK | SKIN_TOOLTIP | SKIN_CAPTION},
        {L"BUTTON_NO", &m_btnNo, SKIN_CHECK | SKIN_TOOLTIP | SKIN_CAPTION},
        {L"BUTTON_OPTION", &m_btnOption, SKIN_TOOLTIP | SKIN_TOGGLE},
    };
    CreateSkinButtons(this, strings, rows, sizeof(rows) / sizeof(rows[0]), StatePictures());
}

bool CWarningThreeDlg::MessageText(const SkinEntry& entry, CString& text)
{
    text = entry.text;
    return true;
}

BOOL CWarningThreeDlg::OnCommand(WPARAM wParam, LPARAM lParam)
{
    HWND from = (HWND)lParam;
    if (from && from == m_btnYes.m_hWnd) {
        SetWarningOptionFlag(g_szConfDir, m_btnOption.GetCheck() ? 1 : 0);
        OnOK();
    } else if (from && from == m_btnNo.m_hWnd) {
        OnCancel();
    } else if (from && from == m_btnExit.m_hWnd) {
        CloseAsCancel();
    }
    return CNoticeDialog::OnCommand(wParam, lParam);
}
