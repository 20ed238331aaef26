#pragma once
#include "framework/CWnd.h"
#include "skinkit/CSkinScrollBar.h"

// The frame that gives a window skinned scroll bars (AttachSkinScroll). It takes the
// window's place in its parent (same rectangle and control id) and holds it in a clip
// child, so that the window's own scroll bars lie outside what is seen, with a skinned bar
// beside it for each scroll bar the window's style shows. The bars follow the window's
// scroll information when it erases its background and every 500 ms; what the bars send
// reaches the window as its own WM_VSCROLL / WM_HSCROLL. Moving, sizing, showing or hiding
// the window moves, sizes, shows or hides the frame. The frame deletes itself when its
// window is destroyed.
class CSkinScrollWnd : public CWnd {
public:
    static constexpr UINT kHorzBarId = 100;
    static constexpr UINT kVertBarId = 101;
    static constexpr UINT kClipId = 200;

    int m_nThickness = 16;
    CSkinScrollBar m_horzBar;
    CSkinScrollBar m_vertBar;
    CWnd m_clip;
    HBITMAP m_hSkin = nullptr;
    // Set while the frame itself scrolls the window or lays itself out.
    int m_bBusy = 0;
    int m_nCornerType = 0;
    HWND m_hWrapped = nullptr;

    // The window's scroll information given to its bars where it differs from theirs.
    void SyncBars(bool onlyIdle);
    // Moves made by the frame itself; the window's moves are passed on to the frame only
    // when they are not the frame's own.
    void PlaceWindow(int x, int y, int cx, int cy, UINT flags);
    bool IsPlacing() const { return m_bPlacing; }
    bool IsEnding() const { return m_bEnding; }

protected:
    void PostNcDestroy() override { delete this; }
    LRESULT OnSize(WPARAM, LPARAM);
    LRESULT OnScroll(WPARAM, LPARAM);
    LRESULT OnPaint(WPARAM, LPARAM);
    LRESULT OnTimer(WPARAM, LPARAM);
    LRESULT OnLayout(WPARAM, LPARAM);
    LRESULT OnDestroy(WPARAM, LPARAM);
    DECLARE_MESSAGE_MAP()

private:
    bool m_bPlacing = false;
    bool m_bEnding = false;
};

// Wraps the window (already created as a child) in a frame with skinned bars drawn from
// skin (the caller's; not owned, it must outlive the window). Null when the frame cannot
// be made.
CSkinScrollWnd* AttachSkinScroll(CWnd* wnd, HBITMAP skin);
// Undoes the wrapping: the window goes back to the frame's parent at the frame's place and
// the frame is destroyed. TRUE also for a window that is not wrapped. Runs by itself when
// the window is destroyed.
BOOL DetachSkinScroll(HWND wnd);
inline BOOL DetachSkinScroll(CWnd* wnd)
{
    return DetachSkinScroll(wnd ? wnd->m_hWnd : nullptr);
}
// The frame of a wrapped window, or null.
CSkinScrollWnd* SkinScrollFrameOf(HWND wnd);
// The procedure the wrapped window runs before its own (a window subclass whose data is
// the frame).
LRESULT CALLBACK SkinScrollWndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                   DWORD_PTR frame);
