#pragma once
#include "TestSupport.h"
#include "TrayDriver.h"
#include "framework/CString.h"
#include <windows.h>
#include <memory>
#include <string>
#include <vector>

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

    // The program's notification-area icon, its menus (open one with OpenTrayMenu(pid))
    // and its notice dialog.
    HWND Icon() const { return TrayIconWindow(); }
    std::vector<HWND> Menus() const { return ProcessWindows(pid, L"#32768"); }
    HWND Notice() const;

    TempDir temp;
    HANDLE process = nullptr;
    DWORD pid = 0;
    HWND window = nullptr;

private:
    std::unique_ptr<AppDataRedirect> m_redirect;
    ExeFileTypeGuard m_exeType;
};

