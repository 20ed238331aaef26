// The configuration program's two waits a person feels, each beside the same measurement
// of the least a Windows program can do, taking turns in the same run:
// 1. Start-up: from starting Gearloom.exe to its main window painted (a pixel of its skin
//    seen on its window), beside an empty Win32 program (this program started again with
//    --empty-window) from its start to its one window painted; then where Gearloom's start
//    goes, from the phases the program writes to a trace file named by the environment
//    variable THARNIC_STARTUP_TRACE (framework/StartupTrace.h).
//    Targets: under 300 ms, and within 2 times the empty program's start.
//    The tray program's start to its icon in the notification area, the same way, beside
//    the empty program and beside an empty program that shows one icon (--empty-icon).
//    Target: within 2 times the empty program's start.
// 2. Apply: from Apply in the main window (its click, as the button reports it) to the real
//    Portwarden.exe having read the new "Config.xml" (its first request to the simulated
//    mouse after reading it), beside an empty post-and-reply to the service window.
//    Target: under 50 ms with the default configuration.
// With --start-only it measures the start-ups only.
#include "BenchTiming.h"
#include "GearloomRun.h"
#include "SuiteRun.h"
#include "GuiTestSupport.h"
#include "service/DriverLink.h"
#include "core/Messages.h"
#include "framework/StartupTrace.h"
#include <algorithm>
#include <cstdio>
#include <functional>
#include <map>
#include <string>
#include <vector>
#include <shellapi.h>

