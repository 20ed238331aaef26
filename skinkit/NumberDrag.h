#pragma once
#include "framework/AfxOle.h"

class COleDropInfo;

// Function codes and profile numbers travel as OLE drags of their decimal text ("%d" with
// its terminating zero, CF_UNICODETEXT), copy effect only.

enum class DragOutcome {
    Clicked,  // the button came up before the mouse left the drag rectangle; the release is
              // still queued for the window that saw the press
    Dragged,  // the drag ran (dropped or not) or Esc ended it
};
// Runs the drag from a press; the drag starts only once the mouse leaves the system's drag
// rectangle with the button held.
DragOutcome DragNumberText(int number);

// A harmless place to end such a drag (the command tree, the code lists): a dragged text
// that is wholly a decimal number is taken and left unused; any other text is refused.
// The block the drop hands out is freed.
DROPEFFECT NumberDragOver(COleDropInfo* info);
BOOL TakeNumberDrop(COleDropInfo* info);
