#pragma once
#include <windows.h>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

// A top-level window of the test process on a thread of its own, standing in for a
// program that another process talks to: it records every key message and every
// WM_USER-based message it gets, with the performance-counter time it arrived at, and
// answers 1 to the latter. Shown, it can take the focus and receive typed keys.
class RecordingWindow {
public:
    struct Message {
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
        int64_t time;  // QueryPerformanceCounter
    };

    RecordingWindow(const wchar_t* title, bool visible);
    ~RecordingWindow();
    RecordingWindow(const RecordingWindow&) = delete;
    RecordingWindow& operator=(const RecordingWindow&) = delete;

    HWND Handle() const { return m_hwnd; }
    // Brings the window to the front with the keyboard focus; true once it is there.
    bool TakeFocus();
    // Key messages (WM_KEYDOWN, WM_KEYUP, WM_SYSKEYDOWN, WM_SYSKEYUP) so far.
    std::vector<Message> Keys() const;
    // WM_USER-based messages with that number so far.
    std::vector<Message> Of(UINT message) const;
    void Clear();
    // Waits until `count` key messages (or messages of that number) arrived; false when the
    // guard time ran out first.
    bool WaitForKeys(size_t count, DWORD guardMs = 10000) const;
    bool WaitFor(UINT message, size_t count, DWORD guardMs = 10000) const;

private:
    static LRESULT CALLBACK WndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    void Run(const wchar_t* title, bool visible);
    bool WaitUntil(DWORD guardMs, const std::function<bool()>& done) const;

    HWND m_hwnd = nullptr;
    DWORD m_threadId = 0;
    std::thread m_thread;
    mutable std::mutex m_lock;
    mutable std::condition_variable m_changed;
    std::vector<Message> m_keys;
    std::vector<Message> m_messages;
};

// The performance counter's ticks as milliseconds.
double TicksToMs(int64_t ticks);
