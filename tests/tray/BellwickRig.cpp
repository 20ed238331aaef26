#include "BellwickRig.h"
#include "GuiTestSupport.h"
#include "core/Messages.h"
#include <algorithm>
#include <cwchar>

namespace {

const wchar_t* const CLASSES = L"Software\\Classes";
const wchar_t* const PDF_BACKUP = L"Software\\TharnicTests\\PdfType";

void CopyShipped(const wchar_t* relative, const CString& to)
{
    CopyFileW(SourceFile(CString(L"resources\\") + relative), to + relative, FALSE);
}

struct IconSearch {
    HWND found;
};

BOOL CALLBACK FindIconChild(HWND h, LPARAM l)
{
    wchar_t name[64];
    if (IsWindowVisible(h) && GetClassNameW(h, name, 64) && wcscmp(name, L"__winex11_tray_icon") == 0) {
        ((IconSearch*)l)->found = h;
        return FALSE;
    }
    return TRUE;
}

BOOL CALLBACK FindIconInTray(HWND h, LPARAM l)
{
    wchar_t name[64];
    if (GetClassNameW(h, name, 64) && wcscmp(name, L"__winex11_standalone_tray") == 0)
        EnumChildWindows(h, FindIconChild, l);
    return ((IconSearch*)l)->found == nullptr;
}

struct ProcessSearch {
    DWORD pid;
    const wchar_t* cls;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectProcessWindow(HWND h, LPARAM l)
{
    ProcessSearch* s = (ProcessSearch*)l;
    DWORD pid = 0;
    GetWindowThreadProcessId(h, &pid);
    wchar_t name[64];
    if (pid == s->pid && IsWindowVisible(h) && GetClassNameW(h, name, 64) && wcscmp(name, s->cls) == 0)
        s->found.push_back(h);
    return TRUE;
}

}  // namespace

ExeFileTypeGuard::ExeFileTypeGuard()
{
    HKEY key;
    if (RegOpenKeyExW(HKEY_CLASSES_ROOT, L".exe", 0, KEY_READ, &key) == ERROR_SUCCESS) {
        RegCloseKey(key);
        return;
    }
    if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, L"Software\\Classes\\.exe", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                        nullptr) != ERROR_SUCCESS)
        return;
    const wchar_t type[] = L"exefile";
    RegSetValueExW(key, nullptr, 0, REG_SZ, (const BYTE*)type, sizeof(type));
    RegCloseKey(key);
    m_made = true;
}

ExeFileTypeGuard::~ExeFileTypeGuard()
{
    if (m_made) RegDeleteTreeW(HKEY_LOCAL_MACHINE, L"Software\\Classes\\.exe");
}

NoPdfReader::NoPdfReader()
{
    HKEY classes, backup;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, CLASSES, 0, KEY_ALL_ACCESS, &classes) != ERROR_SUCCESS) return;
    HKEY pdf;
    if (RegOpenKeyExW(classes, L".pdf", 0, KEY_READ, &pdf) == ERROR_SUCCESS) {
        if (RegCreateKeyExW(HKEY_CURRENT_USER, PDF_BACKUP, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &backup, nullptr) ==
            ERROR_SUCCESS) {
            m_saved = RegCopyTreeW(pdf, nullptr, backup) == ERROR_SUCCESS;
            RegCloseKey(backup);
        }
        RegCloseKey(pdf);
    }
    RegDeleteTreeW(classes, L".pdf");
    RegCloseKey(classes);
}

NoPdfReader::~NoPdfReader()
{
    if (!m_saved) return;
    HKEY backup, pdf;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, PDF_BACKUP, 0, KEY_READ, &backup) != ERROR_SUCCESS) return;
    if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, L"Software\\Classes\\.pdf", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &pdf,
                        nullptr) == ERROR_SUCCESS) {
        RegCopyTreeW(backup, nullptr, pdf);
        RegCloseKey(pdf);
    }
    RegCloseKey(backup);
    RegDeleteTreeW(HKEY_CURRENT_USER, PDF_BACKUP);
}

