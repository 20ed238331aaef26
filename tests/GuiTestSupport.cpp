#include "GuiTestSupport.h"
#include "TestSupport.h"
#include "framework/CWnd.h"
#include <objidl.h>
#include <gdiplus.h>
#include <algorithm>
#include <atomic>
#include <cstring>
#include <cstdio>
#include <cwchar>
#include <thread>
#include <vector>

namespace {

// The PNG encoder of GDI+.
const CLSID kPngEncoder = {0x557CF406, 0x1A04, 0x11D3, {0x9A, 0x73, 0x00, 0x00, 0xF8, 0x1E, 0xF3, 0x2E}};

bool StartGdiplus()
{
    static ULONG_PTR token = 0;
    static bool started = [] {
        Gdiplus::GdiplusStartupInput input;
        return Gdiplus::GdiplusStartup(&token, &input, nullptr) == Gdiplus::Ok;
    }();
    return started;
}

void SendMouse(DWORD flags, LONG dx = 0, LONG dy = 0)
{
    INPUT in = {};
    in.type = INPUT_MOUSE;
    in.mi.dx = dx;
    in.mi.dy = dy;
    in.mi.dwFlags = flags;
    SendInput(1, &in, sizeof(in));
}

}  // namespace

CString ScreenshotDir()
{
    CString rel = ExeDir() + L"..\\..\\screenshots\\";
    wchar_t full[MAX_PATH];
    DWORD n = GetFullPathNameW(rel, MAX_PATH, full, nullptr);
    CString dir = (n && n < MAX_PATH) ? CString(full) : rel;
    CreateDirectoryW(dir, nullptr);
    return dir;
}

