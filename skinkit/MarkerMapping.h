#pragma once
#include <windows.h>

// The arithmetic of the slider markers, apart from their windows. The track is the
// marker's rectangle in its parent's client coordinates; all divisions truncate.
enum class MarkerAxis { Horizontal, Vertical };

// The value a point (parent client coordinates) stands for. Horizontal: the left edge is
// min and the right edge max. Vertical: the bottom edge is min and the top edge max.
// Always within [min, max]; min when the track or the range is empty.
int MarkerValueAt(MarkerAxis axis, const RECT& track, int minValue, int maxValue, POINT point);

// How many columns (from the left) or rows (from the bottom) of the track show filled for
// the value: 0 at min, the track's whole width or height at max.
int MarkerFillExtent(MarkerAxis axis, const RECT& track, int minValue, int maxValue, int value);
