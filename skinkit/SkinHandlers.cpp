#include "skinkit/SkinHandlers.h"
#include <windowsx.h>

void DragWindowByBody(HWND hwnd, LPARAM clientPoint)
{
    POINT p = {GET_X_LPARAM(clientPoint), GET_Y_LPARAM(clientPoint)};
    ClientToScreen(hwnd, &p);
    PostMessageW(hwnd, WM_NCLBUTTONDOWN, HTCAPTION, MAKELPARAM(p.x, p.y));
}

void RepaintWhole(HWND hwnd)
{
    InvalidateRect(hwnd, nullptr, TRUE);
}