namespace {

// The pixels of a rectangle of a DC (window DC or screen), top-down rows of 0x00RRGGBB.
std::vector<DWORD> CaptureDc(HDC source, int x, int y, int w, int h)
{
    std::vector<DWORD> pixels;
    BITMAPINFO bi = {};
    bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
    bi.bmiHeader.biWidth = w;
    bi.bmiHeader.biHeight = -h;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HDC mem = CreateCompatibleDC(source);
    HBITMAP dib = CreateDIBSection(source, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (dib && bits) {
        HGDIOBJ old = SelectObject(mem, dib);
        BitBlt(mem, 0, 0, w, h, source, x, y, SRCCOPY);
        GdiFlush();
        pixels.assign((DWORD*)bits, (DWORD*)bits + (size_t)w * h);
        for (DWORD& p : pixels) p &= 0x00FFFFFF;
        SelectObject(mem, old);
    }
    if (dib) DeleteObject(dib);
    DeleteDC(mem);
    return pixels;
}

}  // namespace

CString SavePixelsPng(std::vector<DWORD>& pixels, int w, int h, const wchar_t* name)
{
    if (pixels.empty() || !StartGdiplus()) return CString();
    CString path = ScreenshotDir() + name + L".png";
    Gdiplus::GpBitmap* bitmap = nullptr;
    if (Gdiplus::DllExports::GdipCreateBitmapFromScan0(w, h, w * 4, PixelFormat32bppRGB, (BYTE*)pixels.data(),
                                                       &bitmap) != Gdiplus::Ok)
        return CString();
    Gdiplus::Status s = Gdiplus::DllExports::GdipSaveImageToFile(bitmap, path, &kPngEncoder, nullptr);
    Gdiplus::DllExports::GdipDisposeImage(bitmap);
    return s == Gdiplus::Ok ? path : CString();
}

std::vector<DWORD> CaptureWindow(HWND hwnd, int* width, int* height)
{
    RECT r;
    if (!IsWindow(hwnd) || !GetWindowRect(hwnd, &r)) return {};
    int w = r.right - r.left;
    int h = r.bottom - r.top;
    if (w <= 0 || h <= 0) return {};
    HDC window = GetWindowDC(hwnd);
    std::vector<DWORD> pixels = CaptureDc(window, 0, 0, w, h);
    ReleaseDC(hwnd, window);
    *width = w;
    *height = h;
    return pixels;
}

CString SaveWindowPng(HWND hwnd, const wchar_t* name)
{
    int w = 0, h = 0;
    std::vector<DWORD> pixels = CaptureWindow(hwnd, &w, &h);
    return SavePixelsPng(pixels, w, h, name);
}

std::vector<DWORD> CaptureScreen(const RECT& r)
{
    int w = r.right - r.left;
    int h = r.bottom - r.top;
    if (w <= 0 || h <= 0) return {};
    HDC screen = GetDC(nullptr);
    std::vector<DWORD> pixels = CaptureDc(screen, r.left, r.top, w, h);
    ReleaseDC(nullptr, screen);
    return pixels;
}

CString SaveScreenPng(const RECT& r, const wchar_t* name)
{
    std::vector<DWORD> pixels = CaptureScreen(r);
    return SavePixelsPng(pixels, r.right - r.left, r.bottom - r.top, name);
}

std::vector<DWORD> BitmapPixels(HBITMAP bitmap, int* width, int* height)
{
    BITMAP bm = {};
    if (!bitmap || !GetObjectW(bitmap, sizeof(bm), &bm) || bm.bmWidth <= 0 || bm.bmHeight <= 0) return {};
    HDC mem = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(mem, bitmap);
    std::vector<DWORD> pixels = CaptureDc(mem, 0, 0, bm.bmWidth, bm.bmHeight);
    SelectObject(mem, old);
    DeleteDC(mem);
    *width = bm.bmWidth;
    *height = bm.bmHeight;
    return pixels;
}

CString SaveBitmapPng(HBITMAP bitmap, const wchar_t* name)
{
    int w = 0, h = 0;
    std::vector<DWORD> pixels = BitmapPixels(bitmap, &w, &h);
    return SavePixelsPng(pixels, w, h, name);
}

namespace {

// Under Wine a pointer move that one thread gives reaches the windows of another thread a
// second time, from the X server, as a move of their own; coming late, it would put the
// pointer back where an earlier move left it, under a press or a release that follows.
// Waits until the thread of the window under the point has taken in the moves so far: two
// answers of it in a row, so it has run its X events in between.
void LetTheWindowTakeTheMove(POINT p)
{
    HWND under = WindowFromPoint(p);
    if (!under || under == GetDesktopWindow() || GetWindowThreadProcessId(under, nullptr) == GetCurrentThreadId())
        return;
    // A request answered by the X server after the move: the server has made the move and
    // sent the window's thread its copy.
    HDC screen = GetDC(nullptr);
    GetPixel(screen, p.x, p.y);
    ReleaseDC(nullptr, screen);
    for (int i = 0; i < 2; ++i) {
        DWORD_PTR answer = 0;
        if (!SendMessageTimeoutW(under, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 5000, &answer)) return;
    }
}

}  // namespace

void MouseMoveTo(POINT p)
{
    // The system maps 0..65535 onto the screen by multiplying and dropping 16 bits; the
    // smallest value that lands on the pixel is taken.
    int w = GetSystemMetrics(SM_CXSCREEN);
    int h = GetSystemMetrics(SM_CYSCREEN);
    LONG dx = (LONG)(((LONGLONG)p.x * 65536 + w - 1) / w);
    LONG dy = (LONG)(((LONGLONG)p.y * 65536 + h - 1) / h);
    SendMouse(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, dx, dy);
    LetTheWindowTakeTheMove(p);
}

void MouseButton(bool left, bool down)
{
    SendMouse(left ? (down ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP)
                   : (down ? MOUSEEVENTF_RIGHTDOWN : MOUSEEVENTF_RIGHTUP));
}

void MouseClickAt(POINT p)
{
    MouseMoveTo(p);
    Sleep(30);
    MouseButton(true, true);
    Sleep(30);
    MouseButton(true, false);
}

void MouseWheel(int delta)
{
    INPUT in = {};
    in.type = INPUT_MOUSE;
    in.mi.dwFlags = MOUSEEVENTF_WHEEL;
    in.mi.mouseData = (DWORD)delta;
    SendInput(1, &in, sizeof(in));
}

void KeyTap(WORD vk, bool extended)
{
    INPUT in[2] = {};
    for (int i = 0; i < 2; ++i) {
        in[i].type = INPUT_KEYBOARD;
        in[i].ki.wVk = vk;
        in[i].ki.wScan = (WORD)MapVirtualKeyW(vk, MAPVK_VK_TO_VSC);
        in[i].ki.dwFlags = (extended ? KEYEVENTF_EXTENDEDKEY : 0) | (i ? KEYEVENTF_KEYUP : 0);
    }
    SendInput(2, in, sizeof(INPUT));
}

POINT ScreenCenter(HWND hwnd)
{
    RECT r = {};
    GetWindowRect(hwnd, &r);
    return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs)
{
    DWORD start = GetTickCount();
    for (;;) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (CWnd::WalkPreTranslateTree(nullptr, &msg)) continue;
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        if (done()) return true;
        if (GetTickCount() - start >= timeoutMs) return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
}

void PumpFor(DWORD ms)
{
    PumpUntil([] { return false; }, ms);
    PumpInput();
}

void WhilePersonActs(const std::function<void()>& acts, DWORD timeoutMs)
{
    std::atomic<bool> done{false};
    std::thread person([&] {
        acts();
        done = true;
    });
    PumpUntil([&] { return done.load(); }, timeoutMs);
    person.join();
    PumpInput();
}

bool PumpInput()
{
    int emptyInARow = 0;
    return PumpUntil([&] {
        emptyInARow = HIWORD(GetQueueStatus(QS_INPUT)) == 0 ? emptyInARow + 1 : 0;
        return emptyInARow >= 2;
    });
}

void DragWithTheMouse(POINT from, POINT to)
{
    WhilePersonActs([from, to] {
        MouseMoveTo(from);
        Sleep(150);
        MouseButton(true, true);
        Sleep(150);
        for (int i = 1; i <= 10; ++i) {
            MouseMoveTo(POINT{from.x + (to.x - from.x) * i / 10, from.y + (to.y - from.y) * i / 10});
            Sleep(60);
        }
        Sleep(150);
        MouseButton(true, false);
        Sleep(100);
    });
    PumpFor(200);
}

POINT TreeItemPoint(CTreeCtrl& tree, HTREEITEM item)
{
    tree.EnsureVisible(item);
    RECT r = {};
    tree.GetItemRect(item, &r, TRUE);
    POINT p = {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    tree.ClientToScreen(&p);
    return p;
}

POINT ListRowPoint(const CListBox& list, int row)
{
    RECT r = {};
    list.GetItemRect(row, &r);
    POINT p = {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    list.ClientToScreen(&p);
    return p;
}

bool WaitUntil(const std::function<bool()>& done, DWORD timeoutMs)
{
    DWORD start = GetTickCount();
    while (!done()) {
        if (GetTickCount() - start >= timeoutMs) return false;
        Sleep(10);
    }
    return true;
}

namespace {

struct WindowSearch {
    const wchar_t* cls;
    HWND found;
};

BOOL CALLBACK FindVisibleOfClass(HWND h, LPARAM l)
{
    WindowSearch* s = (WindowSearch*)l;
    wchar_t name[64];
    if (IsWindowVisible(h) && GetClassNameW(h, name, 64) && lstrcmpiW(name, s->cls) == 0) {
        s->found = h;
        return FALSE;
    }
    return TRUE;
}

}  // namespace

HWND FindThreadWindow(DWORD threadId, const wchar_t* className)
{
    WindowSearch search = {className, nullptr};
    EnumThreadWindows(threadId, &FindVisibleOfClass, (LPARAM)&search);
    return search.found;
}

HGLOBAL TextBlock(const wchar_t* text)
{
    size_t bytes = (wcslen(text) + 1) * sizeof(wchar_t);
    HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, bytes);
    if (h) {
        memcpy(GlobalLock(h), text, bytes);
        GlobalUnlock(h);
    }
    return h;
}

PeerWindow::PeerWindow(const wchar_t* title, DWORD style)
{
    CreateEx(0, RegisterWndClass(0, nullptr, (HBRUSH)GetStockObject(WHITE_BRUSH)), title, style, 300, 300, 320, 200,
             nullptr, nullptr);
}

std::vector<PeerWindow::Message> PeerWindow::Of(UINT message) const
{
    std::vector<Message> out;
    for (const Message& m : received)
        if (m.message == message) out.push_back(m);
    return out;
}

LRESULT PeerWindow::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message >= WM_USER && message < 0xC000) {
        received.push_back({message, wParam, lParam});
        return 1;
    }
    return CWnd::DefWindowProc(message, wParam, lParam);
}

