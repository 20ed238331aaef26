#include "skinkit/CWarningOneDlg.h"
#include "skinkit/NoticeDialogsRes.h"
#include "skinkit/SkinButtons.h"
#include "framework/CDC.h"

const wchar_t* const PDF_READER_DOWNLOAD_URL = L"https://www.sumatrapdfreader.org/download-free-pdf-viewer";

CWarningOneDlg::CWarningOneDlg(const CString& message)
    : CNoticeDialog(IDD_WARNING_ONE, L"WARNING_ONE", 14), m_strMessage(message)
{
    ZeroMemory(&m_messageEntry, sizeof(m_messageEntry));
}

void CWarningOneDlg::CreateControls(const std::vector<SkinItem>& strings)
{
    const SkinButtonRow rows[] = {
        {L"BUTTON_EXIT", &m_btnExit, SKIN_CHECK | SKIN_TOOLTIP},
        {L"BUTTON_OK", &m_btnOK, SKIN_CHECK | SKIN_TOOLTIP | SKIN_CAPTION},
    };
    CreateSkinButtons(this, strings, rows, sizeof(rows) / sizeof(rows[0]), StatePictures());
    if (const CString* entry = FindSkinItem(strings, L"WARNING_ONE_STRING")) ParseSkinEntry(*entry, m_messageEntry);
}

void CWarningOneDlg::AfterSkin()
{
    if (m_bReaderLink) CreateReaderLink();
}

bool CWarningOneDlg::MessageText(const SkinEntry&, CString& text)
{
    text = m_strMessage;
    return true;
}

// The link sits over the message line, in the gap the message leaves for it, measured in
// the box's own 14-pixel bold font.
void CWarningOneDlg::CreateReaderLink()
{
    CFont font;
    font.CreateFont(14, 0, 0, 0, FW_BOLD, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, FF_SWISS, L"MS Shell Dlg");
    TEXTMETRICW tm = {};
    {
        CClientDC dc(this);
        HGDIOBJ old = dc.SelectObject(font);
        dc.GetTextMetrics(&tm);
        dc.SelectObject(old);
    }
    int x = m_messageEntry.rect.left + 35 * tm.tmAveCharWidth;
    int y = m_messageEntry.rect.top - tm.tmHeight / 4;
    int width = 15 * tm.tmAveCharWidth;
    int height = tm.tmExternalLeading + (int)(1.5 * tm.tmHeight);
    m_readerLink.SetURL(PDF_READER_DOWNLOAD_URL);
    if (!m_readerLink.Create(L"PDF Reader", WS_CHILD, RECT{x, y, x + width, y + height}, this, 1)) return;
    m_readerLink.SetBackground(RECT{x, y, x + width, y + height}, m_bmpNormal);
    m_readerLink.DisableParentFont();
    m_readerLink.SetBoldFont();
    m_readerLink.SetDefaultColors();
    m_readerLink.SetTooltip(PDF_READER_DOWNLOAD_URL);
    m_readerLink.MoveWindow(x, y, width, height);
    m_readerLink.ShowWindow(SW_SHOW);
}

BOOL CWarningOneDlg::OnInitDialog()
{
    CNoticeDialog::OnInitDialog();
    SetForegroundWindow();
    if (m_bCorner) {
        RECT work = {};
        SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
        RECT own = GetWindowRect();
        int w = m_sizeNormal.cx > 0 ? m_sizeNormal.cx : own.right - own.left;
        int h = m_sizeNormal.cy > 0 ? m_sizeNormal.cy : own.bottom - own.top;
        MoveWindow(work.right - w, work.bottom - h, w, h);
    }
    return TRUE;
}

BOOL CWarningOneDlg::OnCommand(WPARAM wParam, LPARAM lParam)
{
    HWND from = (HWND)lParam;
    if (from && (from == m_btnOK.m_hWnd || from == m_btnExit.m_hWnd)) CloseAsCancel();
    return CNoticeDialog::OnCommand(wParam, lParam);
}
