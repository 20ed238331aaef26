#include "skinkit/CSkinScrollWnd.h"
#include "core/Messages.h"
#include "framework/CDC.h"
#include <commctrl.h>

namespace {

constexpr UINT_PTR kSubclassId = 0x534B5343;
// The wrapped window's frame, beside the subclass that carries it too.
const wchar_t kFrameProp[] = L"TharnicSkinScrollFrame";

void Unhook(HWND hwnd)
{
    RemoveWindowSubclass(hwnd, &SkinScrollWndProc, kSubclassId);
    RemovePropW(hwnd, kFrameProp);
}
constexpr UINT_PTR kSyncTimer = 100;

bool DiffersFrom(const SCROLLINFO& a, const SCROLLINFO& b)
{
    return a.nMax != b.nMax || a.nMin != b.nMin || a.nPos != b.nPos || a.nPage != b.nPage;
}

}  // namespace

BEGIN_MESSAGE_MAP(CSkinScrollWnd, CWnd)
    ON_MESSAGE(WM_SIZE, OnSize)
    ON_MESSAGE(WM_VSCROLL, OnScroll)
    ON_MESSAGE(WM_HSCROLL, OnScroll)
    ON_MESSAGE(WM_PAINT, OnPaint)
    ON_MESSAGE(WM_TIMER, OnTimer)
    ON_MESSAGE(WM_SKINSCROLL_LAYOUT, OnLayout)
    ON_MESSAGE(WM_DESTROY, OnDestroy)
END_MESSAGE_MAP()

void CSkinScrollWnd::PlaceWindow(int x, int y, int cx, int cy, UINT flags)
{
    bool outer = m_bPlacing;
    m_bPlacing = true;
    ::SetWindowPos(m_hWrapped, nullptr, x, y, cx, cy, flags | SWP_NOZORDER | SWP_NOACTIVATE);
    m_bPlacing = outer;
}

void CSkinScrollWnd::SyncBars(bool onlyIdle)
{
    DWORD style = (DWORD)GetWindowLongPtrW(m_hWrapped, GWL_STYLE);
    struct {
        CSkinScrollBar& bar;
        int which;
        DWORD styleBit;
    } bars[] = {{m_vertBar, SB_VERT, WS_VSCROLL}, {m_horzBar, SB_HORZ, WS_HSCROLL}};
    for (auto& b : bars) {
        if (!b.bar.m_hWnd) continue;
        if (onlyIdle ? (!b.bar.IsWindowVisible() || b.bar.IsDragging()) : !(style & b.styleBit)) continue;
        SCROLLINFO window = {};
        window.cbSize = sizeof(window);
        window.fMask = SIF_ALL;
        if (!GetScrollInfo(m_hWrapped, b.which, &window)) continue;
        SCROLLINFO own = {};
        b.bar.GetScrollInfo(&own, SIF_ALL);
        if (!DiffersFrom(window, own)) continue;
        b.bar.SetScrollInfo(&window, TRUE);
        if (!onlyIdle) b.bar.EnableWindow((UINT)window.nMax >= window.nPage);
    }
}

LRESULT CSkinScrollWnd::OnLayout(WPARAM wParam, LPARAM)
{
    m_bBusy = 1;
    RECT clip = GetClientRect();
    if (m_horzBar.IsWindowVisible()) clip.bottom -= m_nThickness;
    if (wParam) clip.right -= m_nThickness;
    m_clip.MoveWindow(clip);
    PlaceWindow(0, 0, 0, 0, SWP_NOSIZE);
    m_bBusy = 0;
    return 0;
}

LRESULT CSkinScrollWnd::OnSize(WPARAM, LPARAM lParam)
{
    LRESULT r = Default();
    int cx = LOWORD(lParam), cy = HIWORD(lParam);
    // The window keeps the frame's full size: its own bars lie under the cut.
    if (cx && cy) PlaceWindow(0, 0, cx, cy, 0);
    return r;
}

