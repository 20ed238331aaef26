#pragma once
#include "skinkit/CSliderMarker.h"

// The horizontal slider marker: the left end of the track is min, the right end max; the
// filled part grows from the left.
class CDMarker : public CSliderMarker {
public:
    CDMarker() : CSliderMarker(MarkerAxis::Horizontal) {}
    // Both bounds, maximum first; no repaint.
    void SetRange(int maxValue, int minValue)
    {
        m_nMax = maxValue;
        m_nMin = minValue;
    }
};
