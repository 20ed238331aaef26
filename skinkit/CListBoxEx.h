#pragma once
#include "skinkit/CMenuListBox.h"
#include "skinkit/COleDropTargetEx.h"

// The function picker's list of codes: owner-drawn rows like a popup menu's, each with the
// marker picture its item data names (IDB_LIST_BULLET). Row r of list kind 1 stands for
// code 16 + r (rows 0..5), of kind 2 for 32 + r (0..11), of kind 3 for 1000 + r (0..49).
// A click on a row posts WM_SELECT_CODE (code, 0) to the notify window; with the drag flag
// set, pressing on a row can drag its code as text. Rows without a code report and drag
// nothing. Text drops that are a number are taken and ignored.
//
// It shares the popup list's rows, colours, wheel (one line per message), colour answer
// and repaint on enabling; losing the focus destroys the parent only while the
// close-parent flag is set (the picker clears it). Its selection changes reach the parent
// as LBN_SELCHANGE.
//
// The owner creates it (WS_CHILD | WS_VSCROLL | LBS_NOTIFY | LBS_OWNERDRAWVARIABLE |
// LBS_HASSTRINGS), sets the colours, the kind, the drag flag and the notify window, clears
// the close-parent flag and registers the drop target.
class CListBoxEx : public CMenuListBox {
public:
    CListBoxEx();

    // The selected row's fill and the list's ground.
    void SetColors(COLORREF highlight, COLORREF background);
    void SetTextColors(COLORREF text, COLORREF highlightText);
    // Appends a row with the item data; answers its index, or a negative number.
    int AddItem(const wchar_t* text, DWORD_PTR data);
    // A row with item data IDB_LIST_BULLET at that index (-1 appends); answers its index.
    int InsertItem(const wchar_t* text, int row);
    // The code of a row of this list, -1 for none.
    int RowCode(int row) const;
    // The row at a client point or nearest to it; -1 in an empty list.
    int RowFromPoint(POINT client) const;

    // The argument is not used: the list itself becomes the drop target.
    virtual void RegisterDropTarget(CWnd* unused);
    virtual BOOL OnDrop(COleDropInfo* info);
    // -1: the drop goes on as OnDrop.
    virtual DROPEFFECT OnDropEx(COleDropInfo* info);
    virtual DROPEFFECT OnDragOver(COleDropInfo* info);

    HWND m_hNotifyWnd = nullptr;
    int m_bDrag = 0;
    int m_nListKind = -1;
    COleDropTargetEx m_dropTarget;

protected:
    LRESULT OnLButtonDown(WPARAM, LPARAM);
    LRESULT OnLButtonUp(WPARAM, LPARAM);
    LRESULT OnMouseMove(WPARAM, LPARAM);
    LRESULT OnDragOverMessage(WPARAM w, LPARAM) { return (LRESULT)OnDragOver((COleDropInfo*)w); }
    LRESULT OnDropExMessage(WPARAM w, LPARAM) { return (LRESULT)(LONG)OnDropEx((COleDropInfo*)w); }
    LRESULT OnDropMessage(WPARAM w, LPARAM) { return (LRESULT)OnDrop((COleDropInfo*)w); }
    DECLARE_MESSAGE_MAP()
};
