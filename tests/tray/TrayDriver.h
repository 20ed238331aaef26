#pragma once
// Driving a running tray program the way a person does, from another process. Wine's
// explorer keeps the notification-area icons in its "Wine System Tray" window, each icon a
// 20x20 child window of class __winex11_tray_icon: a real right click at its centre reaches
// the program, which opens its menu; the menu is walked with real keys and compared, as a
// picture, with one this process draws from the expected texts.
#include "framework/CString.h"
#include <windows.h>
#include <string>
#include <utility>
#include <vector>

// A guard against a hang, not a measure.
constexpr DWORD TRAY_GUARD_MS = 20000;

// HKCR\.exe names the "exefile" type, as on Windows, so the shell finds a program's own
// icon in its file (a new Wine prefix has no such key). Removed again when it was made here.
class ExeFileTypeGuard {
public:
    ExeFileTypeGuard();
    ~ExeFileTypeGuard();
    ExeFileTypeGuard(const ExeFileTypeGuard&) = delete;
    ExeFileTypeGuard& operator=(const ExeFileTypeGuard&) = delete;

private:
    bool m_made = false;
};

RECT WindowRect(HWND h);
// The visible top-level windows of a process with the class (#32768: its open menus).
std::vector<HWND> ProcessWindows(DWORD pid, const wchar_t* className);

// The notification-area icon: the visible icon window of explorer's tray, or null.
HWND TrayIconWindow();
// A real right click on the icon; answers the menu of process pid that it opened. The
// pointer is then moved out of the way, so no item is lit by it.
HWND OpenTrayMenu(DWORD pid);
// With the menu open: the profile submenu opened with the keys (Down, Down, Right).
HWND OpenProfileSubmenu(DWORD pid);
// Esc until no menu of the process is open.
void CloseTrayMenus(DWORD pid);

// The kinds of pixels an icon shows: its light is gold for the program itself, red with
// the device present; with the device absent the whole icon is grey.
struct IconColours {
    int red = 0;
    int gold = 0;
    int coloured = 0;  // any clearly coloured pixel
};
IconColours ClassifyPixels(const std::vector<DWORD>& pixels);
// The icon as it is on the screen.
IconColours ClassifyIcon(HWND icon);

// What a person sees of one open menu window.
struct MenuPicture {
    RECT rect = {};
    std::vector<DWORD> pixels;
};
MenuPicture Picture(HWND menu);
bool SamePicture(const MenuPicture& a, const MenuPicture& b);

// The menu's texts and the checked profile index.
struct ExpectedMenu {
    std::wstring open, profile, profiles[10], help, hide;
    int checked;
};
// The texts of the shipped "TrayIcon.xml".
ExpectedMenu ShippedMenuTexts(int checked);
// The tray menu as the system draws a menu of these texts, opened in this process at the
// same point and walked with the same keys: main menu and profile submenu.
std::pair<MenuPicture, MenuPicture> ReferencePictures(const ExpectedMenu& e, POINT at);
