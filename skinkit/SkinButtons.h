#pragma once
#include <cstddef>
#include <vector>
#include "skinkit/CBitmapBtn.h"
#include "skinkit/SkinFiles.h"

// What a window does to a skinned button after creating it from its entry.
enum SkinButtonStep : unsigned {
    SKIN_CHECK = 1,     // SetCheck with the entry's flag
    SKIN_TOOLTIP = 2,   // SetToolTipText with the entry's text
    SKIN_CAPTION = 4,   // SetCaption with the entry's text
    SKIN_TOGGLE = 8,    // SetToggle
    // The entry's text kept as the tooltip text; MakeButtonTips makes the tooltip once the
    // window is first shown (a tooltip window costs more than its button).
    SKIN_TOOLTIP_LATER = 16,
};

// One row of a window's table of skinned buttons: the entry's name in its section of
// "Strings.xml", the member, the steps.
struct SkinButtonRow {
    const wchar_t* entry;
    CBitmapBtn* button;
    unsigned steps;
};

// The window's state pictures; the buttons' images are cut out of them.
struct SkinStatePictures {
    CBitmap& normal;
    CBitmap& over;
    CBitmap& down;
    CBitmap& disabled;
};

// Creates the button of every row whose entry is present: child and visible at the
// entry's rectangle with control id 0, its images cut from the pictures at that
// rectangle, then the row's steps. Rows whose entry is missing are left out.
void CreateSkinButtons(CWnd* parent, const std::vector<SkinItem>& strings, const SkinButtonRow* rows, size_t count,
                       const SkinStatePictures& pictures);

// The tooltip of every created button that has none yet, from its kept tooltip text.
void MakeButtonTips(CBitmapBtn* const* buttons, size_t count);
