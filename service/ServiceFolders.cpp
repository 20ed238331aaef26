#include "service/ServiceFolders.h"
#include "core/AppPaths.h"
#include "framework/CString.h"
#include <shlobj.h>

static bool CopyPath(wchar_t (&dst)[MAX_PATH], const CString& src)
{
    if (src.GetLength() >= MAX_PATH) return false;
    wcscpy(dst, src);
    return true;
}

bool PrepareConfFolder(const wchar_t* appDir, const wchar_t* appDataRoot, wchar_t (&confDir)[MAX_PATH])
{
    CString path = CString(appDataRoot) + L"\\Korvath";
    CString product = path + L"\\Eldvarra(R) MMO Gaming Mouse Tharnic Edition";
    CString conf = product + L"\\Conf";
    if (conf.GetLength() + 12 >= MAX_PATH) return false;  // room for "\Config.xml"
    CreateDirectoryW(path, nullptr);
    CreateDirectoryW(product, nullptr);
    CreateDirectoryW(conf, nullptr);
    CopyFileW(CString(appDir) + L"Config.xml", conf + L"\\Config.xml", TRUE);
    if (!CopyPath(confDir, conf + L"\\")) return false;
    CreateDirectoryW(conf.Left(conf.ReverseFind(L'\\')) + L"\\Profile", nullptr);
    return true;
}

void SetUpServiceFolders()
{
    wchar_t exe[MAX_PATH] = {};
    DWORD n = GetModuleFileNameW(nullptr, exe, MAX_PATH);
    if (n > 0 && n < MAX_PATH) {
        CString s(exe, (int)n);
        CopyPath(g_szAppDir, s.Left(s.ReverseFind(L'\\') + 1));
    }
    wchar_t appData[MAX_PATH] = {};
    if (SHGetFolderPathW(nullptr, CSIDL_APPDATA | CSIDL_FLAG_CREATE, nullptr, 0, appData) != S_OK) return;
    PrepareConfFolder(g_szAppDir, appData, g_szConfDir);
}
