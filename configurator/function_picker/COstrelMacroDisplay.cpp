#include "configurator/function_picker/COstrelMacroDisplay.h"
#include "skinkit/SkinBitmapsRes.h"
#include "core/Messages.h"
#include "framework/CDC.h"
#include "framework/CWinApp.h"

BEGIN_MESSAGE_MAP(COstrelMacroDisplay, COstrelCustomControl)
    ON_MESSAGE(WM_PAINT, OnPaint)
    ON_MESSAGE(WM_ERASEBKGND, OnEraseBkgnd)
    ON_MESSAGE(WM_CREATE, OnCreate)
    ON_MESSAGE(WM_VSCROLL, OnVScroll)
    ON_MESSAGE(WM_LBUTTONDOWN, OnLButtonDown)
    ON_MESSAGE(WM_MOUSEWHEEL, OnMouseWheel)
    ON_MESSAGE(WM_ENABLE, OnEnable)
END_MESSAGE_MAP()

namespace {

constexpr COLORREF kDisabledBack = 0xC0C0C0;
// Pictures sit this much lower than the text of their line.
constexpr int kPictureDrop = 2;

SIZE LoadArrow(UINT id, CBitmap& bitmap)
{
    bitmap.Attach(::LoadBitmapW(AfxGetResourceHandle(), MAKEINTRESOURCEW(id)));
    return bitmap.GetSize();
}

// A DC of the display with its font selected, for measuring.
class DisplayDC : public CClientDC {
public:
    DisplayDC(CWnd* wnd, CFont& font) : CClientDC(wnd) { SelectObject(font); }
};

}  // namespace

COstrelMacroDisplay::COstrelMacroDisplay()
{
    m_font.CreateFont(12, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, FF_SWISS, L"MS Shell Dlg");
}

COstrelMacroDisplay::~COstrelMacroDisplay()
{
    if (m_hWnd) DestroyWindow();
}

BOOL COstrelMacroDisplay::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id)
{
    // The white ground must not cover the scroll bar.
    return COstrelCustomControl::Create(style | WS_CLIPCHILDREN, rect, parent, id);
}

LRESULT COstrelMacroDisplay::OnCreate(WPARAM, LPARAM)
{
    if (Default() == -1) return -1;
    SIZE up = LoadArrow(IDB_ARROW_UP, m_bmpUp);
    SIZE down = LoadArrow(IDB_ARROW_DOWN, m_bmpDown);
    m_nUpWidth = up.cx;
    m_nUpHeight = up.cy;
    m_nDownWidth = down.cx;
    m_nDownHeight = down.cy;
    RECT client = GetClientRect();
    RECT bar = {client.right - SCROLL_ROOM, 0, client.right - SCROLL_ROOM + GetSystemMetrics(SM_CXVSCROLL),
                client.bottom};
    m_scrollBar.Create(WS_CHILD | WS_VISIBLE | SBS_VERT | SBS_LEFTALIGN, bar, this, SCROLLBAR_ID);
    m_scrollBar.ShowWindow(SW_HIDE);
    m_bScrollShown = 0;
    m_nFirstLine = 0;
    m_nLineCount = 0;
    return 0;
}

MacroTextMeasure COstrelMacroDisplay::Measure(CDC& dc)
{
    MacroTextMeasure m;
    m.usableWidth = GetClientRect().right - SCROLL_ROOM;
    m.upWidth = m_nUpWidth;
    m.downWidth = m_nDownWidth;
    HDC hdc = dc.GetSafeHdc();
    m.charWidth = [hdc](wchar_t ch) {
        SIZE s = {0, 0};
        GetTextExtentPoint32W(hdc, &ch, 1, &s);
        return (int)s.cx;
    };
    return m;
}

std::vector<int> COstrelMacroDisplay::LineStarts()
{
    DisplayDC dc(this, m_font);
    return MacroLineStarts(m_strText, Measure(dc));
}

int COstrelMacroDisplay::CountLines()
{
    return (int)LineStarts().size();
}

int COstrelMacroDisplay::GetLineStart(int line)
{
    if (line <= 0) return 0;
    std::vector<int> starts = LineStarts();
    return line < (int)starts.size() ? starts[line] : m_strText.GetLength();
}

int COstrelMacroDisplay::GetLineHeight()
{
    DisplayDC dc(this, m_font);
    TEXTMETRICW tm = {};
    dc.GetTextMetrics(&tm);
    int h = tm.tmHeight > m_nUpHeight ? (int)tm.tmHeight : m_nUpHeight;
    return h > 0 ? h : 1;
}

int COstrelMacroDisplay::GetPageLines()
{
    return (int)((double)GetClientRect().bottom / GetLineHeight() + 0.3);
}

