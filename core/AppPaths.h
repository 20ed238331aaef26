#pragma once
#include <windows.h>

// The program folder and the per-user configuration folder of the process, each ending
// in a backslash; set at start-up and used to form every file name.
extern wchar_t g_szAppDir[MAX_PATH];
extern wchar_t g_szConfDir[MAX_PATH];

// The per-user configuration folder "Korvath\Eldvarra(R) MMO Gaming Mouse Tharnic
// Edition\Conf\" under the user's roaming application-data folder, with its trailing
// backslash. Creates nothing; false (conf untouched) when the application-data folder
// cannot be found or the path does not fit.
bool FindUserConfFolder(wchar_t (&conf)[MAX_PATH]);
