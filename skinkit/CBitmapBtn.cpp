#include "skinkit/CBitmapBtn.h"
#include "skinkit/DropText.h"
#include "skinkit/NumberDrag.h"
#include "skinkit/SkinButtonParts.h"
#include "skinkit/SkinPicture.h"
#include "skinkit/SkinHandlers.h"
#include "core/Messages.h"
#include "framework/CDC.h"
#include "framework/COleDataSource.h"
#include <climits>
#include <cstring>

namespace {

constexpr COLORREF kGold = 0x00CCFF;
constexpr COLORREF kWhite = 0xFFFFFF;

void MakeCaptionFont(CFont& font, int weight, int escapement)
{
    font.CreateFont(12, 0, escapement, 0, weight, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, FF_SWISS, L"MS Shell Dlg");
}

}  // namespace

BEGIN_MESSAGE_MAP(CBitmapBtn, CButton)
    ON_MESSAGE(WM_KILLFOCUS, OnKillFocus)
    ON_MESSAGE(WM_MOUSEMOVE, OnMouseMove)
    ON_MESSAGE(WM_CAPTURECHANGED, OnCaptureChanged)
    ON_MESSAGE(WM_ERASEBKGND, OnEraseBkgnd)
    ON_MESSAGE(WM_LBUTTONDOWN, OnLButtonDown)
    ON_MESSAGE(WM_LBUTTONUP, OnLButtonUp)
    ON_MESSAGE(WM_RBUTTONDOWN, OnRButtonDown)
    ON_MESSAGE(WM_MOUSEACTIVATE, OnMouseActivate)
    ON_MESSAGE(WM_DROPTARGET_OVER, OnDragOverMessage)
    ON_MESSAGE(WM_DROPTARGET_DROPEX, OnDropExMessage)
    ON_MESSAGE(WM_DROPTARGET_DROP, OnDropMessage)
END_MESSAGE_MAP()

CBitmapBtn::CBitmapBtn() = default;

void CBitmapBtn::PreSubclassWindow()
{
    PrepareImageButton(*this, m_nHover);
}

void CBitmapBtn::SetBitmaps(CBitmap& normal, CBitmap& over, CBitmap& down, CBitmap& disabled, const RECT& r)
{
    CBitmap* const images[4] = {&m_bmpNormal, &m_bmpOver, &m_bmpDown, &m_bmpDisabled};
    CutStateImages(*this, images, normal, over, down, disabled, r);
}

void CBitmapBtn::SetNormalBitmaps(CBitmap& normal, CBitmap& over, CBitmap& down, CBitmap& disabled, const RECT& r)
{
    m_bCard = 0;
    SetBitmaps(normal, over, down, disabled, r);
    Invalidate();
}

void CBitmapBtn::SetPortraitBitmaps(CBitmap& picture, int pictureWidth)
{
    m_bCard = 1;
    CClientDC dc(this);
    CopyBitmapPart(m_bmpCard, &dc, picture, 0, 0, pictureWidth, GetClientRect().bottom);
    ModifyStyle(WS_BORDER | WS_TABSTOP, 0);
    Invalidate();
}

void CBitmapBtn::SetPortraitTexts(const CString& server, const CString& name, const CString& level,
                                  const CString& cls, const CString& race)
{
    m_strCard[0] = name;
    m_strCard[1] = server;
    m_strCard[2] = level;
    m_strCard[3] = race;
    m_strCard[4] = cls;
}

void CBitmapBtn::SetToolTipText(const CString* text)
{
    if (!text) return;
    if (!EnsureButtonTip(m_toolTip, *this)) return;
    SetButtonTip(m_toolTip, *this, *text);
    m_strToolTip = *text;
}

void CBitmapBtn::SetCheck(int check)
{
    if (m_nCheck == check) return;
    m_nCheck = check;
    Invalidate();
}

void CBitmapBtn::SetFillColor(COLORREF color)
{
    m_crFill = color;
    m_bFill = 1;
}

BOOL CBitmapBtn::PreTranslateMessage(MSG* msg)
{
    if (EnsureButtonTip(m_toolTip, *this)) m_toolTip.RelayEvent(msg);
    return CButton::PreTranslateMessage(msg);
}

