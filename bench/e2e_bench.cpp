// The whole road of a button, end to end, on the simulated mouse driver in this Wine prefix
// (installed here, stopped at the end). Times are the performance counter's, which the
// driver reads too.
// 1. The driver-to-service wake-up alone: while the service has let the device go, a
//    thread of this program in its place registers a semaphore and fetches each word as
//    the service's event thread does; from a press queued in the driver to the word in
//    the thread's hands.
// 2. The road: the real Portwarden.exe, BUTTON_4 holding W; from a press queued in the
//    driver to its WM_KEYDOWN in a focused window of this program.
//    Target: the road within 2x the wake-up alone. The two take turns.
// 3. A macro's delays as the window sees them against the delays recorded in it.
//    Target: within 2 ms.
#include "BenchTiming.h"
#include "SuiteRun.h"
#include "RecordingWindow.h"
#include "service/DriverLink.h"
#include "core/Messages.h"
#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdio>
#include <map>
#include <thread>

namespace {

const int ROUNDS = 10;
const int PRESSES_PER_ROUND = 50;
const int MACRO_RUNS = 8;
const int MACRO_DELAYS[] = {5, 12, 20, 3, 40, 8, 60, 15, 1, 25, 90, 10, 33, 7, 50, 18, 2, 70, 28, 0};
const int MACRO_EVENTS = sizeof(MACRO_DELAYS) / sizeof(MACRO_DELAYS[0]);

void Print(const char* what, const std::vector<double>& v)
{
    printf("  %-40s median %6.3f ms  p99 %6.3f ms  max %6.3f ms  (%zu)\n", what, Percentile(v, 50),
           Percentile(v, 99), v.empty() ? 0.0 : *std::max_element(v.begin(), v.end()), v.size());
}

// Alternating keys J and K, each down then up, with the delays above.
MacroEvent MacroEventAt(int i)
{
    return MacroEvent{(uint8_t)((i / 2) % 2 ? 'K' : 'J'), (uint8_t)(i % 2), MACRO_DELAYS[i]};
}

std::unique_ptr<ConfigData> BenchConfig()
{
    std::unique_ptr<ConfigData> cfg = SuiteRun::DefaultConfig();
    ProfileData& p = cfg->profiles[0];
    p.buttons[3].code = 102;   // BUTTON_4: MOVE_FORWARD, W while held
    p.buttons[4].code = 1000;  // BUTTON_5: the macro
    MacroData& m = p.macros[0];
    CopyField(m.MACRO_NAME, L"delays");
    for (int i = 0; i < MACRO_EVENTS; ++i) m.events[i] = MacroEventAt(i);
    m.events[MACRO_EVENTS] = MacroEvent{0, 0, 0};
    m.loopCount = 1;
    m.loopFlag = 0;
    m.delayMode = 2;
    return cfg;
}

// The player waits 1 ms before an event whose key was last sent the other way.
std::vector<int> PlayerStateWaits()
{
    std::vector<int> waits(MACRO_EVENTS, 0);
    std::map<int, int> state;
    for (int i = 0; i < MACRO_EVENTS; ++i) {
        MacroEvent e = MacroEventAt(i);
        waits[i] = state.count(e.vk) && state[e.vk] != e.up ? 1 : 0;
        state[e.vk] = e.up;
    }
    return waits;
}

// Waits until the reader has fetched n words; false after a guard time.
bool WaitFetched(const std::atomic<int>& fetched, HANDLE wordFetched, int n)
{
    while (fetched < n)
        if (WaitForSingleObject(wordFetched, 10000) != WAIT_OBJECT_0) return false;
    return true;
}

bool WaitKeys(RecordingWindow& window, size_t n)
{
    if (window.WaitForKeys(n, 10000)) return true;
    printf("keys did not arrive (%zu of %zu)\n", window.Keys().size(), n);
    return false;
}

// Phase 1: this program's thread does what the service's event thread does.
bool MeasureWakeUp(SuiteRun& run, std::vector<double>& wake)
{
    HANDLE device = CreateFileW(DEVICE_PATH, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (device == INVALID_HANDLE_VALUE) return false;
    HANDLE semaphore = CreateSemaphoreW(nullptr, 0, 100, nullptr);
    DWORD bits = EventHandleBits(semaphore), got = 0;
    bool ok = DeviceIoControl(device, IOCTL_REGISTER_EVENT, &bits, 4, nullptr, 0, &got, nullptr) != FALSE;
    std::atomic<int> fetched(0);
    std::atomic<int64_t> fetchedAt(0);
    std::atomic<bool> stop(false);
    HANDLE wordFetched = CreateEventW(nullptr, FALSE, FALSE, nullptr);
    std::thread reader([&] {
        for (;;) {
            WaitForSingleObject(semaphore, INFINITE);
            if (stop) return;
            DWORD word = 0, n = 0;
            if (!DeviceIoControl(device, IOCTL_GET_EVENT, &word, 4, &word, 4, &n, nullptr)) continue;
            fetchedAt = Now();
            ++fetched;
            SetEvent(wordFetched);
        }
    });
    for (int i = 0; ok && i < PRESSES_PER_ROUND; ++i) {
        SimButtonAnswer down = run.mouse.Button(4, true);
        ok = down.result == SIM_OK && WaitFetched(fetched, wordFetched, 2 * i + 1);
        wake.push_back(TicksToMs(fetchedAt - down.queuedAt));
        ok = ok && run.mouse.Button(4, false).result == SIM_OK && WaitFetched(fetched, wordFetched, 2 * i + 2);
        Sleep(2 + i % 7);
    }
    stop = true;
    ReleaseSemaphore(semaphore, 1, nullptr);
    reader.join();
    DeviceIoControl(device, IOCTL_UNREGISTER_EVENT, nullptr, 0, nullptr, 0, &got, nullptr);
    CloseHandle(device);
    CloseHandle(semaphore);
    CloseHandle(wordFetched);
    return ok;
}

// Phase 2: presses through the service into the window.
bool MeasureRoad(SuiteRun& run, RecordingWindow& window, std::vector<double>& road, std::vector<double>& asked)
{
    uint32_t mark = run.mouse.LogMark();
    std::vector<int64_t> queued;
    window.Clear();
    for (int i = 0; i < PRESSES_PER_ROUND; ++i) {
        SimButtonAnswer down = run.mouse.Button(4, true);
        if (down.result != SIM_OK || !WaitKeys(window, 2 * i + 1)) return false;
        queued.push_back(down.queuedAt);
        road.push_back(TicksToMs(window.Keys().back().time - down.queuedAt));
        if (run.mouse.Button(4, false).result != SIM_OK || !WaitKeys(window, 2 * i + 2)) return false;
        Sleep(2 + i % 7);
    }
    std::map<int64_t, int64_t> askedAt;  // queued -> the service's event thread asked for it
    for (const SimLogEntry& e : run.RequestsSince(mark, true))
        if (e.code == IOCTL_GET_EVENT && e.result == SIM_OK) askedAt[e.queuedAt] = e.time;
    for (int64_t q : queued)
        if (askedAt.count(q)) asked.push_back(TicksToMs(askedAt[q] - q));
    return true;
}

int Run()
{
    SuiteRun run;
    std::wstring error = run.StartMouse();
    if (!error.empty()) {
        printf("the simulated mouse did not start: %ls\n", error.c_str());
        return 1;
    }
    if (!run.WriteConfig(*BenchConfig()) || !run.StartService() || !run.State().registered) {
        printf("Portwarden did not start on the simulated mouse\n");
        return 1;
    }
    RecordingWindow window(L"e2e_bench", true);
    if (!window.TakeFocus()) {
        printf("the window did not get the focus\n");
        return 1;
    }

    // The two phases take turns, so both see the same load of the machine. The service
    // lets the device go at a console disconnect and takes it again at a connect.
    std::vector<double> wake, road, asked;
    for (int round = 0; round < ROUNDS; ++round) {
        run.Send(WM_WTSSESSION_CHANGE, WTS_CONSOLE_DISCONNECT);
        if (!MeasureWakeUp(run, wake)) {
            printf("the wake-up could not be measured\n");
            return 1;
        }
        run.Send(WM_WTSSESSION_CHANGE, WTS_CONSOLE_CONNECT);
        if (!MeasureRoad(run, window, road, asked)) {
            printf("the road could not be measured\n");
            return 1;
        }
    }

    // Phase 3: the macro.
    std::vector<int> stateWaits = PlayerStateWaits();
    std::vector<double> diffs, timing;
    for (int r = 0; r < MACRO_RUNS; ++r) {
        window.Clear();
        if (run.mouse.Button(5, true).result != SIM_OK || !WaitKeys(window, MACRO_EVENTS)) return 1;
        run.mouse.Button(5, false);
        run.Send(WM_SERVICE_PING);
        std::vector<RecordingWindow::Message> keys = window.Keys();
        for (int i = 0; i + 1 < MACRO_EVENTS; ++i) {
            double played = TicksToMs(keys[i + 1].time - keys[i].time);
            diffs.push_back(played - MACRO_DELAYS[i]);
            timing.push_back(std::fabs(played - MACRO_DELAYS[i] - stateWaits[i + 1]));
        }
    }
    std::vector<double> absDiffs;
    for (double d : diffs) absDiffs.push_back(std::fabs(d));
    size_t within = std::count_if(absDiffs.begin(), absDiffs.end(), [](double d) { return d <= 2.0; });

    printf("end-to-end road of a button (%d presses each, in %d turns)\n", ROUNDS * PRESSES_PER_ROUND, ROUNDS);
    Print("wake-up alone: queued -> word fetched", wake);
    Print("road: queued -> WM_KEYDOWN", road);
    Print("  of it: queued -> service asks for it", asked);
    printf("  road / wake-up: %.2fx at the median, %.2fx at p99 (target: within 2x)\n",
           Percentile(road, 50) / Percentile(wake, 50), Percentile(road, 99) / Percentile(wake, 99));
    printf("macro delays (%d runs of %d events, recorded 0..90 ms)\n", MACRO_RUNS, MACRO_EVENTS);
    Print("|played - recorded|", absDiffs);
    Print("|played - recorded - player's 1 ms waits|", timing);
    printf("  played - recorded: median %+.3f ms, from %+.3f to %+.3f ms; %zu of %zu within 2 ms (target)\n",
           Percentile(diffs, 50), *std::min_element(diffs.begin(), diffs.end()),
           *std::max_element(diffs.begin(), diffs.end()), within, diffs.size());
    return 0;
}

}  // namespace

int wmain()
{
    int rc = Run();
    StopSimMouse();
    return rc;
}
