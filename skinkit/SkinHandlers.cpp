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

PanelKey SidePanelKey(const MSG& msg)
{
    if (msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE) return PanelKey::EndsProgram;
    if (msg.message == WM_KEYDOWN && msg.wParam == VK_RETURN) return PanelKey::Ignored;
    if (msg.message == WM_SYSKEYDOWN && msg.wParam == VK_F4 &&
        ((GetKeyState(VK_LMENU) & 0x8000) || (GetKeyState(VK_RMENU) & 0x8000)))
        return PanelKey::EndsProgram;
    return PanelKey::Other;
}

void KeepPopupPlace(LPARAM windowPos, int x, int y)
{
    WINDOWPOS* pos = (WINDOWPOS*)windowPos;
    if (pos->flags & SWP_NOMOVE) return;
    pos->x = x;
    pos->y = y;
}