LRESULT CSkinScrollWnd::OnScroll(WPARAM wParam, LPARAM lParam)
{
    UINT message = (HWND)lParam == m_horzBar.m_hWnd ? WM_HSCROLL : WM_VSCROLL;
    CSkinScrollBar& bar = message == WM_HSCROLL ? m_horzBar : m_vertBar;
    m_bBusy = 1;
    ::SendMessageW(m_hWrapped, message, MAKEWPARAM(LOWORD(wParam), HIWORD(wParam)), 0);
    m_bBusy = 0;
    if (LOWORD(wParam) == SB_THUMBTRACK) return 0;
    SCROLLINFO si = {};
    si.cbSize = sizeof(si);
    si.fMask = SIF_ALL;
    if (GetScrollInfo(m_hWrapped, message == WM_HSCROLL ? SB_HORZ : SB_VERT, &si)) bar.SetScrollInfo(&si, TRUE);
    return 0;
}

LRESULT CSkinScrollWnd::OnPaint(WPARAM, LPARAM)
{
    CPaintDC dc(this);
    if (m_nCornerType != 2 || !m_hSkin) return 0;
    int t = m_nThickness;
    RECT client = GetClientRect();
    CDC skin;
    skin.CreateCompatibleDC(&dc);
    skin.SelectObject(m_hSkin);
    dc.BitBlt(client.right - t, client.bottom - t, t, t, &skin, 8 * t, 0, SRCCOPY);
    return 0;
}

LRESULT CSkinScrollWnd::OnTimer(WPARAM id, LPARAM)
{
    if (id != kSyncTimer) return Default();
    SyncBars(true);
    return 0;
}

LRESULT CSkinScrollWnd::OnDestroy(WPARAM, LPARAM)
{
    // Going with its parent: the window inside goes too and must not call back.
    m_bEnding = true;
    KillTimer(kSyncTimer);
    if (m_hWrapped) Unhook(m_hWrapped);
    return Default();
}

CSkinScrollWnd* SkinScrollFrameOf(HWND wnd)
{
    return wnd ? static_cast<CSkinScrollWnd*>(GetPropW(wnd, kFrameProp)) : nullptr;
}

CSkinScrollWnd* AttachSkinScroll(CWnd* wnd, HBITMAP skin)
{
    if (!wnd || !wnd->m_hWnd || SkinScrollFrameOf(wnd->m_hWnd)) return nullptr;
    HWND hwnd = wnd->m_hWnd;
    HWND parent = ::GetParent(hwnd);
    CSkinScrollWnd* frame = new CSkinScrollWnd;
    frame->m_hSkin = skin;
    BITMAP bm = {};
    if (skin && GetObjectW(skin, sizeof(bm), &bm) && bm.bmWidth >= 9) frame->m_nThickness = bm.bmWidth / 9;
    RECT r = wnd->GetRectInParent();
    DWORD visible = ::IsWindowVisible(hwnd) ? WS_VISIBLE : 0;
    if (!frame->CreateEx(0, CWnd::RegisterWndClass(0), L"SkinScrollBarFrame", WS_CHILD | visible, r.left, r.top,
                         r.right - r.left, r.bottom - r.top, parent, (HMENU)(INT_PTR)::GetDlgCtrlID(hwnd))) {
        delete frame;
        return nullptr;
    }
    frame->m_clip.Create(CWnd::RegisterWndClass(0), L"LIMIT", WS_CHILD | WS_VISIBLE, RECT{0, 0, 0, 0}, frame,
                         CSkinScrollWnd::kClipId);
    frame->m_horzBar.Create(WS_CHILD, RECT{0, 0, 0, 0}, frame, CSkinScrollWnd::kHorzBarId);
    frame->m_vertBar.Create(WS_CHILD | SBS_VERT, RECT{0, 0, 0, 0}, frame, CSkinScrollWnd::kVertBarId);
    frame->m_horzBar.SetBitmap(skin);
    frame->m_vertBar.SetBitmap(skin);

    frame->m_hWrapped = hwnd;
    ::SetParent(hwnd, frame->m_clip.m_hWnd);
    SetPropW(hwnd, kFrameProp, frame);
    SetWindowSubclass(hwnd, &SkinScrollWndProc, kSubclassId, reinterpret_cast<DWORD_PTR>(frame));
    // The frame: redoes the window's client area and puts the bars beside it.
    frame->PlaceWindow(0, 0, r.right - r.left, r.bottom - r.top, SWP_FRAMECHANGED);
    frame->SyncBars(false);
    frame->SetTimer(kSyncTimer, 500);
    return frame;
}

