#include "configurator/main_window/CAPApp.h"
#include "configurator/main_window/CAPDlg.h"
#include "configurator/main_window/StartupSteps.h"
#include "core/AppPaths.h"
#include "core/Messages.h"
#include "core/SingleInstance.h"
#include "framework/AfxOle.h"
#include "framework/StartupTrace.h"
#include <shlobj.h>
#include <memory>

BOOL CAPApp::InitInstance()
{
    int64_t since = StartupTraceNow();
    bool usePipe = ChooseNoticePipe(ProbeElevation());
    StartupTraceSpan("probe", since);
    since = StartupTraceNow();
    AfxOleInit();
    StartupTraceSpan("ole", since);

    m_hMutex = TakeInstanceMutex(GEARLOOM_MUTEX_NAME);
    // Another copy runs: end without a window, leaving that copy as it is.
    if (!m_hMutex) return TRUE;

    since = StartupTraceNow();
    wchar_t appData[MAX_PATH] = {};
    if (SHGetFolderPathW(nullptr, CSIDL_APPDATA | CSIDL_FLAG_CREATE, nullptr, 0, appData) == S_OK)
        PrepareUserFolders(appData, ProgramFolder(), g_szConfDir);
    StartupTraceSpan("folders", since);

    // Two configuration records: the window lives on the heap.
    std::unique_ptr<CAPDlg> dlg(new CAPDlg(usePipe));
    m_pMainWnd = dlg.get();
    dlg->DoModal();
    m_pMainWnd = nullptr;
    return FALSE;
}

int CAPApp::ExitInstance()
{
    ReleaseInstanceMutex(m_hMutex);
    return CWinApp::ExitInstance();
}
