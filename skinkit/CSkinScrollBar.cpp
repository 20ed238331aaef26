#include "skinkit/CSkinScrollBar.h"
#include "framework/CDC.h"
#include <windowsx.h>

namespace {

constexpr int kThumbEnd = 6;

// Copies of the skin part (column, row) of the picture in src over r, row by row from its
// top-left corner, the last row and column cut to fit.
void Tile(CDC& dc, CDC& src, const RECT& r, int column, int row, int w, int h)
{
    for (int y = r.top; y < r.bottom; y += h) {
        for (int x = r.left; x < r.right; x += w) {
            int cx = r.right - x < w ? r.right - x : w;
            int cy = r.bottom - y < h ? r.bottom - y : h;
            dc.BitBlt(x, y, cx, cy, &src, column * w, row * h, SRCCOPY);
        }
    }
}

}  // namespace

BEGIN_MESSAGE_MAP(CSkinScrollBar, CScrollBar)
    ON_MESSAGE(WM_SIZE, OnSize)
    ON_MESSAGE(WM_PAINT, OnPaint)
    ON_MESSAGE(WM_LBUTTONDOWN, OnLButtonDown)
    ON_MESSAGE(WM_MOUSEMOVE, OnMouseMove)
    ON_MESSAGE(WM_LBUTTONUP, OnLButtonUp)
    ON_MESSAGE(WM_TIMER, OnTimer)
    ON_MESSAGE(WM_MOUSELEAVE, OnMouseLeave)
    ON_MESSAGE(WM_CAPTURECHANGED, OnCaptureChanged)
    ON_MESSAGE(WM_CANCELMODE, OnCancelMode)
END_MESSAGE_MAP()

CSkinScrollBar::CSkinScrollBar()
{
    m_si = {};
    m_si.cbSize = sizeof(m_si);
    m_si.nTrackPos = -1;
}

void CSkinScrollBar::SetBitmap(HBITMAP skin)
{
    m_hSkin = skin;
    BITMAP bm = {};
    if (skin) GetObjectW(skin, sizeof(bm), &bm);
    m_nPartWidth = bm.bmWidth / 9;
    m_nPartHeight = bm.bmHeight / 3;
    if (!m_hWnd) return;
    RECT r = GetRectInParent();
    if (IsVertical())
        r.right = r.left + m_nPartWidth;
    else
        r.bottom = r.top + m_nPartWidth;
    MoveWindow(r);
}

ScrollParts CSkinScrollBar::Parts(bool forHitTest) const
{
    int position = m_bDragging ? m_si.nTrackPos : m_si.nPos;
    return MeasureScrollParts(m_nLength, m_nPartWidth, m_si, position, forHitTest);
}

int CSkinScrollBar::PartAt(POINT client) const
{
    return ScrollPartAt(Parts(true), Along(client));
}

RECT CSkinScrollBar::PartRect(int part) const
{
    return ScrollPartRect(Parts(false), part, m_nPartWidth, IsVertical());
}

void CSkinScrollBar::Notify(int code, int position)
{
    ::SendMessageW(GetParentHwnd(), IsVertical() ? WM_VSCROLL : WM_HSCROLL, MAKEWPARAM(code, position),
                   (LPARAM)m_hWnd);
}

void CSkinScrollBar::Repaint()
{
    Invalidate(FALSE);
    UpdateWindow();
}

LRESULT CSkinScrollBar::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_LBUTTONDBLCLK:
        return 1;
    case SBM_SETSCROLLINFO: {
        const SCROLLINFO* si = (const SCROLLINFO*)lParam;
        if (!si) return FALSE;
        if (si->fMask & SIF_PAGE) m_si.nPage = si->nPage;
        if (si->fMask & SIF_POS) m_si.nPos = si->nPos;
        if (si->fMask & SIF_RANGE) {
            m_si.nMin = si->nMin;
            m_si.nMax = si->nMax;
        }
        if (wParam) Repaint();
        return TRUE;
    }
    case SBM_GETSCROLLINFO: {
        SCROLLINFO* si = (SCROLLINFO*)lParam;
        if (!si) return FALSE;
        if (si->fMask & SIF_PAGE) si->nPage = m_si.nPage;
        if (si->fMask & SIF_POS) si->nPos = m_si.nPos;
        if (si->fMask & SIF_TRACKPOS) si->nTrackPos = m_bDragging ? m_si.nTrackPos : -1;
        if (si->fMask & SIF_RANGE) {
            si->nMin = m_si.nMin;
            si->nMax = m_si.nMax;
        }
        return TRUE;
    }
    case WM_ENABLE:
        // The system control would draw itself in its own look.
        Invalidate(FALSE);
        return 0;
    default:
        return CScrollBar::WindowProc(message, wParam, lParam);
    }
}

LRESULT CSkinScrollBar::OnSize(WPARAM, LPARAM lParam)
{
    LRESULT r = Default();
    m_nLength = IsVertical() ? HIWORD(lParam) : LOWORD(lParam);
    return r;
}

