#pragma once
#include <windows.h>
#include "framework/CWnd.h"
#include "framework/CString.h"
#include "core/ConfigData.h"
#include "service/ButtonDispatcher.h"

struct PipeLink;

// The service window of the device service: hidden, it owns the three configuration
// images and runs every handler of the service on the UI thread.
class CHIDWnd : public CWnd {
public:
    CHIDWnd();
    ~CHIDWnd() override;

    // Window and device session.
    BOOL CreateServiceWindow(bool elevated);
    void StartDeviceSession();
    // Opens the device when none is open, then starts its session and the tray program.
    void OpenClosedDevice();
    void LoadConfiguration();

    LRESULT OnCreate(WPARAM wParam, LPARAM lParam);
    LRESULT OnDestroy(WPARAM wParam, LPARAM lParam);
    LRESULT OnTimer(WPARAM wParam, LPARAM lParam);
    LRESULT OnSessionChange(WPARAM wParam, LPARAM lParam);
    LRESULT OnSystemDeviceChange(WPARAM wParam, LPARAM lParam);

    // Device events.
    LRESULT OnDeviceEvent(WPARAM event, LPARAM kind);
    LRESULT OnInjectButtons(WPARAM state, LPARAM lParam);

    // Device settings.
    int ApplyProfile();
    int ReadDeviceState();
    int ReadDpiStage();
    int ReadPollingRate();
    int ReadLedColor();
    int ReadLedIntensity();
    int ReadLedPulsation();
    int SetDpiStage(int stage);
    int SetPollingRate(int code);
    int SetLedColor(COLORREF color);
    int SetLedIntensity(int level);
    int SetLedPulsation(int level);
    int ApplyChangedDeviceSettings();
    LRESULT OnReloadConfig(WPARAM wParam, LPARAM lParam);
    int SelectDpiStage(int stage);
    int DpiUp();
    int DpiDown();

    // Profiles and the game watch.
    void SwitchProfile(int profile);
    int SetProfile(int profile);
    LRESULT OnProfileChange(WPARAM profile, LPARAM lParam);
    void WatchForegroundGame();

    // Buttons, macros, firmware and the control interface.
    void HandleButtonPress(int eventCode);
    void HandleButtonRelease(int eventCode);
    // The release of the button's remembered press; false when no press is remembered.
    bool UndoButtonPress(int eventCode);
    bool UndoPressOfButton(int index);
    // The mouse was removed: every held button's press is undone as its release would.
    void LetGoHeldButtons();
    LRESULT OnServicePing(WPARAM wParam, LPARAM lParam);
    LRESULT OnFirmwareUpdate(WPARAM wParam, LPARAM lParam);
    LRESULT OnFirmwareVersions(WPARAM wParam, LPARAM lParam);
    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void RunMacro(int slot, bool release);
    void PlayMacroEvents(int slot);
    void PlayMacroStartKeys(int slot);
    void PlayMacroSendKeys(int slot);
    void PasteText(const CString& text, bool narrow);
    // The slot's macro in the current profile; null for a slot the profile does not have.
    const MacroData* MacroInSlot(int slot) const;

    HMODULE m_hWtsApi = nullptr;
    int m_nSavedProfile = 0;
    int m_bSwitchedByGame = 0;
    ConfigData m_config;       // the image the service acts on
    ConfigData m_savedConfig;  // the image as last read from or written to "Config.xml"
    ConfigData m_prevConfig;   // the image before the last profile switch or reload
    ButtonPress m_buttonPresses[BUTTON_COUNT];
    PipeLink* m_pPipe = nullptr;
    BYTE m_bElevated = 0;
    BOOL(WINAPI* m_pfnRegisterSessionNotification)(HWND, DWORD) = nullptr;

    DECLARE_MESSAGE_MAP()
};

// Set at the end of the window's creation, before anything can post to it.
extern HWND g_hServiceWnd;
// Registered numbers of the control interface's two messages.
extern UINT WM_CONTROL_API_ATTACH;
extern UINT WM_CONTROL_API_DISCOVER;

// Starts "Bellwick.exe" from the service's own folder.
void StartTrayProgram();
// Tells the tray program that the device has gone; its answer, 0 without a tray window.
LRESULT NotifyTrayDeviceGone();
// 1 thread started, 0 already running, -1 the thread could not start.
int StartPipeServer(PipeLink* link);
