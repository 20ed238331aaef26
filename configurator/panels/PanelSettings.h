#pragma once
#include "core/ConfigData.h"
#include "framework/CString.h"

// The side panels' small rules, as functions of their inputs.

// Control ids of the sensor-settings panel's sliders.
constexpr int MARKER_DOUBLE_CLICK = 11;
constexpr int MARKER_SCROLL = 12;
constexpr int MARKER_SENSITIVITY = 13;
constexpr int MARKER_SENSITIVITY_X = 14;
constexpr int MARKER_SENSITIVITY_Y = 15;

// The double-click slider runs the other way round: its right end is the shortest time.
inline int DoubleClickSliderValue(int doubleClickSpeed)
{
    return 1100 - doubleClickSpeed;
}
// Where slider id shows the profile's setting (0 for an id that is no slider's).
int MarkerValueOf(const ProfileData& profile, int id);
// A released slider's value stored in its setting; false for an id that is no slider's.
bool StoreMarkerValue(ProfileData& profile, int id, int value);

// The DPI popup's rows, first to last: 400, 800, 1600 and 3200 dpi, stages 4 down to 1.
// The "Menu.xml" item of a row (null past the four rows) and the stage it stores.
const wchar_t* DpiMenuItem(int row);
inline int DpiStageOfRow(int row)
{
    return 4 - row;
}
// The intensity and pulsation popups' rows: HIGH, MEDIUM, LOW, OFF, levels 4 down to 1.
const wchar_t* LightLevelItem(int row);
inline int LightLevelOfRow(int row)
{
    return 4 - row;
}

// The text of an item of a section of the program folder's "Menu.xml"; false when the
// file does not load or has no such section or item.
bool ReadMenuItem(const wchar_t* section, const wchar_t* item, CString& text);

// The lighting panel's slide: it moves 10 pixels a tick; offset is how many of its rows
// are still hidden above the line it slides out of.
constexpr int DROP_SLIDE_STEP = 10;
inline int NextDropSlideOffset(bool slidingIn, int offset)
{
    return slidingIn ? offset - DROP_SLIDE_STEP : offset + DROP_SLIDE_STEP;
}
inline bool DropSlideEnds(bool slidingIn, int offset, int height)
{
    return slidingIn ? offset <= 0 : offset >= height;
}
