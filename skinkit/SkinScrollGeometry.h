#pragma once
#include <windows.h>

// Where the parts of a skinned scroll bar lie along its axis, from its length, the skin's
// part size w (the bar's thickness) and its scroll information. Part codes are the
// scroll-bar codes: SB_LINEUP (up or left arrow), SB_PAGEUP (track before the thumb),
// SB_THUMBTRACK (thumb), SB_PAGEDOWN (track after), SB_LINEDOWN (down or right arrow).

struct ScrollParts {
    int length = 0;
    int track = 0;   // between the arrows
    int arrow = 0;   // each arrow's length
    int offset = 0;  // from the first arrow's end to the thumb
    int thumb = 0;   // 0: no thumb
};

// position: nTrackPos during a drag, else nPos. forHitTest: the thumb keeps its minimum of
// 12 pixels also when everything fits (as the mouse finds it, not as it is drawn).
ScrollParts MeasureScrollParts(int length, int w, const SCROLLINFO& si, int position, bool forHitTest);
// The part at p pixels along the axis; -1 before the start.
int ScrollPartAt(const ScrollParts& parts, int p);
// A part's span along the axis, [from, to).
void ScrollPartSpan(const ScrollParts& parts, int part, int* from, int* to);
// A part's rectangle in the bar's client coordinates.
RECT ScrollPartRect(const ScrollParts& parts, int part, int w, bool vertical);
// The position a thumb dragged d pixels from where it was at startPos comes to, kept
// within [nMin, nMax - nMin - nPage + 1].
int ThumbDragPosition(const SCROLLINFO& si, int startPos, int d, const ScrollParts& hitParts);
// The last position the window can scroll to.
inline int LastScrollPosition(const SCROLLINFO& si)
{
    return si.nMax - si.nMin - (int)si.nPage + 1;
}
