#include "ServiceRig.h"
#include "service/DriverLink.h"
#include "service/DeviceSettings.h"
#include "core/AppPaths.h"
#include "core/ConfigFile.h"
#include "core/Messages.h"
#include "core/XmlDoc.h"
#include <gtest/gtest.h>

ServiceRig::ServiceRig()
{
    CreateDirectoryW(RoamingDir(), nullptr);
    CreateDirectoryW(AppDir(), nullptr);
    m_trayProgram = CreateFileW(ExeDir() + L"Bellwick.exe", GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    m_redirect.reset(new AppDataRedirect(RoamingDir()));
    m_seams.reset(new ServiceSeamGuard(&mouse, &input, &clock, &foreground, &mouseSettings));
    // Each test starts from a process with no history of buttons or DPI steps.
    g_nPrevButtons = 0;
    g_nPrevExtButtons = 0;
    g_nLastDpiStage = 0;
    // The conf folder is made here so a test can place "Config.xml" before the window starts.
    MakeConfFolder(RoamingDir());
}

ServiceRig::~ServiceRig()
{
    wnd.reset();
    Pump();
    m_seams.reset();
    m_redirect.reset();
    g_szConfDir[0] = 0;
    g_szAppDir[0] = 0;
    if (m_trayProgram != INVALID_HANDLE_VALUE) CloseHandle(m_trayProgram);
}

CString ServiceRig::ConfDir() const
{
    return RoamingDir() + L"\\Korvath\\Eldvarra(R) MMO Gaming Mouse Tharnic Edition\\Conf\\";
}

std::unique_ptr<ConfigData> ServiceRig::DefaultConfig()
{
    std::unique_ptr<ConfigData> cfg = NewConfigData();
    ResetConfig(*cfg);
    ValidateConfig(*cfg);
    return cfg;
}

void ServiceRig::WriteConfig(const ConfigData& cfg, const wchar_t* profileChanged)
{
    ASSERT_TRUE(WriteNewConfigFile(cfg, ConfigPath()));
    if (!profileChanged) return;
    CXmlDoc doc;
    ASSERT_TRUE(doc.LoadFile(ConfigPath()));
    doc.FindElement(nullptr);
    doc.EnterNode();
    ASSERT_TRUE(doc.AddElement(L"PROFILE_CHAGED", profileChanged));
    ASSERT_TRUE(doc.SaveFile(ConfigPath()));
}

std::unique_ptr<ConfigData> ServiceRig::ReadConfig() const
{
    std::unique_ptr<ConfigData> cfg = NewConfigData();
    ResetConfig(*cfg);
    LoadConfig(*cfg, ConfigPath());
    return cfg;
}

bool ServiceRig::Create(bool mousePresent)
{
    mouse.SetPresent(mousePresent);
    wnd.reset(new CHIDWnd);
    if (!wnd->CreateServiceWindow(false)) return false;
    wcscpy(g_szAppDir, AppDir());
    return true;
}

void ServiceRig::Plug()
{
    mouse.SetPresent(true);
    wnd->SendMessage(WM_DEVICECHANGE, 7 /* DBT_DEVNODES_CHANGED */, 0);
}

void ServiceRig::HandleDeviceEvents(int count)
{
    DWORD start = GetTickCount();
    int handled = 0;
    while (handled < count) {
        MSG msg;
        while (handled < count && PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_DEVICE_EVENT && msg.hwnd == wnd->m_hWnd) ++handled;
            DispatchMessageW(&msg);
        }
        if (handled >= count) break;
        // A guard against a hang, not a measure: events arrive within milliseconds.
        ASSERT_LT(GetTickCount() - start, 20000u) << "device events not delivered: " << handled << " of " << count;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 100, QS_ALLINPUT);
    }
}

void ServiceRig::Pump()
{
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
}

