#pragma once
#include "TestSupport.h"
#include "framework/CString.h"
#include <windows.h>
#include <memory>
#include <string>
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

// No program is associated with .pdf while it lives, as on a machine without a PDF
// reader: the shell then answers 31 for the user guide. The association comes back after.
class NoPdfReader {
public:
    NoPdfReader();
    ~NoPdfReader();
    NoPdfReader(const NoPdfReader&) = delete;
    NoPdfReader& operator=(const NoPdfReader&) = delete;

private:
    bool m_saved = false;
};

// A top-level window of the test with a title another program looks for; it notes the
// messages it receives in the range given.
class TitledWindow {
public:
    TitledWindow(const wchar_t* title, UINT first, UINT last);
    ~TitledWindow();
    TitledWindow(const TitledWindow&) = delete;
    TitledWindow& operator=(const TitledWindow&) = delete;

    HWND hwnd = nullptr;
    std::vector<MSG> received;

private:
    static LRESULT CALLBACK Proc(HWND, UINT, WPARAM, LPARAM);
    UINT m_first, m_last;
};

// The real Bellwick.exe in a program folder of the test (with the shipped skin, texts and
// user guide), the user's application-data folder redirected into the test's folder, and
// a "Config.xml" there with TRAY_ICON_FLAG 1 unless the test writes another.
class BellwickRig {
public:
    BellwickRig();
    ~BellwickRig();

    CString AppDir() const { return temp.Path() + L"App\\"; }
    CString ConfDir() const;
    // The shipped "Config.xml" with PROFILE_ID and, unless trayFlag is negative, TRAY_ICON_FLAG.
    void WriteConfig(int profileId, int trayFlag);
    // TRAY_ICON_FLAG as the file now holds it, -1 when it holds none.
    int StoredTrayFlag() const;
    void WriteTrayIconXml(const std::wstring& body);

    // Starts the program and waits for its window under the final title.
    bool Start();
    // Ends it the way it is ended from outside (its window closed); answers its exit code.
    DWORD Stop();

    // The program's notification-area icon: the visible icon window of explorer's tray.
    HWND Icon() const;
    // A real right click on the icon; answers the menu it opened.
    HWND OpenMenu();
    // With the menu open: the profile submenu opened with the keys, as a person would.
    HWND OpenProfileSubmenu();
    // The visible menus of the program (class #32768).
    std::vector<HWND> Menus() const;
    // A visible dialog of the program (its notice), or null.
    HWND Notice() const;

    TempDir temp;
    HANDLE process = nullptr;
    DWORD pid = 0;
    HWND window = nullptr;

private:
    std::unique_ptr<AppDataRedirect> m_redirect;
    ExeFileTypeGuard m_exeType;
};

// Icon colour classes: the kind of pixels an icon's light shows.
struct IconColours {
    int red = 0;   // the device-present light
    int gold = 0;  // the program's own light and trim
    int coloured = 0;  // any clearly coloured pixel
};
IconColours ClassifyPixels(const std::vector<DWORD>& pixels);
IconColours ClassifyIcon(HWND icon);

HANDLE StartProcess(const CString& exe);
// The visible top-level windows of a process with the class.
std::vector<HWND> ProcessWindows(DWORD pid, const wchar_t* className);
