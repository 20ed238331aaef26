#include "configurator/main_window/CAPApp.h"
#include "configurator/main_window/CAPDlg.h"
#include "configurator/main_window/StartupSteps.h"
#include "core/AppPaths.h"
#include "core/Messages.h"
#include "framework/AfxOle.h"
#include <shlobj.h>
#include <memory>

BOOL CAPApp::InitInstance()
{
    bool usePipe = ChooseNoticePipe(ProbeElevation());
    AfxOleInit();

    // Creating the mutex and asking whether it existed is one step, so two copies that
    // start at the same moment cannot both go on.
    m_hMutex = CreateMutexW(nullptr, FALSE, GEARLOOM_MUTEX_NAME);
    if (!m_hMutex || GetLastError() == ERROR_ALREADY_EXISTS) {
        // Another copy runs: end without a window, leaving that copy as it is.
        if (m_hMutex) CloseHandle(m_hMutex);
        m_hMutex = nullptr;
        return TRUE;
    }

    wchar_t appData[MAX_PATH] = {};
    if (SHGetFolderPathW(nullptr, CSIDL_APPDATA | CSIDL_FLAG_CREATE, nullptr, 0, appData) == S_OK)
        PrepareUserFolders(appData, ProgramFolder(), g_szConfDir);

    // Two configuration records: the window lives on the heap.
    std::unique_ptr<CAPDlg> dlg(new CAPDlg(usePipe));
    m_pMainWnd = dlg.get();
    dlg->DoModal();
    m_pMainWnd = nullptr;
    return FALSE;
}

int CAPApp::ExitInstance()
{
    if (m_hMutex) {
        ReleaseMutex(m_hMutex);
        CloseHandle(m_hMutex);
        m_hMutex = nullptr;
    }
    return CWinApp::ExitInstance();
}