CBitmap& CBitmapBtn::ImageFor(UINT itemState)
{
    if (m_bToggle) return m_nCheck ? m_bmpDown : m_bmpNormal;
    if (m_nCheck) return m_bmpDown;
    if (itemState & ODS_SELECTED) return m_bmpDown;
    if (m_nHover) return m_bmpOver;
    if (itemState & ODS_DISABLED) return m_bmpDisabled;
    return m_bmpNormal;
}

void CBitmapBtn::DrawItem(DRAWITEMSTRUCT* dis)
{
    CBitmap& image = ImageFor(dis->itemState);
    RECT client = GetClientRect();
    int w = client.right;
    int h = client.bottom;
    CDC dc;
    dc.Attach(dis->hDC);
    CDC picture;
    picture.CreateCompatibleDC(&dc);
    // An empty image draws nothing.
    bool hasImage = image.GetSafeHandle() != nullptr;
    if (hasImage) picture.SelectObject(image);

    if (m_strCaption.IsEmpty() && !m_bFill && !m_bCard) {
        if (hasImage) dc.BitBlt(0, 0, w, h, &picture, 0, 0, SRCCOPY);
        dc.Detach();
        return;
    }
    CBitmap canvas;
    canvas.CreateCompatibleBitmap(&dc, w, h);
    CDC buffer;
    buffer.CreateCompatibleDC(&dc);
    buffer.SelectObject(canvas);
    if (m_strCaption.IsEmpty() && m_bFill) {
        // The bottom three rows show the fill colour.
        buffer.FillSolidRect(client, m_crFill);
        if (hasImage) buffer.BitBlt(0, 0, w, h - 3, &picture, 0, 0, SRCCOPY);
    } else {
        if (hasImage) buffer.BitBlt(0, 0, w, h, &picture, 0, 0, SRCCOPY);
        if (m_strCaption.IsEmpty())
            DrawCard(buffer, w, h);
        else
            DrawCaption(buffer, w, h);
    }
    dc.BitBlt(0, 0, w, h, &buffer, 0, 0, SRCCOPY);
    dc.Detach();
}

void CBitmapBtn::DrawCard(CDC& dc, int width, int height)
{
    CDC card;
    card.CreateCompatibleDC(&dc);
    if (m_bmpCard.GetSafeHandle()) {
        card.SelectObject(m_bmpCard);
        // MERGECOPY with the DC's default white brush leaves the picture as it is.
        dc.StretchBlt(5, 4, 70, 70, &card, 0, 0, 64, 64, MERGECOPY);
    }
    CFont nameFont, lineFont;
    MakeCaptionFont(nameFont, FW_BOLD, 0);
    MakeCaptionFont(lineFont, FW_BOLD, 0);
    dc.SetBkMode(TRANSPARENT);
    const UINT format = DT_SINGLELINE | DT_CENTER | DT_NOCLIP | DT_END_ELLIPSIS;
    HGDIOBJ oldFont = dc.SelectObject(nameFont);
    dc.SetTextColor(kWhite);
    RECT r = {0, 90, 100, height};
    dc.DrawText(m_strCard[0], &r, format);
    dc.SelectObject(lineFont);
    dc.SetTextColor(kGold);
    r = RECT{0, 120, 100, height};
    dc.DrawText(L"Level " + m_strCard[2] + L" " + m_strCard[4], &r, format);
    r = RECT{0, 135, 100, height};
    dc.DrawText(m_strCard[1], &r, format);
    // The fonts go before the buffer does.
    dc.SelectObject(oldFont);
}

void CBitmapBtn::DrawCaption(CDC& dc, int w, int h)
{
    dc.SetBkMode(TRANSPARENT);
    dc.SetTextColor(m_nHover || m_nCheck || m_bLightCaption ? kWhite : kGold);
    bool upward = m_bUpwardCaption[0] || m_bUpwardCaption[1];
    bool bold = m_bBoldCaption[0] || m_bBoldCaption[1];
    bool downward = m_bDownwardCaption[0] || m_bDownwardCaption[1];
    CFont font;
    if (upward)
        MakeCaptionFont(font, FW_BOLD, 900);
    else if (bold)
        MakeCaptionFont(font, FW_BOLD, 0);
    else if (downward)
        MakeCaptionFont(font, FW_BOLD, 2700);
    else
        MakeCaptionFont(font, m_bLightCaption ? FW_LIGHT : FW_NORMAL, 0);
    HGDIOBJ oldFont = dc.SelectObject(font);
    SIZE extent = dc.GetTextExtent(m_strCaption);
    int sx = extent.cx;
    int sy = extent.cy;
    if (upward) {
        dc.TextOut(m_nCaptionLeft + 5, h / 2 + sx / 2 + 5, m_strCaption);
    } else if (bold) {
        dc.TextOut(m_nCaptionLeft + 5 + (w - m_nCaptionRight - sx) / 2, h / 2 - sy / 2 - 2, m_strCaption);
    } else if (downward) {
        dc.TextOut(m_nCaptionLeft + 15, h / 2 - sx / 2 + 5, m_strCaption);
    } else {
        RECT r = {m_nCaptionLeft + 5, h / 2 - sy / 2, w - m_nCaptionRight - 2, h};
        dc.DrawText(m_strCaption, &r, DT_SINGLELINE | DT_CENTER | DT_RIGHT | DT_NOCLIP | DT_END_ELLIPSIS);
    }
    dc.SelectObject(oldFont);
}

