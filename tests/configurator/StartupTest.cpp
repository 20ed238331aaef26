#include "ConfiguratorRig.h"
#include "configurator/main_window/CAPApp.h"
#include "configurator/main_window/StartupSteps.h"
#include "core/ConfigFile.h"
#include "core/ConfigSettings.h"
#include "core/Messages.h"
#include "AnotherCopyCheck.h"
#include <gtest/gtest.h>
#include <string>

namespace {

// A guard against a hang, not a measure.
const DWORD GUARD_MS = 30000;

DWORD ExitCode(HANDLE process)
{
    DWORD code = 99;
    GetExitCodeProcess(process, &code);
    return code;
}

bool Exists(const CString& path)
{
    return GetFileAttributesW(path) != INVALID_FILE_ATTRIBUTES;
}

// A program folder of the test's own: the real program beside a copy of the shipped files.
struct ProgramFolders {
    TempDir temp;
    CString app = temp.Path() + L"App\\";
    CString roaming = temp.Path() + L"Roaming";
    CString product = roaming + L"\\Korvath\\Eldvarra(R) MMO Gaming Mouse Tharnic Edition";
    CString conf = product + L"\\Conf\\";
    std::unique_ptr<AppDataRedirect> redirect;

    ProgramFolders()
    {
        CreateDirectoryW(app, nullptr);
        CreateDirectoryW(roaming, nullptr);
        CreateDirectoryW(app + L"skins", nullptr);
        for (const wchar_t* name : {L"Config.xml", L"TrayIcon.xml", L"Skins.xml", L"Strings.xml", L"Menu.xml", L"Functions.xml"})
            CopyFileW(SourceFile(L"resources\\") + name, app + name, FALSE);
        WIN32_FIND_DATAW fd;
        HANDLE h = FindFirstFileW(SourceFile(L"resources\\skins\\main_*.bmp"), &fd);
        if (h != INVALID_HANDLE_VALUE) {
            do {
                CopyFileW(SourceFile(L"resources\\skins\\") + fd.cFileName, app + L"skins\\" + fd.cFileName, FALSE);
            } while (FindNextFileW(h, &fd));
            FindClose(h);
        }
        CopyFileW(ExeDir() + L"Gearloom.exe", app + L"Gearloom.exe", FALSE);
        redirect.reset(new AppDataRedirect(roaming));
    }
};

}  // namespace

// Pipe only to a fully elevated service from a program with a limited token.
TEST(Startup, NoticeRoadChoice)
{
    const struct {
        bool found, serviceKnown;
        int serviceType;
        bool ownKnown;
        int ownType;
        bool pipe;
    } cases[] = {
        {true, true, 2, true, 3, true},   {true, true, 3, true, 3, false}, {true, true, 2, true, 2, false},
        {true, true, 1, true, 3, false},  {true, true, 1, true, 1, false}, {false, false, 0, true, 3, false},
        {true, false, 0, true, 3, false}, {true, true, 2, false, 0, false}, {true, true, 3, true, 2, false},
    };
    for (const auto& c : cases) {
        ElevationProbe p;
        p.serviceFound = c.found;
        p.serviceKnown = c.serviceKnown;
        p.serviceType = c.serviceType;
        p.ownKnown = c.ownKnown;
        p.ownType = c.ownType;
        EXPECT_EQ(ChooseNoticePipe(p), c.pipe) << c.found << c.serviceKnown << c.serviceType << c.ownKnown << c.ownType;
    }
}

// The probe asks the system: the service's window by its title and both processes' tokens
// (here the service's window is one of this process, elevated as Wine's processes are).
TEST(Startup, ElevationProbe)
{
    ASSERT_EQ(FindWindowW(nullptr, PORTWARDEN_WINDOW_TITLE), nullptr) << "a service is running";
    ElevationProbe none = ProbeElevation();
    EXPECT_FALSE(none.serviceFound);
    EXPECT_FALSE(none.serviceKnown);
    EXPECT_TRUE(none.ownKnown);
    EXPECT_FALSE(ChooseNoticePipe(none));
    PeerWindow service(PORTWARDEN_WINDOW_TITLE);
    ElevationProbe found = ProbeElevation();
    EXPECT_TRUE(found.serviceFound);
    EXPECT_TRUE(found.serviceKnown);
    EXPECT_EQ(found.serviceType, found.ownType);
    EXPECT_FALSE(ChooseNoticePipe(found));
}

