#include "core/SingleInstance.h"

HANDLE TakeInstanceMutex(const wchar_t* name)
{
    HANDLE mutex = CreateMutexW(nullptr, FALSE, name);
    if (mutex && GetLastError() == ERROR_ALREADY_EXISTS) {
        CloseHandle(mutex);
        return nullptr;
    }
    return mutex;
}

void ReleaseInstanceMutex(HANDLE& mutex)
{
    if (!mutex) return;
    ReleaseMutex(mutex);
    CloseHandle(mutex);
    mutex = nullptr;
}