void CSkinScrollBar::Draw(CDC& dc)
{
    if (!m_hSkin || m_nPartWidth <= 0 || m_nPartHeight <= 0) return;
    const int w = m_nPartWidth;
    const int h = m_nPartHeight;
    const bool vertical = IsVertical();
    const int first = vertical ? 0 : 4;
    CDC skin;
    skin.CreateCompatibleDC(&dc);
    skin.SelectObject(m_hSkin);
    ScrollParts parts = Parts(false);

    Tile(dc, skin, ScrollPartRect(parts, SB_PAGEUP, w, vertical), first + 3, 0, w, h);
    Tile(dc, skin, ScrollPartRect(parts, SB_PAGEDOWN, w, vertical), first + 3, 0, w, h);

    // Arrows: pressed while held with the pointer on them, hot under a free pointer.
    const int arrows[2] = {SB_LINEUP, SB_LINEDOWN};
    for (int i = 0; i < 2; ++i) {
        int part = arrows[i];
        int row = 0;
        if (m_nPressedPart == part)
            row = m_bOutside ? 0 : 2;
        else if (m_nPressedPart < 0 && !m_bDragging && m_nHotPart == part)
            row = 1;
        RECT r = ScrollPartRect(parts, part, w, vertical);
        int cx = r.right - r.left, cy = r.bottom - r.top;
        if (cx == w && cy == w)
            dc.BitBlt(r.left, r.top, w, w, &skin, (first + i) * w, row * h, SRCCOPY);
        else if (cx > 0 && cy > 0)
            dc.StretchBlt(r.left, r.top, cx, cy, &skin, (first + i) * w, row * h, w, w, SRCCOPY);
    }

    // The thumb: its two 6-pixel ends, the image's middle tiled between them.
    RECT t = ScrollPartRect(parts, SB_THUMBTRACK, w, vertical);
    if (IsRectEmpty(&t)) return;
    int row = m_bDragging || (m_nPressedPart < 0 && m_nHotPart == SB_THUMBTRACK) ? 1 : 0;
    int sx = (first + 2) * w, sy = row * h;
    int middle = w - 2 * kThumbEnd;
    if (vertical) {
        dc.BitBlt(t.left, t.top, w, kThumbEnd, &skin, sx, sy, SRCCOPY);
        dc.BitBlt(t.left, t.bottom - kThumbEnd, w, kThumbEnd, &skin, sx, sy + w - kThumbEnd, SRCCOPY);
        for (int y = t.top + kThumbEnd; y < t.bottom - kThumbEnd && middle > 0; y += middle) {
            int cy = t.bottom - kThumbEnd - y < middle ? t.bottom - kThumbEnd - y : middle;
            dc.BitBlt(t.left, y, w, cy, &skin, sx, sy + kThumbEnd, SRCCOPY);
        }
    } else {
        dc.BitBlt(t.left, t.top, kThumbEnd, w, &skin, sx, sy, SRCCOPY);
        dc.BitBlt(t.right - kThumbEnd, t.top, kThumbEnd, w, &skin, sx + w - kThumbEnd, sy, SRCCOPY);
        for (int x = t.left + kThumbEnd; x < t.right - kThumbEnd && middle > 0; x += middle) {
            int cx = t.right - kThumbEnd - x < middle ? t.right - kThumbEnd - x : middle;
            dc.BitBlt(x, t.top, cx, w, &skin, sx + kThumbEnd, sy, SRCCOPY);
        }
    }
}

LRESULT CSkinScrollBar::OnPaint(WPARAM, LPARAM)
{
    CPaintDC paint(this);
    RECT client = GetClientRect();
    {
        CMemoryDC dc(paint, client);
        Draw(dc);
    }
    return 0;
}

LRESULT CSkinScrollBar::OnLButtonDown(WPARAM, LPARAM lParam)
{
    SetCapture();
    POINT p = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    int part = PartAt(p);
    if (part == SB_THUMBTRACK) {
        m_bDragging = 1;
        m_ptDrag = p;
        m_si.nTrackPos = m_si.nPos;
        m_nDragStartPos = m_si.nPos;
    } else if (part >= 0) {
        m_nPressedPart = part;
        Notify(part, 0);
        SetTimer(kFirstRepeatTimer, 500);
        m_bOutside = 0;
    }
    Repaint();
    return 0;
}

