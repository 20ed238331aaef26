#include "tray/TrayIconApp.h"
#include "tray/TrayIconWnd.h"
#include "core/AppPaths.h"
#include "core/Messages.h"
#include "core/SingleInstance.h"
#include "framework/StartupTrace.h"
#include <shlobj.h>
#include <cwchar>

namespace {

// The per-user configuration folder under the roaming application-data folder, with its
// trailing backslash; left as it is when that folder cannot be found. Not created here.
void SetConfFolder()
{
    wchar_t roaming[MAX_PATH] = {};
    if (FAILED(SHGetFolderPathW(nullptr, CSIDL_APPDATA | CSIDL_FLAG_CREATE, nullptr, 0, roaming))) return;
    wchar_t conf[MAX_PATH];
    int n = swprintf(conf, MAX_PATH, L"%ls\\Korvath\\Eldvarra(R) MMO Gaming Mouse Tharnic Edition\\Conf\\", roaming);
    if (n > 0 && n < MAX_PATH) wcscpy(g_szConfDir, conf);
}

}  // namespace

BOOL CTrayIconApp::InitInstance()
{
    m_hMutex = TakeInstanceMutex(BELLWICK_MUTEX_NAME);
    // Another copy runs: end at once, without a window and without touching it.
    if (!m_hMutex) return TRUE;

    SetConfFolder();

    StartupTraceScope trace("tray-window");
    m_pTrayWnd = new CTrayIconWnd;
    m_pTrayWnd->CreateTrayWindow();
    m_pMainWnd = m_pTrayWnd;
    return TRUE;
}

int CTrayIconApp::ExitInstance()
{
    delete m_pTrayWnd;
    m_pTrayWnd = nullptr;
    m_pMainWnd = nullptr;
    ReleaseInstanceMutex(m_hMutex);
    return CWinApp::ExitInstance();
}
