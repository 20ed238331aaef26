#include "tray/TrayIconWnd.h"
#include "tray/TrayMenu.h"
#include "tray/TrayResource.h"
#include "skinkit/CWarningOneDlg.h"
#include "skinkit/ReaderNotice.h"
#include "framework/CWinApp.h"
#include "core/AppPaths.h"
#include "core/ConfigSettings.h"
#include "core/Messages.h"
#include "core/SystemInfo.h"
#include "framework/StartupTrace.h"
#include <cwchar>

NOTIFYICONDATAW g_nid;
int g_nOSVersion = 0;

namespace {

const wchar_t* const TRAY_TIP = L"Eldvarra\u00AE MMO Gaming Mouse: Tharnic Edition";

// Brings a window forward the way a person expects: restored when minimised, then in
// front and active.
void BringForward(HWND hwnd, int restoreCmd)
{
    if (IsIconic(hwnd)) ShowWindow(hwnd, restoreCmd);
    SetForegroundWindow(hwnd);
}

}  // namespace

BEGIN_MESSAGE_MAP(CTrayIconWnd, CWnd)
    ON_MESSAGE(WM_CREATE, OnCreate)
    ON_MESSAGE(WM_DESTROY, OnDestroy)
    ON_MESSAGE(WM_TRAY_NOTIFY, OnTrayNotify)
    ON_COMMAND(ID_TRAY_OPEN, OnTrayOpen)
    ON_COMMAND(ID_TRAY_HELP, OnTrayHelp)
    ON_COMMAND(ID_TRAY_HIDE, OnTrayHide)
    ON_COMMAND_RANGE(ID_TRAY_PROFILE_1, ID_TRAY_PROFILE_10, OnTrayProfile)
    ON_MESSAGE(WM_SET_ICON_INACTIVE, OnSetIconInactive)
    ON_MESSAGE(WM_SET_ICON_ACTIVE, OnSetIconActive)
    ON_MESSAGE(WM_SHOW_TRAY_ICON, OnShowTrayIcon)
END_MESSAGE_MAP()

CTrayIconWnd::~CTrayIconWnd()
{
    // Through WM_DESTROY, so the icon leaves the notification area with the window.
    if (m_hWnd) DestroyWindow();
    if (m_hFileIcon) DestroyIcon(m_hFileIcon);
}

BOOL CTrayIconWnd::CreateTrayWindow()
{
    return CreateEx(0, RegisterWndClass(0), BELLWICK_CREATION_TITLE, WS_POPUP, 100, 100, 100, 100, nullptr,
                    nullptr);
}

bool ShowIconAtStart(const wchar_t* confDir, const std::function<BOOL()>& add,
                     const std::function<void(DWORD)>& wait)
{
    if (GetTrayIconFlag(confDir) != 1) return false;
    for (int attempt = 1;; ++attempt) {
        if (add()) return true;
        if (attempt == TRAY_ICON_ATTEMPTS) break;
        wait(TRAY_ICON_RETRY_MS);
    }
    // Hidden until the configuration program asks for the icon again.
    SetTrayIconFlag(confDir, 0);
    return false;
}

LRESULT CTrayIconWnd::OnCreate(WPARAM, LPARAM)
{
    if (Default() == -1) return -1;

    wchar_t path[MAX_PATH] = {};
    DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);
    if (n > 0 && n < MAX_PATH) {
        wchar_t drive[_MAX_DRIVE], dir[_MAX_DIR];
        if (_wsplitpath_s(path, drive, _MAX_DRIVE, dir, _MAX_DIR, nullptr, 0, nullptr, 0) == 0)
            swprintf(g_szAppDir, MAX_PATH, L"%ls%ls", drive, dir);
    }
    g_nOSVersion = GetWindowsVersion();

    // The waits block the window's creation while the shell is not ready after log-on.
    ShowIconAtStart(g_szConfDir, [this] { return AddTrayIcon(); }, [](DWORD ms) { Sleep(ms); });

    SetWindowText(BELLWICK_WINDOW_TITLE);
    return 0;
}

LRESULT CTrayIconWnd::OnDestroy(WPARAM, LPARAM)
{
    RemoveTrayIcon();
    return Default();
}

void CTrayIconWnd::RemoveTrayIcon()
{
    // The window and the id name the icon, whether or not the record was ever filled.
    NOTIFYICONDATAW nid = {};
    nid.cbSize = sizeof(nid);
    nid.hWnd = m_hWnd;
    nid.uID = TRAY_ICON_ID;
    Shell_NotifyIconW(NIM_DELETE, &nid);
}

