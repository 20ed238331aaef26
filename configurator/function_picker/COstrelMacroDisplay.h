#pragma once
#include "configurator/function_picker/COstrelCustomControl.h"
#include "configurator/function_picker/MacroEventText.h"
#include "framework/CGdiObject.h"
#include "framework/CScrollBar.h"
#include "framework/CString.h"

class CDC;

// The white box in which the macro editor shows a key sequence: the text of
// MacroEventsText, wrapped character by character, with the two marker characters drawn
// as a down-arrow and an up-arrow picture. A vertical scroll bar of its own appears when
// the text has more lines than the box shows; a new text that grows a shown one scrolls
// to its end. A click makes it the editor's recording target (WM_MACRO_DISPLAY_FOCUS to
// the parent) and switches the program to the US keyboard layout, so keys get US names.
// Disabled, it paints grey.
class COstrelMacroDisplay : public COstrelCustomControl {
public:
    COstrelMacroDisplay();
    ~COstrelMacroDisplay() override;

    BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id) override;
    void SetText(const CString& text);
    const CString& GetText() const { return m_strText; }
    // The wrapping measures, with the display's font on a DC of the display.
    int CountLines();
    int GetLineStart(int line);
    int GetPageLines();
    int GetLineHeight();

    static constexpr UINT SCROLLBAR_ID = 100;
    // Room kept at the right edge for the scroll bar.
    static constexpr int SCROLL_ROOM = 15;

    int m_bScrollShown = 0;
    CScrollBar m_scrollBar;
    int m_nFirstLine = 0;
    int m_nLineCount = 0;
    CString m_strText;
    CBitmap m_bmpUp;
    CBitmap m_bmpDown;
    int m_nUpWidth = 0, m_nUpHeight = 0;
    int m_nDownWidth = 0, m_nDownHeight = 0;
    int m_nPageLines = 2;
    CFont m_font;
    COLORREF m_crText = 0;
    COLORREF m_crBack = 0xFFFFFF;
    // The highest first line the scroll bar reaches (lines - page).
    int m_nMaxPos = 0;

protected:
    // The measure of the display's text on dc, which has the display's font selected.
    MacroTextMeasure Measure(CDC& dc);
    std::vector<int> LineStarts();
    void Draw(CDC& dc);
    void ScrollTo(int position);

    LRESULT OnCreate(WPARAM, LPARAM);
    LRESULT OnPaint(WPARAM, LPARAM);
    LRESULT OnEraseBkgnd(WPARAM, LPARAM) { return TRUE; }
    LRESULT OnVScroll(WPARAM, LPARAM);
    LRESULT OnLButtonDown(WPARAM, LPARAM);
    LRESULT OnMouseWheel(WPARAM, LPARAM);
    LRESULT OnEnable(WPARAM, LPARAM);
    DECLARE_MESSAGE_MAP()
};
