#pragma once
#include <windows.h>

// The named mutex that keeps a program to one copy per session. Creating it and asking
// whether it existed is one step, so two copies that start at the same moment cannot both
// go on. Null when another copy holds it (or it cannot be made): that start ends.
HANDLE TakeInstanceMutex(const wchar_t* name);
// Releases and closes a held mutex, and clears the handle.
void ReleaseInstanceMutex(HANDLE& mutex);
