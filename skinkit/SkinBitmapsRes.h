#pragma once
// The kit's bitmap resources (SkinBitmaps.rc), made by tools/make_skin.
#define IDB_ARROW_DOWN 160    // macro event display: a key going down
#define IDB_ARROW_UP 161      // macro event display: a key going up
#define IDB_LIST_BULLET 163   // the marker before each row of the picker's lists
#define IDB_SCROLLBAR 166     // the skinned scroll bars' parts, 9 x 3 squares
