#pragma once
#include "SimMouse.h"
#include "ServiceFakes.h"
#include "TestSupport.h"
#include "GuiTestSupport.h"
#include "service/HIDWnd.h"
#include "core/ConfigData.h"
#include <memory>

// A service window on the simulated mouse, with every folder inside a temp folder:
// Roaming\ (the redirected application-data folder) and App\ (the program folder).
class ServiceRig {
public:
    ServiceRig();
    ~ServiceRig();

    TempDir temp;
    SimMouse mouse;
    FakeClock clock;
    FakeForeground foreground;
    FakeMouseSettings mouseSettings;
    InputRecorder input;
    std::unique_ptr<CHIDWnd> wnd;

    CString RoamingDir() const { return temp.Path() + L"Roaming"; }
    CString ConfDir() const;   // with its trailing backslash
    CString AppDir() const { return temp.Path() + L"App\\"; }
    CString ConfigPath() const { return ConfDir() + L"Config.xml"; }

    // A validated record of defaults (as a fresh "Config.xml" holds them).
    static std::unique_ptr<ConfigData> DefaultConfig();
    // Writes the record as the user's "Config.xml", with a PROFILE_CHAGED element when
    // profileChanged is given.
    void WriteConfig(const ConfigData& cfg, const wchar_t* profileChanged = nullptr);
    std::unique_ptr<ConfigData> ReadConfig() const;

    // Creates the window with the mouse present or absent; afterwards the program folder
    // is App\ so nothing is started from the test's own folder.
    bool Create(bool mousePresent);
    // The mouse is plugged in: a WM_DEVICECHANGE starts the session.
    void Plug();
    // Pumps the thread's messages until `count` WM_DEVICE_EVENT messages were handled.
    void HandleDeviceEvents(int count);
    // Handles what is already queued.
    void Pump();

private:
    std::unique_ptr<AppDataRedirect> m_redirect;
    std::unique_ptr<ServiceSeamGuard> m_seams;
    // The real Bellwick.exe beside the tests, held open without sharing: a session that
    // starts while the window is made (before the rig's program folder is set) would
    // start it from there, and it would outlive the test.
    HANDLE m_trayProgram = INVALID_HANDLE_VALUE;
};
