#pragma once
#include <windows.h>

// The effects of a drag and drop (DROPEFFECT_COPY, ...); -1 from a drop-with-effect
// handler means "go on with the plain drop".
typedef DWORD DROPEFFECT;

// Initialises OLE on the calling thread (drag and drop, the clipboard); TRUE when it is
// ready, also when it was already. Call it on the UI thread before registering drop
// targets or starting drags.
BOOL AfxOleInit();
