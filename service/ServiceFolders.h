#pragma once
#include <windows.h>

// The service's two folders. appDir: the program folder with its trailing backslash.
// appDataRoot: the roaming application-data folder (no trailing backslash). Creates
// "Korvath\Eldvarra(R) MMO Gaming Mouse Tharnic Edition\Conf" under it, copies the shipped
// "Config.xml" there when the user has none, creates "Profile" beside "Conf", and gives the
// Conf folder with a trailing backslash in confDir. False (confDir untouched) when a path
// does not fit.
bool PrepareConfFolder(const wchar_t* appDir, const wchar_t* appDataRoot, wchar_t (&confDir)[MAX_PATH]);

// Sets g_szAppDir from this executable and g_szConfDir under the user's roaming
// application-data folder; without that folder g_szConfDir stays as it was.
void SetUpServiceFolders();
