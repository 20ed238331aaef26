#include "skinkit/SkinButtonParts.h"
#include "skinkit/SkinPicture.h"
#include "framework/CDC.h"

void PrepareImageButton(CWnd& button, int& hover)
{
    DWORD style = button.GetStyle();
    if ((style & BS_TYPEMASK) == BS_DEFPUSHBUTTON) hover = 1;
    button.SendMessage(BM_SETSTYLE, (style & 0xFFFF) | BS_OWNERDRAW, TRUE);
    button.ModifyStyle(WS_TABSTOP, 0);
}

void CutStateImages(CWnd& button, CBitmap* const images[4], CBitmap& normal, CBitmap& over, CBitmap& down,
                    CBitmap& disabled, const RECT& r)
{
    // No DC of the button: the parts of loaded pictures keep the pictures' own format, and
    // for any other picture the screen's DC gives the button's format (taking a window's
    // DC costs more than the four copies).
    CBitmap* pictures[4] = {&normal, &over, &down, &disabled};
    for (int i = 0; i < 4; ++i) CopyBitmapPart(*images[i], nullptr, *pictures[i], r.left, r.top, r.right, r.bottom);
    button.ModifyStyle(WS_BORDER | WS_TABSTOP, 0);
}

void FollowHover(CWnd& button, bool leftHeld, int& hover)
{
    if (::GetCapture() != button.m_hWnd && ::GetActiveWindow() && button.GetOwnerHwnd()) {
        hover = 1;
        button.SetCapture();
        button.Invalidate();
        return;
    }
    POINT p;
    GetCursorPos(&p);
    HWND under = WindowFromPoint(p);
    if (!under || under == button.m_hWnd) return;
    if (hover == 1) {
        hover = 0;
        button.Invalidate();
    }
    if (!leftHeld) ReleaseCapture();
}

bool EnsureButtonTip(CToolTipCtrl& tip, CWnd& button)
{
    if (!tip.m_hWnd && button.m_hWnd && tip.Create(&button, 0)) tip.Activate(FALSE);
    return tip.m_hWnd != nullptr;
}

void SetButtonTip(CToolTipCtrl& tip, CWnd& button, const CString& text)
{
    if (tip.GetToolCount() == 0) {
        RECT client = button.GetClientRect();
        tip.AddTool(&button, text, &client, 1);
    }
    tip.UpdateTipText(text, &button, 1);
    tip.Activate(TRUE);
}
