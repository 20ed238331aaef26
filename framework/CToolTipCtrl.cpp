#include "framework/CToolTipCtrl.h"
#include <commctrl.h>

BOOL CToolTipCtrl::Create(CWnd* parent, DWORD style)
{
    // An unowned popup would get a button of its own on a desktop's task bar.
    if (!parent || !parent->m_hWnd) return FALSE;
    INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_WIN95_CLASSES};
    InitCommonControlsEx(&icc);
    return CreateEx(WS_EX_TOOLWINDOW, TOOLTIPS_CLASSW, nullptr, WS_POPUP | style, CW_USEDEFAULT, CW_USEDEFAULT,
                    CW_USEDEFAULT, CW_USEDEFAULT, parent->m_hWnd, nullptr);
}

// The first version of the record: every version of the control accepts it.
void CToolTipCtrl::FillTool(TTTOOLINFOW& ti, CWnd* wnd, UINT_PTR id) const
{
    ti = {};
    ti.cbSize = TTTOOLINFOW_V2_SIZE;
    ti.hwnd = wnd ? wnd->m_hWnd : nullptr;
    ti.uId = id;
}

BOOL CToolTipCtrl::AddTool(CWnd* wnd, const wchar_t* text, const RECT* rect, UINT_PTR id)
{
    if (!m_hWnd || !wnd) return FALSE;
    TTTOOLINFOW ti;
    FillTool(ti, wnd, id);
    if (rect) {
        ti.rect = *rect;
    } else {
        ti.uFlags = TTF_IDISHWND;
        ti.uId = (UINT_PTR)wnd->m_hWnd;
    }
    ti.lpszText = const_cast<wchar_t*>(text ? text : L"");
    return (BOOL)SendMessage(TTM_ADDTOOLW, 0, (LPARAM)&ti);
}

void CToolTipCtrl::DelTool(CWnd* wnd, UINT_PTR id)
{
    TTTOOLINFOW ti;
    FillTool(ti, wnd, id);
    SendMessage(TTM_DELTOOLW, 0, (LPARAM)&ti);
}

void CToolTipCtrl::UpdateTipText(const wchar_t* text, CWnd* wnd, UINT_PTR id)
{
    TTTOOLINFOW ti;
    FillTool(ti, wnd, id);
    ti.lpszText = const_cast<wchar_t*>(text ? text : L"");
    SendMessage(TTM_UPDATETIPTEXTW, 0, (LPARAM)&ti);
}

CString CToolTipCtrl::GetText(CWnd* wnd, UINT_PTR id) const
{
    wchar_t buf[1024] = {};
    TTTOOLINFOW ti;
    FillTool(ti, wnd, id);
    ti.lpszText = buf;
    ::SendMessageW(m_hWnd, TTM_GETTEXTW, 1024, (LPARAM)&ti);
    return CString(buf);
}
