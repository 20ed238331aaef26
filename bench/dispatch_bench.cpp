// The service's own cost per button event: from the event word posted to the service
// window, as the event thread posts it, to the input record handed to the input seam,
// over 100,000 events (alternate presses and releases of a button that holds a movement
// key). Nothing reaches the real input queue: the seam takes the record instead.
// Before each event the dispatcher looks for the configuration program's window; the
// figures are taken without that program and with a stand-in for it running in the
// background (a second copy of this program, started with --stand-in).
#include "service/ButtonDispatcher.h"
#include "service/HIDWnd.h"
#include "service/ServiceSeams.h"
#include "core/Messages.h"
#include <windows.h>
#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

LARGE_INTEGER g_handedAt;
int g_handed = 0;

class TimedInput : public IInputSeam {
public:
    UINT Send(const INPUT&) override
    {
        if (g_handed++ == 0) QueryPerformanceCounter(&g_handedAt);
        return 1;
    }
};

class NoWaits : public IClockSeam {
public:
    void Sleep(DWORD) override {}
    DWORD TickCount() override { return GetTickCount(); }
};

// No mouse is plugged in: the service starts without a session and starts nothing.
class NoDevice : public IDeviceSeam {
public:
    HANDLE Open() override { return INVALID_HANDLE_VALUE; }
    BOOL Control(HANDLE, DWORD, void*, DWORD, void*, DWORD, DWORD*) override { return FALSE; }
    void Close(HANDLE) override {}
};

// Some other program is in front: the desktop.
class DesktopInFront : public IForegroundSeam {
public:
    HWND Window() override { return GetDesktopWindow(); }
    bool LookUpProcessName(CString& name) override
    {
        name = L"explorer.exe";
        return true;
    }
};

const wchar_t* STAND_IN_READY = L"dispatch_bench stand-in ready";

// The stand-in: a window with the configuration program's title, in a process of its own.
int RunStandIn()
{
    HWND w = CreateWindowExW(0, L"STATIC", GEARLOOM_MAIN_TITLE, WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr,
                             nullptr);
    HANDLE ready = OpenEventW(EVENT_MODIFY_STATE, FALSE, STAND_IN_READY);
    if (ready) {
        SetEvent(ready);
        CloseHandle(ready);
    }
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
    DestroyWindow(w);
    return 0;
}

double Percentile(const std::vector<double>& sorted, double p)
{
    size_t i = (size_t)(p * (double)(sorted.size() - 1) + 0.5);
    return sorted[std::min(i, sorted.size() - 1)];
}

LARGE_INTEGER g_freq;

double Micro(LARGE_INTEGER a, LARGE_INTEGER b)
{
    return (double)(b.QuadPart - a.QuadPart) * 1e6 / (double)g_freq.QuadPart;
}

std::pair<double, double> Report(const wchar_t* what, std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    double sum = 0;
    for (double x : v) sum += x;
    wprintf(L"  %-46ls median %8.2f  p90 %8.2f  p99 %8.2f  p99.9 %8.2f  max %9.2f  mean %7.2f\n", what,
            Percentile(v, 0.5), Percentile(v, 0.9), Percentile(v, 0.99), Percentile(v, 0.999), v.back(),
            sum / (double)v.size());
    return std::make_pair(Percentile(v, 0.5), Percentile(v, 0.99));
}

BOOL CALLBACK CountWindow(HWND, LPARAM count)
{
    ++*(int*)count;
    return TRUE;
}

const int WARM_UP = 2000, EVENTS = 100000;