TitledWindow::TitledWindow(const wchar_t* title, UINT first, UINT last) : m_first(first), m_last(last)
{
    WNDCLASSW wc = {};
    wc.lpfnWndProc = Proc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"TharnicTitledWindow";
    RegisterClassW(&wc);
    hwnd = CreateWindowExW(0, wc.lpszClassName, title, WS_OVERLAPPEDWINDOW, 300, 300, 320, 200, nullptr, nullptr,
                           wc.hInstance, this);
}

TitledWindow::~TitledWindow()
{
    if (hwnd) DestroyWindow(hwnd);
}

LRESULT CALLBACK TitledWindow::Proc(HWND h, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE)
        SetWindowLongPtrW(h, GWLP_USERDATA, (LONG_PTR)((CREATESTRUCTW*)lParam)->lpCreateParams);
    TitledWindow* self = (TitledWindow*)GetWindowLongPtrW(h, GWLP_USERDATA);
    if (self && message >= self->m_first && message <= self->m_last)
        self->received.push_back(MSG{h, message, wParam, lParam, 0, {0, 0}});
    return DefWindowProcW(h, message, wParam, lParam);
}

BellwickRig::BellwickRig()
{
    CreateDirectoryW(AppDir(), nullptr);
    CString roaming = temp.Path() + L"Roaming";
    CreateDirectoryW(roaming, nullptr);
    m_redirect.reset(new AppDataRedirect(roaming));
    CString product = roaming + L"\\Korvath";
    CreateDirectoryW(product, nullptr);
    product += L"\\Eldvarra(R) MMO Gaming Mouse Tharnic Edition";
    CreateDirectoryW(product, nullptr);
    CreateDirectoryW(product + L"\\Conf", nullptr);

    CString app = AppDir();
    CopyFileW(ExeDir() + L"Bellwick.exe", app + L"Bellwick.exe", FALSE);
    CopyFileW(ExeDir() + L"User_Guide.pdf", app + L"User_Guide.pdf", FALSE);
    for (const wchar_t* f : {L"Skins.xml", L"Strings.xml", L"TrayIcon.xml"}) CopyShipped(f, app);
    CreateDirectoryW(app + L"skins", nullptr);
    WIN32_FIND_DATAW fd;
    HANDLE h = FindFirstFileW(SourceFile(L"resources\\skins\\*.bmp"), &fd);
    if (h != INVALID_HANDLE_VALUE) {
        do CopyShipped((CString(L"skins\\") + fd.cFileName), app);
        while (FindNextFileW(h, &fd));
        FindClose(h);
    }
    WriteConfig(0, 1);
}

BellwickRig::~BellwickRig()
{
    Stop();
}

CString BellwickRig::ConfDir() const
{
    return temp.Path() + L"Roaming\\Korvath\\Eldvarra(R) MMO Gaming Mouse Tharnic Edition\\Conf\\";
}

void BellwickRig::WriteConfig(int profileId, int trayFlag)
{
    std::wstring text = ReadUtf16File(SourceFile(L"resources\\Config.xml"));
    const std::wstring shippedFlag = L"<TRAY_ICON_FLAG>1</TRAY_ICON_FLAG>\r\n";
    size_t flagAt = text.find(shippedFlag);
    if (flagAt != std::wstring::npos) text.erase(flagAt, shippedFlag.size());
    const std::wstring shipped = L"<PROFILE_ID>0</PROFILE_ID>\r\n";
    size_t at = text.find(shipped);
    if (at == std::wstring::npos) return;
    std::wstring mine = L"<PROFILE_ID>" + std::to_wstring(profileId) + L"</PROFILE_ID>\r\n";
    if (trayFlag >= 0) mine += L"<TRAY_ICON_FLAG>" + std::to_wstring(trayFlag) + L"</TRAY_ICON_FLAG>\r\n";
    text.replace(at, shipped.size(), mine);
    WriteUtf16File(ConfDir() + L"Config.xml", text);
}

int BellwickRig::StoredTrayFlag() const
{
    std::wstring text = ReadUtf16File(ConfDir() + L"Config.xml");
    size_t at = text.find(L"<TRAY_ICON_FLAG>");
    return at == std::wstring::npos ? -1 : _wtoi(text.c_str() + at + 16);
}

void BellwickRig::WriteTrayIconXml(const std::wstring& body)
{
    WriteUtf16File(ConfDir() + L"TrayIcon.xml", L"<?xml version=\"1.0\" encoding=\"utf-16\"?>\r\n" + body);
}