namespace {

const int START_ROUNDS = 12;
const int APPLY_ROUNDS = 30;
const COLORREF EMPTY_COLOUR = RGB(20, 160, 240);
const DWORD GUARD_MS = 30000;
const wchar_t* const EMPTY_ICON_TITLE = L"gui_bench empty icon";
const wchar_t* const TRACE_VARIABLE = L"THARNIC_STARTUP_TRACE";

void Print(const char* what, const std::vector<double>& v)
{
    printf("  %-44s median %7.1f ms  p90 %7.1f ms  max %7.1f ms  (%zu)\n", what, Percentile(v, 50),
           Percentile(v, 90), v.empty() ? 0.0 : *std::max_element(v.begin(), v.end()), v.size());
}

LRESULT CALLBACK EmptyProc(HWND h, UINT m, WPARAM w, LPARAM l)
{
    if (m == WM_DESTROY) {
        NOTIFYICONDATAW nid = {};
        nid.cbSize = sizeof(nid);
        nid.hWnd = h;
        nid.uID = 1;
        Shell_NotifyIconW(NIM_DELETE, &nid);
        PostQuitMessage(0);
    }
    return DefWindowProcW(h, m, w, l);
}

// The empty program: one window of one colour until it is closed; or, with an icon, a
// hidden window with one notification-area icon.
int RunEmptyWindow(bool icon)
{
    StartupTraceMark("entry");
    WNDCLASSW wc = {};
    wc.lpfnWndProc = EmptyProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hbrBackground = CreateSolidBrush(EMPTY_COLOUR);
    wc.lpszClassName = L"GuiBenchEmpty";
    RegisterClassW(&wc);
    HWND h = CreateWindowExW(0, wc.lpszClassName, icon ? EMPTY_ICON_TITLE : L"gui_bench empty window",
                             icon ? WS_POPUP : WS_POPUP | WS_VISIBLE, 100, 100, 300, 200, nullptr, nullptr,
                             wc.hInstance, nullptr);
    if (icon) {
        NOTIFYICONDATAW nid = {};
        nid.cbSize = sizeof(nid);
        nid.hWnd = h;
        nid.uID = 1;
        nid.uFlags = NIF_ICON | NIF_TIP;
        nid.hIcon = LoadIconW(nullptr, IDI_APPLICATION);
        wcscpy(nid.szTip, EMPTY_ICON_TITLE);
        Shell_NotifyIconW(NIM_ADD, &nid);
    }
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
    return 0;
}

HANDLE Start(const CString& exe, const wchar_t* args, const CString& folder)
{
    STARTUPINFOW si = {};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi = {};
    CString cmd = L"\"" + exe + L"\"" + args;
    if (!CreateProcessW(exe, cmd.GetBuffer(cmd.GetLength() + 1), nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr,
                        folder, &si, &pi))
        return nullptr;
    CloseHandle(pi.hThread);
    return pi.hProcess;
}

// One start of a program: when the awaited thing came (ms from the process start, negative
// when it did not) and the start's own count in ticks.
struct Started {
    double ms = -1;
    int64_t t0 = 0;
};

// Starts the program and waits until seen() finds what it waits for, then closes the
// window of that title and waits for the program's end.
Started StartUntil(const CString& exe, const wchar_t* args, const CString& folder, const wchar_t* title,
                   const std::function<bool()>& seen)
{
    Started s;
    s.t0 = Now();
    HANDLE process = Start(exe, args, folder);
    if (!process) return s;
    for (DWORD start = GetTickCount(); GetTickCount() - start < GUARD_MS;) {
        if (seen()) {
            s.ms = TicksMs(Now() - s.t0);
            break;
        }
        if (WaitForSingleObject(process, 0) == WAIT_OBJECT_0) break;
        Sleep(0);
    }
    if (HWND h = FindWindowW(nullptr, title)) PostMessageW(h, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(process, GUARD_MS) != WAIT_OBJECT_0) TerminateProcess(process, 1);
    CloseHandle(process);
    return s;
}

// Whether the window of that title shows that colour at that point.
bool Painted(const wchar_t* title, POINT at, COLORREF colour)
{
    HWND h = FindWindowW(nullptr, title);
    if (!h || !IsWindowVisible(h)) return false;
    HDC dc = GetWindowDC(h);
    COLORREF c = GetPixel(dc, at.x, at.y);
    ReleaseDC(h, dc);
    return c == colour;
}

BOOL CALLBACK FindIconChild(HWND h, LPARAM l)
{
    wchar_t name[64];
    if (IsWindowVisible(h) && GetClassNameW(h, name, 64) && wcscmp(name, L"__winex11_tray_icon") == 0) {
        *(HWND*)l = h;
        return FALSE;
    }
    return TRUE;
}

BOOL CALLBACK FindIconInTray(HWND h, LPARAM l)
{
    wchar_t name[64];
    if (GetClassNameW(h, name, 64) && wcscmp(name, L"__winex11_standalone_tray") == 0) EnumChildWindows(h, FindIconChild, l);
    return *(HWND*)l == nullptr;
}

// An icon shown in the notification area (on a display without a tray manager, Wine's
// explorer keeps each icon as a child window of its own tray window).
bool IconShown()
{
    HWND found = nullptr;
    EnumWindows(FindIconInTray, (LPARAM)&found);
    return found != nullptr;
}

// The notification area lets an icon go in its own time; the next start begins clean.
void WaitForNoIcon()
{
    for (DWORD start = GetTickCount(); IconShown() && GetTickCount() - start < 5000;) Sleep(10);
}

// A point of the main window's picture that is bright (its title), and its colour.
bool SkinPoint(const CString& picture, POINT* at, COLORREF* colour)
{
    HBITMAP bmp = (HBITMAP)LoadImageW(nullptr, picture, IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION);
    if (!bmp) return false;
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, bmp);
    bool found = false;
    for (int y = 10; y < 45 && !found; ++y)
        for (int x = 300; x < 540 && !found; ++x) {
            COLORREF c = GetPixel(dc, x, y);
            if (GetRValue(c) > 200 && GetGValue(c) > 150) {
                *at = POINT{x, y};
                *colour = c;
                found = true;
            }
        }
    SelectObject(dc, old);
    DeleteDC(dc);
    DeleteObject(bmp);
    return found;
}