void CSkinScrollBar::FollowMouse(POINT p, bool fromLeave)
{
    if (!m_bTracking && !fromLeave) {
        TRACKMOUSEEVENT tme = {};
        tme.cbSize = sizeof(tme);
        tme.dwFlags = TME_LEAVE;
        tme.hwndTrack = m_hWnd;
        tme.dwHoverTime = 1;
        m_bTracking = TrackMouseEvent(&tme) ? 1 : 0;
    }
    // A box opened over the bar's window while it was held: the system leaves the mouse
    // with the bar, which takes no more input.
    if ((m_bDragging || m_nPressedPart >= 0) && !TakesInput()) {
        CancelPress();
        return;
    }
    if (m_bDragging) {
        if (fromLeave) return;
        int d = IsVertical() ? p.y - m_ptDrag.y : p.x - m_ptDrag.x;
        int position = ThumbDragPosition(m_si, m_nDragStartPos, d, Parts(true));
        if (position == m_si.nTrackPos) return;
        m_si.nTrackPos = position;
        Repaint();
        Notify(SB_THUMBTRACK, m_si.nTrackPos);
        return;
    }
    if (m_nPressedPart < 0) {
        int hot = fromLeave ? -1 : PartAt(p);
        if (hot != m_nHotPart) {
            m_nHotPart = hot;
            Repaint();
        }
        return;
    }
    RECT pressed = PartRect(m_nPressedPart);
    int outside = fromLeave || !PtInRect(&pressed, p) ? 1 : 0;
    if (outside != m_bOutside) {
        m_bOutside = outside;
        Repaint();
    }
}

LRESULT CSkinScrollBar::OnMouseMove(WPARAM, LPARAM lParam)
{
    FollowMouse(POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}, false);
    return 0;
}

LRESULT CSkinScrollBar::OnMouseLeave(WPARAM, LPARAM)
{
    m_bTracking = 0;
    FollowMouse(POINT{-1, -1}, true);
    return 0;
}

void CSkinScrollBar::StopRepeat()
{
    if (m_bAutoRepeat) {
        KillTimer(kRepeatTimer);
        m_bAutoRepeat = 0;
    } else {
        KillTimer(kFirstRepeatTimer);
    }
}

LRESULT CSkinScrollBar::OnLButtonUp(WPARAM, LPARAM lParam)
{
    m_bReleasing = true;
    if (::GetCapture() == m_hWnd) ReleaseCapture();
    m_bReleasing = false;
    EndPress(POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}, true);
    return 0;
}

void CSkinScrollBar::EndPress(POINT p, bool pointerOnBar)
{
    if (!m_bDragging) {
        if (m_nPressedPart < 0) return;
        StopRepeat();
        m_nPressedPart = -1;
        m_nHotPart = pointerOnBar ? PartAt(p) : -1;
        Repaint();
        return;
    }
    m_bDragging = 0;
    // The parent answers with the window's new position (SBM_SETSCROLLINFO).
    Notify(SB_THUMBPOSITION, m_si.nTrackPos);
    m_si.nTrackPos = -1;
    m_nHotPart = pointerOnBar ? PartAt(p) : -1;
    Repaint();
}

// The mouse taken by another window, or by none (a box disabling the bar's window): no
// release will come here, so the press ends now. The capture is left where it went.
LRESULT CSkinScrollBar::OnCaptureChanged(WPARAM, LPARAM lParam)
{
    if (!m_bReleasing && (HWND)lParam != m_hWnd) EndPress(POINT{-1, -1}, false);
    return Default();
}

void CSkinScrollBar::CancelPress()
{
    if (::GetCapture() == m_hWnd) ReleaseCapture();
    EndPress(POINT{-1, -1}, false);
}

LRESULT CSkinScrollBar::OnCancelMode(WPARAM, LPARAM)
{
    CancelPress();
    return Default();
}

bool CSkinScrollBar::TakesInput() const
{
    for (HWND h = m_hWnd; h; h = (GetWindowLongPtrW(h, GWL_STYLE) & WS_CHILD) ? ::GetParent(h) : nullptr)
        if (!::IsWindowEnabled(h)) return false;
    return true;
}

LRESULT CSkinScrollBar::OnTimer(WPARAM id, LPARAM)
{
    if (id == kFirstRepeatTimer) {
        m_bAutoRepeat = 1;
        KillTimer(kFirstRepeatTimer);
        SetTimer(kRepeatTimer, 100);
    } else if (id != kRepeatTimer) {
        return 0;
    }
    if (!TakesInput()) {
        CancelPress();
        return 0;
    }
    if (m_bOutside) return 0;
    switch (m_nPressedPart) {
    case SB_LINEUP:
        if (m_si.nPos == m_si.nMin)
            KillTimer(kRepeatTimer);
        else
            Notify(SB_LINEUP, 0);
        break;
    case SB_LINEDOWN:
        if (m_si.nPos == m_si.nMax)
            KillTimer(kRepeatTimer);
        else
            Notify(SB_LINEDOWN, 0);
        break;
    case SB_PAGEUP:
    case SB_PAGEDOWN: {
        POINT p;
        GetCursorPos(&p);
        ScreenToClient(&p);
        RECT thumb = PartRect(SB_THUMBTRACK);
        if (PtInRect(&thumb, p))
            KillTimer(kRepeatTimer);
        else
            Notify(m_nPressedPart, 0);
        break;
    }
    default:
        break;
    }
    return 0;
}
