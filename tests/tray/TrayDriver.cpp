#include "TrayDriver.h"
#include "GuiTestSupport.h"
#include <algorithm>
#include <thread>

namespace {

const UINT ID_OPEN = 2025, ID_HELP = 2026, ID_HIDE = 2027, ID_PROFILE_1 = 2035;

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

RECT WindowRect(HWND h)
{
    RECT r = {};
    GetWindowRect(h, &r);
    return r;
}

std::vector<HWND> ProcessWindows(DWORD pid, const wchar_t* className)
{
    ProcessSearch search = {pid, className, {}};
    EnumWindows(CollectProcessWindow, (LPARAM)&search);
    return search.found;
}

HWND TrayIconWindow()
{
    IconSearch search = {nullptr};
    EnumWindows(FindIconInTray, (LPARAM)&search);
    return search.found;
}

HWND OpenTrayMenu(DWORD pid)
{
    // The click waits until the icon's window is placed and takes it; should it be lost
    // all the same, a person clicks again.
    bool open = false;
    for (int attempt = 0; attempt < 3 && !open; ++attempt) {
        HWND icon = nullptr;
        if (!WaitUntil([&] { return (icon = TrayIconWindow()) != nullptr; })) return nullptr;
        EXPECT_TRUE(TakesClickAt(icon, ScreenCenter(icon)));
        MouseMoveTo(ScreenCenter(icon));
        Sleep(30);
        MouseButton(false, true);
        Sleep(30);
        MouseButton(false, false);
        open = WaitUntil([&] { return ProcessWindows(pid, L"#32768").size() == 1; }, WINDOW_WAIT_MS / 2);
    }
    if (!open) return nullptr;
    // Out of the menu's way, so no item is lit by the pointer.
    MouseMoveTo(POINT{900, 900});
    Sleep(100);
    HWND menu = ProcessWindows(pid, L"#32768").front();
    EXPECT_TRUE(WindowShown(menu));
    return menu;
}

HWND OpenProfileSubmenu(DWORD pid)
{
    std::vector<HWND> before = ProcessWindows(pid, L"#32768");
    if (before.size() != 1) return nullptr;
    KeyTap(VK_DOWN);
    KeyTap(VK_DOWN);
    KeyTap(VK_RIGHT);
    if (!WaitUntil([&] { return ProcessWindows(pid, L"#32768").size() == 2; }, TRAY_GUARD_MS)) return nullptr;
    Sleep(100);
    for (HWND h : ProcessWindows(pid, L"#32768")) {
        EXPECT_TRUE(WindowShown(h));
        if (h != before.front()) return h;
    }
    return nullptr;
}

void CloseTrayMenus(DWORD pid)
{
    for (int i = 0; i < 3 && !ProcessWindows(pid, L"#32768").empty(); ++i) {
        KeyTap(VK_ESCAPE);
        WaitUntil([&] { return ProcessWindows(pid, L"#32768").size() < 3u - i; }, 2000);
    }
    WaitUntil([&] { return ProcessWindows(pid, L"#32768").empty(); }, 2000);
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

MenuPicture Picture(HWND menu)
{
    MenuPicture p;
    p.rect = WindowRect(menu);
    p.pixels = CaptureScreen(p.rect);
    return p;
}

bool SamePicture(const MenuPicture& a, const MenuPicture& b)
{
    return !a.pixels.empty() && a.pixels == b.pixels && a.rect.right - a.rect.left == b.rect.right - b.rect.left &&
           a.rect.bottom - a.rect.top == b.rect.bottom - b.rect.top;
}

ExpectedMenu ShippedMenuTexts(int checked)
{
    ExpectedMenu e = {L"Open Configuration", L"Profile", {}, L"User Guide", L"Hide Icon", checked};
    for (int i = 0; i < 10; ++i) e.profiles[i] = L"Profile " + std::to_wstring(i + 1);
    return e;
}

std::pair<MenuPicture, MenuPicture> ReferencePictures(const ExpectedMenu& e, POINT at)
{
    HMENU sub = CreatePopupMenu();
    for (int i = 0; i < 10; ++i) {
        if (i) AppendMenuW(sub, MF_SEPARATOR, 0, nullptr);
        AppendMenuW(sub, MF_STRING | (i == e.checked ? MF_CHECKED : 0), ID_PROFILE_1 + i, e.profiles[i].c_str());
    }
    HMENU menu = CreatePopupMenu();
    AppendMenuW(menu, MF_STRING, ID_OPEN, e.open.c_str());
    SetMenuDefaultItem(menu, ID_OPEN, FALSE);
    AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(menu, MF_POPUP, (UINT_PTR)sub, e.profile.c_str());
    AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(menu, MF_STRING, ID_HELP, e.help.c_str());
    AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(menu, MF_STRING, ID_HIDE, e.hide.c_str());

    // The keys are posted to this thread's queue, where the menu's own loop reads them.
    PeerWindow owner(L"tray menu reference");
    auto key = [&](WORD vk) {
        PostMessageW(owner.m_hWnd, WM_KEYDOWN, vk, 1);
        PostMessageW(owner.m_hWnd, WM_KEYUP, vk, 0xC0000001);
        Sleep(50);
    };
    std::pair<MenuPicture, MenuPicture> pictures;
    DWORD self = GetCurrentProcessId();
    std::thread driver([&] {
        if (WaitUntil([&] { return ProcessWindows(self, L"#32768").size() == 1; }, TRAY_GUARD_MS)) {
            HWND main = ProcessWindows(self, L"#32768").front();
            MouseMoveTo(POINT{900, 900});
            Sleep(100);
            key(VK_DOWN);
            key(VK_DOWN);
            key(VK_RIGHT);
            if (WaitUntil([&] { return ProcessWindows(self, L"#32768").size() == 2; }, TRAY_GUARD_MS)) {
                Sleep(100);
                for (HWND h : ProcessWindows(self, L"#32768")) {
                    EXPECT_TRUE(WindowShown(h));
                    (h == main ? pictures.first : pictures.second) = Picture(h);
                }
            }
        }
        for (int i = 0; i < 3 && !ProcessWindows(self, L"#32768").empty(); ++i) {
            key(VK_ESCAPE);
            Sleep(100);
        }
    });
    TrackPopupMenu(menu, TPM_RIGHTALIGN | TPM_RETURNCMD, at.x, at.y, 0, owner.m_hWnd, nullptr);
    driver.join();
    DestroyMenu(menu);
    return pictures;
}