void COstrelMacroDisplay::SetText(const CString& text)
{
    const bool hadText = !m_strText.IsEmpty();
    m_strText = text;
    int lines = CountLines();
    int page = GetPageLines();
    m_nPageLines = page;
    if (page < lines) {
        m_nMaxPos = lines - page;
        SCROLLINFO si = {};
        si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
        si.nPage = m_nMaxPos < 3 ? 1 : 2;
        // The system stops the thumb at nMax - nPage + 1: the range is widened so the last
        // position is reachable.
        si.nMin = 0;
        si.nMax = m_nMaxPos + (int)si.nPage - 1;
        si.nPos = hadText ? m_nMaxPos : 0;
        m_scrollBar.SetScrollInfo(&si, TRUE);
        m_nFirstLine = si.nPos;
        m_scrollBar.ShowWindow(SW_SHOW);
        m_bScrollShown = 1;
    } else {
        m_nMaxPos = 0;
        m_nFirstLine = 0;
        m_scrollBar.ShowWindow(SW_HIDE);
        m_bScrollShown = 0;
    }
    m_nLineCount = lines;
    m_scrollBar.Invalidate();
    Invalidate(FALSE);
}

void COstrelMacroDisplay::Draw(CDC& dc)
{
    RECT client = GetClientRect();
    const COLORREF back = IsWindowEnabled() ? m_crBack : kDisabledBack;
    dc.FillSolidRect(client, back);
    dc.SetTextColor(m_crText);
    // The monochrome arrows take the text colour for their ink and this for their ground.
    dc.SetBkColor(back);
    dc.SetBkMode(TRANSPARENT);
    dc.SelectObject(m_font);
    MacroTextMeasure m = Measure(dc);
    const int lineHeight = GetLineHeight();
    const int page = GetPageLines();
    CDC pictures;
    pictures.CreateCompatibleDC(&dc);
    int x = kMacroTextLeft;
    int textTop = 0;
    int linesDrawn = 1;
    for (int i = GetLineStart(m_nFirstLine); i < m_strText.GetLength(); ++i) {
        wchar_t ch = m_strText[i];
        int w = MacroCharWidth(ch, m);
        if (x + w >= m.usableWidth && x > kMacroTextLeft) {
            if (++linesDrawn > page) break;
            textTop += lineHeight;
            x = kMacroTextLeft;
        }
        if (ch == kUpMarker || ch == kDownMarker) {
            CBitmap& picture = ch == kUpMarker ? m_bmpUp : m_bmpDown;
            int h = ch == kUpMarker ? m_nUpHeight : m_nDownHeight;
            if (picture.GetSafeHandle()) {
                pictures.SelectObject(picture);
                dc.BitBlt(x, textTop + kPictureDrop, w, h, &pictures, 0, 0, SRCCOPY);
            }
        } else {
            dc.TextOut(x, textTop, &ch, 1);
        }
        x += w;
    }
}

LRESULT COstrelMacroDisplay::OnPaint(WPARAM, LPARAM)
{
    CPaintDC paint(this);
    CMemoryDC buffer(paint, GetClientRect());
    Draw(buffer);
    return 0;
}

void COstrelMacroDisplay::ScrollTo(int position)
{
    if (position < 0) position = 0;
    if (position > m_nMaxPos) position = m_nMaxPos;
    SCROLLINFO si = {};
    si.fMask = SIF_POS;
    si.nPos = position;
    m_scrollBar.SetScrollInfo(&si, TRUE);
    int now = m_scrollBar.GetScrollPos();
    if (now != m_nFirstLine) {
        m_nFirstLine = now;
        Invalidate(FALSE);
    }
}

LRESULT COstrelMacroDisplay::OnVScroll(WPARAM wParam, LPARAM)
{
    SCROLLINFO si = {};
    m_scrollBar.GetScrollInfo(&si, SIF_ALL);
    int position = si.nPos;
    switch (LOWORD(wParam)) {
    case SB_LINEUP: position -= 1; break;
    case SB_LINEDOWN: position += 1; break;
    case SB_PAGEUP: position -= (int)si.nPage; break;
    case SB_PAGEDOWN: position += (int)si.nPage; break;
    case SB_THUMBTRACK: position = si.nTrackPos; break;
    case SB_TOP: position = 0; break;
    case SB_BOTTOM: position = m_nMaxPos; break;
    default: break;
    }
    ScrollTo(position);
    return 0;
}

LRESULT COstrelMacroDisplay::OnMouseWheel(WPARAM wParam, LPARAM)
{
    // Toward the person: a page down; away: a line up.
    if (GET_WHEEL_DELTA_WPARAM(wParam) <= 0)
        OnVScroll(SB_PAGEDOWN, 0);
    else
        OnVScroll(SB_LINEUP, 0);
    return Default();
}

LRESULT COstrelMacroDisplay::OnLButtonDown(WPARAM, LPARAM)
{
    SetFocus();
    ::PostMessageW(GetParentHwnd(), WM_MACRO_DISPLAY_FOCUS, (WPARAM)m_hWnd, 0);
    LoadKeyboardLayoutW(L"00000409", KLF_ACTIVATE);
    return Default();
}

LRESULT COstrelMacroDisplay::OnEnable(WPARAM, LPARAM)
{
    LRESULT r = Default();
    Invalidate(FALSE);
    return r;
}
