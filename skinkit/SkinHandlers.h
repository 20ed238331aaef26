#pragma once
#include <windows.h>

// Message handling shared by the skinned windows; each window's mapped handler calls one
// of these and then lets its default handling run.

// Drag by body, from WM_LBUTTONDOWN: asks the system to move the window as if its
// caption were held, at the press's point (client coordinates in clientPoint, as
// WM_LBUTTONDOWN brings it; the request carries screen coordinates).
void DragWindowByBody(HWND hwnd, LPARAM clientPoint);

// A popup that only its owner places, from WM_WINDOWPOSCHANGING once it is placed: it
// stays at (x, y). A window manager frames a popup as it shows it, and the system may read
// the popup's place inside a frame not yet moved (the screen's corner) and report that as
// a move; the popup is seen where it was put.
void KeepPopupPlace(LPARAM windowPos, int x, int y);

// Repaint on change (after the default handling of WM_KILLFOCUS or WM_ENABLE): the whole
// window again, background included.
void RepaintWhole(HWND hwnd);

// The keys of a panel beside the main window: Esc and Alt+F4 (either Alt) end the whole
// program, Enter does nothing, other messages go on.
enum class PanelKey { Other, Ignored, EndsProgram };
PanelKey SidePanelKey(const MSG& msg);
