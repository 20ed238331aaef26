#pragma once
#include "framework/CMFCButton.h"

// A button that shows its text as a link and opens its address through the shell when
// clicked, or on Enter while it has the focus. The click stays with the link: its parent
// does not get that BN_CLICKED.
class CMFCLinkCtrl : public CMFCButton {
public:
    CMFCLinkCtrl();

    void SetURL(const wchar_t* url) { m_strURL = url; }
    const CString& GetURL() const { return m_strURL; }
    // Put in front of the address when it is opened ("mailto:", for instance).
    void SetURLPrefix(const wchar_t* prefix) { m_strPrefix = prefix; }
    // With multi-line text: the height that fits the text at the window's width.
    SIZE SizeToContent(BOOL verticalCenter = FALSE, BOOL horizontalCenter = FALSE) override;

    BOOL m_bMultilineText = FALSE;
    BOOL m_bAlwaysUnderlineText = FALSE;
    BOOL m_bVisited = FALSE;

protected:
    BOOL PreTranslateMessage(MSG* msg) override;
    void OnFillBackground(CDC* dc, const RECT& rect) override;
    void OnDraw(CDC* dc, const RECT& rect, UINT state) override;
    void OnDrawFocusRect(CDC* dc, const RECT& rect) override;
    SIZE MeasureText(CDC* dc) override;
    // The window text in the DC's font and colours: word breaks with the multi-line
    // setting, else one vertically centred line ending in a word ellipsis, placed after
    // the alignment.
    void DrawLinkText(CDC* dc, const RECT& rect);
    // Opens the address and marks the link visited.
    virtual void OpenLink();

    BOOL OnClicked();
    LRESULT OnSetCursor(WPARAM, LPARAM);
    DECLARE_MESSAGE_MAP()

    CString m_strURL;
    CString m_strPrefix;
};
