// Bellwick as it runs on a player's machine: started by the real Portwarden.exe once it has
// opened the simulated mouse, its icon following the mouse's removal and arrival, and a
// profile picked in its menu switching the mouse through the service.
#include "SuiteRun.h"
#include "TrayDriver.h"
#include "GuiTestSupport.h"
#include "core/ConfigSettings.h"
#include "core/Messages.h"
#include <gtest/gtest.h>

namespace {

class TrayEndToEnd : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::wstring error = run.StartMouse();
        ASSERT_TRUE(error.empty()) << "simulated mouse: " << std::string(error.begin(), error.end());
        ASSERT_EQ(FindWindowW(nullptr, PORTWARDEN_WINDOW_TITLE), nullptr) << "a service is already running";
        ASSERT_EQ(FindWindowW(nullptr, BELLWICK_WINDOW_TITLE), nullptr) << "a tray program is already running";
    }

    void TearDown() override
    {
        // The tray program runs until it is ended from outside.
        if (HWND tray = FindWindowW(nullptr, BELLWICK_WINDOW_TITLE)) {
            DWORD pid = 0;
            GetWindowThreadProcessId(tray, &pid);
            HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, pid);
            PostMessageW(tray, WM_CLOSE, 0, 0);
            if (process) {
                WaitForSingleObject(process, TRAY_GUARD_MS);
                CloseHandle(process);
            }
        }
        run.StopService();
        WaitUntil([] { return TrayIconWindow() == nullptr; }, 5000);
    }

    SuiteRun run;
    ExeFileTypeGuard exeType;
};

// Where a process was started from.
CString ImagePath(DWORD pid)
{
    HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid);
    if (!process) return CString();
    wchar_t path[MAX_PATH] = {};
    DWORD size = MAX_PATH;
    BOOL ok = QueryFullProcessImageNameW(process, 0, path, &size);
    CloseHandle(process);
    return ok ? CString(path) : CString();
}

}  // namespace

TEST_F(TrayEndToEnd, TheServiceStartsTheTrayWhoseIconAndMenuFollowTheMouse)
{
    // The program folder holds the tray program and its shipped menu texts; profile 4 has a
    // DPI stage and a light of its own.
    ASSERT_TRUE(CopyFileW(ExeDir() + L"Bellwick.exe", run.AppDir() + L"Bellwick.exe", FALSE));
    ASSERT_TRUE(CopyFileW(SourceFile(L"resources\\TrayIcon.xml"), run.AppDir() + L"TrayIcon.xml", FALSE));
    std::unique_ptr<ConfigData> cfg = SuiteRun::DefaultConfig();
    ProfileData& fourth = cfg->profiles[3];
    fourth.DPI_VALUE = 4;
    fourth.LED_COLOR = 0x0000FF;  // red
    fourth.LED_INTENSITY = 1;
    fourth.LED_PULSATION = 4;
    ASSERT_TRUE(run.WriteConfig(*cfg));
    ASSERT_TRUE(SetTrayIconFlag(run.ConfDir(), 1));

    // The service opens the mouse, then starts Bellwick.exe from its own folder.
    ASSERT_TRUE(run.StartService());
    HWND tray = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (tray = FindWindowW(nullptr, BELLWICK_WINDOW_TITLE)) != nullptr; }, TRAY_GUARD_MS));
    DWORD pid = 0;
    GetWindowThreadProcessId(tray, &pid);
    EXPECT_EQ(ImagePath(pid).CompareNoCase(run.AppDir() + L"Bellwick.exe"), 0) << ImagePath(pid).str();
    ASSERT_TRUE(WaitUntil([] { return ClassifyIcon(TrayIconWindow()).gold > 0; }, 5000)) << "the program's own icon";
    RECT trayArea = WindowRect(GetParent(TrayIconWindow()));

    // Unplugged: the icon turns grey. Plugged in: after the service's pause it turns red.
    ASSERT_EQ(run.mouse.Unplug(), SIM_OK);
    EXPECT_TRUE(WaitUntil([] { return ClassifyIcon(TrayIconWindow()).coloured == 0; }, TRAY_GUARD_MS));
    SaveScreenPng(trayArea, L"e2e-tray-mouse-unplugged");
    ASSERT_EQ(run.mouse.Plug(), SIM_OK);
    EXPECT_TRUE(WaitUntil([] { return ClassifyIcon(TrayIconWindow()).red > 0; }, TRAY_GUARD_MS));
    SaveScreenPng(trayArea, L"e2e-tray-mouse-plugged");

    // Profile 4 picked in the tray menu: the service writes PROFILE_ID and sets the mouse.
    ASSERT_EQ(run.ReadConfig()->PROFILE_ID, 0);
    ASSERT_NE(OpenTrayMenu(pid), nullptr);
    ASSERT_NE(OpenProfileSubmenu(pid), nullptr);
    for (int i = 0; i < 3; ++i) KeyTap(VK_DOWN);  // Profile 1 .. Profile 4
    KeyTap(VK_RETURN);
    EXPECT_TRUE(WaitUntil([&] { return run.ReadConfig()->PROFILE_ID == 3; }, TRAY_GUARD_MS));
    EXPECT_EQ(run.Send(WM_SERVICE_PING), 1);  // the switch has been handled
    SimDeviceState s = run.State();
    EXPECT_EQ(s.settings.stage, 4);
    EXPECT_EQ(s.settings.r, 0xFF);
    EXPECT_EQ(s.settings.g, 0);
    EXPECT_EQ(s.settings.b, 0);
    EXPECT_EQ(s.settings.intensity, 1);
    EXPECT_EQ(s.settings.pulsation, 4);

    // At the next touch the menu checks profile 4.
    POINT at = ScreenCenter(TrayIconWindow());
    HWND main = OpenTrayMenu(pid);
    ASSERT_NE(main, nullptr);
    HWND sub = OpenProfileSubmenu(pid);
    ASSERT_NE(sub, nullptr);
    MenuPicture shownMain = Picture(main), shownSub = Picture(sub);
    CloseTrayMenus(pid);
    auto expected = ReferencePictures(ShippedMenuTexts(3), at);
    EXPECT_TRUE(SamePicture(shownMain, expected.first)) << "main menu";
    EXPECT_TRUE(SamePicture(shownSub, expected.second)) << "profile submenu";
}
