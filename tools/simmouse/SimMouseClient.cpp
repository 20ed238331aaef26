#include "SimMouseClient.h"

DWORD SimResultError(SimResult r)
{
    // What Wine and Windows make of the driver's status for each result.
    switch (r) {
    case SIM_OK: return ERROR_SUCCESS;
    case SIM_BAD_SIZE: return ERROR_BAD_LENGTH;
    case SIM_BAD_VALUE: return ERROR_INVALID_PARAMETER;
    case SIM_NOT_CONNECTED: return ERROR_DEVICE_NOT_CONNECTED;
    case SIM_NO_EVENT: return ERROR_NO_MORE_ITEMS;
    case SIM_UNKNOWN_REQUEST: return ERROR_INVALID_FUNCTION;
    case SIM_BAD_HANDLE: return ERROR_INVALID_HANDLE;
    case SIM_QUEUE_FULL: return ERROR_NO_SYSTEM_RESOURCES;
    default: return ERROR_GEN_FAILURE;
    }
}

const wchar_t* SimResultText(SimResult r)
{
    switch (r) {
    case SIM_OK: return L"done";
    case SIM_BAD_SIZE: return L"wrong buffer size";
    case SIM_BAD_VALUE: return L"value refused";
    case SIM_NOT_CONNECTED: return L"the mouse is unplugged";
    case SIM_NO_EVENT: return L"no event queued";
    case SIM_UNKNOWN_REQUEST: return L"unknown request";
    case SIM_FAILED: return L"failed";
    case SIM_BAD_HANDLE: return L"handle cannot be reached";
    case SIM_QUEUE_FULL: return L"event queue full";
    case SIM_NO_CHANGE: return L"already so";
    }
    return L"?";
}

const char* SimRequestName(uint32_t code)
{
    static const struct {
        uint32_t function;
        const char* name;
    } names[] = {
        {0x900, "REGISTER_EVENT"},   {0x901, "UNREGISTER_EVENT"},     {0x902, "GET_EVENT"},
        {0x908, "SET_INTERCEPTION_MASK"}, {0x909, "SET_SENSITIVITY_X"}, {0x910, "SET_SENSITIVITY_Y"},
        {0x912, "PRE_SENSITIVITY"},  {0x915, "POST_MASK"},            {0x917, "PRE_LED_COLOR"},
        {0x928, "SET_POLLING_RATE"}, {0x929, "GET_POLLING_RATE"},     {0x944, "GET_FIRMWARE_VERSION"},
        {0x948, "SET_LED_COLOR"},    {0x949, "GET_LED_COLOR"},        {0x950, "SET_DPI_STAGE"},
        {0x955, "GET_DPI_STAGE"},    {0x956, "SET_LED_INTENSITY"},    {0x957, "GET_LED_INTENSITY"},
        {0x958, "SET_LED_PULSATION"}, {0x959, "GET_LED_PULSATION"},   {0x970, "GET_FIRMWARE_INFO"},
        {0x971, "FIRMWARE_UPDATE_START"}, {0x972, "FIRMWARE_ERASE"},  {0x974, "FIRMWARE_WRITE_BLOCK"},
        {0x990, "POST_RELOAD"},      {0x999, "FIRMWARE_UPDATE_END"},
    };
    for (auto& n : names)
        if (SIM_IOCTL(n.function) == code) return n.name;
    return "?";
}

std::wstring SimMouseDriverBesideProgram()
{
    wchar_t path[MAX_PATH];
    DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring s(path, n);
    return s.substr(0, s.rfind(L'\\') + 1) + L"simmouse.sys";
}

std::wstring SimMouseMemoryFile()
{
    return SIMMOUSE_MEMORY_PATH;
}

bool ForgetSimMouseMemory()
{
    return DeleteFileW(SimMouseMemoryFile().c_str()) || GetLastError() == ERROR_FILE_NOT_FOUND;
}

namespace {

std::wstring LastErrorText(const wchar_t* what)
{
    return std::wstring(what) + L" failed, error " + std::to_wstring(GetLastError());
}

// Waits until the service leaves its pending state; false after 10 s.
bool WaitForState(SC_HANDLE service, DWORD state)
{
    for (DWORD start = GetTickCount(); GetTickCount() - start < 10000; Sleep(20)) {
        SERVICE_STATUS status = {};
        if (!QueryServiceStatus(service, &status)) return false;
        if (status.dwCurrentState == state) return true;
    }
    return false;
}

bool StopService(SC_HANDLE service)
{
    SERVICE_STATUS status = {};
    if (!QueryServiceStatus(service, &status)) return false;
    if (status.dwCurrentState == SERVICE_STOPPED) return true;
    ControlService(service, SERVICE_CONTROL_STOP, &status);
    return WaitForState(service, SERVICE_STOPPED);
}

}  // namespace

void AnnounceDeviceChange()
{
    // As Windows tells every top-level window when a device comes or goes.
    PostMessageW(HWND_BROADCAST, WM_DEVICECHANGE, 7 /* DBT_DEVNODES_CHANGED */, 0);
}

