#pragma once
#include "framework/CButton.h"
#include "framework/CGdiObject.h"
#include "framework/CString.h"
#include "framework/CToolTipCtrl.h"

// The lighting panel's colour button: a skinned image button whose image shows the
// current light colour as a swatch, with hover and check states and a tooltip.
class CColorBtn : public CButton {
public:
    // Cuts the four state images at rect out of the window's pictures.
    void SetBitmaps(CBitmap& normal, CBitmap& over, CBitmap& down, CBitmap& disabled, const RECT& rect);
    // Stores the colour and shows the swatch from the next paint (the owner repaints).
    void SetColor(COLORREF color);
    void SetCheck(int check);
    int GetCheck() const { return m_nCheck; }
    // Handed to the colour picker.
    int* GetCheckStatePtr() { return &m_nCheck; }
    // Nothing when null; the text is not kept.
    void SetToolTipText(const CString* text);

    BOOL PreTranslateMessage(MSG* msg) override;
    void DrawItem(DRAWITEMSTRUCT* dis) override;

    CToolTipCtrl m_toolTip;
    int m_nCheck = 0;
    COLORREF m_crSwatch = 0;
    int m_bSwatch = 0;
    int m_nHover = 0;
    CBitmap m_bmpNormal, m_bmpOver, m_bmpDown, m_bmpDisabled;

protected:
    void PreSubclassWindow() override;
    LRESULT OnKillFocus(WPARAM, LPARAM);
    LRESULT OnMouseMove(WPARAM, LPARAM);
    LRESULT OnCaptureChanged(WPARAM, LPARAM);
    LRESULT OnEraseBkgnd(WPARAM, LPARAM) { return FALSE; }
    LRESULT OnLButtonDown(WPARAM, LPARAM);
    LRESULT OnLButtonUp(WPARAM, LPARAM) { return Default(); }
    DECLARE_MESSAGE_MAP()
};
