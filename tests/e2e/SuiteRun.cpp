#include "SuiteRun.h"
#include "core/ConfigFile.h"
#include "service/DriverLink.h"
#include "core/Messages.h"

namespace {

// A guard against a hang, not a measure.
const DWORD GUARD_MS = 30000;

}  // namespace

SuiteRun::SuiteRun()
{
    CString roaming = temp.Path() + L"Roaming";
    CreateDirectoryW(roaming, nullptr);
    CreateDirectoryW(AppDir(), nullptr);
    m_redirect.reset(new AppDataRedirect(roaming));
    // The folders exist before the start, so a test can place its own "Config.xml".
    MakeConfFolder(roaming);
}

SuiteRun::~SuiteRun()
{
    StopService();
    m_redirect.reset();
}

CString SuiteRun::ConfDir() const
{
    return temp.Path() + L"Roaming\\Korvath\\Eldvarra(R) MMO Gaming Mouse Tharnic Edition\\Conf\\";
}

std::unique_ptr<ConfigData> SuiteRun::DefaultConfig()
{
    std::unique_ptr<ConfigData> cfg = NewConfigData();
    ResetConfig(*cfg);
    ValidateConfig(*cfg);
    return cfg;
}

bool SuiteRun::WriteConfig(const ConfigData& cfg)
{
    // The shipped copy too, which the service copies only when the user has none.
    return WriteNewConfigFile(cfg, ConfigPath()) && WriteNewConfigFile(cfg, AppDir() + L"Config.xml");
}

std::unique_ptr<ConfigData> SuiteRun::ReadConfig() const
{
    std::unique_ptr<ConfigData> cfg = NewConfigData();
    ResetConfig(*cfg);
    LoadConfig(*cfg, ConfigPath());
    return cfg;
}

std::wstring SuiteRun::StartMouse()
{
    // A driver that runs already is set back; a new one starts without memory, and may be
    // in use at once (its start is announced to every window).
    if (mouse.Open()) return mouse.Reset() ? L"" : L"the mouse could not be reset";
    if (!ForgetSimMouseMemory()) return L"the mouse's memory could not be removed";
    return RestartMouse();
}

std::wstring SuiteRun::RestartMouse()
{
    mouse.Close();
    if (!StopSimMouse()) return L"the driver did not stop";
    std::wstring error;
    if (!InstallSimMouse((ExeDir() + L"simmouse.sys").str(), &error)) return error;
    return mouse.Open() ? L"" : L"the driver runs but its control channel does not open";
}

bool SuiteRun::StartService()
{
    CString exe = AppDir() + L"Portwarden.exe";
    if (!CopyFileW(ExeDir() + L"Portwarden.exe", exe, FALSE)) return false;
    m_process = StartProgram(exe, AppDir());
    if (!m_process) return false;
    m_window = WaitForWindowTitled(m_process, PORTWARDEN_WINDOW_TITLE);
    return m_window != nullptr;
}

LRESULT SuiteRun::Send(UINT message, WPARAM wParam, LPARAM lParam)
{
    DWORD_PTR result = 0;
    if (!m_window || !SendMessageTimeoutW(m_window, message, wParam, lParam, SMTO_NORMAL, GUARD_MS, &result)) return -1;
    return (LRESULT)result;
}

void SuiteRun::StopService()
{
    if (!m_process) return;
    if (m_window) PostMessageW(m_window, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(m_process, GUARD_MS) != WAIT_OBJECT_0) TerminateProcess(m_process, 1);
    CloseHandle(m_process);
    m_process = nullptr;
    m_window = nullptr;
}

std::vector<SimLogEntry> SuiteRun::RequestsSince(uint32_t mark, bool withEventReads)
{
    std::vector<SimLogEntry> out;
    for (const SimLogEntry& e : mouse.ReadLog(mark))
        if (withEventReads || e.code != IOCTL_GET_EVENT) out.push_back(e);
    return out;
}

bool SuiteRun::WaitForRequest(uint32_t mark, uint32_t code)
{
    for (DWORD start = GetTickCount(); GetTickCount() - start < GUARD_MS; Sleep(10))
        for (const SimLogEntry& e : mouse.ReadLog(mark))
            if (e.code == code) return true;
    return false;
}

SimDeviceState SuiteRun::State()
{
    SimDeviceState s = {};
    mouse.GetState(s);
    return s;
}

DWORD SuiteRun::RunControlProgram(const wchar_t* arguments, std::string* printed)
{
    CString file = temp.File(L"simmouse-printed.txt");
    SECURITY_ATTRIBUTES inherit = {sizeof(inherit), nullptr, TRUE};
    HANDLE out = CreateFileW(file, GENERIC_WRITE, FILE_SHARE_READ, &inherit, CREATE_ALWAYS, 0, nullptr);
    if (out == INVALID_HANDLE_VALUE) return (DWORD)-1;
    STARTUPINFOW si = {};
    si.cb = sizeof(si);
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdOutput = si.hStdError = out;
    PROCESS_INFORMATION pi = {};
    CString exe = ExeDir() + L"simmouse.exe";
    CString cmd = L"\"" + exe + L"\" " + arguments;
    DWORD code = (DWORD)-1;
    if (CreateProcessW(exe, cmd.GetBuffer(cmd.GetLength() + 1), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &si, &pi)) {
        if (WaitForSingleObject(pi.hProcess, GUARD_MS) == WAIT_OBJECT_0) GetExitCodeProcess(pi.hProcess, &code);
        CloseHandle(pi.hThread);
        CloseHandle(pi.hProcess);
    }
    CloseHandle(out);
    std::vector<unsigned char> bytes = ReadBytes(file);
    printed->assign(bytes.begin(), bytes.end());
    return code;
}

std::vector<uint32_t> RequestCodes(const std::vector<SimLogEntry>& requests)
{
    std::vector<uint32_t> out;
    for (const SimLogEntry& e : requests) out.push_back(e.code);
    return out;
}

std::string RequestNames(const std::vector<SimLogEntry>& requests)
{
    std::string s;
    for (const SimLogEntry& e : requests) {
        s += SimRequestName(e.code);
        s += e.result == SIM_OK ? " " : "(failed) ";
    }
    return s;
}
