#include "framework/CWinApp.h"
#include "framework/CWnd.h"

static CWinApp* s_pApp = nullptr;

CWinApp* GetApp()
{
    return s_pApp;
}

CWinApp::CWinApp()
{
    s_pApp = this;
    m_hInstance = GetModuleHandleW(nullptr);
}

CWinApp::~CWinApp()
{
    if (s_pApp == this) s_pApp = nullptr;
}

CWnd* AfxGetMainWnd()
{
    return s_pApp ? s_pApp->m_pMainWnd : nullptr;
}

HINSTANCE AfxGetResourceHandle()
{
    return GetModuleHandleW(nullptr);
}

BOOL CWinApp::PreTranslateMessage(MSG* msg)
{
    return CWnd::WalkPreTranslateTree(m_pMainWnd ? m_pMainWnd->m_hWnd : nullptr, msg);
}

int CWinApp::Run()
{
    if (!m_pMainWnd || !m_pMainWnd->m_hWnd) return ExitInstance();
    MSG msg = {};
    BOOL got;
    while ((got = GetMessageW(&msg, nullptr, 0, 0)) != 0) {
        if (got == -1) break;
        if (PreTranslateMessage(&msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    m_nExitCode = got == 0 ? (int)msg.wParam : -1;
    return ExitInstance();
}