HANDLE StartProcess(const CString& exe)
{
    STARTUPINFOW si = {};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi = {};
    CString cmd = L"\"" + exe + L"\"";
    if (!CreateProcessW(exe, cmd.GetBuffer(cmd.GetLength() + 1), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
        return nullptr;
    CloseHandle(pi.hThread);
    return pi.hProcess;
}

bool BellwickRig::Start()
{
    process = StartProcess(AppDir() + L"Bellwick.exe");
    if (!process) return false;
    pid = GetProcessId(process);
    for (DWORD start = GetTickCount(); GetTickCount() - start < TRAY_GUARD_MS;) {
        window = FindWindowW(nullptr, BELLWICK_WINDOW_TITLE);
        if (window) return true;
        if (WaitForSingleObject(process, 20) == WAIT_OBJECT_0) return false;
    }
    return false;
}

DWORD BellwickRig::Stop()
{
    if (!process) return 0;
    DWORD code = 99;
    if (window) PostMessageW(window, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(process, TRAY_GUARD_MS) != WAIT_OBJECT_0) TerminateProcess(process, 98);
    GetExitCodeProcess(process, &code);
    CloseHandle(process);
    process = nullptr;
    window = nullptr;
    // The notification area lets the icon go in its own time; the next test starts clean.
    WaitUntil([&] { return Icon() == nullptr; }, 5000);
    return code;
}

HWND BellwickRig::Icon() const
{
    IconSearch search = {nullptr};
    EnumWindows(FindIconInTray, (LPARAM)&search);
    return search.found;
}

std::vector<HWND> ProcessWindows(DWORD pid, const wchar_t* className)
{
    ProcessSearch search = {pid, className, {}};
    EnumWindows(CollectProcessWindow, (LPARAM)&search);
    return search.found;
}

std::vector<HWND> BellwickRig::Menus() const
{
    return ProcessWindows(pid, L"#32768");
}

HWND BellwickRig::Notice() const
{
    std::vector<HWND> dialogs = ProcessWindows(pid, L"#32770");
    return dialogs.empty() ? nullptr : dialogs.front();
}

HWND BellwickRig::OpenMenu()
{
    // A click that comes while the icon's window is still being placed is lost; a person
    // clicks again.
    bool open = false;
    for (int attempt = 0; attempt < 3 && !open; ++attempt) {
        HWND icon = nullptr;
        if (!WaitUntil([&] { return (icon = Icon()) != nullptr; }, 5000)) return nullptr;
        MouseMoveTo(ScreenCenter(icon));
        Sleep(30);
        MouseButton(false, true);
        Sleep(30);
        MouseButton(false, false);
        open = WaitUntil([&] { return Menus().size() == 1; }, 3000);
    }
    if (!open) return nullptr;
    // Out of the menu's way, so no item is lit by the pointer.
    MouseMoveTo(POINT{900, 900});
    Sleep(100);
    return Menus().front();
}

HWND BellwickRig::OpenProfileSubmenu()
{
    std::vector<HWND> before = Menus();
    if (before.size() != 1) return nullptr;
    KeyTap(VK_DOWN);
    KeyTap(VK_DOWN);
    KeyTap(VK_RIGHT);
    if (!WaitUntil([&] { return Menus().size() == 2; }, TRAY_GUARD_MS)) return nullptr;
    Sleep(100);
    for (HWND h : Menus())
        if (h != before.front()) return h;
    return nullptr;
}

IconColours ClassifyPixels(const std::vector<DWORD>& pixels)
{
    IconColours c;
    for (DWORD p : pixels) {
        int r = (p >> 16) & 0xFF, g = (p >> 8) & 0xFF, b = p & 0xFF;
        int hi = std::max(r, std::max(g, b)), lo = std::min(r, std::min(g, b));
        if (hi - lo > 60) ++c.coloured;
        if (r > 150 && g < 100 && b < 100) ++c.red;
        if (r > 150 && g > 100 && b < 90) ++c.gold;
    }
    return c;
}

IconColours ClassifyIcon(HWND icon)
{
    RECT rect = {};
    if (!icon || !GetWindowRect(icon, &rect)) return IconColours();
    return ClassifyPixels(CaptureScreen(rect));
}