namespace {

std::string Narrow(const wchar_t* text)
{
    std::string out;
    for (const wchar_t* c = text; *c; ++c) out += *c < 128 && *c >= 32 ? (char)*c : '?';
    return out;
}

std::string RectText(const RECT& r)
{
    return "(" + std::to_string(r.left) + ", " + std::to_string(r.top) + ")-(" + std::to_string(r.right) + ", " +
           std::to_string(r.bottom) + ")";
}

// A window's wait runs its messages when the window is this thread's.
bool WaitForWindow(HWND hwnd, const std::function<bool()>& done, DWORD timeoutMs)
{
    bool own = hwnd && GetWindowThreadProcessId(hwnd, nullptr) == GetCurrentThreadId();
    return own ? PumpUntil(done, timeoutMs) : WaitUntil(done, timeoutMs);
}

BOOL CALLBACK FindChildToPaint(HWND h, LPARAM l)
{
    RECT r;
    if (IsWindowVisible(h) && GetUpdateRect(h, &r, FALSE)) {
        *(HWND*)l = h;
        return FALSE;
    }
    return TRUE;
}

// The window, or a visible child of it, that has something left to paint; null when none.
HWND LeftToPaint(HWND hwnd)
{
    RECT r;
    if (GetUpdateRect(hwnd, &r, FALSE)) return hwnd;
    HWND child = nullptr;
    EnumChildWindows(hwnd, &FindChildToPaint, (LPARAM)&child);
    return child;
}

// How many of the window's pixels (inside its region and the screen) the screen shows
// otherwise; -1 when its pixels cannot be read.
long PixelsNotOnScreen(HWND hwnd)
{
    int w = 0, h = 0;
    std::vector<DWORD> own = CaptureWindow(hwnd, &w, &h);
    RECT r = {};
    GetWindowRect(hwnd, &r);
    std::vector<DWORD> screen = CaptureScreen(r);
    if (own.empty() || screen.size() != own.size()) return -1;
    HRGN region = CreateRectRgn(0, 0, 0, 0);
    bool cut = GetWindowRgn(hwnd, region) != ERROR;
    // The client area only: a window manager draws the frame of a captioned window itself.
    RECT client = {};
    GetClientRect(hwnd, &client);
    MapWindowPoints(hwnd, nullptr, (POINT*)&client, 2);
    OffsetRect(&client, -r.left, -r.top);
    const int sw = GetSystemMetrics(SM_CXSCREEN), sh = GetSystemMetrics(SM_CYSCREEN);
    long differ = 0;
    for (int y = std::max(0L, client.top); y < std::min((LONG)h, client.bottom); ++y) {
        if (r.top + y < 0 || r.top + y >= sh) continue;
        for (int x = std::max(0L, client.left); x < std::min((LONG)w, client.right); ++x) {
            if (r.left + x < 0 || r.left + x >= sw) continue;
            if (cut && !PtInRegion(region, x, y)) continue;
            if (own[(size_t)y * w + x] != screen[(size_t)y * w + x]) ++differ;
        }
    }
    DeleteObject(region);
    return differ;
}

bool Shown(HWND hwnd)
{
    RECT r = {};
    return IsWindow(hwnd) && IsWindowVisible(hwnd) && !IsIconic(hwnd) && GetWindowRect(hwnd, &r) &&
           r.right > r.left && r.bottom > r.top;
}

}  // namespace

