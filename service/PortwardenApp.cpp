#include "service/PortwardenApp.h"
#include "service/HIDWnd.h"
#include "core/Messages.h"
#include "core/SingleInstance.h"
#include "core/SystemInfo.h"

BOOL CHIDApp::InitInstance()
{
    m_hMutex = TakeInstanceMutex(PORTWARDEN_MUTEX_NAME);
    // Another copy runs: end at once, without a window and without touching it.
    if (!m_hMutex) return TRUE;

    int type = 0;
    bool elevated = GetElevationType(GetCurrentProcess(), &type) && type == 2;

    m_pHidWnd = new CHIDWnd;
    m_pHidWnd->CreateServiceWindow(elevated);
    m_pMainWnd = m_pHidWnd;
    return TRUE;
}

int CHIDApp::ExitInstance()
{
    ReleaseInstanceMutex(m_hMutex);
    delete m_pHidWnd;
    m_pHidWnd = nullptr;
    m_pMainWnd = nullptr;
    return CWinApp::ExitInstance();
}