BOOL DetachSkinScroll(HWND wnd)
{
    CSkinScrollWnd* frame = SkinScrollFrameOf(wnd);
    if (!frame) return TRUE;
    Unhook(wnd);
    frame->m_hWrapped = nullptr;
    if (!frame->IsEnding()) {
        RECT r = frame->GetRectInParent();
        ::SetParent(wnd, frame->GetParentHwnd());
        ::MoveWindow(wnd, r.left, r.top, r.right - r.left, r.bottom - r.top, TRUE);
        frame->DestroyWindow();
    }
    return TRUE;
}

namespace {

// After the window's own WM_NCCALCSIZE: its client area loses the skin's thickness, not
// the system's, for each bar, and the skinned bars are put beside it.
void LayOutBars(CSkinScrollWnd* frame, HWND hwnd, NCCALCSIZE_PARAMS* p)
{
    DWORD style = (DWORD)GetWindowLongPtrW(hwnd, GWL_STYLE);
    int sb = GetSystemMetrics(SM_CXVSCROLL);
    int t = frame->m_nThickness;
    bool vertical = (style & WS_VSCROLL) != 0;
    bool horizontal = (style & WS_HSCROLL) != 0;
    RECT& client = p->rgrc[0];
    if (vertical) client.right += sb - t;
    if (horizontal) client.bottom += sb - t;
    frame->m_nCornerType = vertical && horizontal ? 2 : 0;
    // The window sits at the frame's origin: the bars go where its client area ends.
    int right = client.right - (p->lppos ? p->lppos->x : 0);
    int bottom = client.bottom - (p->lppos ? p->lppos->y : 0);
    int height = client.bottom - client.top;
    if (vertical) {
        frame->m_vertBar.MoveWindow(right, 0, t, height);
        frame->m_vertBar.ShowWindow(SW_SHOW);
    } else {
        frame->m_vertBar.ShowWindow(SW_HIDE);
    }
    if (horizontal) {
        frame->m_horzBar.MoveWindow(0, bottom, right, t);
        frame->m_horzBar.ShowWindow(SW_SHOW);
    } else {
        frame->m_horzBar.ShowWindow(SW_HIDE);
    }
    frame->PostMessage(WM_SKINSCROLL_LAYOUT, vertical ? 1 : 0, 0);
}

// A move or size of the window by anyone but the frame moves or sizes the frame instead;
// the window goes back to the clip child's origin.
void PassMoveToFrame(CSkinScrollWnd* frame, HWND hwnd, const WINDOWPOS* pos)
{
    if (frame->IsPlacing() || frame->IsEnding()) return;
    bool moved = !(pos->flags & SWP_NOMOVE);
    bool sized = !(pos->flags & SWP_NOSIZE);
    if (!moved && !sized) return;
    RECT now = frame->GetRectInParent();
    RECT at;
    GetWindowRect(hwnd, &at);
    MapWindowPoints(nullptr, ::GetParent(hwnd), (POINT*)&at, 2);
    int x = moved ? at.left : now.left;
    int y = moved ? at.top : now.top;
    int cx = sized ? at.right - at.left : now.right - now.left;
    int cy = sized ? at.bottom - at.top : now.bottom - now.top;
    frame->PlaceWindow(0, 0, 0, 0, SWP_NOSIZE);
    ::SetWindowPos(frame->m_hWnd, nullptr, x, y, cx, cy, SWP_NOZORDER | SWP_NOACTIVATE);
    frame->Invalidate();
}

}  // namespace

LRESULT CALLBACK SkinScrollWndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                   DWORD_PTR data)
{
    CSkinScrollWnd* frame = reinterpret_cast<CSkinScrollWnd*>(data);
    switch (message) {
    case WM_SHOWWINDOW:
        frame->ShowWindow(wParam ? SW_SHOWNORMAL : SW_HIDE);
        frame->m_clip.UpdateWindow();
        break;
    case WM_DESTROY:
        DetachSkinScroll(hwnd);
        return DefSubclassProc(hwnd, message, wParam, lParam);
    case WM_WINDOWPOSCHANGED:
        PassMoveToFrame(frame, hwnd, (const WINDOWPOS*)lParam);
        break;
    default:
        break;
    }
    LRESULT result = DefSubclassProc(hwnd, message, wParam, lParam);
    if (frame->m_bBusy) return result;
    if (message == WM_ERASEBKGND) frame->SyncBars(false);
    if (message == WM_NCCALCSIZE && wParam) LayOutBars(frame, hwnd, (NCCALCSIZE_PARAMS*)lParam);
    return result;
}
