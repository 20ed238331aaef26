#pragma once
#include "service/ServiceSeams.h"
#include <mutex>
#include <vector>

// Stand-ins for the seams a test cannot observe for real. Install them with the Set*Seam
// functions (ServiceSeamGuard below does it for one test and restores the real ones).

// Records every wait instead of sleeping; the tick count moves on by the waits.
class FakeClock : public IClockSeam {
public:
    void Sleep(DWORD ms) override;
    DWORD TickCount() override;
    std::vector<DWORD> Waits() const;
    void Clear();
    // How often a wait of exactly ms was recorded.
    int Count(DWORD ms) const;

private:
    mutable std::mutex m_lock;
    std::vector<DWORD> m_waits;
    DWORD m_ticks = 100000;
};

class FakeForeground : public IForegroundSeam {
public:
    HWND window = nullptr;
    CString processName;
    bool processListReadable = true;
    HWND Window() override { return window; }
    bool LookUpProcessName(CString& name) override
    {
        name = processListReadable ? processName : CString();
        return processListReadable;
    }
};

class FakeMouseSettings : public IMouseSettingsSeam {
public:
    struct Call {
        char what;  // 'D' double-click time, 'S' mouse speed, 'W' wheel lines
        int value;
        bool operator==(const Call& o) const { return what == o.what && value == o.value; }
    };
    std::vector<Call> calls;
    void SetDoubleClickTime(UINT ms) override { calls.push_back({'D', (int)ms}); }
    void SetMouseSpeed(int speed) override { calls.push_back({'S', speed}); }
    void SetWheelScrollLines(UINT lines) override { calls.push_back({'W', (int)lines}); }
};

// Records every INPUT record handed to SendInput.
class InputRecorder : public IInputSeam {
public:
    UINT Send(const INPUT& input) override;
    std::vector<INPUT> Inputs() const;
    void Clear();

private:
    mutable std::mutex m_lock;
    std::vector<INPUT> m_inputs;
};

// Installs the given fakes (null keeps the real one) and restores the real seams at the
// end of the scope.
class ServiceSeamGuard {
public:
    ServiceSeamGuard(IDeviceSeam* device, IInputSeam* input, IClockSeam* clock, IForegroundSeam* foreground,
                     IMouseSettingsSeam* mouseSettings);
    ~ServiceSeamGuard();
    ServiceSeamGuard(const ServiceSeamGuard&) = delete;
    ServiceSeamGuard& operator=(const ServiceSeamGuard&) = delete;
};
