#pragma once
#include "framework/CWnd.h"
#include <commctrl.h>

// The system tree view. Its notifications (TVN_*, NM_CUSTOMDRAW) go to the parent, which
// reflects them to the tree's object.
class CTreeCtrl : public CWnd {
public:
    BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id)
    {
        return CWnd::Create(WC_TREEVIEWW, L"", style, rect, parent, id);
    }
    // An item with the mask's fields (TVIF_TEXT, TVIF_IMAGE, TVIF_SELECTEDIMAGE, TVIF_PARAM...).
    HTREEITEM InsertItem(UINT mask, const wchar_t* text, int image, int selectedImage, UINT state, UINT stateMask,
                         LPARAM data, HTREEITEM parent, HTREEITEM after)
    {
        TVINSERTSTRUCTW is = {};
        is.hParent = parent;
        is.hInsertAfter = after;
        is.item.mask = mask;
        is.item.pszText = const_cast<wchar_t*>(text);
        is.item.iImage = image;
        is.item.iSelectedImage = selectedImage;
        is.item.state = state;
        is.item.stateMask = stateMask;
        is.item.lParam = data;
        return (HTREEITEM)SendMessage(TVM_INSERTITEMW, 0, (LPARAM)&is);
    }
    HTREEITEM InsertItem(const wchar_t* text, HTREEITEM parent = TVI_ROOT, HTREEITEM after = TVI_LAST)
    {
        return InsertItem(TVIF_TEXT, text, 0, 0, 0, 0, 0, parent, after);
    }
    HTREEITEM GetNextItem(HTREEITEM item, UINT code) const
    {
        return (HTREEITEM)::SendMessageW(m_hWnd, TVM_GETNEXTITEM, code, (LPARAM)item);
    }
    HTREEITEM GetRootItem() const { return GetNextItem(nullptr, TVGN_ROOT); }
    HTREEITEM GetChildItem(HTREEITEM item) const { return GetNextItem(item, TVGN_CHILD); }
    HTREEITEM GetNextSiblingItem(HTREEITEM item) const { return GetNextItem(item, TVGN_NEXT); }
    HTREEITEM GetParentItem(HTREEITEM item) const { return GetNextItem(item, TVGN_PARENT); }
    HTREEITEM GetSelectedItem() const { return GetNextItem(nullptr, TVGN_CARET); }
    HTREEITEM GetFirstVisibleItem() const { return GetNextItem(nullptr, TVGN_FIRSTVISIBLE); }
    BOOL ItemHasChildren(HTREEITEM item) const { return GetChildItem(item) != nullptr; }
    DWORD_PTR GetItemData(HTREEITEM item) const
    {
        TVITEMW tv = {};
        tv.mask = TVIF_PARAM | TVIF_HANDLE;
        tv.hItem = item;
        return item && ::SendMessageW(m_hWnd, TVM_GETITEMW, 0, (LPARAM)&tv) ? (DWORD_PTR)tv.lParam : 0;
    }
    BOOL SetItemData(HTREEITEM item, DWORD_PTR data)
    {
        TVITEMW tv = {};
        tv.mask = TVIF_PARAM | TVIF_HANDLE;
        tv.hItem = item;
        tv.lParam = (LPARAM)data;
        return (BOOL)SendMessage(TVM_SETITEMW, 0, (LPARAM)&tv);
    }
    CString GetItemText(HTREEITEM item) const
    {
        wchar_t buf[260] = {};
        TVITEMW tv = {};
        tv.mask = TVIF_TEXT | TVIF_HANDLE;
        tv.hItem = item;
        tv.pszText = buf;
        tv.cchTextMax = 260;
        return item && ::SendMessageW(m_hWnd, TVM_GETITEMW, 0, (LPARAM)&tv) ? CString(tv.pszText) : CString();
    }
    BOOL SelectItem(HTREEITEM item) { return (BOOL)SendMessage(TVM_SELECTITEM, TVGN_CARET, (LPARAM)item); }
    BOOL Expand(HTREEITEM item, UINT code) { return (BOOL)SendMessage(TVM_EXPAND, code, (LPARAM)item); }
    BOOL EnsureVisible(HTREEITEM item) { return (BOOL)SendMessage(TVM_ENSUREVISIBLE, 0, (LPARAM)item); }
    BOOL DeleteAllItems() { return (BOOL)SendMessage(TVM_DELETEITEM, 0, (LPARAM)TVI_ROOT); }
    UINT GetCount() const { return (UINT)::SendMessageW(m_hWnd, TVM_GETCOUNT, 0, 0); }
    // The item at a point of the client area, with the TVHT_* flags of the spot.
    HTREEITEM HitTest(POINT point, UINT* flags = nullptr) const
    {
        TVHITTESTINFO hit = {};
        hit.pt = point;
        HTREEITEM item = (HTREEITEM)::SendMessageW(m_hWnd, TVM_HITTEST, 0, (LPARAM)&hit);
        if (flags) *flags = hit.flags;
        return item;
    }
    // The item's whole line, or only its text.
    BOOL GetItemRect(HTREEITEM item, RECT* r, BOOL textOnly) const
    {
        *(HTREEITEM*)r = item;
        return (BOOL)::SendMessageW(m_hWnd, TVM_GETITEMRECT, textOnly, (LPARAM)r);
    }
    COLORREF SetBkColor(COLORREF c) { return (COLORREF)SendMessage(TVM_SETBKCOLOR, 0, (LPARAM)c); }
    COLORREF SetTextColor(COLORREF c) { return (COLORREF)SendMessage(TVM_SETTEXTCOLOR, 0, (LPARAM)c); }
};