// The per-user folders and the first copies of the two files; the user's own files are
// never overwritten; "Profile" is made at every start.
TEST(Startup, UserFoldersAndFirstCopies)
{
    TempDir temp;
    CString app = temp.Path() + L"App\\";
    CString roaming = temp.Path() + L"Roaming";
    CreateDirectoryW(app, nullptr);
    CreateDirectoryW(roaming, nullptr);
    std::vector<unsigned char> shippedConfig = {0xFF, 0xFE, 'c', 0};
    std::vector<unsigned char> shippedTray = {0xFF, 0xFE, 't', 0};
    ASSERT_TRUE(WriteBytes(app + L"Config.xml", shippedConfig));
    ASSERT_TRUE(WriteBytes(app + L"TrayIcon.xml", shippedTray));
    CString product = roaming + L"\\Korvath\\Eldvarra(R) MMO Gaming Mouse Tharnic Edition";
    CString conf = product + L"\\Conf\\";

    wchar_t confDir[MAX_PATH] = {};
    ASSERT_TRUE(PrepareUserFolders(roaming, app, confDir));
    EXPECT_EQ(CString(confDir), conf);
    EXPECT_EQ(ReadBytes(conf + L"Config.xml"), shippedConfig);
    EXPECT_EQ(ReadBytes(conf + L"TrayIcon.xml"), shippedTray);
    EXPECT_TRUE(Exists(product + L"\\Profile"));

    std::vector<unsigned char> mine = {0xFF, 0xFE, 'm', 0};
    ASSERT_TRUE(WriteBytes(conf + L"Config.xml", mine));
    DeleteFileW(conf + L"TrayIcon.xml");
    RemoveDirectoryW(product + L"\\Profile");
    DeleteFileW(app + L"TrayIcon.xml");
    ASSERT_TRUE(PrepareUserFolders(roaming, app, confDir));
    EXPECT_EQ(ReadBytes(conf + L"Config.xml"), mine);
    EXPECT_FALSE(Exists(conf + L"TrayIcon.xml")) << "no shipped copy, none made";
    EXPECT_TRUE(Exists(product + L"\\Profile"));

    DeleteFileW(conf + L"Config.xml");
    ASSERT_TRUE(PrepareUserFolders(roaming, app, confDir));
    EXPECT_EQ(ReadBytes(conf + L"Config.xml"), shippedConfig) << "a deleted file comes back";

    // A folder whose paths would not fit makes nothing and leaves the folder name alone.
    CString deep = temp.Path() + CString(L'd', 200);
    wcscpy(confDir, L"unchanged");
    EXPECT_FALSE(PrepareUserFolders(deep, app, confDir));
    EXPECT_STREQ(confDir, L"unchanged");
    EXPECT_FALSE(Exists(deep));
}

// The application object with a copy already running: no window, the mutex left to the
// other copy; alone: the window runs until it is closed and the mutex goes with it.
TEST(Startup, MutexDecidesWhetherTheWindowIsMade)
{
    MainWindowRig folders;
    ASSERT_EQ(FindWindowW(nullptr, GEARLOOM_MAIN_TITLE), nullptr) << "a copy is running";
    ExpectAnotherCopyEndsAtOnce<CAPApp>(GEARLOOM_MUTEX_NAME, GEARLOOM_MAIN_TITLE);
}