HWND ChildAt(HWND main, const RECT& screen)
{
    RECT w;
    GetWindowRect(main, &w);
    POINT p = {(screen.left + screen.right) / 2 - w.left, (screen.top + screen.bottom) / 2 - w.top};
    return ChildWindowFromPointEx(main, p, CWP_SKIPINVISIBLE);
}

// The phases one start wrote: for each name its spans, in ms from the process start.
class StartTrace {
public:
    StartTrace(const CString& path, int64_t t0, double seen) : m_seen(seen)
    {
        FILE* f = _wfopen(path, L"rb");
        if (!f) return;
        char name[64];
        long long a, b;
        while (fscanf(f, "%63s %lld %lld", name, &a, &b) == 3)
            m_spans[name].push_back({TicksMs(a - t0), TicksMs(b - t0)});
        fclose(f);
    }
    bool Has(const char* name) const { return m_spans.count(name) != 0; }
    // The time of all spans of that name added up (spans on several threads count each).
    double Total(const char* name) const
    {
        double sum = 0;
        for (const auto& s : Spans(name)) sum += s.second - s.first;
        return sum;
    }
    double FirstStart(const char* name) const { return Spans(name).empty() ? -1 : Spans(name).front().first; }
    double LastEnd(const char* name) const { return Spans(name).empty() ? -1 : Spans(name).back().second; }
    double Seen() const { return m_seen; }

private:
    const std::vector<std::pair<double, double>>& Spans(const char* name) const
    {
        static const std::vector<std::pair<double, double>> none;
        auto it = m_spans.find(name);
        return it == m_spans.end() ? none : it->second;
    }
    std::map<std::string, std::vector<std::pair<double, double>>> m_spans;
    double m_seen;
};

// One line of a breakdown: a label and its figure in a start (negative: not there).
struct Phase {
    const char* label;
    std::function<double(const StartTrace&)> figure;
};

Phase Span(const char* label, const char* name)
{
    return {label, [name](const StartTrace& t) { return t.Has(name) ? t.Total(name) : -1.0; }};
}

// From the end of one phase (null: the process start) to the beginning of the next (null:
// the moment the bench saw the result).
Phase Gap(const char* label, const char* after, const char* before)
{
    return {label, [after, before](const StartTrace& t) {
                double from = after ? t.LastEnd(after) : 0;
                double to = before ? t.FirstStart(before) : t.Seen();
                // A result seen before its phase's call returned is no time at all.
                return (after && from < 0) || (before && to < 0) ? -1.0 : std::max(0.0, to - from);
            }};
}

