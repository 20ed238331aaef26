#pragma once
#include "framework/CGdiObject.h"
#include "framework/CTreeCtrl.h"
#include "skinkit/COleDropTargetEx.h"
#include "core/FunctionCatalogue.h"
#include <vector>

// The tree of game commands: group nodes (item data = group number 1..7) holding command
// nodes (item data = item number in the group). A click on a command posts
// WM_SELECT_CODE (code, 0) to the notify window; holding the button on it drags the code
// as text. Only codes of the catalogue are reported or dragged: a node whose numbers are
// not a catalogue place (a group without commands, for instance) gives nothing, and
// moving the selection with the keys picks nothing. Text drops that are a number are
// taken and ignored.
//
// The owner creates it (TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT, WS_TABSTOP), sets
// the colours (SetBkColor 0x161616, SetTextColor 0x00CCFF) and the font (m_font), the
// notify window, registers the drop target and sets the drag flag.
class CTreeCtrlEx : public CTreeCtrl {
public:
    CTreeCtrlEx();

    // The code of an item: 100 × its parent's data + its own data for a catalogue place,
    // else -1.
    int ItemCode(HTREEITEM item) const;
    // One group node per root after the last one (text, data = group number) with its
    // command nodes (text, data = item number), images 0; every group collapsed.
    void AddCatalogue(const std::vector<CatalogueRoot>& roots);
    // The child-th command (from 0) of the root-th group node (from 0), found by position;
    // null when a step finds no node.
    HTREEITEM ItemAtPosition(size_t root, size_t child) const;

    // The argument is not used: the tree itself becomes the drop target.
    virtual void RegisterDropTarget(CWnd* unused);
    virtual BOOL OnDrop(COleDropInfo* info);
    // -1: the drop goes on as OnDrop.
    virtual DROPEFFECT OnDropEx(COleDropInfo* info);
    virtual DROPEFFECT OnDragOver(COleDropInfo* info);

    HWND m_hNotifyWnd = nullptr;
    CFont m_font;
    COLORREF m_crBackground = 0x161616;
    COLORREF m_crSelectedText;
    COLORREF m_crText = 0x00CCFF;
    CBrush m_brSelected;
    CBrush m_brItem;
    int m_bDrag = 0;
    COleDropTargetEx m_dropTarget;

protected:
    static constexpr UINT_PTR kDragTimer = 110;

    // The command under the mouse pointer, or null (none, or a group).
    HTREEITEM CommandUnderCursor(bool onlyInside) const;
    void ReportCode(int code);

    LRESULT OnLButtonDown(WPARAM, LPARAM);
    LRESULT OnTimer(WPARAM, LPARAM);
    void OnSelChanged(NMHDR*, LRESULT* result);
    void OnSelChanging(NMHDR*, LRESULT* result) { *result = 0; }
    void OnCustomDraw(NMHDR* hdr, LRESULT* result);
    LRESULT OnDragOverMessage(WPARAM w, LPARAM) { return (LRESULT)OnDragOver((COleDropInfo*)w); }
    LRESULT OnDropExMessage(WPARAM w, LPARAM) { return (LRESULT)(LONG)OnDropEx((COleDropInfo*)w); }
    LRESULT OnDropMessage(WPARAM w, LPARAM) { return (LRESULT)OnDrop((COleDropInfo*)w); }
    DECLARE_MESSAGE_MAP()

private:
    // Between an item's two drawing stages.
    bool m_bItemFocus = false;
    RECT m_rcItemText = {0, 0, 0, 0};
};
