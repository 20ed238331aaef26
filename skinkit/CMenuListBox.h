#pragma once
#include "framework/CGdiObject.h"
#include "framework/CListBox.h"

// The owner-drawn list of a skinned popup menu: 20-pixel rows, centred text in the kit's
// font. Losing the keyboard focus closes the popup it sits in (its parent), unless the
// focus stays inside that popup or the popup is already closing.
class CMenuListBox : public CListBox {
public:
    CMenuListBox();

    // Highlight 0x292929 on a black ground.
    void SetDarkColors();
    // White rows, selected or not.
    void SetWhiteText();
    // Adds a row with item data 0; answers its index, or a negative number.
    int AddItem(const wchar_t* text);

    void DrawItem(DRAWITEMSTRUCT* dis) override;
    void MeasureItem(MEASUREITEMSTRUCT* mis) override;

    CFont m_font;
    int m_bCloseParent = 1;
    int m_bTracking = 0;
    unsigned short m_nRowHeight = 20;
    COLORREF m_crHighlightText = 0;
    COLORREF m_crText = 0;
    COLORREF m_crHighlight = 0;
    SIZE m_pictureSize = {16, 16};
    CBrush m_brBackground;

protected:
    void PreSubclassWindow() override;
    LRESULT OnKillFocus(WPARAM, LPARAM);
    LRESULT OnMouseWheel(WPARAM, LPARAM);
    LRESULT OnCtlColor(WPARAM, LPARAM);
    LRESULT OnEnable(WPARAM, LPARAM);
    LRESULT OnMouseLeave(WPARAM, LPARAM);
    DECLARE_MESSAGE_MAP()

private:
    CBrush m_brDisabled;
    bool m_bClosingParent = false;
};
