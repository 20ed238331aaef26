#include "skinkit/CColorBtn.h"
#include "skinkit/SkinButtonParts.h"
#include "framework/CDC.h"

BEGIN_MESSAGE_MAP(CColorBtn, CButton)
    ON_MESSAGE(WM_KILLFOCUS, OnKillFocus)
    ON_MESSAGE(WM_MOUSEMOVE, OnMouseMove)
    ON_MESSAGE(WM_CAPTURECHANGED, OnCaptureChanged)
    ON_MESSAGE(WM_ERASEBKGND, OnEraseBkgnd)
    ON_MESSAGE(WM_LBUTTONDOWN, OnLButtonDown)
    ON_MESSAGE(WM_LBUTTONUP, OnLButtonUp)
END_MESSAGE_MAP()

void CColorBtn::PreSubclassWindow()
{
    PrepareImageButton(*this, m_nHover);
}

void CColorBtn::SetBitmaps(CBitmap& normal, CBitmap& over, CBitmap& down, CBitmap& disabled, const RECT& r)
{
    CBitmap* const images[4] = {&m_bmpNormal, &m_bmpOver, &m_bmpDown, &m_bmpDisabled};
    CutStateImages(*this, images, normal, over, down, disabled, r);
}

void CColorBtn::SetColor(COLORREF color)
{
    m_crSwatch = color;
    m_bSwatch = 1;
}

void CColorBtn::SetCheck(int check)
{
    if (m_nCheck == check) return;
    m_nCheck = check;
    Invalidate();
}

void CColorBtn::SetToolTipText(const CString* text)
{
    if (!text) return;
    if (EnsureButtonTip(m_toolTip, *this)) SetButtonTip(m_toolTip, *this, *text);
}

BOOL CColorBtn::PreTranslateMessage(MSG* msg)
{
    if (EnsureButtonTip(m_toolTip, *this)) m_toolTip.RelayEvent(msg);
    return CButton::PreTranslateMessage(msg);
}

void CColorBtn::DrawItem(DRAWITEMSTRUCT* dis)
{
    CBitmap* image = &m_bmpNormal;
    if (m_nCheck || (dis->itemState & ODS_SELECTED))
        image = &m_bmpDown;
    else if (m_nHover)
        image = &m_bmpOver;
    else if (dis->itemState & ODS_DISABLED)
        image = &m_bmpDisabled;
    if (!image->GetSafeHandle()) return;
    RECT client = GetClientRect();
    CDC dc;
    dc.Attach(dis->hDC);
    CDC picture;
    picture.CreateCompatibleDC(&dc);
    picture.SelectObject(*image);
    // The swatch is painted into the image itself: a 1-pixel frame and the right 21
    // pixels keep the skin.
    if (m_bSwatch) picture.FillSolidRect(RECT{1, 1, client.right - 21, client.bottom - 1}, m_crSwatch);
    dc.BitBlt(0, 0, client.right, client.bottom, &picture, 0, 0, SRCCOPY);
    dc.Detach();
}

LRESULT CColorBtn::OnKillFocus(WPARAM, LPARAM)
{
    LRESULT r = Default();
    m_nHover = 0;
    Invalidate();
    return r;
}

LRESULT CColorBtn::OnMouseMove(WPARAM wParam, LPARAM)
{
    LRESULT r = Default();
    bool leftHeld = (wParam & MK_LBUTTON) != 0;
    if (leftHeld && m_nHover == 0) return r;
    FollowHover(*this, leftHeld, m_nHover);
    return r;
}

// The capture is already gone when this arrives: releasing it here would take it from the
// window that has just got it. The hover look ends with it.
LRESULT CColorBtn::OnCaptureChanged(WPARAM, LPARAM)
{
    if (m_nHover == 1) {
        m_nHover = 0;
        Invalidate();
    }
    return Default();
}

LRESULT CColorBtn::OnLButtonDown(WPARAM, LPARAM)
{
    HWND owner = GetOwnerHwnd();
    if (owner != ::GetActiveWindow()) ::SetActiveWindow(owner);
    return Default();
}
