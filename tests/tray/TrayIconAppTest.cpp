#include "tray/TrayIconApp.h"
#include "tray/TrayIconWnd.h"
#include "TestSupport.h"
#include "core/AppPaths.h"
#include "core/Messages.h"
#include "AnotherCopyCheck.h"
#include <gtest/gtest.h>

// The application object in this process: with the mutex already there (another copy),
// it makes no window and leaves the mutex alone; alone, it makes the hidden window, finds
// the user's folder, and frees the mutex at its end.
TEST(TrayIconApp, TheMutexDecidesWhetherTheWindowIsMade)
{
    ASSERT_EQ(FindWindowW(nullptr, BELLWICK_WINDOW_TITLE), nullptr) << "a tray program is already running";
    TempDir temp;
    AppDataRedirect redirect(temp.Path() + L"Roaming");

    ExpectAnotherCopyEndsAtOnce<CTrayIconApp>(BELLWICK_MUTEX_NAME, BELLWICK_WINDOW_TITLE);

    {
        CTrayIconApp app;
        EXPECT_TRUE(app.InitInstance());
        ASSERT_NE(app.m_pMainWnd, nullptr);
        EXPECT_NE(app.m_hMutex, nullptr);
        EXPECT_EQ(FindWindowW(nullptr, BELLWICK_WINDOW_TITLE), app.m_pMainWnd->m_hWnd);
        EXPECT_EQ(CString(g_szConfDir),
                  temp.Path() + L"Roaming\\Korvath\\Eldvarra(R) MMO Gaming Mouse Tharnic Edition\\Conf\\");
        EXPECT_EQ(app.ExitInstance(), 0);
        EXPECT_EQ(app.m_hMutex, nullptr);
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        }
    }
    EXPECT_EQ(FindWindowW(nullptr, BELLWICK_WINDOW_TITLE), nullptr);
    HANDLE gone = OpenMutexW(SYNCHRONIZE, FALSE, BELLWICK_MUTEX_NAME);
    EXPECT_EQ(gone, nullptr);
    if (gone) CloseHandle(gone);
    g_szConfDir[0] = 0;
}
