// The service's own cost per button event: from the event word posted to the service
// window, as the event thread posts it, to the input record handed to the input seam,
// over 100,000 events (alternate presses and releases of a button that holds a movement
// key). Nothing reaches the real input queue: the seam takes the record instead.
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

double Percentile(const std::vector<double>& sorted, double p)
{
    size_t i = (size_t)(p * (double)(sorted.size() - 1) + 0.5);
    return sorted[std::min(i, sorted.size() - 1)];
}

} // namespace

int wmain()
{
    TimedInput input;
    NoWaits clock;
    NoDevice device;
    SetInputSeam(&input);
    SetClockSeam(&clock);
    SetDeviceSeam(&device);

    CHIDWnd* wnd = new CHIDWnd;
    if (!wnd->CreateServiceWindow(false)) {
        wprintf(L"dispatch_bench: the service window could not be created\n");
        return 1;
    }
    ConfigData& cfg = wnd->m_config;
    cfg.GAME_MODE = 0;
    cfg.profiles[cfg.PROFILE_ID >= 0 && cfg.PROFILE_ID < PROFILE_COUNT ? cfg.PROFILE_ID : 0].buttons[3].code = 102;

    LARGE_INTEGER freq;
    QueryPerformanceFrequency(&freq);
    const int warmUp = 2000, events = 100000;
    auto micro = [&freq](LARGE_INTEGER a, LARGE_INTEGER b) {
        return (double)(b.QuadPart - a.QuadPart) * 1e6 / (double)freq.QuadPart;
    };
    auto report = [](const wchar_t* what, std::vector<double> v) {
        std::sort(v.begin(), v.end());
        double sum = 0;
        for (double x : v) sum += x;
        wprintf(L"  %-40ls median %8.2f  p90 %8.2f  p99 %8.2f  p99.9 %8.2f  max %9.2f  mean %7.2f\n", what,
                Percentile(v, 0.5), Percentile(v, 0.9), Percentile(v, 0.99), Percentile(v, 0.999), v.back(),
                sum / (double)v.size());
        return std::make_pair(Percentile(v, 0.5), Percentile(v, 0.99));
    };
    MSG msg;

    // The whole road: the word posted as the event thread posts it, taken from the queue,
    // decoded, dispatched, the key handed to the seam. BUTTON_4 is extended bit 14: down on
    // even events, up on odd ones.
    std::vector<double> whole;
    whole.reserve(events);
    for (int i = 0; i < warmUp + events; ++i) {
        WPARAM word = (i % 2 == 0) ? 0x4000 : 0;
        g_handed = 0;
        LARGE_INTEGER posted;
        QueryPerformanceCounter(&posted);
        PostMessageW(wnd->m_hWnd, WM_DEVICE_EVENT, word, 1);
        while (g_handed == 0 && GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
        if (i >= warmUp) whole.push_back(micro(posted, g_handedAt));
    }

    // The same road without the queue: the window procedure called with the event word.
    std::vector<double> direct;
    direct.reserve(events);
    for (int i = 0; i < warmUp + events; ++i) {
        WPARAM word = (i % 2 == 0) ? 0x4000 : 0;
        g_handed = 0;
        LARGE_INTEGER start;
        QueryPerformanceCounter(&start);
        wnd->WindowProc(WM_DEVICE_EVENT, word, 1);
        if (i >= warmUp && g_handed) direct.push_back(micro(start, g_handedAt));
    }

    // The platform's part alone: one message posted to the same window and taken back
    // from the queue, with nothing to do in it.
    std::vector<double> queue;
    queue.reserve(events);
    for (int i = 0; i < warmUp + events; ++i) {
        LARGE_INTEGER start, done;
        QueryPerformanceCounter(&start);
        PostMessageW(wnd->m_hWnd, WM_NULL, 0, 0);
        if (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
        QueryPerformanceCounter(&done);
        if (i >= warmUp) queue.push_back(micro(start, done));
    }

    wprintf(L"dispatch_bench: %d button events (MOVE_FORWARD press and release on BUTTON_4), microseconds\n", events);
    auto w = report(L"event word posted -> input at the seam", whole);
    report(L"window procedure -> input at the seam", direct);
    report(L"post + get of an empty message (Wine)", queue);
    wprintf(L"  targets for the whole road: median < 20 us, p99 < 100 us: median %ls, p99 %ls\n",
            w.first < 20 ? L"met" : L"NOT met", w.second < 100 ? L"met" : L"NOT met");

    wnd->DestroyWindow();
    delete wnd;
    SetInputSeam(nullptr);
    SetClockSeam(nullptr);
    SetDeviceSeam(nullptr);
    return 0;
}
