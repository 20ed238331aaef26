#include "skinkit/MarkerMapping.h"

namespace {

int Clamp(long long v, int lo, int hi)
{
    return v < lo ? lo : (v > hi ? hi : (int)v);
}

}  // namespace

int MarkerValueAt(MarkerAxis axis, const RECT& track, int minValue, int maxValue, POINT point)
{
    // A track without extent or a range without width would divide by zero.
    long long span = axis == MarkerAxis::Horizontal ? track.right - track.left : track.bottom - track.top;
    if (span <= 0 || maxValue <= minValue) return minValue;
    long long along;
    if (axis == MarkerAxis::Horizontal) {
        long long x = point.x < track.left ? track.left : point.x;
        along = x - track.left;
    } else {
        long long y = point.y > track.bottom ? track.bottom : point.y;
        along = track.bottom - y;
    }
    long long value = minValue + (long long)(maxValue - minValue) * along / span;
    return Clamp(value, minValue, maxValue);
}

int MarkerFillExtent(MarkerAxis axis, const RECT& track, int minValue, int maxValue, int value)
{
    int extent = axis == MarkerAxis::Horizontal ? track.right - track.left : track.bottom - track.top;
    if (extent <= 0 || maxValue <= minValue) return 0;
    long long filled = (long long)(value - minValue) * extent / (maxValue - minValue);
    return Clamp(filled, 0, extent);
}
