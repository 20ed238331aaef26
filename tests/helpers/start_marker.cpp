// Stands in for a program that another program starts: it leaves "<its name>.started"
// beside itself and ends. Tests copy it under the name of the program to be started.
#include <windows.h>

int wmain()
{
    wchar_t path[MAX_PATH];
    DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);
    if (n == 0 || n + 9 >= MAX_PATH) return 1;
    wcscpy(path + n, L".started");
    HANDLE h = CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE) return 1;
    CloseHandle(h);
    return 0;
}
