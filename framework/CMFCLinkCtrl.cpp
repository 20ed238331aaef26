#include "framework/CMFCLinkCtrl.h"
#include "framework/AfxGlobalData.h"
#include "framework/CDC.h"
#include <shellapi.h>

BEGIN_MESSAGE_MAP(CMFCLinkCtrl, CMFCButton)
    ON_CONTROL_REFLECT_EX(BN_CLICKED, OnClicked)
    ON_MESSAGE(WM_SETCURSOR, OnSetCursor)
END_MESSAGE_MAP()

CMFCLinkCtrl::CMFCLinkCtrl()
{
    m_nAlignStyle = ALIGN_LEFT;
}

BOOL CMFCLinkCtrl::PreTranslateMessage(MSG* msg)
{
    if (msg->hwnd == m_hWnd && msg->wParam == VK_RETURN) {
        if (msg->message == WM_KEYDOWN) {
            OpenLink();
            return TRUE;
        }
        // The rest of that key press must not reach the dialog as its default button.
        if (msg->message == WM_KEYUP || msg->message == WM_CHAR) return TRUE;
    }
    return CMFCButton::PreTranslateMessage(msg);
}

// A command with this button's handle that the button did not send itself (the dialog
// keys send the default id with the control of that id) is left to the parent.
BOOL CMFCLinkCtrl::OnClicked()
{
    if (!m_bClicking) return FALSE;
    OpenLink();
    return TRUE;
}

void CMFCLinkCtrl::OpenLink()
{
    if (!IsWindowEnabled() || m_strURL.IsEmpty()) return;
    CString target = m_strPrefix + m_strURL;
    ShellExecuteW(nullptr, L"open", target, nullptr, nullptr, SW_SHOWNORMAL);
    m_bVisited = TRUE;
    Invalidate(FALSE);
}

LRESULT CMFCLinkCtrl::OnSetCursor(WPARAM, LPARAM)
{
    ::SetCursor(LoadCursorW(nullptr, IDC_HAND));
    return TRUE;
}

void CMFCLinkCtrl::OnFillBackground(CDC* dc, const RECT& rect)
{
    // The parent's own background, as for a transparent control.
    HWND parent = GetParentHwnd();
    HBRUSH brush = parent ? (HBRUSH)::SendMessageW(parent, WM_CTLCOLORBTN, (WPARAM)dc->m_hDC, (LPARAM)m_hWnd) : nullptr;
    if (brush)
        dc->FillRect(rect, brush);
    else
        CMFCButton::OnFillBackground(dc, rect);
}

void CMFCLinkCtrl::OnDraw(CDC* dc, const RECT& rect, UINT state)
{
    AfxGlobalData* g = GetGlobalData();
    bool underline = m_bAlwaysUnderlineText || m_bHighlighted;
    dc->SelectObject(underline ? g->fontUnderline : g->fontRegular);
    dc->SetTextColor(m_bHighlighted ? g->clrHotLinkHoveredText
                                    : m_bVisited ? g->clrHotLinkVisitedText : g->clrHotLinkNormalText);
    dc->SetBkMode(TRANSPARENT);
    DrawLinkText(dc, rect);
}

void CMFCLinkCtrl::DrawLinkText(CDC* dc, const RECT& rect)
{
    RECT r = rect;
    UINT format = m_bMultilineText ? DT_WORDBREAK
                                   : DT_SINGLELINE | DT_VCENTER | DT_WORD_ELLIPSIS |
                                         (m_nAlignStyle == ALIGN_RIGHT    ? DT_RIGHT
                                          : m_nAlignStyle == ALIGN_CENTER ? DT_CENTER
                                                                          : DT_LEFT);
    dc->DrawText(GetWindowText(), &r, format);
}

void CMFCLinkCtrl::OnDrawFocusRect(CDC* dc, const RECT& rect)
{
    dc->DrawFocusRect(rect);
}

SIZE CMFCLinkCtrl::MeasureText(CDC* dc)
{
    dc->SelectObject(GetGlobalData()->fontRegular);
    RECT r = {0, 0, 0, 0};
    dc->DrawText(GetWindowText(), &r, DT_CALCRECT | DT_SINGLELINE);
    return SIZE{r.right - r.left, r.bottom - r.top};
}

SIZE CMFCLinkCtrl::SizeToContent(BOOL verticalCenter, BOOL horizontalCenter)
{
    if (!m_bMultilineText) return CMFCButton::SizeToContent(verticalCenter, horizontalCenter);
    RECT client = GetClientRect();
    RECT r = {0, 0, client.right, 0};
    {
        CClientDC dc(this);
        dc.SelectObject(GetGlobalData()->fontRegular);
        dc.DrawText(GetWindowText(), &r, DT_CALCRECT | DT_WORDBREAK);
    }
    SIZE size = {client.right, r.bottom - r.top};
    SetWindowPos(nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    return size;
}