BOOL CTrayIconWnd::AddTrayIcon()
{
    wchar_t self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    SHFILEINFOW info = {};
    int64_t since = StartupTraceNow();
    SHGetFileInfoW(self, 0, &info, sizeof(info), SHGFI_ICON | SHGFI_SMALLICON);
    StartupTraceSpan("file-icon", since);
    if (m_hFileIcon) DestroyIcon(m_hFileIcon);
    m_hFileIcon = info.hIcon;

    ZeroMemory(&g_nid, sizeof(g_nid));
    // The size of the record this program is built with: a fixed number fits one build only.
    g_nid.cbSize = sizeof(NOTIFYICONDATAW);
    g_nid.hWnd = m_hWnd;
    g_nid.uID = TRAY_ICON_ID;
    g_nid.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    g_nid.uCallbackMessage = WM_TRAY_NOTIFY;
    g_nid.hIcon = m_hFileIcon;
    wcsncpy(g_nid.szTip, TRAY_TIP, sizeof(g_nid.szTip) / sizeof(g_nid.szTip[0]) - 1);
    since = StartupTraceNow();
    BOOL added = Shell_NotifyIconW(NIM_ADD, &g_nid);
    StartupTraceSpan("notify-icon", since);
    return added;
}

void CTrayIconWnd::SetStateIcon(UINT resourceId)
{
    // Shared icons of the shell's small size: loaded once, never destroyed by us.
    g_nid.hIcon = (HICON)LoadImageW(AfxGetResourceHandle(), MAKEINTRESOURCEW(resourceId), IMAGE_ICON,
                                    GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), LR_SHARED);
    // Without an icon shown this changes only the record (the shell refuses the change).
    Shell_NotifyIconW(NIM_MODIFY, &g_nid);
}

LRESULT CTrayIconWnd::OnSetIconInactive(WPARAM, LPARAM)
{
    SetStateIcon(IDI_DEVICE_ABSENT);
    return 1;
}

LRESULT CTrayIconWnd::OnSetIconActive(WPARAM, LPARAM)
{
    SetStateIcon(IDI_DEVICE_PRESENT);
    return 1;
}

LRESULT CTrayIconWnd::OnShowTrayIcon(WPARAM, LPARAM)
{
    AddTrayIcon();
    return 1;
}

LRESULT CTrayIconWnd::OnTrayNotify(WPARAM, LPARAM mouseMessage)
{
    m_nCheckedProfileCmd = CheckedProfileCmd(ReadProfileId(g_szConfDir));
    switch ((UINT)mouseMessage) {
    case WM_LBUTTONDOWN:
        // An open notice (or the window itself) comes forward.
        BringForward(GetLastActivePopup(m_hWnd), SW_RESTORE);
        break;
    case WM_LBUTTONDBLCLK:
        OnTrayOpen();
        break;
    case WM_RBUTTONDOWN:
        ShowMenu();
        break;
    default:
        break;
    }
    return 0;
}

void CTrayIconWnd::ShowMenu()
{
    ::SetForegroundWindow(GetLastActivePopup(m_hWnd));
    CMenu menu;
    if (!BuildTrayMenu(menu, ReadTrayMenuTexts(g_szConfDir, g_szAppDir), m_nCheckedProfileCmd)) return;
    // The menu closes when the user clicks elsewhere only while its owner is in front.
    SetForegroundWindow();
    POINT at = {};
    GetCursorPos(&at);
    menu.TrackPopupMenu(TPM_RIGHTALIGN, at.x, at.y, m_hWnd);
    PostMessage(WM_NULL);
}

void CTrayIconWnd::OnTrayOpen()
{
    if (HWND main = FindWindowW(nullptr, GEARLOOM_MAIN_TITLE)) {
        BringForward(main, SW_SHOWNORMAL);
        return;
    }
    CString path = CString(g_szAppDir) + L"Gearloom.exe";
    ShellExecuteW(nullptr, L"open", path, nullptr, nullptr, SW_SHOW);
}

void CTrayIconWnd::OnTrayHelp()
{
    CString path = CString(g_szAppDir) + L"User_Guide.pdf";
    INT_PTR result = (INT_PTR)ShellExecuteW(nullptr, L"open", path, nullptr, nullptr, SW_SHOW);
    if (result > 32) return;
    CWarningOneDlg notice(USER_GUIDE_MISSING_TEXT);
    notice.ShowReaderLink(true);
    notice.SetCornerPlacement();
    notice.DoModal();
}

void CTrayIconWnd::OnTrayHide()
{
    SetTrayIconFlag(g_szConfDir, 0);
    RemoveTrayIcon();
}

void CTrayIconWnd::SendProfileChange(int index)
{
    for (const wchar_t* title : {PORTWARDEN_WINDOW_TITLE, GEARLOOM_MAIN_TITLE}) {
        if (HWND h = FindWindowW(nullptr, title)) ::PostMessageW(h, WM_PROFILE_CHANGE, (WPARAM)index, 0);
    }
}

void CTrayIconWnd::OnTrayProfile(UINT id)
{
    SendProfileChange((int)(id - ID_TRAY_PROFILE_1));
    m_nCheckedProfileCmd = id;
}
