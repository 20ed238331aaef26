#include "skinkit/CSliderMarker.h"
#include "skinkit/SkinPicture.h"
#include "core/Messages.h"
#include "framework/CDC.h"
#include <windowsx.h>

BEGIN_MESSAGE_MAP(CSliderMarker, CWnd)
    ON_MESSAGE(WM_PAINT, OnPaint)
    ON_MESSAGE(WM_PRINTCLIENT, OnPrintClient)
    ON_MESSAGE(WM_LBUTTONDOWN, OnLButtonDown)
    ON_MESSAGE(WM_MOUSEMOVE, OnMouseMove)
    ON_MESSAGE(WM_LBUTTONUP, OnLButtonUp)
    ON_MESSAGE(WM_CAPTURECHANGED, OnCaptureChanged)
    ON_MESSAGE(WM_KILLFOCUS, OnKillFocus)
END_MESSAGE_MAP()

BOOL CSliderMarker::CreateMarker(int id, RECT rect, CWnd* parent)
{
    m_nID = id;
    m_rcTrack = rect;
    m_pParent = parent;
    m_nMin = 0;
    m_nMax = 10;
    m_nValue = 0;
    m_bDragging = 0;
    // No double-click style: a quick second press starts a drag like the first.
    CString cls = RegisterWndClass(0, LoadCursorW(nullptr, IDC_ARROW));
    return Create(cls, L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP, rect, parent, (UINT)id);
}

void CSliderMarker::SetBitmaps(CBitmap& emptySource, CBitmap& fullSource, RECT rect)
{
    CClientDC dc(this);
    CopyBitmapPart(m_bmpEmpty, &dc, emptySource, rect.left, rect.top, rect.right, rect.bottom);
    CopyBitmapPart(m_bmpFull, &dc, fullSource, rect.left, rect.top, rect.right, rect.bottom);
}

void CSliderMarker::SetPosition(int value)
{
    if (value < m_nMin || value > m_nMax) value = m_nMin;
    m_nValue = value;
    Invalidate();
    UpdateWindow();
}

int CSliderMarker::ValueAtClientPoint(LPARAM point) const
{
    POINT p = {GET_X_LPARAM(point), GET_Y_LPARAM(point)};
    HWND parent = m_pParent && m_pParent->m_hWnd ? m_pParent->m_hWnd : ::GetParent(m_hWnd);
    MapWindowPoints(m_hWnd, parent, &p, 1);
    return MarkerValueAt(m_axis, m_rcTrack, m_nMin, m_nMax, p);
}

void CSliderMarker::Draw(CDC* dc)
{
    int width = m_rcTrack.right - m_rcTrack.left;
    int height = m_rcTrack.bottom - m_rcTrack.top;
    if (width <= 0 || height <= 0) return;
    CBitmap buffer;
    if (!buffer.CreateCompatibleBitmap(dc, width, height)) return;
    CDC mem, picture;
    if (!mem.CreateCompatibleDC(dc) || !picture.CreateCompatibleDC(dc)) return;
    mem.SelectObject(buffer);
    if (m_bmpEmpty.GetSafeHandle()) {
        picture.SelectObject(m_bmpEmpty);
        mem.BitBlt(0, 0, width, height, &picture, 0, 0, SRCCOPY);
    }
    int filled = MarkerFillExtent(m_axis, m_rcTrack, m_nMin, m_nMax, m_nValue);
    if (m_bmpFull.GetSafeHandle() && filled > 0) {
        picture.SelectObject(m_bmpFull);
        if (m_axis == MarkerAxis::Horizontal)
            mem.BitBlt(0, 0, filled, height, &picture, 0, 0, SRCCOPY);
        else
            mem.BitBlt(0, height - filled, width, filled, &picture, 0, height - filled, SRCCOPY);
    }
    dc->BitBlt(0, 0, width, height, &mem, 0, 0, SRCCOPY);
}

LRESULT CSliderMarker::OnPaint(WPARAM, LPARAM)
{
    CPaintDC dc(this);
    Draw(&dc);
    return 0;
}

LRESULT CSliderMarker::OnPrintClient(WPARAM wParam, LPARAM)
{
    CDC dc;
    if (!dc.Attach((HDC)wParam)) return 0;
    Draw(&dc);
    dc.Detach();
    return 0;
}

LRESULT CSliderMarker::OnLButtonDown(WPARAM, LPARAM)
{
    m_nValueAtPress = m_nValue;
    SetCapture();
    m_bDragging = 1;
    return Default();
}

LRESULT CSliderMarker::OnMouseMove(WPARAM, LPARAM lParam)
{
    if (m_bDragging) {
        m_nValue = ValueAtClientPoint(lParam);
        Invalidate();
    }
    return Default();
}

LRESULT CSliderMarker::OnLButtonUp(WPARAM, LPARAM lParam)
{
    m_bDragging = 0;
    m_nValue = ValueAtClientPoint(lParam);
    if (m_pParent && m_pParent->m_hWnd)
        ::PostMessageW(m_pParent->m_hWnd, WM_MARKER_CHANGED, (WPARAM)m_nValue, (LPARAM)m_nID);
    // Only our own capture: another window of this thread may hold it now.
    if (::GetCapture() == m_hWnd) ReleaseCapture();
    Invalidate();
    return Default();
}

// The capture has already gone to another window (or to none): releasing it here would
// take it from that window. The drag ends instead, and the value shown goes back to the
// one the parent knows, since no release will report the dragged one.
LRESULT CSliderMarker::OnCaptureChanged(WPARAM, LPARAM lParam)
{
    if (m_bDragging && (HWND)lParam != m_hWnd) {
        m_bDragging = 0;
        m_nValue = m_nValueAtPress;
        Invalidate();
    }
    return Default();
}

LRESULT CSliderMarker::OnKillFocus(WPARAM, LPARAM)
{
    m_bDragging = 0;
    Invalidate();
    return Default();
}
