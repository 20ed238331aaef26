#include "service/HIDWnd.h"
#include "service/DeviceEvents.h"
#include "service/DriverLink.h"
#include "service/Firmware.h"
#include "service/PeerWindows.h"
#include "service/ProfileSwitch.h"
#include "service/ServiceFolders.h"
#include "service/ServiceSeams.h"
#include "core/AppPaths.h"
#include "core/ConfigFile.h"
#include "core/Messages.h"
#include "core/PipeLink.h"
#include <shellapi.h>
#include <cstring>


HWND g_hServiceWnd = nullptr;
UINT WM_CONTROL_API_ATTACH = 0;
UINT WM_CONTROL_API_DISCOVER = 0;

static const UINT_PTR GAME_WATCH_TIMER = 100;
static const UINT GAME_WATCH_PERIOD_MS = 1000;

BEGIN_MESSAGE_MAP(CHIDWnd, CWnd)
    ON_MESSAGE(WM_CREATE, OnCreate)
    ON_MESSAGE(WM_DESTROY, OnDestroy)
    ON_MESSAGE(WM_TIMER, OnTimer)
    ON_MESSAGE(WM_SERVICE_PING, OnServicePing)
    ON_MESSAGE(WM_INJECT_BUTTONS, OnInjectButtons)
    ON_MESSAGE(WM_RELOAD_CONFIG, OnReloadConfig)
    ON_MESSAGE(WM_WTSSESSION_CHANGE, OnSessionChange)
    ON_MESSAGE(WM_PROFILE_CHANGE, OnProfileChange)
    ON_MESSAGE(WM_DEVICE_EVENT, OnDeviceEvent)
    ON_MESSAGE(WM_FIRMWARE_UPDATE, OnFirmwareUpdate)
    ON_MESSAGE(WM_FIRMWARE_VERSIONS, OnFirmwareVersions)
    ON_MESSAGE(WM_DEVICECHANGE, OnSystemDeviceChange)
END_MESSAGE_MAP()

CHIDWnd::CHIDWnd()
{
    std::memset(&m_config, 0, sizeof(m_config));
    std::memset(&m_savedConfig, 0, sizeof(m_savedConfig));
    std::memset(&m_prevConfig, 0, sizeof(m_prevConfig));
}

CHIDWnd::~CHIDWnd()
{
    // A window still open here is destroyed while the object is whole, so WM_DESTROY
    // releases the device, the event thread and the pipe.
    if (m_hWnd) ::DestroyWindow(m_hWnd);
}

BOOL CHIDWnd::CreateServiceWindow(bool elevated)
{
    m_bElevated = elevated ? 1 : 0;
    m_pPipe = nullptr;
    CString cls = RegisterWndClass(0);
    return CreateEx(0, cls, PORTWARDEN_CREATION_TITLE, WS_POPUP, 100, 100, 100, 100, nullptr, nullptr);
}

LRESULT CHIDWnd::OnCreate(WPARAM, LPARAM)
{
    if (Default() == -1) return -1;
    // Known before the event thread starts, so no early event is posted to nowhere.
    g_hServiceWnd = m_hWnd;

    if (m_bElevated) {
        m_pPipe = new PipeLink;
        InitPipeLink(m_hWnd, *m_pPipe);
        StartPipeServer(m_pPipe);
    }

    SetUpServiceFolders();

    m_hWtsApi = LoadLibraryW(L"wtsapi32.dll");
    if (m_hWtsApi) {
        FARPROC proc = GetProcAddress(m_hWtsApi, "WTSRegisterSessionNotification");
        m_pfnRegisterSessionNotification =
            reinterpret_cast<decltype(m_pfnRegisterSessionNotification)>(reinterpret_cast<void*>(proc));
        if (m_pfnRegisterSessionNotification) {
            for (int attempt = 0; attempt < 10; ++attempt) {
                if (m_pfnRegisterSessionNotification(m_hWnd, 0 /* NOTIFY_FOR_THIS_SESSION */)) break;
                ClockSeam().Sleep(1000);
            }
        }
    }

    g_hEventSemaphore = CreateSemaphoreW(nullptr, 0, 100, nullptr);
    g_bStopEventThread = 0;
    g_hEventThread = CreateThread(nullptr, 4096, DeviceEventThread, this, 0, nullptr);

    if (OpenDevice()) {
        StartDeviceSession();
        StartTrayProgram();
    } else {
        PublishFirmwareVersion(0);
    }

    WM_CONTROL_API_ATTACH = RegisterWindowMessageW(CONTROL_API_ATTACH_NAME);
    WM_CONTROL_API_DISCOVER = RegisterWindowMessageW(CONTROL_API_DISCOVER_NAME);

    // Only now can the other programs find the service.
    SetWindowText(PORTWARDEN_WINDOW_TITLE);
    return 0;
}

