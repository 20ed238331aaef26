#pragma once
#include "framework/CButton.h"
#include "framework/CToolTipCtrl.h"

class CDC;

// An owner-drawn push button that draws itself through OnDraw into an off-screen
// buffer, knows when the mouse is over it and can show a tooltip.
class CMFCButton : public CButton {
public:
    enum AlignStyle { ALIGN_LEFT = 0, ALIGN_RIGHT, ALIGN_CENTER };

    // The tooltip of the whole button; made on first use.
    void SetTooltip(const wchar_t* text);
    // Fits the window to its text plus a margin. With a centre flag the window keeps its
    // centre along that axis; without either only the size changes. Answers the new size.
    virtual SIZE SizeToContent(BOOL verticalCenter = FALSE, BOOL horizontalCenter = FALSE);
    BOOL IsHighlighted() const { return m_bHighlighted; }

    int m_nAlignStyle = ALIGN_CENTER;

protected:
    void PreSubclassWindow() override;
    void DrawItem(DRAWITEMSTRUCT* dis) override;
    virtual void OnFillBackground(CDC* dc, const RECT& rect);
    // Draws the window text; state is the item state of the draw (ODS_*).
    virtual void OnDraw(CDC* dc, const RECT& rect, UINT state);
    virtual void OnDrawFocusRect(CDC* dc, const RECT& rect);
    // Text size in the font the button draws with.
    virtual SIZE MeasureText(CDC* dc);

    LRESULT OnMouseMove(WPARAM, LPARAM);
    LRESULT OnMouseLeave(WPARAM, LPARAM);
    LRESULT OnLButtonUp(WPARAM, LPARAM);
    LRESULT OnKeyUp(WPARAM, LPARAM);
    DECLARE_MESSAGE_MAP()

    BOOL m_bHighlighted = FALSE;
    // Set while the button's own click (mouse or space bar) is being turned into BN_CLICKED.
    BOOL m_bClicking = FALSE;
    CToolTipCtrl m_wndToolTip;
};
