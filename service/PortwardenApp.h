#pragma once
#include "framework/CWinApp.h"

class CHIDWnd;

// The device service's application object: one copy per session, one hidden window.
class CHIDApp : public CWinApp {
public:
    BOOL InitInstance() override;
    int ExitInstance() override;

    HANDLE m_hMutex = nullptr;
    CHIDWnd* m_pHidWnd = nullptr;
};
