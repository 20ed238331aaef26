#include "service/PortwardenApp.h"
#include "service/HIDWnd.h"
#include "core/Messages.h"
#include "core/SystemInfo.h"

BOOL CHIDApp::InitInstance()
{
    // Creating the mutex and asking whether it existed is one step, so two copies that
    // start at the same moment cannot both go on.
    m_hMutex = CreateMutexW(nullptr, FALSE, PORTWARDEN_MUTEX_NAME);
    if (!m_hMutex || GetLastError() == ERROR_ALREADY_EXISTS) {
        // Another copy runs: end at once, without a window and without touching it.
        if (m_hMutex) CloseHandle(m_hMutex);
        m_hMutex = nullptr;
        return TRUE;
    }

    int type = 0;
    bool elevated = GetElevationType(GetCurrentProcess(), &type) && type == 2;

    m_pHidWnd = new CHIDWnd;
    m_pHidWnd->CreateServiceWindow(elevated);
    m_pMainWnd = m_pHidWnd;
    return TRUE;
}

int CHIDApp::ExitInstance()
{
    if (m_hMutex) {
        ReleaseMutex(m_hMutex);
        CloseHandle(m_hMutex);
        m_hMutex = nullptr;
    }
    delete m_pHidWnd;
    m_pHidWnd = nullptr;
    m_pMainWnd = nullptr;
    return CWinApp::ExitInstance();
}
