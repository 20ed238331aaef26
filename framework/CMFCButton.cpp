#include "framework/CMFCButton.h"
#include "framework/CDC.h"

BEGIN_MESSAGE_MAP(CMFCButton, CButton)
    ON_MESSAGE(WM_MOUSEMOVE, OnMouseMove)
    ON_MESSAGE(WM_MOUSELEAVE, OnMouseLeave)
    ON_MESSAGE(WM_LBUTTONUP, OnLButtonUp)
    ON_MESSAGE(WM_KEYUP, OnKeyUp)
END_MESSAGE_MAP()

void CMFCButton::PreSubclassWindow()
{
    DWORD style = GetStyle();
    SetWindowLongPtrW(m_hWnd, GWL_STYLE, (LONG_PTR)((style & ~BS_TYPEMASK) | BS_OWNERDRAW));
}

void CMFCButton::SetTooltip(const wchar_t* text)
{
    if (!m_hWnd) return;
    if (!m_wndToolTip.m_hWnd) {
        // The tooltip watches the button's messages itself.
        if (!m_wndToolTip.Create(this, TTS_ALWAYSTIP)) return;
        TTTOOLINFOW ti = {};
        ti.cbSize = TTTOOLINFOW_V2_SIZE;
        ti.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
        ti.hwnd = m_hWnd;
        ti.uId = (UINT_PTR)m_hWnd;
        ti.lpszText = const_cast<wchar_t*>(text ? text : L"");
        m_wndToolTip.SendMessage(TTM_ADDTOOLW, 0, (LPARAM)&ti);
    } else {
        TTTOOLINFOW ti = {};
        ti.cbSize = TTTOOLINFOW_V2_SIZE;
        ti.hwnd = m_hWnd;
        ti.uId = (UINT_PTR)m_hWnd;
        ti.lpszText = const_cast<wchar_t*>(text ? text : L"");
        m_wndToolTip.SendMessage(TTM_UPDATETIPTEXTW, 0, (LPARAM)&ti);
    }
    m_wndToolTip.Activate(TRUE);
}

void CMFCButton::DrawItem(DRAWITEMSTRUCT* dis)
{
    CDC dc;
    dc.Attach(dis->hDC);
    {
        CMemoryDC mem(dis->hDC, dis->rcItem);
        OnFillBackground(&mem, dis->rcItem);
        OnDraw(&mem, dis->rcItem, dis->itemState);
        if ((dis->itemState & ODS_FOCUS) && !(dis->itemState & ODS_NOFOCUSRECT)) OnDrawFocusRect(&mem, dis->rcItem);
    }
    dc.Detach();
}

void CMFCButton::OnFillBackground(CDC* dc, const RECT& rect)
{
    dc->FillSolidRect(rect, GetSysColor(COLOR_BTNFACE));
}

void CMFCButton::OnDraw(CDC* dc, const RECT& rect, UINT state)
{
    HFONT font = GetFont();
    if (font) dc->SelectObject(font);
    dc->SetBkMode(TRANSPARENT);
    dc->SetTextColor(GetSysColor((state & ODS_DISABLED) ? COLOR_GRAYTEXT : COLOR_BTNTEXT));
    RECT r = rect;
    UINT align = m_nAlignStyle == ALIGN_LEFT ? DT_LEFT : m_nAlignStyle == ALIGN_RIGHT ? DT_RIGHT : DT_CENTER;
    dc->DrawText(GetWindowText(), &r, DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | align);
}

void CMFCButton::OnDrawFocusRect(CDC* dc, const RECT& rect)
{
    RECT r = rect;
    InflateRect(&r, -2, -2);
    dc->DrawFocusRect(r);
}

SIZE CMFCButton::MeasureText(CDC* dc)
{
    HFONT font = GetFont();
    if (font) dc->SelectObject(font);
    RECT r = {0, 0, 0, 0};
    CString text = GetWindowText();
    dc->DrawText(text, &r, DT_CALCRECT | DT_SINGLELINE);
    return SIZE{r.right - r.left, r.bottom - r.top};
}

SIZE CMFCButton::SizeToContent(BOOL verticalCenter, BOOL horizontalCenter)
{
    SIZE text;
    {
        CClientDC dc(this);
        text = MeasureText(&dc);
    }
    SIZE size = {text.cx + 12, text.cy + 12};
    RECT r = GetRectInParent();
    if (!verticalCenter && !horizontalCenter) {
        SetWindowPos(nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        return size;
    }
    int x = r.left;
    int y = r.top;
    if (horizontalCenter) x = r.left + ((r.right - r.left) - size.cx) / 2;
    if (verticalCenter) y = r.top + ((r.bottom - r.top) - size.cy) / 2;
    SetWindowPos(nullptr, x, y, size.cx, size.cy, SWP_NOZORDER | SWP_NOACTIVATE);
    return size;
}

LRESULT CMFCButton::OnMouseMove(WPARAM, LPARAM)
{
    if (!m_bHighlighted) {
        m_bHighlighted = TRUE;
        TRACKMOUSEEVENT tme = {sizeof(tme), TME_LEAVE, m_hWnd, 0};
        TrackMouseEvent(&tme);
        Invalidate(FALSE);
    }
    return Default();
}

LRESULT CMFCButton::OnMouseLeave(WPARAM, LPARAM)
{
    m_bHighlighted = FALSE;
    Invalidate(FALSE);
    return Default();
}

LRESULT CMFCButton::OnLButtonUp(WPARAM, LPARAM)
{
    m_bClicking = TRUE;
    LRESULT r = Default();
    m_bClicking = FALSE;
    return r;
}

LRESULT CMFCButton::OnKeyUp(WPARAM, LPARAM)
{
    m_bClicking = TRUE;
    LRESULT r = Default();
    m_bClicking = FALSE;
    return r;
}
