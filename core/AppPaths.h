#pragma once
#include <windows.h>

// The program folder and the per-user configuration folder of the process, each ending
// in a backslash; set at start-up and used to form every file name.
extern wchar_t g_szAppDir[MAX_PATH];
extern wchar_t g_szConfDir[MAX_PATH];
