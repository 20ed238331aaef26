#pragma once
#include <windows.h>

class CWnd;

// The application object: one per program. The program's entry point (AppMain.cpp) calls
// InitInstance, then Run, which pumps messages until WM_QUIT and ends with ExitInstance.
// Destroying the main window posts WM_QUIT.
class CWinApp {
public:
    CWinApp();
    virtual ~CWinApp();
    CWinApp(const CWinApp&) = delete;
    CWinApp& operator=(const CWinApp&) = delete;

    virtual BOOL InitInstance() { return TRUE; }
    // Answers the program's exit code (the WM_QUIT code once Run has pumped).
    virtual int ExitInstance() { return m_nExitCode; }
    // Without a main window it ends at once through ExitInstance.
    virtual int Run();
    // Each message of Run goes here first: the windows from the message's own up to the
    // main window may use it up (CWnd::PreTranslateMessage).
    virtual BOOL PreTranslateMessage(MSG* msg);

    CWnd* m_pMainWnd = nullptr;
    HINSTANCE m_hInstance = nullptr;

protected:
    int m_nExitCode = 0;
};

// The one application object of the process, or null.
CWinApp* GetApp();
// The application's main window, or null (no application object, or none set).
CWnd* AfxGetMainWnd();
// The module that holds the programs' resources (dialog templates): the program file.
HINSTANCE AfxGetResourceHandle();
