#include "service/PeerWindows.h"

LRESULT SendToPeer(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (!window) return 0;
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutW(window, message, wParam, lParam, SMTO_NORMAL | SMTO_ABORTIFHUNG,
                             PEER_SEND_TIMEOUT_MS, &result))
        return 0;
    return (LRESULT)result;
}

LRESULT SendToWindowTitled(const wchar_t* title, UINT message, WPARAM wParam, LPARAM lParam)
{
    HWND window = FindWindowW(nullptr, title);
    return window ? SendToPeer(window, message, wParam, lParam) : 0;
}

BOOL PostToWindowTitled(const wchar_t* title, UINT message, WPARAM wParam, LPARAM lParam)
{
    HWND window = FindWindowW(nullptr, title);
    return window ? PostMessageW(window, message, wParam, lParam) : FALSE;
}
