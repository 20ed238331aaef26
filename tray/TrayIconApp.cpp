#include "tray/TrayIconApp.h"
#include "tray/TrayIconWnd.h"
#include "core/AppPaths.h"
#include "core/Messages.h"

BOOL CTrayIconApp::InitInstance()
{
    // Creating the mutex and asking whether it existed is one step, so two copies that
    // start at the same moment cannot both go on.
    m_hMutex = CreateMutexW(nullptr, FALSE, BELLWICK_MUTEX_NAME);
    if (!m_hMutex || GetLastError() == ERROR_ALREADY_EXISTS) {
        // Another copy runs: end at once, without a window and without touching it.
        if (m_hMutex) CloseHandle(m_hMutex);
        m_hMutex = nullptr;
        return TRUE;
    }

    // Without the user's application-data folder the configuration folder stays empty.
    FindUserConfFolder(g_szConfDir);

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
    if (m_hMutex) {
        ReleaseMutex(m_hMutex);
        CloseHandle(m_hMutex);
        m_hMutex = nullptr;
    }
    return CWinApp::ExitInstance();
}
