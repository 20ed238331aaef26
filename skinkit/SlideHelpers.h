#pragma once
#include <windows.h>

// The slide of a side panel: it grows from a 25-pixel strip to its full width, or shrinks
// to nothing, with its right edge fixed, on timer 4096 of the panel; at the end the
// notified window gets WM_PANEL_STATE (0, SLIDE_OPENED or SLIDE_CLOSED). There is one
// slide state for the whole program, so one slide runs at a time: a new one stops the
// one running (its busy byte goes back to 0, and it posts no end notice).

constexpr UINT_PTR SLIDE_TIMER_ID = 4096;
constexpr LPARAM SLIDE_OPENED = 51;
constexpr LPARAM SLIDE_CLOSED = 53;
constexpr int SLIDE_STEP = 8;
constexpr int SLIDE_OPEN_START = 25;

// The panel's full rectangle, in the coordinates SetWindowPos uses for it (screen
// coordinates for a popup); set before every slide. The second rectangle is not used.
void SetSlideBounds(RECT bounds, RECT second);
// busy is the caller's flag: 1 from the start until the end notice.
void SlideOpen(BYTE* busy, HWND notified, HWND panel);
void SlideClose(BYTE* busy, HWND panel, HWND notified);
void CALLBACK SlideTimerProc(HWND hwnd, UINT message, UINT_PTR id, DWORD time);

// One tick: the width after it (direction 1 opens, 2 closes), kept within
// [minWidth, fullWidth]. The slide ends once the width is no longer strictly between them.
int NextSlideWidth(int direction, int width, int fullWidth, int minWidth);
inline bool SlideEnds(int width, int fullWidth, int minWidth)
{
    return !(width > minWidth && width < fullWidth);
}
