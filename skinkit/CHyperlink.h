#pragma once
#include "framework/CGdiObject.h"
#include "framework/CMFCLinkCtrl.h"

// A link drawn the kit's way: a background cut from the skin, fonts and colours of its
// own (the notice box's reader link).
class CHyperlink : public CMFCLinkCtrl {
public:
    CHyperlink();

    // The background becomes rect of the picture.
    void SetBackground(const RECT& rect, CBitmap& picture);
    // Face at most 31 characters; weight 700 when bold, else 400.
    void SetLinkFont(BOOL bold, const wchar_t* face, int height, BYTE charSet);
    // "MS Shell Dlg", 14 pixels, bold.
    void SetBoldFont();
    void DisableParentFont() { m_bUseParentFont = 0; }
    // Normal, hover and visited all 0x12A4D2.
    void SetDefaultColors();
    // The underlined copy of font becomes the hover font.
    void SetUnderlineFont(CFont& font);
    SIZE SizeToContent(BOOL verticalCenter = FALSE, BOOL horizontalCenter = FALSE) override;
    // Space acts as Enter.
    BOOL PreTranslateMessage(MSG* msg) override;

    HWND m_hWndParentSeen = nullptr;
    CFont m_linkFont;
    CFont m_underlineFont;
    int m_bFontInit = 0;
    int m_bUnderlineReady = 0;
    int m_bUseParentFont = 1;
    COLORREF m_crNormal, m_crHover, m_crVisited;
    CBitmap m_background;

protected:
    void OnFillBackground(CDC* dc, const RECT& rect) override;
    void OnDraw(CDC* dc, const RECT& rect, UINT state) override;
    void RepaintIfSeen();
};