void PrintBreakdown(const char* title, const std::vector<Phase>& phases, const std::vector<StartTrace>& starts)
{
    printf("%s (median of %zu starts, ms)\n", title, starts.size());
    for (const Phase& p : phases) {
        std::vector<double> v;
        for (const StartTrace& t : starts) {
            double x = p.figure(t);
            if (x >= 0) v.push_back(x);
        }
        if (v.empty())
            printf("  %-58s      -\n", p.label);
        else
            printf("  %-58s %7.1f\n", p.label, Percentile(v, 50));
    }
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc > 1 && wcscmp(argv[1], L"--empty-window") == 0) return RunEmptyWindow(false);
    if (argc > 1 && wcscmp(argv[1], L"--empty-icon") == 0) return RunEmptyWindow(true);

    SuiteRun run;
    GearloomRun program(run);
    if (!run.WriteConfig(*SuiteRun::DefaultConfig())) return 1;
    CopyFileW(ExeDir() + L"Bellwick.exe", run.AppDir() + L"Bellwick.exe", FALSE);
    wchar_t self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    POINT at = {0, 0};
    COLORREF skin = 0;
    if (!SkinPoint(run.AppDir() + L"skins\\main_normal.bmp", &at, &skin)) {
        fprintf(stderr, "no skin picture\n");
        return 1;
    }
    const CString trace = run.temp.Path() + L"startup-trace.txt";
    // A start of a program of ours with its phases traced.
    auto traced = [&](const CString& exe, const wchar_t* args, const wchar_t* title, const std::function<bool()>& seen,
                      std::vector<StartTrace>& traces) {
        DeleteFileW(trace);
        SetEnvironmentVariableW(TRACE_VARIABLE, trace);
        Started s = StartUntil(exe, args, run.AppDir(), title, seen);
        SetEnvironmentVariableW(TRACE_VARIABLE, nullptr);
        if (s.ms >= 0) traces.emplace_back(trace, s.t0, s.ms);
        return s.ms;
    };

    printf("Start-up to the main window painted and to the tray icon (no service running), %d rounds taking "
           "turns:\n",
           START_ROUNDS);
    std::vector<double> empty, gearloom, emptyIcon, bellwick;
    std::vector<StartTrace> emptyTraces, gearloomTraces, emptyIconTraces, bellwickTraces;
    for (int i = 0; i < START_ROUNDS; ++i) {
        double e = traced(self, L" --empty-window", L"gui_bench empty window",
                          [] { return Painted(L"gui_bench empty window", POINT{150, 100}, EMPTY_COLOUR); }, emptyTraces);
        double g = traced(run.AppDir() + L"Gearloom.exe", L"", GEARLOOM_MAIN_TITLE,
                          [&] { return Painted(GEARLOOM_MAIN_TITLE, at, skin); }, gearloomTraces);
        double ei = traced(self, L" --empty-icon", EMPTY_ICON_TITLE, IconShown, emptyIconTraces);
        WaitForNoIcon();
        double b = traced(run.AppDir() + L"Bellwick.exe", L"", BELLWICK_WINDOW_TITLE, IconShown, bellwickTraces);
        WaitForNoIcon();
        if (e < 0 || g < 0 || ei < 0 || b < 0) {
            fprintf(stderr, "a window or icon did not come (empty %.1f, Gearloom %.1f, empty icon %.1f, Bellwick %.1f)\n",
                    e, g, ei, b);
            return 1;
        }
        empty.push_back(e);
        gearloom.push_back(g);
        emptyIcon.push_back(ei);
        bellwick.push_back(b);
    }
    Print("empty Win32 program, window painted", empty);
    Print("Gearloom.exe, main window painted", gearloom);
    Print("empty Win32 program, icon shown", emptyIcon);
    Print("Bellwick.exe, icon shown", bellwick);
    double ratio = Percentile(gearloom, 50) / Percentile(empty, 50);
    printf("  target: Gearloom within 2x the empty program: %.2fx -> %s\n", ratio, ratio <= 2 ? "met" : "NOT met");
    printf("  target: Gearloom under 300 ms: %.1f ms -> %s\n", Percentile(gearloom, 50),
           Percentile(gearloom, 50) < 300 ? "met" : "NOT met");
    double trayRatio = Percentile(bellwick, 50) / Percentile(empty, 50);
    printf("  target: Bellwick within 2x the empty program: %.2fx -> %s (%.2fx the empty icon program)\n", trayRatio,
           trayRatio <= 2 ? "met" : "NOT met", Percentile(bellwick, 50) / Percentile(emptyIcon, 50));

    PrintBreakdown("The empty program's window", {
        Gap("process start to the first line of its code", nullptr, "entry"),
        Gap("first line to its window seen painted by the bench", "entry", nullptr),
    }, emptyTraces);
    PrintBreakdown("The empty program's icon", {
        Gap("process start to the first line of its code", nullptr, "entry"),
        Gap("first line to its icon seen by the bench", "entry", nullptr),
    }, emptyIconTraces);
    PrintBreakdown("Where Gearloom's start goes", {
        Gap("process start to the first line of our code", nullptr, "entry"),
        Gap("  to the application object's first step", "entry", "probe"),
        Span("application object: elevation probe", "probe"),
        Span("application object: OLE", "ole"),
        Span("application object: per-user folders", "folders"),
        Gap("main window made, up to its WM_CREATE", "folders", "create"),
        Span("WM_CREATE in all", "create"),
        Span("  main window's pictures (wall time)", "main-pictures"),
        Span("  side panels (their pictures, labels, controls, regions)", "panels"),
        Span("  skin pictures, every window: read", "picture-read"),
        Span("  skin pictures, every window: decode", "picture-decode"),
        Span("  skin pictures, every window: copy", "picture-copy"),
        Span("  labels drawn on the main picture", "labels"),
        Span("  window regions, every window", "regions"),
        Span("  controls, every window", "controls"),
        Span("    their windows", "button-windows"),
        Span("    their images cut from the pictures", "button-images"),
        Gap("WM_CREATE to WM_INITDIALOG", "create", "init-dialog"),
        Span("WM_INITDIALOG in all", "init-dialog"),
        Span("  settings and views", "settings"),
        Gap("WM_INITDIALOG to the first paint", "init-dialog", "first-paint"),
        Span("first paint", "first-paint"),
        Gap("first paint to the pixel seen by the bench", "first-paint", nullptr),
        Span("after the paint: main window's tooltips, drop targets", "tooltips"),
    }, gearloomTraces);
    PrintBreakdown("Where Bellwick's start goes", {
        Gap("process start to the first line of our code", nullptr, "entry"),
        Gap("  to the window", "entry", "tray-window"),
        Span("window made (icon added in its WM_CREATE)", "tray-window"),
        Span("  the program file's icon", "file-icon"),
        Span("  icon added", "notify-icon"),
        Gap("icon added to the icon seen by the bench", "notify-icon", nullptr),
    }, bellwickTraces);

    if (argc > 1 && wcscmp(argv[1], L"--start-only") == 0) return 0;

    std::wstring error = run.StartMouse();
    if (!error.empty()) {
        fprintf(stderr, "simulated mouse: %ls\n", error.c_str());
        return 1;
    }
    if (!run.StartService() || !program.Start()) {
        fprintf(stderr, "the service or the program did not start\n");
        return 1;
    }
    HWND main = program.Window();
    HWND apply = ChildAt(main, program.Control(L"BUTTON_APPLY"));
    HWND profiles[2] = {ChildAt(main, program.Control(L"PROFILE_2")), ChildAt(main, program.Control(L"PROFILE_1"))};
    if (!apply || !profiles[0] || !profiles[1]) {
        fprintf(stderr, "buttons not found\n");
        return 1;
    }
    printf("Apply to the service having read the new Config.xml (default configuration), %d rounds:\n", APPLY_ROUNDS);
    std::vector<double> ping, reload;
    for (int i = 0; i < APPLY_ROUNDS; ++i) {
        int64_t t0 = Now();
        DWORD_PTR answer = 0;
        SendMessageTimeoutW(run.ServiceWindow(), WM_SERVICE_PING, 0, 0, SMTO_NORMAL, GUARD_MS, &answer);
        ping.push_back(TicksMs(Now() - t0));

        // Another profile, then Apply: a change that the file and the service take.
        SendMessageTimeoutW(main, WM_COMMAND, MAKEWPARAM(0, BN_CLICKED), (LPARAM)profiles[i % 2], SMTO_NORMAL, GUARD_MS,
                            &answer);
        uint32_t mark = run.mouse.LogMark();
        t0 = Now();
        PostMessageW(main, WM_COMMAND, MAKEWPARAM(0, BN_CLICKED), (LPARAM)apply);
        if (!run.WaitForRequest(mark, IOCTL_POST_MASK)) {
            fprintf(stderr, "the service did not reload\n");
            return 1;
        }
        for (const SimLogEntry& e : run.RequestsSince(mark))
            if (e.code == IOCTL_SET_DPI_STAGE) {
                reload.push_back(TicksMs(e.time - t0));
                break;
            }
    }
    Print("empty post-and-reply to the service window", ping);
    Print("Apply to the service reading Config.xml", reload);
    printf("  target: under 50 ms: %.1f ms -> %s\n", Percentile(reload, 50), Percentile(reload, 50) < 50 ? "met" : "NOT met");
    return 0;
}
