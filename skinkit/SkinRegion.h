#pragma once
#include <windows.h>

// The region of every pixel of the mask that is not pure white (blue, green and red all
// 255); null when the mask is null or a DC or DIB cannot be made. The region is built
// from one-pixel-high runs handed to the system in batches of at most 2,000.
HRGN BitmapToRegion(HBITMAP mask);

// As BitmapToRegion with a cut: mode 1 leaves out the first n columns of every row,
// mode 2 leaves out rows 0 through n; any other mode cuts nothing.
HRGN BitmapToRegionPart(HBITMAP mask, int mode, int n);
