#pragma once
#include <windows.h>
#include "framework/CString.h"

// What start-up finds out about the two processes' tokens.
struct ElevationProbe {
    bool serviceFound = false;     // a window titled as the service's
    bool serviceKnown = false;     // its process's elevation type was read
    int serviceType = 0;
    bool ownKnown = false;         // this process's elevation type was read
    int ownType = 0;
};

// Asks the system: the service's window by its title, its process and both tokens.
ElevationProbe ProbeElevation();
// The reload notice goes over the pipe only to a fully elevated service (type 2) from a
// program with a limited token (type 3); in every other case by a posted message.
bool ChooseNoticePipe(const ElevationProbe& probe);

// The folder of a file path with its trailing backslash ("" for a bare name).
CString FolderOf(const wchar_t* path);
// This program's folder, with its trailing backslash.
CString ProgramFolder();

// The per-user folders under the roaming application-data folder appData: makes
// "Korvath\Eldvarra(R) MMO Gaming Mouse Tharnic Edition\Conf" and "Profile" beside "Conf",
// and copies the program folder's "Config.xml" and "TrayIcon.xml" there unless the user has
// them already. Gives the Conf folder with its trailing backslash in confDir; false (and
// nothing made) when the paths would not fit.
bool PrepareUserFolders(const wchar_t* appData, const wchar_t* programFolder, wchar_t (&confDir)[MAX_PATH]);