// The whole road: the word posted as the event thread posts it, taken from the queue,
// decoded, dispatched, the key handed to the seam. BUTTON_4 is extended bit 14: down on
// even events, up on odd ones.
std::vector<double> WholeRoad(CHIDWnd* wnd)
{
    std::vector<double> times;
    times.reserve(EVENTS);
    MSG msg;
    for (int i = 0; i < WARM_UP + EVENTS; ++i) {
        WPARAM word = (i % 2 == 0) ? 0x4000 : 0;
        g_handed = 0;
        LARGE_INTEGER posted;
        QueryPerformanceCounter(&posted);
        PostMessageW(wnd->m_hWnd, WM_DEVICE_EVENT, word, 1);
        while (g_handed == 0 && GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
        if (i >= WARM_UP) times.push_back(Micro(posted, g_handedAt));
    }
    return times;
}

// The same road without the queue: the window procedure called with the event word.
std::vector<double> Direct(CHIDWnd* wnd)
{
    std::vector<double> times;
    times.reserve(EVENTS);
    for (int i = 0; i < WARM_UP + EVENTS; ++i) {
        WPARAM word = (i % 2 == 0) ? 0x4000 : 0;
        g_handed = 0;
        LARGE_INTEGER start;
        QueryPerformanceCounter(&start);
        wnd->WindowProc(WM_DEVICE_EVENT, word, 1);
        if (i >= WARM_UP && g_handed) times.push_back(Micro(start, g_handedAt));
    }
    return times;
}

// The platform's part alone: f, timed once per event.
template <class F> std::vector<double> Timed(F f)
{
    std::vector<double> times;
    times.reserve(EVENTS);
    for (int i = 0; i < WARM_UP + EVENTS; ++i) {
        LARGE_INTEGER start, done;
        QueryPerformanceCounter(&start);
        f();
        QueryPerformanceCounter(&done);
        if (i >= WARM_UP) times.push_back(Micro(start, done));
    }
    return times;
}

void Verdict(std::pair<double, double> w)
{
    wprintf(L"  targets for the whole road: median < 20 us, p99 < 100 us: median %ls, p99 %ls\n",
            w.first < 20 ? L"met" : L"NOT met", w.second < 100 ? L"met" : L"NOT met");
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc > 1 && wcscmp(argv[1], L"--stand-in") == 0)
        return RunStandIn();

    TimedInput input;
    NoWaits clock;
    NoDevice device;
    DesktopInFront foreground;
    SetInputSeam(&input);
    SetClockSeam(&clock);
    SetDeviceSeam(&device);
    SetForegroundSeam(&foreground);
    QueryPerformanceFrequency(&g_freq);

    CHIDWnd* wnd = new CHIDWnd;
    if (!wnd->CreateServiceWindow(false)) {
        wprintf(L"dispatch_bench: the service window could not be created\n");
        return 1;
    }
    ConfigData& cfg = wnd->m_config;
    cfg.GAME_MODE = 0;
    cfg.profiles[cfg.PROFILE_ID >= 0 && cfg.PROFILE_ID < PROFILE_COUNT ? cfg.PROFILE_ID : 0].buttons[3].code = 102;

    int windows = 0;
    EnumWindows(CountWindow, (LPARAM)&windows);
    wprintf(L"dispatch_bench: %d button events (MOVE_FORWARD press and release on BUTTON_4), microseconds; "
            L"%d top-level windows\n", EVENTS, windows);

    wprintf(L"without the configuration program (searched for again only when the foreground window changes):\n");
    if (FindWindowW(nullptr, GEARLOOM_MAIN_TITLE))
        wprintf(L"  (a window with the configuration program's title is already there)\n");
    auto absent = Report(L"event word posted -> input at the seam", WholeRoad(wnd));
    Report(L"window procedure -> input at the seam", Direct(wnd));
    Report(L"FindWindowW of the title alone", Timed([] { FindWindowW(nullptr, GEARLOOM_MAIN_TITLE); }));
    MSG msg;
    Report(L"post + get of an empty message", Timed([&] {
        PostMessageW(wnd->m_hWnd, WM_NULL, 0, 0);
        if (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
    }));
    Verdict(absent);

    // The stand-in in a process of its own, in the background.
    HANDLE ready = CreateEventW(nullptr, TRUE, FALSE, STAND_IN_READY);
    wchar_t exe[MAX_PATH];
    GetModuleFileNameW(nullptr, exe, MAX_PATH);
    wchar_t command[MAX_PATH + 32];
    swprintf(command, sizeof(command) / sizeof(command[0]), L"\"%ls\" --stand-in", exe);
    STARTUPINFOW si = {};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi = {};
    if (CreateProcessW(nullptr, command, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi) &&
        WaitForSingleObject(ready, 10000) == WAIT_OBJECT_0 && FindConfigurationProgram()) {
        wprintf(L"with the configuration program in the background (its window found before, checked per event):\n");
        auto present = Report(L"event word posted -> input at the seam", WholeRoad(wnd));
        Report(L"window procedure -> input at the seam", Direct(wnd));
        Verdict(present);
        PostThreadMessageW(pi.dwThreadId, WM_QUIT, 0, 0);
        WaitForSingleObject(pi.hProcess, 10000);
    } else {
        wprintf(L"the stand-in for the configuration program did not start\n");
    }
    if (pi.hProcess) {
        CloseHandle(pi.hProcess);
        CloseHandle(pi.hThread);
    }
    CloseHandle(ready);

    wnd->DestroyWindow();
    delete wnd;
    SetInputSeam(nullptr);
    SetClockSeam(nullptr);
    SetDeviceSeam(nullptr);
    SetForegroundSeam(nullptr);
    return 0;
}