LRESULT CBitmapBtn::OnKillFocus(WPARAM, LPARAM)
{
    LRESULT r = Default();
    RepaintWhole(m_hWnd);
    return r;
}

LRESULT CBitmapBtn::OnMouseMove(WPARAM wParam, LPARAM)
{
    LRESULT r = Default();
    bool leftHeld = (wParam & MK_LBUTTON) != 0;
    // Entered with the button held: not a hover.
    if (leftHeld && m_nHover == 0) return r;
    if (m_toolTip.m_hWnd) {
        m_toolTip.UpdateTipText(m_strToolTip, this, 1);
        m_toolTip.Activate(TRUE);
    }
    FollowHover(*this, leftHeld, m_nHover);
    return r;
}

LRESULT CBitmapBtn::OnCaptureChanged(WPARAM, LPARAM)
{
    if (m_nHover == 1) m_nHover = 0;
    return Default();
}

LRESULT CBitmapBtn::OnLButtonDown(WPARAM, LPARAM)
{
    HWND owner = GetOwnerHwnd();
    if (owner != ::GetActiveWindow()) ::SetFocus(owner);
    LRESULT r = Default();
    if (m_bDragSource) DragNumberText(m_nItemValue);
    return r;
}

LRESULT CBitmapBtn::OnLButtonUp(WPARAM, LPARAM)
{
    if (!m_bToggle) return Default();
    m_nCheck = !m_nCheck;
    Invalidate();
    ::SendMessageW(GetParentHwnd(), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(), 0), (LPARAM)m_hWnd);
    return 0;
}

LRESULT CBitmapBtn::OnRButtonDown(WPARAM, LPARAM)
{
    ::SendMessageW(GetParentHwnd(), WM_COMMAND, ID_BUTTON_RCLICK, (LPARAM)m_hWnd);
    return Default();
}

LRESULT CBitmapBtn::OnMouseActivate(WPARAM, LPARAM)
{
    ::SetForegroundWindow(m_toolTip.m_hWnd);
    return Default();
}

void CBitmapBtn::RegisterDropTarget(CWnd*)
{
    m_dropTarget.Register(this);
}

bool CBitmapBtn::Accepts(int number) const
{
    return (m_nDropKind == 1 && number >= 0 && number <= 9) || (m_nDropKind == 2 && number >= 16 && number <= 1200);
}

DROPEFFECT CBitmapBtn::OnDragOver(COleDropInfo* info)
{
    CString text;
    int n = 0;
    if (!info || !TakeDroppedText(info->m_pDataObject, text)) return DROPEFFECT_NONE;
    return ParseDroppedNumber(text, INT_MIN, INT_MAX, n) && Accepts(n) ? DROPEFFECT_COPY : DROPEFFECT_NONE;
}

DROPEFFECT CBitmapBtn::OnDropEx(COleDropInfo*)
{
    return (DROPEFFECT)-1;
}

BOOL CBitmapBtn::OnDrop(COleDropInfo* info)
{
    CString text;
    if (!info || !TakeDroppedText(info->m_pDataObject, text)) return FALSE;
    int n = 0;
    if (ParseDroppedNumber(text, INT_MIN, INT_MAX, n) && Accepts(n))
        ::PostMessageW(GetParentHwnd(), m_nDropKind == 1 ? WM_DROP_PROFILE : WM_DROP_FUNCTION, (WPARAM)n,
                       (LPARAM)m_nItemValue);
    return TRUE;
}
