#pragma once
#include <windows.h>

// Messages from the service to the other programs' windows. A window is found by its
// exact title just before each send; a missing window means no message. Sends wait at
// most PEER_SEND_TIMEOUT_MS and give up at once on a hung window, so a peer that stopped
// answering cannot freeze the service.
constexpr UINT PEER_SEND_TIMEOUT_MS = 1500;

// The window's answer, or 0 when it is gone, hung or too slow.
LRESULT SendToPeer(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT SendToWindowTitled(const wchar_t* title, UINT message, WPARAM wParam, LPARAM lParam);
// FALSE when no window has the title.
BOOL PostToWindowTitled(const wchar_t* title, UINT message, WPARAM wParam, LPARAM lParam);
