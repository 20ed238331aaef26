#pragma once
#include <windows.h>

// The configuration program's main window, found by its exact title before every use.
// The window found last is taken again without a search while it still exists and still
// has that title; a search walks every top-level window, and a mouse reports up to a
// thousand events a second. Without such a window every call searches again.
HWND FindConfigurationProgram();
