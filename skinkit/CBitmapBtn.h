#pragma once
#include "framework/CButton.h"
#include "framework/CGdiObject.h"
#include "framework/CString.h"
#include "framework/CToolTipCtrl.h"
#include "skinkit/COleDropTargetEx.h"

class CDC;

// The skinned push button: an owner-drawn button that shows one of four state images cut
// out of its window's skin pictures, with an optional caption in one of five styles, a
// fill strip or a character card. It tracks the mouse for a hover image and a tooltip,
// can be a toggle, reports a right click and can be the source and the target of dragged
// profile numbers (drop kind 1, 0..9) and function codes (drop kind 2, 16..1200).
//
// It tells its parent: a click as BN_CLICKED (a toggle sends the WM_COMMAND itself after
// flipping its state); a right press as WM_COMMAND ID_BUTTON_RCLICK with its handle; a
// drop as WM_DROP_PROFILE or WM_DROP_FUNCTION (number, item value), posted.
class CBitmapBtn : public CButton {
public:
    CBitmapBtn();

    // Cuts the four state images at rect out of the window's pictures (loaders pass
    // NORMAL, OVER, DOWN and NORMAL again as the disabled one).
    void SetBitmaps(CBitmap& normal, CBitmap& over, CBitmap& down, CBitmap& disabled, const RECT& rect);
    // Leaves card mode, cuts the images and repaints.
    void SetNormalBitmaps(CBitmap& normal, CBitmap& over, CBitmap& down, CBitmap& disabled, const RECT& rect);
    // Card mode: the card picture is (0, 0, pictureWidth, client height) of the picture.
    void SetPortraitBitmaps(CBitmap& picture, int pictureWidth);
    void SetPortraitTexts(const CString& server, const CString& name, const CString& level, const CString& cls,
                          const CString& race);
    void SetCaption(const CString& caption) { m_strCaption = caption; }
    CString GetCaption() const { return m_strCaption; }
    // Nothing when null.
    void SetToolTipText(const CString* text);
    void SetCheck(int check);
    int GetCheck() const { return m_nCheck; }
    // A click flips the checked state from now on.
    void SetToggle() { m_bToggle = 1; }
    // Turns the fill strip on (no repaint).
    void SetFillColor(COLORREF color);
    // Handed to a popup menu opened from this button.
    int* GetHoverFlagPtr() { return &m_nHover; }

    // The argument is not used: the button itself becomes the drop target.
    virtual void RegisterDropTarget(CWnd* unused);
    virtual BOOL OnDrop(COleDropInfo* info);
    // -1: the drop goes on as OnDrop.
    virtual DROPEFFECT OnDropEx(COleDropInfo* info);
    virtual DROPEFFECT OnDragOver(COleDropInfo* info);

    BOOL PreTranslateMessage(MSG* msg) override;
    void DrawItem(DRAWITEMSTRUCT* dis) override;

    // Set directly by the owning window.
    int m_bLightCaption = 0;
    int m_bUpwardCaption[2] = {0, 0};
    int m_bDownwardCaption[2] = {0, 0};
    int m_bBoldCaption[2] = {0, 0};
    int m_nCaptionLeft = 0;
    int m_nCaptionRight = 0;
    int m_bDragSource = 0;
    int m_nItemValue = -1;
    int m_nDropKind = -1;

    // Read by tests and owners.
    CToolTipCtrl m_toolTip;
    CString m_strToolTip;
    COLORREF m_crFill = 0;
    int m_bFill = 0;
    int m_bCard = 0;
    // Character name, server name, level, race, class.
    CString m_strCard[5];
    int m_nCheck = 0;
    int m_bToggle = 0;
    int m_nHover = 0;
    CBitmap m_bmpNormal, m_bmpOver, m_bmpDown, m_bmpDisabled;
    CBitmap m_bmpCard;
    COleDropTargetEx m_dropTarget;
    CString m_strCaption;

protected:
    void PreSubclassWindow() override;
    // The image of the current state, first match: toggle (down when checked), checked,
    // pressed, hovered, disabled, normal.
    CBitmap& ImageFor(UINT itemState);
    void DrawCaption(CDC& dc, int width, int height);
    void DrawCard(CDC& dc, int width, int height);
    bool Accepts(int number) const;

    LRESULT OnKillFocus(WPARAM, LPARAM);
    LRESULT OnMouseMove(WPARAM, LPARAM);
    LRESULT OnCaptureChanged(WPARAM, LPARAM);
    LRESULT OnEraseBkgnd(WPARAM, LPARAM) { return TRUE; }
    LRESULT OnLButtonDown(WPARAM, LPARAM);
    LRESULT OnLButtonUp(WPARAM, LPARAM);
    LRESULT OnRButtonDown(WPARAM, LPARAM);
    LRESULT OnMouseActivate(WPARAM, LPARAM);
    LRESULT OnDragOverMessage(WPARAM w, LPARAM) { return (LRESULT)OnDragOver((COleDropInfo*)w); }
    LRESULT OnDropExMessage(WPARAM w, LPARAM) { return (LRESULT)(LONG)OnDropEx((COleDropInfo*)w); }
    LRESULT OnDropMessage(WPARAM w, LPARAM) { return (LRESULT)OnDrop((COleDropInfo*)w); }
    DECLARE_MESSAGE_MAP()
};
