#include "BellwickRig.h"
#include "GuiTestSupport.h"
#include "core/Messages.h"
#include <cwchar>

namespace {

void CopyShipped(const wchar_t* relative, const CString& to)
{
    CopyFileW(SourceFile(CString(L"resources\\") + relative), to + relative, FALSE);
}

}  // namespace

BellwickRig::BellwickRig()
{
    CreateDirectoryW(AppDir(), nullptr);
    CString roaming = temp.Path() + L"Roaming";
    CreateDirectoryW(roaming, nullptr);
    m_redirect.reset(new AppDataRedirect(roaming));
    MakeConfFolder(roaming);

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

bool BellwickRig::Start()
{
    process = StartProgram(AppDir() + L"Bellwick.exe");
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
    WaitUntil([&] { return Icon() == nullptr; });
    return code;
}

HWND BellwickRig::Notice() const
{
    std::vector<HWND> dialogs = ProcessWindows(pid, L"#32770");
    return dialogs.empty() ? nullptr : dialogs.front();
}