std::string DescribeWindow(HWND hwnd)
{
    if (!hwnd) return "no window";
    if (!IsWindow(hwnd)) return "a window that is gone";
    wchar_t cls[64] = {}, title[96] = {};
    GetClassNameW(hwnd, cls, 64);
    GetWindowTextW(hwnd, title, 96);
    RECT r = {};
    GetWindowRect(hwnd, &r);
    char handle[32];
    snprintf(handle, sizeof handle, "%p", (void*)hwnd);
    return std::string("window ") + handle + " (" + Narrow(cls) + " \"" + Narrow(title) + "\", " +
           (IsWindowVisible(hwnd) ? "visible" : "hidden") + (IsIconic(hwnd) ? ", minimised" : "") +
           (IsWindowEnabled(hwnd) ? ", enabled" : ", disabled") + ", at " + RectText(r) + ")";
}

testing::AssertionResult WindowShown(HWND hwnd, DWORD timeoutMs)
{
    HWND unpainted = nullptr;
    if (WaitForWindow(hwnd, [&] { return Shown(hwnd) && (unpainted = LeftToPaint(hwnd)) == nullptr; }, timeoutMs))
        return testing::AssertionSuccess();
    testing::AssertionResult r = testing::AssertionFailure();
    r << "waited " << timeoutMs << " ms for " << DescribeWindow(hwnd) << " to be shown and painted; ";
    if (!Shown(hwnd)) return r << "it is not shown";
    return r << "still to paint: " << DescribeWindow(LeftToPaint(hwnd));
}

