#pragma once
#include "framework/CWnd.h"

// The system list box. An owner-drawn list draws and measures its own rows: its parent
// reflects WM_DRAWITEM and WM_MEASUREITEM to DrawItem and MeasureItem.
class CListBox : public CWnd {
public:
    BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id)
    {
        return CWnd::Create(L"LISTBOX", L"", style, rect, parent, id);
    }
    int AddString(const wchar_t* text) { return (int)SendMessage(LB_ADDSTRING, 0, (LPARAM)text); }
    int GetCount() const { return (int)::SendMessageW(m_hWnd, LB_GETCOUNT, 0, 0); }
    int GetCurSel() const { return (int)::SendMessageW(m_hWnd, LB_GETCURSEL, 0, 0); }
    int SetCurSel(int index) { return (int)SendMessage(LB_SETCURSEL, (WPARAM)index); }
    int GetItemHeight(int index) const { return (int)::SendMessageW(m_hWnd, LB_GETITEMHEIGHT, (WPARAM)index, 0); }
    DWORD_PTR GetItemData(int index) const { return (DWORD_PTR)::SendMessageW(m_hWnd, LB_GETITEMDATA, (WPARAM)index, 0); }
    int SetItemData(int index, DWORD_PTR data) { return (int)SendMessage(LB_SETITEMDATA, (WPARAM)index, (LPARAM)data); }
    void ResetContent() { SendMessage(LB_RESETCONTENT); }
    int DeleteString(int index) { return (int)SendMessage(LB_DELETESTRING, (WPARAM)index); }
    int GetTextLen(int index) const { return (int)::SendMessageW(m_hWnd, LB_GETTEXTLEN, (WPARAM)index, 0); }
    CString GetText(int index) const
    {
        int n = GetTextLen(index);
        if (n < 0) return CString();
        CString s;
        ::SendMessageW(m_hWnd, LB_GETTEXT, (WPARAM)index, (LPARAM)s.GetBuffer(n + 1));
        s.ReleaseBuffer();
        return s;
    }
    BOOL GetItemRect(int index, RECT* r) const { return ::SendMessageW(m_hWnd, LB_GETITEMRECT, (WPARAM)index, (LPARAM)r) != LB_ERR; }

    virtual void DrawItem(DRAWITEMSTRUCT* dis) {}
    virtual void MeasureItem(MEASUREITEMSTRUCT* mis) {}

protected:
    LRESULT OnReflectedDrawItem(WPARAM, LPARAM lParam)
    {
        DrawItem((DRAWITEMSTRUCT*)lParam);
        return TRUE;
    }
    LRESULT OnReflectedMeasureItem(WPARAM, LPARAM lParam)
    {
        MeasureItem((MEASUREITEMSTRUCT*)lParam);
        return TRUE;
    }
    DECLARE_MESSAGE_MAP()
};
