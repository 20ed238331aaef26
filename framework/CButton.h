#pragma once
#include "framework/CWnd.h"

// The system push button. An owner-drawn button draws itself: its parent reflects
// WM_DRAWITEM to DrawItem.
class CButton : public CWnd {
public:
    BOOL Create(const wchar_t* caption, DWORD style, const RECT& rect, CWnd* parent, UINT id)
    {
        return CWnd::Create(L"BUTTON", caption, style, rect, parent, id);
    }
    UINT GetState() const { return (UINT)::SendMessageW(m_hWnd, BM_GETSTATE, 0, 0); }
    void SetState(BOOL highlight) { SendMessage(BM_SETSTATE, highlight); }
    int GetCheck() const { return (int)::SendMessageW(m_hWnd, BM_GETCHECK, 0, 0); }
    void SetCheck(int check) { SendMessage(BM_SETCHECK, check); }
    UINT GetButtonStyle() const { return GetStyle() & 0xFFFF; }
    void SetButtonStyle(UINT style, BOOL redraw = TRUE) { SendMessage(BM_SETSTYLE, style, redraw); }

    virtual void DrawItem(DRAWITEMSTRUCT* dis) {}

protected:
    LRESULT OnReflectedDrawItem(WPARAM, LPARAM lParam)
    {
        DrawItem((DRAWITEMSTRUCT*)lParam);
        return TRUE;
    }
    DECLARE_MESSAGE_MAP()
};
