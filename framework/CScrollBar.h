#pragma once
#include "framework/CWnd.h"

// The system scroll-bar control (SBS_VERT in the style makes it vertical).
class CScrollBar : public CWnd {
public:
    BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id)
    {
        return CWnd::Create(L"SCROLLBAR", L"", style, rect, parent, id);
    }
    BOOL SetScrollInfo(SCROLLINFO* info, BOOL redraw = TRUE)
    {
        info->cbSize = sizeof(SCROLLINFO);
        return (BOOL)SendMessage(SBM_SETSCROLLINFO, redraw, (LPARAM)info);
    }
    // mask: the SIF_* fields to fill.
    BOOL GetScrollInfo(SCROLLINFO* info, UINT mask = SIF_ALL) const
    {
        info->cbSize = sizeof(SCROLLINFO);
        info->fMask = mask;
        return (BOOL)::SendMessageW(m_hWnd, SBM_GETSCROLLINFO, 0, (LPARAM)info);
    }
    int GetScrollPos() const { return (int)::SendMessageW(m_hWnd, SBM_GETPOS, 0, 0); }
    BOOL EnableScrollBar(UINT arrows = ESB_ENABLE_BOTH) { return (BOOL)SendMessage(SBM_ENABLE_ARROWS, arrows); }
};
