#include "configurator/main_window/StartupSteps.h"
#include "core/Messages.h"
#include "core/SystemInfo.h"

ElevationProbe ProbeElevation()
{
    ElevationProbe probe;
    HWND service = FindWindowW(nullptr, PORTWARDEN_WINDOW_TITLE);
    probe.serviceFound = service != nullptr;
    DWORD pid = 0;
    if (service) GetWindowThreadProcessId(service, &pid);
    HANDLE process = pid ? OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid) : nullptr;
    if (process) {
        probe.serviceKnown = GetElevationType(process, &probe.serviceType) != FALSE;
        CloseHandle(process);
    }
    probe.ownKnown = GetElevationType(GetCurrentProcess(), &probe.ownType) != FALSE;
    return probe;
}

bool ChooseNoticePipe(const ElevationProbe& p)
{
    return p.serviceFound && p.serviceKnown && p.ownKnown && p.serviceType == 2 && p.ownType == 3;
}

CString FolderOf(const wchar_t* path)
{
    CString s(path);
    return s.Left(s.ReverseFind(L'\\') + 1);
}

CString ProgramFolder()
{
    wchar_t path[MAX_PATH] = {};
    DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);
    if (n == 0 || n >= MAX_PATH) return CString();
    return FolderOf(path);
}

bool PrepareUserFolders(const wchar_t* appData, const wchar_t* programFolder, wchar_t (&confDir)[MAX_PATH])
{
    CString korvath = CString(appData) + L"\\Korvath";
    CString product = korvath + L"\\Eldvarra(R) MMO Gaming Mouse Tharnic Edition";
    CString conf = product + L"\\Conf";
    // Room for the longest file name formed from it later ("\FWVersion.xml").
    if (conf.GetLength() + 15 >= MAX_PATH) return false;
    CreateDirectoryW(korvath, nullptr);
    CreateDirectoryW(product, nullptr);
    CreateDirectoryW(conf, nullptr);
    wcscpy(confDir, conf + L"\\");
    // The user's own files are never overwritten; a missing shipped file is no error.
    for (const wchar_t* name : {L"Config.xml", L"TrayIcon.xml"})
        CopyFileW(CString(programFolder) + name, conf + L"\\" + name, TRUE);
    CreateDirectoryW(product + L"\\Profile", nullptr);
    return true;
}