LRESULT CHIDWnd::OnDestroy(WPARAM, LPARAM)
{
    Default();
    KillTimer(GAME_WATCH_TIMER);
    if (m_pPipe) ClosePipeLink(*m_pPipe);
    CloseDevice();

    g_bStopEventThread = 1;
    if (g_hEventSemaphore) ReleaseSemaphore(g_hEventSemaphore, 1, nullptr);
    if (g_hEventThread) {
        // The thread only waits and posts, so it ends at once; waiting for it keeps it
        // from touching a semaphore handle that a later window may have reused.
        WaitForSingleObject(g_hEventThread, 2000);
        CloseHandle(g_hEventThread);
        g_hEventThread = nullptr;
    }
    if (g_hEventSemaphore) CloseHandle(g_hEventSemaphore);
    g_hEventSemaphore = nullptr;

    delete m_pPipe;
    m_pPipe = nullptr;
    if (g_hServiceWnd == m_hWnd) g_hServiceWnd = nullptr;
    return 0;
}

void CHIDWnd::StartDeviceSession()
{
    LoadConfiguration();
    ReadDeviceState();
    ApplyProfile();
    SetTimer(GAME_WATCH_TIMER, GAME_WATCH_PERIOD_MS);
}

void CHIDWnd::LoadConfiguration()
{
    ResetConfig(m_savedConfig);
    LoadConfig(m_savedConfig, CString(g_szConfDir) + L"Config.xml");
    ValidateConfig(m_savedConfig);
    m_config = m_savedConfig;
    ReadProfileChanged(&m_nSavedProfile, &m_bSwitchedByGame, CString(g_szConfDir));
    // A saved profile outside the ten cannot be returned to.
    if (!IsProfileIndex(m_nSavedProfile)) {
        m_nSavedProfile = 0;
        m_bSwitchedByGame = 0;
    }
    OutputDebugStringW(g_szConfDir);
}

LRESULT CHIDWnd::OnTimer(WPARAM id, LPARAM)
{
    if (id == GAME_WATCH_TIMER) WatchForegroundGame();
    return Default();
}

void CHIDWnd::OpenClosedDevice()
{
    // An open device is kept: opening it again would leak the first handle.
    if (!g_hDevice && OpenDevice()) {
        StartDeviceSession();
        StartTrayProgram();
    }
}

LRESULT CHIDWnd::OnSessionChange(WPARAM change, LPARAM)
{
    if (change == WTS_CONSOLE_CONNECT) {
        OpenClosedDevice();
    } else if (change == WTS_CONSOLE_DISCONNECT) {
        CloseDevice();
    }
    return 0;
}

LRESULT CHIDWnd::OnSystemDeviceChange(WPARAM, LPARAM)
{
    OpenClosedDevice();
    return TRUE;
}

LRESULT CHIDWnd::OnDeviceEvent(WPARAM event, LPARAM kind)
{
    DeviceEventKind what = ClassifyDeviceEvent(event, kind);
    switch (what) {
    case DeviceEventKind::ExtendedState:
    case DeviceEventKind::StandardState: {
        bool extended = what == DeviceEventKind::ExtendedState;
        int& previous = extended ? g_nPrevExtButtons : g_nPrevButtons;
        for (const ButtonChange& c : ButtonChanges(previous, (int)event, extended)) {
            // In-game mode leaves every button to Windows; the states are still recorded,
            // and a press performed before it came on is still let go.
            if (m_config.GAME_MODE != 0) {
                if (!c.press) UndoButtonPress(c.eventCode);
                continue;
            }
            if (c.press) HandleButtonPress(c.eventCode);
            else HandleButtonRelease(c.eventCode);
        }
        previous = (int)event;
        break;
    }
    case DeviceEventKind::Arrival:
        ClockSeam().Sleep(2000);
        LoadConfiguration();
        ReadDeviceState();
        SendToWindowTitled(BELLWICK_WINDOW_TITLE, WM_SET_ICON_ACTIVE, 0, 0);
        SetTimer(GAME_WATCH_TIMER, GAME_WATCH_PERIOD_MS);
        break;
    case DeviceEventKind::Removal:
        // A removed mouse reports no releases: what its held buttons hold is let go now.
        LetGoHeldButtons();
        KillTimer(GAME_WATCH_TIMER);
        NotifyTrayDeviceGone();
        PublishFirmwareVersion(0);
        break;
    case DeviceEventKind::Ignored:
        break;
    }
    return 1;
}

LRESULT CHIDWnd::OnInjectButtons(WPARAM state, LPARAM)
{
    ::PostMessageW(g_hServiceWnd, WM_DEVICE_EVENT, state, 1);
    return 1;
}

void StartTrayProgram()
{
    CString path = CString(g_szAppDir) + L"Bellwick.exe";
    ShellExecuteW(nullptr, L"open", path, nullptr, nullptr, SW_SHOW);
}

LRESULT NotifyTrayDeviceGone()
{
    return SendToWindowTitled(BELLWICK_WINDOW_TITLE, WM_SET_ICON_INACTIVE, 0, 0);
}

int StartPipeServer(PipeLink* link)
{
    if (!link) return -1;
    if (link->running || link->thread) return 0;
    return StartPipeServer(*link) ? 1 : -1;
}