testing::AssertionResult WindowOnScreen(HWND hwnd, DWORD timeoutMs)
{
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    const bool ours = pid == GetCurrentProcessId();
    long differ = 0;
    RECT seen = {}, last = {};
    int inARow = 0;
    bool done = WaitForWindow(
        hwnd,
        [&] {
            if (!Shown(hwnd) || LeftToPaint(hwnd)) {
                inARow = 0;
                return false;
            }
            GetWindowRect(hwnd, &seen);
            differ = ours ? PixelsNotOnScreen(hwnd) : 0;
            inARow = differ == 0 && (inARow == 0 || EqualRect(&seen, &last)) ? inARow + 1 : 0;
            last = seen;
            return inARow >= 2;
        },
        timeoutMs);
    if (done) return testing::AssertionSuccess();
    testing::AssertionResult r = testing::AssertionFailure();
    r << "waited " << timeoutMs << " ms for " << DescribeWindow(hwnd) << " to show on the screen at its place; ";
    if (!Shown(hwnd)) return r << "it is not shown";
    if (HWND left = LeftToPaint(hwnd)) return r << "still to paint: " << DescribeWindow(left);
    return r << differ << " of its pixels are not on the screen there";
}

testing::AssertionResult WindowPlaced(HWND hwnd, const RECT& expected, DWORD timeoutMs)
{
    RECT seen = {};
    if (WaitForWindow(hwnd, [&] { return GetWindowRect(hwnd, &seen) && EqualRect(&seen, &expected); }, timeoutMs))
        return testing::AssertionSuccess();
    return testing::AssertionFailure() << "waited " << timeoutMs << " ms for " << DescribeWindow(hwnd) << " to be at "
                                       << RectText(expected) << "; it is at " << RectText(seen);
}

