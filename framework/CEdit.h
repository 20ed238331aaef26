#pragma once
#include "framework/CWnd.h"

// The system edit control.
class CEdit : public CWnd {
public:
    BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id)
    {
        return CWnd::Create(L"EDIT", L"", style, rect, parent, id);
    }
    BOOL SetReadOnly(BOOL readOnly = TRUE) { return (BOOL)SendMessage(EM_SETREADONLY, readOnly); }
    void SetSel(int start, int end, BOOL noScroll = FALSE)
    {
        SendMessage(EM_SETSEL, (WPARAM)start, (LPARAM)end);
        if (!noScroll) SendMessage(EM_SCROLLCARET);
    }
    void ReplaceSel(const wchar_t* text, BOOL canUndo = FALSE) { SendMessage(EM_REPLACESEL, canUndo, (LPARAM)text); }
    void LimitText(int chars = 0) { SendMessage(EM_LIMITTEXT, (WPARAM)chars); }
    int GetLineCount() const { return (int)::SendMessageW(m_hWnd, EM_GETLINECOUNT, 0, 0); }
    void SetMargins(UINT left, UINT right)
    {
        SendMessage(EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, MAKELPARAM(left, right));
    }
};
