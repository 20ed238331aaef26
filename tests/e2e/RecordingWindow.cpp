#include "RecordingWindow.h"
#include "TestSupport.h"
#include <functional>

static const wchar_t* CLASS_NAME = L"ThxRecordingWindow";

double TicksToMs(int64_t ticks)
{
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    return (double)ticks * 1000.0 / (double)frequency.QuadPart;
}

RecordingWindow::RecordingWindow(const wchar_t* title, bool visible)
{
    std::mutex ready;
    std::condition_variable made;
    bool done = false;
    m_thread = std::thread([&, title, visible] {
        Run(title, visible);
        {
            std::lock_guard<std::mutex> g(ready);
            done = true;
        }
        made.notify_all();
        MSG msg;
        while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    });
    std::unique_lock<std::mutex> g(ready);
    made.wait(g, [&] { return done; });
}

RecordingWindow::~RecordingWindow()
{
    if (m_hwnd) PostMessageW(m_hwnd, WM_CLOSE, 0, 0);
    else if (m_threadId) PostThreadMessageW(m_threadId, WM_QUIT, 0, 0);
    m_thread.join();
}

void RecordingWindow::Run(const wchar_t* title, bool visible)
{
    m_threadId = GetCurrentThreadId();
    WNDCLASSW wc = {};
    wc.lpfnWndProc = WndProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursorW(nullptr, (LPCWSTR)IDC_ARROW);
    wc.hbrBackground = (HBRUSH)(COLOR_WINDOW + 1);
    wc.lpszClassName = CLASS_NAME;
    RegisterClassW(&wc);  // a second window finds the class already there
    m_hwnd = CreateWindowExW(0, CLASS_NAME, title, visible ? WS_OVERLAPPEDWINDOW : WS_POPUP, 200, 200, 400, 200,
                             nullptr, nullptr, wc.hInstance, this);
    if (m_hwnd && visible) {
        ShowWindow(m_hwnd, SW_SHOW);
        UpdateWindow(m_hwnd);
    }
}

LRESULT CALLBACK RecordingWindow::WndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    if (message == WM_NCCREATE)
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, (LONG_PTR)((CREATESTRUCTW*)lParam)->lpCreateParams);
    RecordingWindow* self = (RecordingWindow*)GetWindowLongPtrW(hwnd, GWLP_USERDATA);
    bool key = message == WM_KEYDOWN || message == WM_KEYUP || message == WM_SYSKEYDOWN || message == WM_SYSKEYUP;
    bool user = message >= WM_USER && message < 0xC000;
    if (self && (key || user)) {
        {
            std::lock_guard<std::mutex> g(self->m_lock);
            (key ? self->m_keys : self->m_messages).push_back({message, wParam, lParam, now.QuadPart});
        }
        self->m_changed.notify_all();
        if (user) return 1;
    }
    if (message == WM_DESTROY) {
        if (self) self->m_hwnd = nullptr;
        PostQuitMessage(0);
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

bool RecordingWindow::TakeFocus()
{
    for (DWORD start = GetTickCount(); GetTickCount() - start < WINDOW_WAIT_MS; Sleep(20)) {
        SetForegroundWindow(m_hwnd);
        if (GetForegroundWindow() == m_hwnd) {
            GUITHREADINFO info = {};
            info.cbSize = sizeof(info);
            if (GetGUIThreadInfo(m_threadId, &info) && info.hwndFocus == m_hwnd) return true;
        }
    }
    return false;
}

std::vector<RecordingWindow::Message> RecordingWindow::Keys() const
{
    std::lock_guard<std::mutex> g(m_lock);
    return m_keys;
}

std::vector<RecordingWindow::Message> RecordingWindow::Of(UINT message) const
{
    std::lock_guard<std::mutex> g(m_lock);
    std::vector<Message> out;
    for (const Message& m : m_messages)
        if (m.message == message) out.push_back(m);
    return out;
}

void RecordingWindow::Clear()
{
    std::lock_guard<std::mutex> g(m_lock);
    m_keys.clear();
    m_messages.clear();
}

bool RecordingWindow::WaitUntil(DWORD guardMs, const std::function<bool()>& done) const
{
    std::unique_lock<std::mutex> g(m_lock);
    return m_changed.wait_for(g, std::chrono::milliseconds(guardMs), done);
}

bool RecordingWindow::WaitForKeys(size_t count, DWORD guardMs) const
{
    return WaitUntil(guardMs, [&] { return m_keys.size() >= count; });
}

bool RecordingWindow::WaitFor(UINT message, size_t count, DWORD guardMs) const
{
    return WaitUntil(guardMs, [&] {
        size_t n = 0;
        for (const Message& m : m_messages) n += m.message == message;
        return n >= count;
    });
}
