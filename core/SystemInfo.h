#pragma once
#include <windows.h>

// Windows version classes.
enum WindowsVersionClass {
    WINVER_CLASS_UNKNOWN = 0,
    WINVER_CLASS_95_98 = 1,
    WINVER_CLASS_ME = 2,
    WINVER_CLASS_2000 = 3,
    WINVER_CLASS_XP = 4,       // XP and Server 2003
    WINVER_CLASS_VISTA_UP = 5, // Vista and later
};

// The class of a reported platform id and version number.
int ClassifyWindowsVersion(DWORD platformId, DWORD major, DWORD minor);
// The class of the running system (0..5).
int GetWindowsVersion();

// The token elevation type of a process: 1 default, 2 full (elevated), 3 limited.
// FALSE when the token cannot be opened or read.
BOOL GetElevationType(HANDLE process, int* elevationType);
