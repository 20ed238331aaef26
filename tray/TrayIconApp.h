#pragma once
#include "framework/CWinApp.h"

class CTrayIconWnd;

// The tray program's application object: one copy per user, one hidden window that
// holds the notification-area icon. It runs until it is ended from outside.
class CTrayIconApp : public CWinApp {
public:
    BOOL InitInstance() override;
    int ExitInstance() override;

    CTrayIconWnd* m_pTrayWnd = nullptr;
    HANDLE m_hMutex = nullptr;
};
