#pragma once
// Backdrops: what a window shows behind its controls, the same in every state; and the
// pictures that stand alone (popups, folder headers, the colour chart, resources).
#include "Looks.h"
#include "Mouse.h"

// A framed window with a title band, for the dialogs and notice boxes.
void DialogBackdrop(Canvas& c, const WindowPlan& w, int layer);
ShapeFn RoundedWindow(float radius);

// Side panels come out from under one edge of the main window: that edge is straight and
// open, with no frame, so the panel meets the main window's frame there as if it ran on
// under it.
enum class Edge { Left, Right, Top };
ShapeFn PanelShape(Edge straight, float radius);
Backdrop PanelBackdrop(Edge straight, int titleHeight);

// The main window's shape: a rounded rectangle that leaves clear the strips of the picture
// where the side panels dock (left, right and bottom strips of those widths), so a docked
// panel and the main window meet edge to edge, whichever of them is in front.
ShapeFn MainShape(float radius, int left, int right, int bottom);
// The main window: the mouse, callout lines to the eleven button plates, the profile deck.
Backdrop MainBackdrop(MousePlacement mouse, RectF deck);
// The printed sheet: caption slots at the given rectangles (index = mouse button - 1).
Canvas PrintSheet(int w, int h, const std::vector<RectF>& slots, MousePlacement mouse);
// The portrait put in place of a character picture that could not be fetched.
Canvas NoPortrait(int w, int h);

// A popup menu's picture: its list covers it, so it shows only at the edges while opening.
void DrawPopup(Canvas& c);
// Folder headers of the picker's side bar: 170 x 19 at (1, 1); open shows a minus.
void DrawFolderHeader(Canvas& c, bool open);
// The NEW_MACRO and DELETE buttons of the side bar (75 x 22, every state).
void DrawSmallButton(Canvas& c);
// Every hue across, white above and black below, greys at the right.
void DrawColorChart(Canvas& c);

// The program icon: the mouse from above with its light in the given colour (RRGGBB);
// lit false draws it grey and dark, as the tray shows a mouse that is not connected.
void DrawMouseIcon(Canvas& color, Canvas& alpha, bool lit, uint32_t light);

// Pictures compiled into the programs.
// The skinned scroll bars' parts: 9 x 3 squares of 13 pixels (columns: up, down, thumb,
// track of the vertical bar; left, right, thumb, track of the horizontal bar; corner.
// Rows: normal, hot, pressed).
void DrawScrollBarParts(Canvas& c);
// The 3 x 3 marker before every row of the picker's lists.
void DrawBullet(Canvas& c);
// The arrows of the macro displays (7 x 9, black on white, written as 1-bit bitmaps).
void DrawArrow(Canvas& c, bool up);
