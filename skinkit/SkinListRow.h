#pragma once
#include <windows.h>

// Colours and font of a skinned list's rows.
struct SkinListColors {
    COLORREF text;
    COLORREF highlightText;
    COLORREF highlight;
    HBRUSH background;  // null: the row is left as it is
};

// Draws one row of an owner-drawn list box: the highlight with the highlight text for a
// selected row, the ground with the text colour for any other, whatever the draw is for. A row whose item data is 0 shows its
// text centred; other item data names a bitmap resource of the program, drawn as a
// 16 x 16 marker before the text.
void DrawSkinListRow(const DRAWITEMSTRUCT& dis, const SkinListColors& colors, HFONT font);
