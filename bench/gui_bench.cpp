// The configuration program's two waits a person feels, each beside the same measurement
// of the least a Windows program can do, taking turns in the same run:
// 1. Start-up: from starting Gearloom.exe to its main window painted (a pixel of its skin
//    seen on its window), beside an empty Win32 program (this program started again with
//    --empty-window) from its start to its one window painted.
//    Targets: under 300 ms, and within 3 times the empty program's start.
// 2. Apply: from Apply in the main window (its click, as the button reports it) to the real
//    Portwarden.exe having read the new "Config.xml" (its first request to the simulated
//    mouse after reading it), beside an empty post-and-reply to the service window.
//    Target: under 50 ms with the default configuration.
#include "BenchTiming.h"
#include "GearloomRun.h"
#include "SuiteRun.h"
#include "GuiTestSupport.h"
#include "service/DriverLink.h"
#include "core/Messages.h"
#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

const int START_ROUNDS = 12;
const int APPLY_ROUNDS = 30;
const COLORREF EMPTY_COLOUR = RGB(20, 160, 240);
const DWORD GUARD_MS = 30000;

void Print(const char* what, const std::vector<double>& v)
{
    printf("  %-44s median %7.1f ms  p90 %7.1f ms  max %7.1f ms  (%zu)\n", what, Percentile(v, 50),
           Percentile(v, 90), v.empty() ? 0.0 : *std::max_element(v.begin(), v.end()), v.size());
}

LRESULT CALLBACK EmptyProc(HWND h, UINT m, WPARAM w, LPARAM l)
{
    if (m == WM_DESTROY) PostQuitMessage(0);
    return DefWindowProcW(h, m, w, l);
}

// The empty program: one window of one colour until it is closed.
int RunEmptyWindow()
{
    WNDCLASSW wc = {};
    wc.lpfnWndProc = EmptyProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hbrBackground = CreateSolidBrush(EMPTY_COLOUR);
    wc.lpszClassName = L"GuiBenchEmpty";
    RegisterClassW(&wc);
    CreateWindowExW(0, wc.lpszClassName, L"gui_bench empty window", WS_POPUP | WS_VISIBLE, 100, 100, 300, 200,
                    nullptr, nullptr, wc.hInstance, nullptr);
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

// Milliseconds from the process start to the window of that title showing that colour at
// that point; negative when it did not come.
double StartUntilPainted(const CString& exe, const wchar_t* args, const CString& folder, const wchar_t* title,
                         POINT at, COLORREF colour)
{
    int64_t t0 = Now();
    HANDLE process = Start(exe, args, folder);
    if (!process) return -1;
    double ms = -1;
    for (DWORD start = GetTickCount(); GetTickCount() - start < GUARD_MS;) {
        HWND h = FindWindowW(nullptr, title);
        if (h && IsWindowVisible(h)) {
            HDC dc = GetWindowDC(h);
            COLORREF c = GetPixel(dc, at.x, at.y);
            ReleaseDC(h, dc);
            if (c == colour) {
                ms = TicksMs(Now() - t0);
                PostMessageW(h, WM_CLOSE, 0, 0);
                break;
            }
        }
        if (WaitForSingleObject(process, 0) == WAIT_OBJECT_0) break;
        Sleep(0);
    }
    if (WaitForSingleObject(process, GUARD_MS) != WAIT_OBJECT_0) TerminateProcess(process, 1);
    CloseHandle(process);
    return ms;
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

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc > 1 && wcscmp(argv[1], L"--empty-window") == 0) return RunEmptyWindow();

    SuiteRun run;
    GearloomRun program(run);
    if (!run.WriteConfig(*SuiteRun::DefaultConfig())) return 1;
    wchar_t self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    POINT at = {0, 0};
    COLORREF skin = 0;
    if (!SkinPoint(run.AppDir() + L"skins\\main_normal.bmp", &at, &skin)) {
        fprintf(stderr, "no skin picture\n");
        return 1;
    }

    printf("Start-up to the main window painted (no service running), %d rounds taking turns:\n", START_ROUNDS);
    std::vector<double> empty, gearloom;
    for (int i = 0; i < START_ROUNDS; ++i) {
        double e = StartUntilPainted(self, L" --empty-window", run.AppDir(), L"gui_bench empty window", POINT{150, 100},
                                     EMPTY_COLOUR);
        double g = StartUntilPainted(run.AppDir() + L"Gearloom.exe", L"", run.AppDir(), GEARLOOM_MAIN_TITLE, at, skin);
        if (e < 0 || g < 0) {
            fprintf(stderr, "a window did not come (empty %.1f, Gearloom %.1f)\n", e, g);
            return 1;
        }
        empty.push_back(e);
        gearloom.push_back(g);
    }
    Print("empty Win32 program", empty);
    Print("Gearloom.exe", gearloom);
    double ratio = Percentile(gearloom, 50) / Percentile(empty, 50);
    printf("  target: within 3x the empty program: %.2fx -> %s\n", ratio, ratio <= 3 ? "met" : "NOT met");
    printf("  target: under 300 ms: %.1f ms -> %s\n", Percentile(gearloom, 50),
           Percentile(gearloom, 50) < 300 ? "met" : "NOT met");

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
