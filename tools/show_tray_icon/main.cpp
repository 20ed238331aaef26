// show_tray_icon [SECONDS]: what the configuration program does for the tray at each of its
// starts, for the run command: TRAY_ICON_FLAG 1 in the user's "Config.xml" when it is not 1,
// then WM_SHOW_TRAY_ICON to the tray program's window, waiting up to SECONDS (default 0)
// for it. Exit code 0 when the tray program was asked, 1 when its window never came.
#include "core/AppPaths.h"
#include "core/ConfigSettings.h"
#include "core/Messages.h"
#include <cwchar>
#include <cstdlib>

int wmain(int argc, wchar_t** argv)
{
    const double seconds = argc > 1 ? wcstod(argv[1], nullptr) : 0.0;
    wchar_t conf[MAX_PATH] = {};
    if (FindUserConfFolder(conf) && GetTrayIconFlag(conf) != 1) SetTrayIconFlag(conf, 1);
    const ULONGLONG end = GetTickCount64() + (ULONGLONG)(seconds > 0 ? seconds * 1000 : 0);
    for (;;) {
        if (HWND tray = FindWindowW(nullptr, BELLWICK_WINDOW_TITLE)) return PostMessageW(tray, WM_SHOW_TRAY_ICON, 0, 0) ? 0 : 1;
        if (GetTickCount64() >= end) return 1;
        Sleep(100);
    }
}
