#pragma once
#include "framework/CWinApp.h"

// The configuration program's application object: decides once how Apply will reach the
// service, keeps to one copy per user, prepares the per-user folders and runs the main
// window modally. The program ends with the main window.
class CAPApp : public CWinApp {
public:
    BOOL InitInstance() override;
    int ExitInstance() override;

    HANDLE m_hMutex = nullptr;
};
