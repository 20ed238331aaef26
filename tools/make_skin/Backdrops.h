#pragma once
// Backdrops: what a window shows behind its controls, the same in every state.
#include "Looks.h"

// A framed window with a title band, for the dialogs and notice boxes.
void DialogBackdrop(Canvas& c, const WindowSpec& w, int layer);
ShapeFn RoundedWindow(float radius);

// Pictures compiled into the programs.
// The skinned scroll bars' parts: 9 x 3 squares of 13 pixels (columns: up, down, thumb,
// track of the vertical bar; left, right, thumb, track of the horizontal bar; corner.
// Rows: normal, hot, pressed).
void DrawScrollBarParts(Canvas& c);
// The bullet before every row of the picker's lists (16 x 16 on the lists' colour).
void DrawBullet(Canvas& c);
