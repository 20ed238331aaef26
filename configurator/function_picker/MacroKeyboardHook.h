#pragma once
#include <windows.h>

// While the macro editor is open, a low-level keyboard hook on the program's UI thread
// takes both Windows keys away from the whole desktop (the Start menu does not open) and
// posts each press and release to the editor as WM_WINDOWS_KEY (wParam 0 down, 1 up);
// auto-repeated presses are swallowed without a post. Every other key passes on.
extern HHOOK g_hKeyboardHook;
// The open editor, to which the hook posts.
extern HWND g_hMacroDialog;
// 1 between a Windows-key press and its release.
extern BYTE g_bWindowsKeyLatch;

LRESULT CALLBACK KeyboardHookProc(int code, WPARAM message, LPARAM info);
