#include "skinkit/CHyperlink.h"
#include "skinkit/SkinPicture.h"
#include "framework/AfxGlobalData.h"
#include "framework/CDC.h"

namespace {

constexpr COLORREF kLinkColour = 0x12A4D2;

}  // namespace

CHyperlink::CHyperlink()
{
    AfxGlobalData* g = GetGlobalData();
    m_crNormal = g->clrHotLinkNormalText;
    m_crHover = g->clrHotLinkHoveredText;
    m_crVisited = g->clrHotLinkVisitedText;
    m_nAlignStyle = ALIGN_LEFT;
    LOGFONTW lf = {};
    g->fontRegular.GetLogFont(&lf);
    SetLinkFont(lf.lfWeight > FW_NORMAL, lf.lfFaceName, lf.lfHeight, lf.lfCharSet);
}

void CHyperlink::RepaintIfSeen()
{
    if (m_hWndParentSeen && m_hWnd) Invalidate();
}

void CHyperlink::SetBackground(const RECT& r, CBitmap& picture)
{
    CClientDC dc(m_hWnd ? this : nullptr);
    CopyBitmapPart(m_background, &dc, picture, r.left, r.top, r.right, r.bottom);
}

void CHyperlink::SetLinkFont(BOOL bold, const wchar_t* face, int height, BYTE charSet)
{
    LOGFONTW lf = {};
    lf.lfHeight = height;
    lf.lfWeight = bold ? FW_BOLD : FW_NORMAL;
    lf.lfCharSet = charSet;
    if (face) lstrcpynW(lf.lfFaceName, face, 32);
    m_linkFont.CreateFontIndirect(&lf);
    m_bUnderlineReady = 0;
    RepaintIfSeen();
}

void CHyperlink::SetBoldFont()
{
    LOGFONTW lf = {};
    lf.lfHeight = 14;
    lf.lfWeight = FW_BOLD;
    lf.lfCharSet = DEFAULT_CHARSET;
    lf.lfPitchAndFamily = FF_SWISS;
    lstrcpynW(lf.lfFaceName, L"MS Shell Dlg", 32);
    m_linkFont.CreateFontIndirect(&lf);
    m_bUnderlineReady = 0;
    RepaintIfSeen();
}

void CHyperlink::SetDefaultColors()
{
    m_crNormal = m_crHover = m_crVisited = kLinkColour;
}

void CHyperlink::SetUnderlineFont(CFont& font)
{
    LOGFONTW lf = {};
    font.GetLogFont(&lf);
    lf.lfUnderline = TRUE;
    m_underlineFont.CreateFontIndirect(&lf);
    m_bUnderlineReady = 1;
    RepaintIfSeen();
}

BOOL CHyperlink::PreTranslateMessage(MSG* msg)
{
    if (msg->message >= WM_KEYDOWN && msg->message <= 0x0108 && msg->wParam == VK_SPACE)
        msg->wParam = VK_RETURN;
    return CMFCLinkCtrl::PreTranslateMessage(msg);
}

// The background picture covers the whole link.
void CHyperlink::OnFillBackground(CDC* dc, const RECT& rect)
{
    if (!m_background.GetSafeHandle()) CMFCLinkCtrl::OnFillBackground(dc, rect);
}

void CHyperlink::OnDraw(CDC* dc, const RECT& rect, UINT state)
{
    m_hWndParentSeen = GetParentHwnd();
    if (m_background.GetSafeHandle()) {
        CDC picture;
        picture.CreateCompatibleDC(dc);
        picture.SelectObject(m_background);
        dc->BitBlt(0, 0, rect.right - rect.left, rect.bottom - rect.top, &picture, 0, 0, SRCCOPY);
    }
    if (!m_bFontInit) {
        HFONT parentFont = m_hWndParentSeen ? (HFONT)::SendMessageW(m_hWndParentSeen, WM_GETFONT, 0, 0) : nullptr;
        if (m_bUseParentFont && parentFont) {
            LOGFONTW lf = {};
            GetObjectW(parentFont, sizeof(lf), &lf);
            SetLinkFont(lf.lfWeight > FW_NORMAL, lf.lfFaceName, lf.lfHeight, lf.lfCharSet);
        }
        m_bFontInit = 1;
    }
    HGDIOBJ oldFont;
    if (m_bAlwaysUnderlineText || m_bHighlighted) {
        if (!m_bUnderlineReady) SetUnderlineFont(m_linkFont);
        oldFont = dc->SelectObject(m_underlineFont);
    } else {
        oldFont = dc->SelectObject(m_linkFont);
    }
    dc->SetTextColor(m_bHighlighted ? m_crHover : m_bVisited ? m_crVisited : m_crNormal);
    dc->SetBkMode(TRANSPARENT);
    DrawLinkText(dc, rect);
    dc->SelectObject(oldFont);
}

SIZE CHyperlink::SizeToContent(BOOL verticalCenter, BOOL horizontalCenter)
{
    if (m_bMultilineText) return CMFCLinkCtrl::SizeToContent(verticalCenter, horizontalCenter);
    RECT text = {0, 0, 0, 0};
    {
        CClientDC dc(this);
        dc.SelectObject(m_linkFont);
        dc.DrawText(GetWindowText(), &text, DT_CALCRECT | DT_SINGLELINE);
    }
    SIZE size = {text.right + 12, text.bottom + 12};
    if (!verticalCenter && !horizontalCenter) {
        SetWindowPos(nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        return size;
    }
    RECT old = GetRectInParent();
    int x = horizontalCenter ? old.left + ((old.right - old.left) - size.cx) / 2 : old.left;
    int y = verticalCenter ? old.top + ((old.bottom - old.top) - size.cy) / 2 : old.top;
    SetWindowPos(nullptr, x, y, size.cx, size.cy, SWP_NOZORDER | SWP_NOACTIVATE);
    return size;
}
