// The entry point of a windowed program: it drives the program's one application object.
// Kept in a file of its own so programs with their own main never pull it in.
#include "framework/CWinApp.h"
#include "framework/CWnd.h"
#include "framework/StartupTrace.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR, int)
{
    StartupTraceMark("entry");
    CWinApp* app = GetApp();
    if (!app) return -1;
    app->m_hInstance = instance;
    if (!app->InitInstance()) {
        if (app->m_pMainWnd && app->m_pMainWnd->m_hWnd) app->m_pMainWnd->DestroyWindow();
        return app->ExitInstance();
    }
    return app->Run();
}
