#pragma once
#include <windows.h>

// The outside controller that sent WM_CONTROL_API_DISCOVER last; null until one did.
// Replies to its commands go to this window, whoever sent the command.
extern HWND g_hControlClient;
