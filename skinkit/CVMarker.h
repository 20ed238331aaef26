#pragma once
#include "skinkit/CSliderMarker.h"

// The vertical slider marker: the bottom of the track is min, the top max; the filled
// part grows from the bottom.
class CVMarker : public CSliderMarker {
public:
    CVMarker() : CSliderMarker(MarkerAxis::Vertical) {}
    // The device sensitivity's range, 1..18; no repaint.
    void SetDefaultRange()
    {
        m_nMin = 1;
        m_nMax = 18;
    }
};
