#include "skinkit/SlideHelpers.h"
#include "core/Messages.h"

namespace {

struct SlideState {
    RECT bounds = {0, 0, 0, 0};
    int fullWidth = 0;
    int height = 0;
    int direction = 0;   // 1 opening, 2 closing, 0 idle
    int width = 0;
    int minWidth = 0;
    HWND panel = nullptr;
    HWND notified = nullptr;
    LPARAM endNotice = 0;
    BYTE* busy = nullptr;
};

SlideState g_slide;

// A slide that is replaced ends here, without its notice: its timer would otherwise go
// on moving the new panel, and its caller would wait for it forever.
void StopRunningSlide()
{
    if (g_slide.direction == 0) return;
    if (g_slide.panel) KillTimer(g_slide.panel, SLIDE_TIMER_ID);
    if (g_slide.busy) *g_slide.busy = 0;
    g_slide.direction = 0;
}

void Begin(BYTE* busy, HWND notified, HWND panel, int direction)
{
    StopRunningSlide();
    g_slide.notified = notified;
    g_slide.panel = panel;
    g_slide.busy = busy;
    if (busy) *busy = 1;
    g_slide.direction = direction;
}

void Place(UINT flags)
{
    const RECT& b = g_slide.bounds;
    SetWindowPos(g_slide.panel, nullptr, b.right - g_slide.width, b.top, g_slide.width, g_slide.height, flags);
}

}  // namespace

int NextSlideWidth(int direction, int width, int fullWidth, int minWidth)
{
    width += direction == 1 ? SLIDE_STEP : -SLIDE_STEP;
    if (width > fullWidth) width = fullWidth;
    if (width < minWidth) width = minWidth;
    return width;
}

void SetSlideBounds(RECT bounds, RECT)
{
    g_slide.bounds = bounds;
    g_slide.fullWidth = bounds.right - bounds.left;
    g_slide.height = bounds.bottom - bounds.top;
}

void SlideOpen(BYTE* busy, HWND notified, HWND panel)
{
    Begin(busy, notified, panel, 1);
    g_slide.width = SLIDE_OPEN_START;
    g_slide.minWidth = SLIDE_OPEN_START;
    g_slide.endNotice = SLIDE_OPENED;
    Place(SWP_SHOWWINDOW);
    SetTimer(panel, SLIDE_TIMER_ID, 1, &SlideTimerProc);
}

void SlideClose(BYTE* busy, HWND panel, HWND notified)
{
    Begin(busy, notified, panel, 2);
    g_slide.width = g_slide.fullWidth;
    g_slide.minWidth = 0;
    g_slide.endNotice = SLIDE_CLOSED;
    SetTimer(panel, SLIDE_TIMER_ID, 1, &SlideTimerProc);
}

void CALLBACK SlideTimerProc(HWND hwnd, UINT, UINT_PTR id, DWORD)
{
    if (id != SLIDE_TIMER_ID) return;
    // A tick of a slide that has been stopped or replaced.
    if (g_slide.direction == 0 || hwnd != g_slide.panel) {
        KillTimer(hwnd, SLIDE_TIMER_ID);
        return;
    }
    g_slide.width = NextSlideWidth(g_slide.direction, g_slide.width, g_slide.fullWidth, g_slide.minWidth);
    if (g_slide.direction == 1) {
        Place(SWP_NOREDRAW);
        InvalidateRect(g_slide.panel, nullptr, TRUE);
    }
    Place(SWP_SHOWWINDOW);
    if (!SlideEnds(g_slide.width, g_slide.fullWidth, g_slide.minWidth)) return;

    KillTimer(g_slide.panel, SLIDE_TIMER_ID);
    if (g_slide.width <= g_slide.minWidth) ShowWindow(g_slide.panel, SW_HIDE);
    PostMessageW(g_slide.notified, WM_PANEL_STATE, 0, g_slide.endNotice);
    if (g_slide.busy) *g_slide.busy = 0;
    g_slide.direction = 0;
}