bool InstallSimMouse(const std::wstring& driverFile, std::wstring* error)
{
    std::wstring failure;
    wchar_t system[MAX_PATH];
    UINT n = GetSystemDirectoryW(system, MAX_PATH);
    std::wstring target = std::wstring(system, n) + L"\\drivers\\simmouse.sys";
    SC_HANDLE manager = OpenSCManagerW(nullptr, nullptr, SC_MANAGER_ALL_ACCESS);
    SC_HANDLE service = nullptr;
    if (!manager) {
        failure = LastErrorText(L"OpenSCManager");
    } else {
        service = OpenServiceW(manager, SIMMOUSE_SERVICE_NAME, SERVICE_ALL_ACCESS);
        // A running copy holds the old file: it stops before the file is replaced.
        if (service && !StopService(service)) failure = L"the running driver did not stop";
        if (failure.empty() && !CopyFileW(driverFile.c_str(), target.c_str(), FALSE))
            failure = LastErrorText((L"copying " + driverFile).c_str());
        if (failure.empty() && !service) {
            service = CreateServiceW(manager, SIMMOUSE_SERVICE_NAME, SIMMOUSE_SERVICE_NAME, SERVICE_ALL_ACCESS,
                                     SERVICE_KERNEL_DRIVER, SERVICE_DEMAND_START, SERVICE_ERROR_NORMAL, target.c_str(),
                                     nullptr, nullptr, nullptr, nullptr, nullptr);
            if (!service) failure = LastErrorText(L"CreateService");
        } else if (failure.empty()) {
            if (!ChangeServiceConfigW(service, SERVICE_KERNEL_DRIVER, SERVICE_DEMAND_START, SERVICE_ERROR_NORMAL,
                                      target.c_str(), nullptr, nullptr, nullptr, nullptr, nullptr, nullptr))
                failure = LastErrorText(L"ChangeServiceConfig");
        }
        if (failure.empty() && !StartServiceW(service, 0, nullptr) && GetLastError() != ERROR_SERVICE_ALREADY_RUNNING)
            failure = LastErrorText(L"StartService");
        if (failure.empty() && !WaitForState(service, SERVICE_RUNNING)) failure = L"the driver did not start";
    }
    if (service) CloseServiceHandle(service);
    if (manager) CloseServiceHandle(manager);
    if (error) *error = failure;
    if (failure.empty()) AnnounceDeviceChange();
    return failure.empty();
}

bool StopSimMouse()
{
    SC_HANDLE manager = OpenSCManagerW(nullptr, nullptr, SC_MANAGER_ALL_ACCESS);
    if (!manager) return false;
    SC_HANDLE service = OpenServiceW(manager, SIMMOUSE_SERVICE_NAME, SERVICE_ALL_ACCESS);
    bool stopped = !service || StopService(service);
    if (service) CloseServiceHandle(service);
    CloseServiceHandle(manager);
    return stopped;
}

SimMouseControl::SimMouseControl() : m_h(INVALID_HANDLE_VALUE) {}

SimMouseControl::~SimMouseControl()
{
    Close();
}

void SimMouseControl::Close()
{
    if (IsOpen()) CloseHandle(m_h);
    m_h = INVALID_HANDLE_VALUE;
}

bool SimMouseControl::Open()
{
    if (!IsOpen())
        m_h = CreateFileW(SIMMOUSE_CONTROL_PATH, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                          nullptr, OPEN_EXISTING, 0, nullptr);
    return IsOpen();
}

bool SimMouseControl::Request(DWORD code, const void* in, DWORD inSize, void* out, DWORD outSize)
{
    DWORD got = 0;
    return IsOpen() && DeviceIoControl(m_h, code, const_cast<void*>(in), inSize, out, outSize, &got, nullptr);
}

SimButtonAnswer SimMouseControl::Button(int button, bool down)
{
    SimButtonRequest q = {button, down ? 1 : 0};
    SimButtonAnswer a = {SIM_FAILED, 0, 0};
    if (!Request(SIMCTL_BUTTON, &q, sizeof(q), &a, sizeof(a))) a.result = SIM_FAILED;
    return a;
}

SimResult SimMouseControl::Unplug()
{
    int32_t r = SIM_FAILED;
    if (!Request(SIMCTL_UNPLUG, nullptr, 0, &r, sizeof(r))) return SIM_FAILED;
    if (r == SIM_OK) AnnounceDeviceChange();
    return (SimResult)r;
}

SimResult SimMouseControl::Plug()
{
    int32_t r = SIM_FAILED;
    if (!Request(SIMCTL_PLUG, nullptr, 0, &r, sizeof(r))) return SIM_FAILED;
    if (r == SIM_OK) AnnounceDeviceChange();
    return (SimResult)r;
}

bool SimMouseControl::GetState(SimDeviceState& state)
{
    return Request(SIMCTL_GET_STATE, nullptr, 0, &state, sizeof(state));
}

std::vector<SimLogEntry> SimMouseControl::ReadLog(uint32_t from, uint32_t* next)
{
    std::vector<SimLogEntry> out;
    SimLogPage page;
    for (;;) {
        if (!Request(SIMCTL_READ_LOG, &from, sizeof(from), &page, sizeof(page))) break;
        out.insert(out.end(), page.entries, page.entries + page.count);
        from = page.next;
        if (page.count < SIM_LOG_PAGE) break;
    }
    if (next) *next = from;
    return out;
}

uint32_t SimMouseControl::LogMark()
{
    SimDeviceState s = {};
    return GetState(s) ? s.logNext : 0;
}

bool SimMouseControl::Reset()
{
    return Request(SIMCTL_RESET, nullptr, 0, nullptr, 0);
}
