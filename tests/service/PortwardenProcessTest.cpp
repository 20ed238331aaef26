#include "ServiceRig.h"
#include "service/PortwardenApp.h"
#include "core/ConfigFile.h"
#include "core/Messages.h"
#include "AnotherCopyCheck.h"
#include <gtest/gtest.h>

namespace {

// A guard against a hang, not a measure.
const DWORD GUARD_MS = 30000;

}  // namespace

// The real program, started twice from a program folder of the test, with the user's
// application-data folder redirected into the test's folder.
TEST(PortwardenProcess, SecondCopyEndsAtOnceAndLeavesTheFirstUntouched)
{
    TempDir temp;
    CString app = temp.Path() + L"App\\";
    CString roaming = temp.Path() + L"Roaming";
    CreateDirectoryW(app, nullptr);
    CreateDirectoryW(roaming, nullptr);
    AppDataRedirect redirect(roaming);
    ASSERT_TRUE(CopyFileW(ExeDir() + L"Portwarden.exe", app + L"Portwarden.exe", FALSE));
    auto shipped = ServiceRig::DefaultConfig();
    ASSERT_TRUE(WriteNewConfigFile(*shipped, app + L"Config.xml"));
    ASSERT_EQ(FindWindowW(nullptr, PORTWARDEN_WINDOW_TITLE), nullptr) << "a service is already running";

    HANDLE first = StartProgram(app + L"Portwarden.exe");
    ASSERT_NE(first, nullptr);
    HWND window = WaitForWindowTitled(first, PORTWARDEN_WINDOW_TITLE);
    ASSERT_NE(window, nullptr);

    // The first start made the user's folders and copied the shipped configuration.
    CString product = roaming + L"\\Korvath\\Eldvarra(R) MMO Gaming Mouse Tharnic Edition";
    CString conf = product + L"\\Conf\\";
    EXPECT_EQ(ReadBytes(conf + L"Config.xml"), ReadBytes(app + L"Config.xml"));
    EXPECT_NE(GetFileAttributesW(product + L"\\Profile"), INVALID_FILE_ATTRIBUTES);
    std::wstring fw = ReadUtf16File(conf + L"FWVersion.xml");
    EXPECT_NE(fw.find(L"<FW_VERSION>0</FW_VERSION>"), std::wstring::npos) << fw;

    // The user's own file from now on.
    std::vector<unsigned char> mine = {0xFF, 0xFE, 'x', 0};
    ASSERT_TRUE(WriteBytes(conf + L"Config.xml", mine));

    HANDLE second = StartProgram(app + L"Portwarden.exe");
    ASSERT_NE(second, nullptr);
    ASSERT_EQ(WaitForSingleObject(second, GUARD_MS), WAIT_OBJECT_0);
    DWORD code = 99;
    GetExitCodeProcess(second, &code);
    EXPECT_EQ(code, 0u);
    CloseHandle(second);

    EXPECT_EQ(WaitForSingleObject(first, 0), (DWORD)WAIT_TIMEOUT);
    EXPECT_EQ(FindWindowW(nullptr, PORTWARDEN_WINDOW_TITLE), window);
    EXPECT_EQ(CountWindowsTitled(PORTWARDEN_WINDOW_TITLE), 1);
    EXPECT_EQ(ReadBytes(conf + L"Config.xml"), mine);
    DWORD_PTR ping = 0;
    EXPECT_TRUE(SendMessageTimeoutW(window, WM_SERVICE_PING, 0, 0, SMTO_ABORTIFHUNG, 5000, &ping));
    EXPECT_EQ(ping, 1u);

    // Closing its window ends the first copy and frees its mutex.
    PostMessageW(window, WM_CLOSE, 0, 0);
    ASSERT_EQ(WaitForSingleObject(first, GUARD_MS), WAIT_OBJECT_0);
    GetExitCodeProcess(first, &code);
    EXPECT_EQ(code, 0u);
    CloseHandle(first);
    HANDLE mutex = OpenMutexW(SYNCHRONIZE, FALSE, PORTWARDEN_MUTEX_NAME);
    EXPECT_EQ(mutex, nullptr);
    if (mutex) CloseHandle(mutex);
}

// The application object in this process: with the mutex already there (another copy), it
// makes no window and leaves the mutex alone; alone, it makes the service window and frees
// the mutex at its end.
TEST(PortwardenProcess, TheMutexDecidesWhetherTheServiceWindowIsMade)
{
    ServiceRig rig;
    rig.mouse.SetPresent(false);
    ASSERT_EQ(FindWindowW(nullptr, PORTWARDEN_WINDOW_TITLE), nullptr) << "a service is already running";

    ExpectAnotherCopyEndsAtOnce<CHIDApp>(PORTWARDEN_MUTEX_NAME, PORTWARDEN_WINDOW_TITLE);

    {
        CHIDApp app;
        EXPECT_TRUE(app.InitInstance());
        ASSERT_NE(app.m_pMainWnd, nullptr);
        EXPECT_NE(app.m_hMutex, nullptr);
        EXPECT_EQ(FindWindowW(nullptr, PORTWARDEN_WINDOW_TITLE), app.m_pMainWnd->m_hWnd);
        EXPECT_EQ(app.ExitInstance(), 0);
        EXPECT_EQ(app.m_hMutex, nullptr);
        // The main window's end asked the message loop to end.
        bool quit = false;
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) quit = quit || msg.message == WM_QUIT;
        EXPECT_TRUE(quit);
    }
    EXPECT_EQ(FindWindowW(nullptr, PORTWARDEN_WINDOW_TITLE), nullptr);
    HANDLE gone = OpenMutexW(SYNCHRONIZE, FALSE, PORTWARDEN_MUTEX_NAME);
    EXPECT_EQ(gone, nullptr);
    if (gone) CloseHandle(gone);
}
