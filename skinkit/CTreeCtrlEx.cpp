#include "skinkit/CTreeCtrlEx.h"
#include "skinkit/NumberDrag.h"
#include "core/FunctionCodes.h"
#include "core/Messages.h"
#include "framework/CDC.h"
#include <windowsx.h>

BEGIN_MESSAGE_MAP(CTreeCtrlEx, CTreeCtrl)
    ON_MESSAGE(WM_LBUTTONDOWN, OnLButtonDown)
    ON_MESSAGE(WM_TIMER, OnTimer)
    ON_NOTIFY_REFLECT(TVN_SELCHANGEDW, OnSelChanged)
    ON_NOTIFY_REFLECT(TVN_SELCHANGINGW, OnSelChanging)
    ON_NOTIFY_REFLECT(NM_CUSTOMDRAW, OnCustomDraw)
    ON_MESSAGE(WM_DROPTARGET_OVER, OnDragOverMessage)
    ON_MESSAGE(WM_DROPTARGET_DROPEX, OnDropExMessage)
    ON_MESSAGE(WM_DROPTARGET_DROP, OnDropMessage)
END_MESSAGE_MAP()

CTreeCtrlEx::CTreeCtrlEx() : m_crSelectedText(GetSysColor(COLOR_HIGHLIGHTTEXT))
{
    m_font.CreateFont(12, 0, 0, 0, FW_BOLD, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, FF_SWISS, L"MS Shell Dlg");
    m_brSelected.CreateSolidBrush(0x161616);
    m_brItem.CreateSolidBrush(0x161616);
}

int CTreeCtrlEx::ItemCode(HTREEITEM item) const
{
    if (!item) return -1;
    HTREEITEM parent = GetParentItem(item);
    if (!parent) return -1;
    return CatalogueCode((int)GetItemData(parent), (int)GetItemData(item));
}

void CTreeCtrlEx::AddCatalogue(const std::vector<CatalogueRoot>& roots)
{
    const UINT mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_PARAM;
    for (const CatalogueRoot& root : roots) {
        HTREEITEM group = InsertItem(mask, root.text, 0, 0, 0, 0, (LPARAM)root.group, TVI_ROOT, TVI_LAST);
        if (!group) continue;
        for (const CatalogueChild& child : root.children)
            InsertItem(mask, child.text, 0, 0, 0, 0, (LPARAM)child.item, group, TVI_LAST);
        Expand(group, TVE_COLLAPSE);
    }
}

HTREEITEM CTreeCtrlEx::ItemAtPosition(size_t root, size_t child) const
{
    HTREEITEM item = GetRootItem();
    for (size_t i = 0; item && i < root; ++i) item = GetNextSiblingItem(item);
    if (!item) return nullptr;
    item = GetChildItem(item);
    for (size_t i = 0; item && i < child; ++i) item = GetNextSiblingItem(item);
    return item;
}

HTREEITEM CTreeCtrlEx::CommandUnderCursor(bool onlyInside) const
{
    POINT p;
    GetCursorPos(&p);
    ScreenToClient(&p);
    RECT client = GetClientRect();
    if (onlyInside && !PtInRect(&client, p)) return nullptr;
    HTREEITEM item = HitTest(p);
    return item && !ItemHasChildren(item) ? item : nullptr;
}

void CTreeCtrlEx::ReportCode(int code)
{
    if (code < 0 || !m_hNotifyWnd) return;
    ::PostMessageW(m_hNotifyWnd, WM_SELECT_CODE, (WPARAM)code, 0);
}

LRESULT CTreeCtrlEx::OnLButtonDown(WPARAM, LPARAM lParam)
{
    POINT p = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    HTREEITEM item = HitTest(p);
    if (item && !ItemHasChildren(item)) {
        SelectItem(item);
        SetTimer(kDragTimer, 10);
    }
    return Default();
}

LRESULT CTreeCtrlEx::OnTimer(WPARAM id, LPARAM)
{
    if (id != kDragTimer) return Default();
    KillTimer(kDragTimer);
    HTREEITEM item = CommandUnderCursor(false);
    if (!item) return 0;
    int code = ItemCode(item);
    if (code < 0) return 0;
    if (m_bDrag && (GetKeyState(VK_LBUTTON) & 0x8000)) {
        CString text;
        text.Format(L"%d", code);
        OutputDebugStringW(text);
        if (DragNumberText(code) == DragOutcome::Clicked) {
            // Released where it was pressed: a click, and its release is still to come.
            ReportCode(code);
        } else {
            // The drag took the release; the tree still waits for one.
            PostMessage(WM_LBUTTONUP, 0, 0);
        }
        return 0;
    }
    ReportCode(code);
    return 0;
}

void CTreeCtrlEx::OnSelChanged(NMHDR* hdr, LRESULT* result)
{
    *result = 0;
    // Keys move the selection, not the mouse: the command the pointer happens to rest on
    // was not picked.
    if (((NMTREEVIEWW*)hdr)->action == TVC_BYKEYBOARD) return;
    if (HTREEITEM item = CommandUnderCursor(true)) ReportCode(ItemCode(item));
}

void CTreeCtrlEx::OnCustomDraw(NMHDR* hdr, LRESULT* result)
{
    NMTVCUSTOMDRAW* cd = (NMTVCUSTOMDRAW*)hdr;
    switch (cd->nmcd.dwDrawStage) {
    case CDDS_PREPAINT:
        *result = CDRF_NOTIFYITEMDRAW;
        return;
    case CDDS_ITEMPREPAINT: {
        m_bItemFocus = (cd->nmcd.uItemState & CDIS_FOCUS) != 0;
        cd->nmcd.uItemState &= ~CDIS_FOCUS;
        cd->clrText = m_crSelectedText;
        HTREEITEM item = (HTREEITEM)cd->nmcd.dwItemSpec;
        if (!GetItemRect(item, &m_rcItemText, TRUE)) SetRectEmpty(&m_rcItemText);
        *result = CDRF_NOTIFYPOSTPAINT;
        return;
    }
    case CDDS_ITEMPOSTPAINT: {
        CDC dc;
        dc.Attach(cd->nmcd.hdc);
        if (m_bItemFocus) {
            dc.FillRect(m_rcItemText, m_brSelected);
            dc.DrawFocusRect(m_rcItemText);
            dc.SetTextColor(m_crSelectedText);
        } else {
            dc.FillRect(m_rcItemText, m_brItem);
            dc.SetTextColor(m_crText);
        }
        dc.SetBkMode(TRANSPARENT);
        // The tree may have put its font away before this stage.
        if (HFONT font = GetFont()) dc.SelectObject(font);
        CString text = GetItemText((HTREEITEM)cd->nmcd.dwItemSpec);
        RECT r = m_rcItemText;
        dc.DrawText(text, &r, DT_SINGLELINE | DT_VCENTER | DT_WORD_ELLIPSIS);
        dc.Detach();
        *result = 0;
        return;
    }
    default:
        *result = 0;
        return;
    }
}

void CTreeCtrlEx::RegisterDropTarget(CWnd*)
{
    m_dropTarget.Register(this);
}

DROPEFFECT CTreeCtrlEx::OnDragOver(COleDropInfo* info)
{
    return NumberDragOver(info);
}

DROPEFFECT CTreeCtrlEx::OnDropEx(COleDropInfo*)
{
    return (DROPEFFECT)-1;
}

BOOL CTreeCtrlEx::OnDrop(COleDropInfo* info)
{
    return TakeNumberDrop(info);
}
