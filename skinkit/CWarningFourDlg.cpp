#include "skinkit/CWarningFourDlg.h"
#include "skinkit/NoticeDialogsRes.h"
#include "skinkit/SkinHandlers.h"
#include "core/ConfigSettings.h"

namespace {

constexpr COLORREF kTextColour = 0x12A4D2;
constexpr COLORREF kTextGround = 0x202020;

}  // namespace

BEGIN_MESSAGE_MAP(CWarningFourDlg, CNoticeDialog)
    ON_WM_CTLCOLOR(OnCtlColor)
    ON_MESSAGE(WM_LBUTTONDOWN, OnLButtonDown)
    ON_MESSAGE(WM_DESTROY, OnDestroy)
END_MESSAGE_MAP()

CWarningFourDlg::CWarningFourDlg() : CNoticeDialog(IDD_WARNING_FOUR, L"WARNING_FOUR", 12)
{
}

void CWarningFourDlg::CreateControls(const std::vector<SkinItem>& strings)
{
    CreateOptionButtons(strings, m_btnExit, m_btnYes, m_btnNo, m_btnOption);
    const CString* place = FindSkinItem(strings, L"WARNING_FOUR_STRING");
    const CString* text = place ? FindSkinItem(strings, L"WARNING_FOUR_LICENSE") : nullptr;
    if (!text) return;
    SkinEntry entry;
    ParseSkinEntry(*place, entry);
    if (m_textBox.Create(WS_CHILD | WS_VISIBLE | ES_READONLY | ES_MULTILINE, entry.rect, this, TEXT_BOX_ID))
        m_textBox.SetWindowText(*text);
}

void CWarningFourDlg::AfterSkin()
{
    m_textBrush.CreateSolidBrush(kTextGround);
}

BOOL CWarningFourDlg::OnInitDialog()
{
    CNoticeDialog::OnInitDialog();
    LOGFONTW lf = {};
    lf.lfHeight = 12;
    lf.lfWeight = FW_NORMAL;
    lstrcpynW(lf.lfFaceName, L"MS Shell Dlg", 32);
    m_textFont.CreateFontIndirect(&lf);
    if (m_textBox.m_hWnd) m_textBox.SetFont(m_textFont, TRUE);
    return TRUE;
}

LRESULT CWarningFourDlg::OnCtlColor(WPARAM wParam, LPARAM lParam)
{
    LRESULT r = Default();
    if (::GetDlgCtrlID((HWND)lParam) != (int)TEXT_BOX_ID) return r;
    SetTextColor((HDC)wParam, kTextColour);
    SetBkColor((HDC)wParam, kTextGround);
    return (LRESULT)(HBRUSH)m_textBrush;
}

LRESULT CWarningFourDlg::OnLButtonDown(WPARAM, LPARAM lParam)
{
    DragWindowByBody(m_hWnd, lParam);
    return Default();
}

LRESULT CWarningFourDlg::OnDestroy(WPARAM w, LPARAM l)
{
    LRESULT r = CNoticeDialog::OnDestroy(w, l);
    m_textBrush.DeleteObject();
    m_textFont.DeleteObject();
    return r;
}

BOOL CWarningFourDlg::OnCommand(WPARAM wParam, LPARAM lParam)
{
    AnswerWithOption((HWND)lParam, m_btnExit, m_btnYes, m_btnNo, m_btnOption, &SetWarningFourOptionFlag);
    return CNoticeDialog::OnCommand(wParam, lParam);
}
