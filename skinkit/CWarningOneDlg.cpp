#include "skinkit/CWarningOneDlg.h"
#include "skinkit/NoticeDialogsRes.h"
#include "skinkit/SkinButtons.h"
#include "framework/CDC.h"
#include <cwchar>

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

namespace {

const wchar_t kLinkCaption[] = L"PDF Reader";

}  // namespace

// The link lies over its own words in the message's first line, where the message leaves
// them a gap ("... the free PDF Reader  to read ..."), measured in the box's 14-pixel bold
// font. A fixed count of 35 average characters in and 15 wide misses the words in fonts
// whose letters differ from the average; it stays the place for a message without the
// words on its first line.
void CWarningOneDlg::CreateReaderLink()
{
    CFont font;
    font.CreateFont(14, 0, 0, 0, FW_BOLD, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, FF_SWISS, L"MS Shell Dlg");
    const RECT& message = m_messageEntry.rect;
    TEXTMETRICW tm = {};
    int x = message.left, width = 0;
    {
        CClientDC dc(this);
        HGDIOBJ old = dc.SelectObject(font);
        dc.GetTextMetrics(&tm);
        x += 35 * tm.tmAveCharWidth;
        width = 15 * tm.tmAveCharWidth;
        int at = m_strMessage.Find(kLinkCaption);
        if (at >= 0) {
            int end = at + (int)wcslen(kLinkCaption);
            while (m_strMessage.GetAt(end) == L' ') ++end;
            SIZE before = dc.GetTextExtent(m_strMessage.Left(at));
            SIZE words = dc.GetTextExtent(m_strMessage.Mid(at, end - at));
            if (before.cx + words.cx <= message.right - message.left) {
                x = message.left + before.cx;
                width = words.cx;
            }
        }
        dc.SelectObject(old);
    }
    int y = message.top - tm.tmHeight / 4;
    int height = tm.tmExternalLeading + (int)(1.5 * tm.tmHeight);
    m_readerLink.SetURL(PDF_READER_DOWNLOAD_URL);
    if (!m_readerLink.Create(kLinkCaption, WS_CHILD, RECT{x, y, x + width, y + height}, this, 1)) return;
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