testing::AssertionResult WindowInFront(HWND hwnd, DWORD timeoutMs)
{
    HWND root = GetAncestor(hwnd, GA_ROOT);
    if (WaitForWindow(hwnd, [&] { return GetForegroundWindow() == root; }, timeoutMs))
        return testing::AssertionSuccess();
    return testing::AssertionFailure() << "waited " << timeoutMs << " ms for " << DescribeWindow(root)
                                       << " to be in front; in front is " << DescribeWindow(GetForegroundWindow());
}

testing::AssertionResult ShowAt(HWND hwnd, const RECT& place, bool inFront, DWORD timeoutMs)
{
    const int w = place.right - place.left, h = place.bottom - place.top;
    SetWindowPos(hwnd, HWND_TOP, place.left, place.top, w, h, SWP_SHOWWINDOW | (inFront ? 0 : SWP_NOACTIVATE));
    if (inFront) SetForegroundWindow(hwnd);
    RECT seen = {};
    long differ = 0;
    int inARow = 0;
    bool done = WaitForWindow(
        hwnd,
        [&] {
            GetWindowRect(hwnd, &seen);
            if (IsWindowVisible(hwnd) && !EqualRect(&seen, &place)) {
                SetWindowPos(hwnd, nullptr, place.left, place.top, w, h, SWP_NOZORDER | SWP_NOACTIVATE);
                inARow = 0;
                return false;
            }
            if (inFront && GetForegroundWindow() != hwnd) {
                SetForegroundWindow(hwnd);
                inARow = 0;
                return false;
            }
            differ = Shown(hwnd) && !LeftToPaint(hwnd) ? PixelsNotOnScreen(hwnd) : -1;
            inARow = differ == 0 ? inARow + 1 : 0;
            return inARow >= 2;
        },
        timeoutMs);
    if (done) return testing::AssertionSuccess();
    return testing::AssertionFailure() << "waited " << timeoutMs << " ms for " << DescribeWindow(hwnd) << " to show at "
                                       << RectText(place) << ", painted" << (inFront ? " and in front" : "")
                                       << "; in front is "
                                       << DescribeWindow(GetForegroundWindow()) << ", and "
                                       << (differ < 0 ? std::string("it is not shown and painted")
                                                      : std::to_string(differ) + " of its pixels are not on the screen");
}

namespace {

// centre: the point is the window's centre wherever the window is by then.
testing::AssertionResult TakesClick(HWND hwnd, POINT& p, bool centre, DWORD timeoutMs)
{
    HWND under = nullptr;
    auto takes = [&] {
        HWND root = GetAncestor(hwnd, GA_ROOT);
        if (centre) p = ScreenCenter(hwnd);
        under = WindowFromPoint(p);
        return Shown(hwnd) && IsWindowEnabled(hwnd) && IsWindowEnabled(root) && (under == hwnd || IsChild(hwnd, under));
    };
    if (WaitForWindow(hwnd, takes, timeoutMs)) return testing::AssertionSuccess();
    return testing::AssertionFailure() << "waited " << timeoutMs << " ms for " << DescribeWindow(hwnd)
                                       << " to take a click at (" << p.x << ", " << p.y << "); under the point is "
                                       << DescribeWindow(under) << ", its top-level window "
                                       << DescribeWindow(GetAncestor(hwnd, GA_ROOT));
}

}  // namespace

testing::AssertionResult TakesClickAt(HWND hwnd, POINT p, DWORD timeoutMs)
{
    return TakesClick(hwnd, p, false, timeoutMs);
}

testing::AssertionResult ClickOn(HWND hwnd, POINT p, DWORD timeoutMs)
{
    testing::AssertionResult ready = TakesClick(hwnd, p, false, timeoutMs);
    if (ready) MouseClickAt(p);
    return ready;
}

testing::AssertionResult ClickOn(HWND hwnd, DWORD timeoutMs)
{
    POINT p = {};
    testing::AssertionResult ready = TakesClick(hwnd, p, true, timeoutMs);
    if (ready) MouseClickAt(p);
    return ready;
}
