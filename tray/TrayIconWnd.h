#pragma once
#include "framework/CWnd.h"
#include <shellapi.h>
#include <functional>

// The icon record: filled by each AddTrayIcon, reused for the later changes and the removal.
extern NOTIFYICONDATAW g_nid;
// The Windows version class (GetWindowsVersion), read by the notice box's buttons.
extern int g_nOSVersion;

constexpr UINT TRAY_ICON_ID = 128;
// Adding the icon at start-up is tried this often, this long apart, while the shell's
// notification area is not yet ready after log-on.
constexpr int TRAY_ICON_ATTEMPTS = 11;
constexpr DWORD TRAY_ICON_RETRY_MS = 6000;

// The tray program's hidden window: it owns the notification-area icon, receives the
// icon's mouse messages and the other programs' notices, and shows the menu.
class CTrayIconWnd : public CWnd {
public:
    ~CTrayIconWnd() override;

    // The hidden window, never shown; found by the other programs under its final title.
    virtual BOOL CreateTrayWindow();
    // Fills g_nid with the program file's own small icon and adds the icon to the
    // notification area; answers the shell's result.
    BOOL AddTrayIcon();
    // Posts WM_PROFILE_CHANGE with the index to the device service and the configuration
    // program, each when its window is found.
    void SendProfileChange(int index);

    UINT m_nCheckedProfileCmd = 2035;

protected:
    LRESULT OnCreate(WPARAM, LPARAM);
    LRESULT OnDestroy(WPARAM, LPARAM);
    LRESULT OnTrayNotify(WPARAM, LPARAM);
    LRESULT OnSetIconInactive(WPARAM, LPARAM);
    LRESULT OnSetIconActive(WPARAM, LPARAM);
    LRESULT OnShowTrayIcon(WPARAM, LPARAM);
    void OnTrayOpen();
    void OnTrayHelp();
    void OnTrayHide();
    void OnTrayProfile(UINT id);
    DECLARE_MESSAGE_MAP()

private:
    void ShowMenu();
    void SetStateIcon(UINT resourceId);
    void RemoveTrayIcon();
    HICON m_hFileIcon = nullptr;
};

// The start-up showing of the icon: when TRAY_ICON_FLAG of confDir is 1, add() is tried
// up to TRAY_ICON_ATTEMPTS times with wait(TRAY_ICON_RETRY_MS) between the tries; when
// the last try fails the flag is stored as 0. Answers whether the icon was added.
bool ShowIconAtStart(const wchar_t* confDir, const std::function<BOOL()>& add,
                     const std::function<void(DWORD)>& wait);
