#pragma once
// The mouse drawn from above: an eleven-button MMO mouse (two main buttons, the wheel, two
// buttons and a round one behind it, five thumb buttons on the left side).
#include "Canvas.h"

struct MousePlacement {
    float cx = 0, top = 0, scale = 1;  // centre line, front edge, size (1: 404 pixels long)
    PointF At(float dx, float dy) const { return {cx + dx * scale, top + dy * scale}; }
};

// Where a button (1..11) sits on the drawing; callout lines end there.
PointF MouseButtonAnchor(const MousePlacement& m, int button);
// The drawing's bounding rectangle.
RectF MouseBounds(const MousePlacement& m);
void DrawMouse(Canvas& c, const MousePlacement& m);
// The outline alone, for the icons.
Path MouseOutline(const MousePlacement& m);
