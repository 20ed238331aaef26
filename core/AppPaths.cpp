#include "core/AppPaths.h"
#include <shlobj.h>
#include <cwchar>

wchar_t g_szAppDir[MAX_PATH];
wchar_t g_szConfDir[MAX_PATH];

bool FindUserConfFolder(wchar_t (&conf)[MAX_PATH])
{
    wchar_t roaming[MAX_PATH] = {};
    if (FAILED(SHGetFolderPathW(nullptr, CSIDL_APPDATA | CSIDL_FLAG_CREATE, nullptr, 0, roaming))) return false;
    wchar_t path[MAX_PATH];
    int n = swprintf(path, MAX_PATH, L"%ls\\Korvath\\Eldvarra(R) MMO Gaming Mouse Tharnic Edition\\Conf\\", roaming);
    if (n <= 0 || n >= MAX_PATH) return false;
    wcscpy(conf, path);
    return true;
}
