// The real Bellwick.exe as a second process, driven the way a person and the other
// programs drive it: real clicks on its notification-area icon, keys in its menu, the
// messages of the device service and the configuration program.
#include "BellwickRig.h"
#include "GuiTestSupport.h"
#include "core/Messages.h"
#include <gtest/gtest.h>

namespace {

LRESULT SendToTray(HWND window, UINT message)
{
    DWORD_PTR answer = 0;
    if (!SendMessageTimeoutW(window, message, 0, 0, SMTO_ABORTIFHUNG, TRAY_GUARD_MS, &answer)) return -1;
    return (LRESULT)answer;
}

RECT Union(const std::vector<HWND>& windows)
{
    RECT all = {};
    for (HWND h : windows) {
        RECT r = WindowRect(h);
        UnionRect(&all, &all, &r);
    }
    return all;
}

// The notice's OK button: the widest of its children (the exit button is a small round one).
HWND WidestChild(HWND parent)
{
    HWND best = nullptr;
    int widest = 0;
    for (HWND c = GetWindow(parent, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        RECT r = WindowRect(c);
        if (GetDlgCtrlID(c) == 0 && r.right - r.left > widest) {
            widest = r.right - r.left;
            best = c;
        }
    }
    return best;
}

}  // namespace

TEST(BellwickProcess, SecondStartEndsAtOnceAndLeavesTheFirstRunning)
{
    BellwickRig rig;
    ASSERT_EQ(FindWindowW(nullptr, BELLWICK_WINDOW_TITLE), nullptr) << "a tray program is already running";
    ASSERT_TRUE(rig.Start());

    HANDLE second = StartProgram(rig.AppDir() + L"Bellwick.exe");
    ASSERT_NE(second, nullptr);
    ASSERT_EQ(WaitForSingleObject(second, TRAY_GUARD_MS), WAIT_OBJECT_0);
    DWORD code = 99;
    GetExitCodeProcess(second, &code);
    CloseHandle(second);
    EXPECT_EQ(code, 0u);

    EXPECT_EQ(WaitForSingleObject(rig.process, 0), (DWORD)WAIT_TIMEOUT);
    EXPECT_EQ(FindWindowW(nullptr, BELLWICK_WINDOW_TITLE), rig.window);
    EXPECT_EQ(ProcessWindows(rig.pid, L"#32770").size(), 0u);
    HANDLE mutex = OpenMutexW(SYNCHRONIZE, FALSE, BELLWICK_MUTEX_NAME);
    EXPECT_NE(mutex, nullptr);
    if (mutex) CloseHandle(mutex);
    EXPECT_NE(rig.Icon(), nullptr);

    // Ended from outside: the icon leaves with the window and the mutex is freed.
    EXPECT_EQ(rig.Stop(), 0u);
    EXPECT_TRUE(WaitUntil([&] { return rig.Icon() == nullptr; }));
    mutex = OpenMutexW(SYNCHRONIZE, FALSE, BELLWICK_MUTEX_NAME);
    EXPECT_EQ(mutex, nullptr);
    if (mutex) CloseHandle(mutex);
}

TEST(BellwickProcess, DeviceNoticesAnswerOneAndSwitchTheIconShown)
{
    BellwickRig rig;
    ASSERT_TRUE(rig.Start());
    HWND icon = rig.Icon();
    ASSERT_NE(icon, nullptr);
    RECT tray = WindowRect(GetParent(icon));

    // At first the program file's own icon: the gold light.
    EXPECT_TRUE(WaitUntil([&] { return ClassifyIcon(rig.Icon()).gold > 0; }));
    EXPECT_EQ(ClassifyIcon(rig.Icon()).red, 0);
    SaveScreenPng(tray, L"tray-icon-started");

    EXPECT_EQ(SendToTray(rig.window, WM_SET_ICON_ACTIVE), 1);
    EXPECT_TRUE(WaitUntil([&] { return ClassifyIcon(rig.Icon()).red > 0; }));
    SaveScreenPng(tray, L"tray-icon-device-present");

    EXPECT_EQ(SendToTray(rig.window, WM_SET_ICON_INACTIVE), 1);
    EXPECT_TRUE(WaitUntil([&] { return ClassifyIcon(rig.Icon()).coloured == 0; }));
    SaveScreenPng(tray, L"tray-icon-device-absent");

    // Asked to show an icon that is shown: it answers 1 and the icon stays as it is.
    EXPECT_EQ(SendToTray(rig.window, WM_SHOW_TRAY_ICON), 1);
    Sleep(300);
    EXPECT_EQ(ClassifyIcon(rig.Icon()).coloured, 0);
    EXPECT_EQ(rig.Stop(), 0u);
}

TEST(BellwickProcess, WithoutTheFlagThereIsNoIconUntilTheConfigurationProgramAsks)
{
    for (int flag : {0, -1}) {
        SCOPED_TRACE(flag);
        BellwickRig rig;
        rig.WriteConfig(0, flag);
        ASSERT_TRUE(rig.Start());
        Sleep(300);
        EXPECT_EQ(rig.Icon(), nullptr);
        // The notices change only the stored record while no icon is shown.
        EXPECT_EQ(SendToTray(rig.window, WM_SET_ICON_ACTIVE), 1);
        EXPECT_EQ(SendToTray(rig.window, WM_SHOW_TRAY_ICON), 1);
        ASSERT_TRUE(WaitUntil([&] { return ClassifyIcon(rig.Icon()).gold > 0; }));
        IconColours c = ClassifyIcon(rig.Icon());
        EXPECT_EQ(c.red, 0);
        EXPECT_EQ(rig.StoredTrayFlag(), flag);
        EXPECT_EQ(rig.Stop(), 0u);
    }
}

TEST(BellwickProcess, HideRemovesTheIconAndStoresTheFlagUntilTheConfigurationProgramAsks)
{
    BellwickRig rig;
    ASSERT_TRUE(rig.Start());
    ASSERT_NE(OpenTrayMenu(rig.pid), nullptr);
    for (int i = 0; i < 4; ++i) KeyTap(VK_DOWN);  // Open, Profile, User Guide, Hide
    KeyTap(VK_RETURN);
    EXPECT_TRUE(WaitUntil([&] { return rig.Icon() == nullptr; }));
    EXPECT_EQ(rig.StoredTrayFlag(), 0);
    EXPECT_EQ(WaitForSingleObject(rig.process, 0), (DWORD)WAIT_TIMEOUT) << "it keeps running without its icon";

    EXPECT_EQ(SendToTray(rig.window, WM_SET_ICON_ACTIVE), 1);
    Sleep(300);
    EXPECT_EQ(rig.Icon(), nullptr);

    // The configuration program sets the flag to 1 itself, then asks for the icon.
    EXPECT_EQ(SendToTray(rig.window, WM_SHOW_TRAY_ICON), 1);
    ASSERT_TRUE(WaitUntil([&] { return ClassifyIcon(rig.Icon()).gold > 0; }))
        << "the program's own icon again, not the stored state icon";
    IconColours c = ClassifyIcon(rig.Icon());
    EXPECT_EQ(c.red, 0);
    EXPECT_EQ(rig.Stop(), 0u);
}

TEST(BellwickProcess, AProfilePickIsPostedToTheServiceAndTheConfigurationProgram)
{
    BellwickRig rig;
    PeerWindow service(PORTWARDEN_WINDOW_TITLE);
    PeerWindow configurator(GEARLOOM_MAIN_TITLE);
    ASSERT_TRUE(rig.Start());
    ASSERT_NE(OpenTrayMenu(rig.pid), nullptr);
    ASSERT_NE(OpenProfileSubmenu(rig.pid), nullptr);
    for (int i = 0; i < 4; ++i) KeyTap(VK_DOWN);  // Profile 1 .. Profile 5
    KeyTap(VK_RETURN);
    ASSERT_TRUE(PumpUntil([&] { return !service.received.empty() && !configurator.received.empty(); }));
    PumpFor(200);
    for (PeerWindow* w : {&service, &configurator}) {
        ASSERT_EQ(w->received.size(), 1u);
        EXPECT_EQ(w->received[0].message, WM_PROFILE_CHANGE);
        EXPECT_EQ(w->received[0].wParam, 4u);
        EXPECT_EQ(w->received[0].lParam, 0);
    }
    // The tray writes no profile itself.
    EXPECT_EQ(ReadUtf16File(rig.ConfDir() + L"Config.xml").find(L"<PROFILE_ID>0</PROFILE_ID>") != std::wstring::npos,
              true);
    EXPECT_EQ(rig.Stop(), 0u);
}

TEST(BellwickProcess, TheMenuShowsTheTextsOfTrayIconXmlAndChecksTheStoredProfile)
{
    const std::wstring twoElements =
        L"<root>\r\n<TRAY_ICON>\r\n<HIDE>Verstecken</HIDE>\r\n<OPEN>\u00D6ffnen</OPEN>\r\n<PROFILE>Profile</PROFILE>\r\n"
        L"<PROFILE_1>Raids</PROFILE_1>\r\n<PROFILE_2>Arena</PROFILE_2>\r\n<PROFILE_3>Crafting</PROFILE_3>\r\n"
        L"<PROFILE_4>Questing</PROFILE_4>\r\n<PROFILE_5>Healer</PROFILE_5>\r\n<PROFILE_6>Tank</PROFILE_6>\r\n"
        L"<PROFILE_7>Seven</PROFILE_7>\r\n<PROFILE_8>Eight</PROFILE_8>\r\n<PROFILE_9>Nine</PROFILE_9>\r\n"
        L"<PROFILE_10>Ten</PROFILE_10>\r\n<HELP>Hilfe</HELP>\r\n</TRAY_ICON>\r\n"
        L"<TRAY_ICON>\r\n<OPEN>Open Gearloom</OPEN>\r\n</TRAY_ICON>\r\n</root>\r\n";
    ExpectedMenu fromTwo = {L"Open Gearloom", L"Profile", {L"Raids", L"Arena", L"Crafting", L"Questing", L"Healer",
                            L"Tank", L"Seven", L"Eight", L"Nine", L"Ten"}, L"Hilfe", L"Verstecken", 5};
    ExpectedMenu empty = {L"", L"", {}, L"", L"", 9};
    struct Case {
        const char* name;
        int profileId;
        const std::wstring* trayIconXml;  // in the user's folder; null: the shipped one only
        bool noShippedFile;
        ExpectedMenu expected;
    } cases[] = {
        {"profile 3: the fourth item", 3, nullptr, false, ShippedMenuTexts(3)},
        {"profile 0: the first item", 0, nullptr, false, ShippedMenuTexts(0)},
        {"profile 12: the first item", 12, nullptr, false, ShippedMenuTexts(0)},
        {"two TRAY_ICON elements", 5, &twoElements, false, fromTwo},
        {"no TrayIcon.xml anywhere", 9, nullptr, true, empty},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        BellwickRig rig;
        rig.WriteConfig(c.profileId, 1);
        if (c.trayIconXml) rig.WriteTrayIconXml(*c.trayIconXml);
        if (c.noShippedFile) DeleteFileW(rig.AppDir() + L"TrayIcon.xml");
        ASSERT_TRUE(rig.Start());
        HWND icon = rig.Icon();
        ASSERT_NE(icon, nullptr);
        POINT at = ScreenCenter(icon);
        HWND main = OpenTrayMenu(rig.pid);
        ASSERT_NE(main, nullptr);
        HWND sub = OpenProfileSubmenu(rig.pid);
        ASSERT_NE(sub, nullptr);
        MenuPicture shownMain = Picture(main), shownSub = Picture(sub);
        if (&c == &cases[0]) SaveScreenPng(Union({GetParent(icon), main, sub}), L"tray-menu-open");
        CloseTrayMenus(rig.pid);

        auto reference = ReferencePictures(c.expected, at);
        EXPECT_TRUE(SamePicture(shownMain, reference.first)) << "main menu";
        EXPECT_TRUE(SamePicture(shownSub, reference.second)) << "profile submenu";
        if (!SamePicture(shownSub, reference.second) || !SamePicture(shownMain, reference.first)) {
            SavePixelsPng(shownSub.pixels, shownSub.rect.right - shownSub.rect.left,
                          shownSub.rect.bottom - shownSub.rect.top, L"tray-menu-mismatch-shown");
            SavePixelsPng(reference.second.pixels, reference.second.rect.right - reference.second.rect.left,
                          reference.second.rect.bottom - reference.second.rect.top, L"tray-menu-mismatch-expected");
        }
        EXPECT_EQ(rig.Stop(), 0u);
    }
}

TEST(BellwickProcess, OpenBringsTheConfigurationProgramForwardOrStartsIt)
{
    BellwickRig rig;
    ASSERT_TRUE(rig.Start());
    {
        PeerWindow configurator(GEARLOOM_MAIN_TITLE, WS_OVERLAPPEDWINDOW);
        ShowWindow(configurator.m_hWnd, SW_MINIMIZE);
        ASSERT_TRUE(PumpUntil([&] { return IsIconic(configurator.m_hWnd) != FALSE; })) << "minimised";
        // A double click on the icon, as a person gives it.
        POINT at = ScreenCenter(rig.Icon());
        ASSERT_TRUE(TakesClickAt(rig.Icon(), at));
        MouseClickAt(at);
        MouseClickAt(at);
        EXPECT_TRUE(PumpUntil([&] { return !IsIconic(configurator.m_hWnd) && GetForegroundWindow() == configurator.m_hWnd; }))
            << "in front is " << DescribeWindow(GetForegroundWindow());
    }

    // No configuration program running: the menu's first item starts it from the tray's folder.
    ASSERT_TRUE(CopyFileW(ExeDir() + L"start_marker.exe", rig.AppDir() + L"Gearloom.exe", FALSE));
    ASSERT_NE(OpenTrayMenu(rig.pid), nullptr);
    KeyTap(VK_DOWN);
    KeyTap(VK_RETURN);
    EXPECT_TRUE(WaitUntil(
        [&] { return GetFileAttributesW(rig.AppDir() + L"Gearloom.exe.started") != INVALID_FILE_ATTRIBUTES; }, 10000));
    EXPECT_EQ(rig.Stop(), 0u);
}

TEST(BellwickProcess, AUserGuideThatCannotBeOpenedShowsTheNoticeAtTheWorkAreasCorner)
{
    NoPdfReader noReader;
    BellwickRig rig;
    ASSERT_TRUE(rig.Start());
    ASSERT_NE(OpenTrayMenu(rig.pid), nullptr);
    for (int i = 0; i < 3; ++i) KeyTap(VK_DOWN);  // Open, Profile, User Guide
    KeyTap(VK_RETURN);
    ASSERT_TRUE(WaitUntil([&] { return rig.Notice() != nullptr; }));
    HWND notice = rig.Notice();
    EXPECT_TRUE(WindowShown(notice));

    RECT work = {};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    EXPECT_TRUE(WaitUntil([&] {
        RECT b = WindowRect(notice);
        return b.right == work.right && b.bottom == work.bottom;
    })) << "in the work area's corner: " << DescribeWindow(notice);
    RECT box = WindowRect(notice);
    EXPECT_EQ(box.right, work.right);
    EXPECT_EQ(box.bottom, work.bottom);
    EXPECT_GT(box.right - box.left, 100);
    HWND link = GetDlgItem(notice, 1);
    ASSERT_NE(link, nullptr);
    EXPECT_TRUE(IsWindowVisible(link));
    wchar_t caption[64] = {};
    GetWindowTextW(link, caption, 64);
    EXPECT_STREQ(caption, L"PDF Reader");
    SaveScreenPng(box, L"tray-user-guide-notice");
    SaveScreenPng(RECT{work.right - 640, work.bottom - 360, work.right, work.bottom}, L"tray-user-guide-notice-corner");

    // A click on the icon brings the open notice back in front of another program. The
    // click is posted to the icon: a real one also makes the window manager focus the
    // tray window, which races with the program bringing its notice forward.
    {
        PeerWindow other(L"another program", WS_OVERLAPPEDWINDOW);
        // In front once the window manager has taken it in and given it the focus: a focus
        // it gives later would take the front back from the notice.
        ASSERT_TRUE(ShowAt(other.m_hWnd, WindowRect(other.m_hWnd)));
        PostMessageW(rig.Icon(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
        PostMessageW(rig.Icon(), WM_LBUTTONUP, 0, MAKELPARAM(10, 10));
        EXPECT_TRUE(WindowInFront(notice));
    }

    // Its OK button closes it; the program goes on.
    HWND ok = WidestChild(notice);
    ASSERT_NE(ok, nullptr);
    ASSERT_TRUE(ClickOn(ok));
    EXPECT_TRUE(WaitUntil([&] { return rig.Notice() == nullptr; }));
    EXPECT_EQ(WaitForSingleObject(rig.process, 0), (DWORD)WAIT_TIMEOUT);
    EXPECT_EQ(rig.Stop(), 0u);
}

// Starts at the same moment (as the service's device notices can cause): exactly one
// copy goes on, the others end at once.
TEST(BellwickProcess, OfSimultaneousStartsExactlyOneRuns)
{
    BellwickRig rig;
    std::vector<HANDLE> starts;
    for (int i = 0; i < 4; ++i) starts.push_back(StartProgram(rig.AppDir() + L"Bellwick.exe"));
    ASSERT_TRUE(WaitUntil([&] { return FindWindowW(nullptr, BELLWICK_WINDOW_TITLE) != nullptr; }, TRAY_GUARD_MS));
    HANDLE running = nullptr;
    for (HANDLE h : starts) {
        ASSERT_NE(h, nullptr);
        if (WaitForSingleObject(h, 3000) == WAIT_TIMEOUT) {
            EXPECT_EQ(running, nullptr) << "a second copy runs";
            running = h;
        }
    }
    ASSERT_NE(running, nullptr);
    rig.process = running;
    rig.pid = GetProcessId(running);
    rig.window = FindWindowW(nullptr, BELLWICK_WINDOW_TITLE);
    EXPECT_EQ(ProcessWindows(rig.pid, L"#32770").size(), 0u);
    for (HANDLE h : starts)
        if (h != running) CloseHandle(h);
    EXPECT_EQ(rig.Stop(), 0u);
}