// The real program started twice: the second copy ends at once and leaves the first one as
// it was; the first made the per-user folders and copied the shipped files; closing its
// window ends it and frees its mutex. Two copies started together leave one window.
TEST(GearloomProcess, OneCopyPerUser)
{
    ProgramFolders f;
    ASSERT_EQ(FindWindowW(nullptr, GEARLOOM_MAIN_TITLE), nullptr) << "a copy is running";
    HANDLE first = StartProgram(f.app + L"Gearloom.exe");
    ASSERT_NE(first, nullptr);
    HWND window = WaitForWindowTitled(first, GEARLOOM_MAIN_TITLE, true);
    ASSERT_NE(window, nullptr);
    // The shipped settings, with the tray icon's flag set by the start.
    std::unique_ptr<ConfigData> mine = NewConfigData(), shipped = NewConfigData();
    LoadConfig(*mine, f.conf + L"Config.xml");
    LoadConfig(*shipped, f.app + L"Config.xml");
    EXPECT_EQ(CompareConfig(*mine, *shipped), 0);
    EXPECT_EQ(GetTrayIconFlag(f.conf), 1);
    EXPECT_EQ(ReadBytes(f.conf + L"TrayIcon.xml"), ReadBytes(f.app + L"TrayIcon.xml"));
    EXPECT_TRUE(Exists(f.product + L"\\Profile"));
    Sleep(300);
    SaveWindowPng(window, L"gearloom-process");
    RECT before;
    GetWindowRect(window, &before);
    HWND foreground = GetForegroundWindow();

    HANDLE second = StartProgram(f.app + L"Gearloom.exe");
    ASSERT_NE(second, nullptr);
    ASSERT_EQ(WaitForSingleObject(second, GUARD_MS), WAIT_OBJECT_0);
    EXPECT_EQ(ExitCode(second), 0u);
    CloseHandle(second);
    EXPECT_EQ(WaitForSingleObject(first, 0), (DWORD)WAIT_TIMEOUT);
    EXPECT_EQ(CountWindowsTitled(GEARLOOM_MAIN_TITLE), 1);
    EXPECT_EQ(FindWindowW(nullptr, GEARLOOM_MAIN_TITLE), window);
    RECT after;
    GetWindowRect(window, &after);
    EXPECT_TRUE(EqualRect(&before, &after));
    EXPECT_EQ(GetForegroundWindow(), foreground);

    PostMessageW(window, WM_CLOSE, 0, 0);
    ASSERT_EQ(WaitForSingleObject(first, GUARD_MS), WAIT_OBJECT_0);
    EXPECT_EQ(ExitCode(first), 0u);
    CloseHandle(first);
    HANDLE mutex = OpenMutexW(SYNCHRONIZE, FALSE, GEARLOOM_MUTEX_NAME);
    EXPECT_EQ(mutex, nullptr);
    if (mutex) CloseHandle(mutex);

    // Together: exactly one of them goes on.
    HANDLE a = StartProgram(f.app + L"Gearloom.exe");
    HANDLE b = StartProgram(f.app + L"Gearloom.exe");
    ASSERT_NE(a, nullptr);
    ASSERT_NE(b, nullptr);
    HANDLE both[] = {a, b};
    DWORD ended = WaitForMultipleObjects(2, both, FALSE, GUARD_MS);
    ASSERT_LT(ended, WAIT_OBJECT_0 + 2u);
    HANDLE runner = both[1 - (ended - WAIT_OBJECT_0)];
    HWND w = WaitForWindowTitled(runner, GEARLOOM_MAIN_TITLE, true);
    ASSERT_NE(w, nullptr);
    Sleep(300);
    EXPECT_EQ(CountWindowsTitled(GEARLOOM_MAIN_TITLE), 1);
    EXPECT_EQ(WaitForSingleObject(runner, 0), (DWORD)WAIT_TIMEOUT);
    PostMessageW(w, WM_CLOSE, 0, 0);
    EXPECT_EQ(WaitForSingleObject(runner, GUARD_MS), WAIT_OBJECT_0);
    CloseHandle(a);
    CloseHandle(b);
}
