#include "skinkit/CListBoxEx.h"
#include "skinkit/NumberDrag.h"
#include "skinkit/SkinBitmapsRes.h"
#include "core/FunctionCodes.h"
#include "core/Messages.h"
#include <windowsx.h>

BEGIN_MESSAGE_MAP(CListBoxEx, CMenuListBox)
    ON_MESSAGE(WM_LBUTTONDOWN, OnLButtonDown)
    ON_MESSAGE(WM_LBUTTONUP, OnLButtonUp)
    ON_MESSAGE(WM_MOUSEMOVE, OnMouseMove)
    ON_MESSAGE(WM_DROPTARGET_OVER, OnDragOverMessage)
    ON_MESSAGE(WM_DROPTARGET_DROPEX, OnDropExMessage)
    ON_MESSAGE(WM_DROPTARGET_DROP, OnDropMessage)
END_MESSAGE_MAP()

CListBoxEx::CListBoxEx() = default;

void CListBoxEx::SetColors(COLORREF highlight, COLORREF background)
{
    m_crHighlight = highlight;
    m_brBackground.CreateSolidBrush(background);
    if (m_hWnd) Invalidate();
}

void CListBoxEx::SetTextColors(COLORREF text, COLORREF highlightText)
{
    m_crText = text;
    m_crHighlightText = highlightText;
    if (m_hWnd) Invalidate();
}

int CListBoxEx::AddItem(const wchar_t* text, DWORD_PTR data)
{
    int index = AddString(text);
    if (index != LB_ERR && index != LB_ERRSPACE) SetItemData(index, data);
    return index;
}

int CListBoxEx::InsertItem(const wchar_t* text, int row)
{
    int index = (int)SendMessage(LB_INSERTSTRING, (WPARAM)row, (LPARAM)text);
    if (index != LB_ERR && index != LB_ERRSPACE) SetItemData(index, IDB_LIST_BULLET);
    return index;
}

int CListBoxEx::RowCode(int row) const
{
    return row >= 0 && row < GetCount() ? ListRowCode(m_nListKind, row) : -1;
}

int CListBoxEx::RowFromPoint(POINT client) const
{
    if (GetCount() <= 0) return -1;
    LRESULT hit = ::SendMessageW(m_hWnd, LB_ITEMFROMPOINT, 0, MAKELPARAM(client.x, client.y));
    return (int)LOWORD(hit);
}

LRESULT CListBoxEx::OnLButtonDown(WPARAM, LPARAM lParam)
{
    POINT p = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    int code = RowCode(RowFromPoint(p));
    // The drag takes the button's release, which the list still waits for after the
    // default handling below has captured the mouse; a click leaves it in the queue.
    if (m_bDrag && code >= 0 && DragNumberText(code) == DragOutcome::Dragged) PostMessage(WM_LBUTTONUP, 0, 0);
    return Default();
}

LRESULT CListBoxEx::OnLButtonUp(WPARAM, LPARAM lParam)
{
    POINT p = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    RECT client = GetClientRect();
    if (PtInRect(&client, p)) {
        int code = RowCode(GetCurSel());
        if (code >= 0) ::PostMessageW(m_hNotifyWnd, WM_SELECT_CODE, (WPARAM)(code & 0xFFFF), 0);
    }
    // Also without a code: the list lets the mouse go.
    return Default();
}

LRESULT CListBoxEx::OnMouseMove(WPARAM, LPARAM)
{
    LRESULT r = Default();
    if (!m_bTracking) {
        TRACKMOUSEEVENT tme = {};
        tme.cbSize = sizeof(tme);
        tme.dwFlags = TME_LEAVE;
        tme.hwndTrack = m_hWnd;
        m_bTracking = TrackMouseEvent(&tme) ? 1 : 0;
    }
    return r;
}

void CListBoxEx::RegisterDropTarget(CWnd*)
{
    m_dropTarget.Register(this);
}

DROPEFFECT CListBoxEx::OnDragOver(COleDropInfo* info)
{
    return NumberDragOver(info);
}

DROPEFFECT CListBoxEx::OnDropEx(COleDropInfo*)
{
    return (DROPEFFECT)-1;
}

BOOL CListBoxEx::OnDrop(COleDropInfo* info)
{
    return TakeNumberDrop(info);
}
