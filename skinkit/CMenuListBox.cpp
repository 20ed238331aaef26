#include "skinkit/CMenuListBox.h"
#include "skinkit/CSkinPopupMenu.h"
#include "skinkit/SkinHandlers.h"
#include "skinkit/SkinListRow.h"

BEGIN_MESSAGE_MAP(CMenuListBox, CListBox)
    ON_MESSAGE(WM_KILLFOCUS, OnKillFocus)
    ON_MESSAGE(WM_MOUSEWHEEL, OnMouseWheel)
    ON_WM_CTLCOLOR_REFLECT(OnCtlColor)
    ON_MESSAGE(WM_ENABLE, OnEnable)
    ON_MESSAGE(WM_MOUSELEAVE, OnMouseLeave)
END_MESSAGE_MAP()

CMenuListBox::CMenuListBox()
{
    m_font.CreateFont(12, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, FF_SWISS, L"MS Shell Dlg");
}

void CMenuListBox::PreSubclassWindow()
{
    m_bTracking = 0;
    m_nRowHeight = 20;
    m_crHighlightText = GetSysColor(COLOR_HIGHLIGHTTEXT);
    m_crText = GetSysColor(COLOR_WINDOWTEXT);
    m_crHighlight = GetSysColor(COLOR_HIGHLIGHT);
    m_pictureSize = {16, 16};
}

void CMenuListBox::SetDarkColors()
{
    m_crHighlight = 0x292929;
    m_brBackground.CreateSolidBrush(RGB(0, 0, 0));
    if (m_hWnd) Invalidate();
}

void CMenuListBox::SetWhiteText()
{
    m_crText = RGB(255, 255, 255);
    m_crHighlightText = RGB(255, 255, 255);
    if (m_hWnd) Invalidate();
}

int CMenuListBox::AddItem(const wchar_t* text)
{
    int index = AddString(text);
    if (index != LB_ERR && index != LB_ERRSPACE) SetItemData(index, 0);
    return index;
}

void CMenuListBox::MeasureItem(MEASUREITEMSTRUCT* mis)
{
    mis->itemHeight = m_nRowHeight;
}

void CMenuListBox::DrawItem(DRAWITEMSTRUCT* dis)
{
    SkinListColors colors = {m_crText, m_crHighlightText, m_crHighlight, (HBRUSH)m_brBackground.GetSafeHandle()};
    DrawSkinListRow(*dis, colors, m_font);
}

LRESULT CMenuListBox::OnKillFocus(WPARAM wParam, LPARAM)
{
    LRESULT r = Default();
    HWND parent = GetParentHwnd();
    if (!parent || !m_bCloseParent || m_bClosingParent) return r;
    // Focus that stays inside the popup is no reason to close it.
    HWND gaining = (HWND)wParam;
    if (gaining && (gaining == parent || IsChild(parent, gaining))) return r;
    // A popup that is hidden or being destroyed (by its owner, its own keys or the system)
    // takes this list with it: destroying it from here again would run its ending twice.
    if (!::IsWindowVisible(parent)) return r;
    CSkinPopupMenu* popup = dynamic_cast<CSkinPopupMenu*>(CWnd::FromHandle(parent));
    if (popup && popup->IsClosing()) return r;
    // Focus that goes, just after the popup opened, to the window that opened it (or to a
    // hidden one: a button's tooltip, which the button makes foreground when clicked) is a
    // late echo of the click that opened it, not the person going elsewhere: a window
    // manager may hand over the focus of that click only after the popup is up.
    if (popup && gaining && popup->JustShown() && (!::IsWindowVisible(gaining) || popup->IsOpener(gaining))) {
        popup->RetakeFocus();
        return r;
    }
    m_bClosingParent = true;
    if (popup) {
        popup->CloseSelf();
    } else {
        ::ShowWindow(parent, SW_HIDE);
        ::DestroyWindow(parent);
    }
    m_bClosingParent = false;
    return r;
}

LRESULT CMenuListBox::OnMouseWheel(WPARAM wParam, LPARAM)
{
    short delta = (short)HIWORD(wParam);
    SendMessage(WM_VSCROLL, delta <= 0 ? SB_LINEDOWN : SB_LINEUP);
    return TRUE;
}

LRESULT CMenuListBox::OnCtlColor(WPARAM, LPARAM)
{
    if (IsWindowEnabled()) return (LRESULT)m_brBackground.GetSafeHandle();
    if (!m_brDisabled.GetSafeHandle()) m_brDisabled.CreateSolidBrush(GetSysColor(COLOR_INACTIVEBORDER));
    return (LRESULT)m_brDisabled.GetSafeHandle();
}

LRESULT CMenuListBox::OnEnable(WPARAM, LPARAM)
{
    LRESULT r = Default();
    RepaintWhole(m_hWnd);
    return r;
}

LRESULT CMenuListBox::OnMouseLeave(WPARAM, LPARAM)
{
    m_bTracking = 0;
    return Default();
}
