#include "ServiceFakes.h"

void FakeClock::Sleep(DWORD ms)
{
    std::lock_guard<std::mutex> g(m_lock);
    m_waits.push_back(ms);
    m_ticks += ms;
}

DWORD FakeClock::TickCount()
{
    std::lock_guard<std::mutex> g(m_lock);
    return m_ticks;
}

std::vector<DWORD> FakeClock::Waits() const
{
    std::lock_guard<std::mutex> g(m_lock);
    return m_waits;
}

void FakeClock::Clear()
{
    std::lock_guard<std::mutex> g(m_lock);
    m_waits.clear();
}

int FakeClock::Count(DWORD ms) const
{
    std::lock_guard<std::mutex> g(m_lock);
    int n = 0;
    for (DWORD w : m_waits) n += w == ms;
    return n;
}

UINT InputRecorder::Send(const INPUT& input)
{
    std::lock_guard<std::mutex> g(m_lock);
    m_inputs.push_back(input);
    return 1;
}

std::vector<INPUT> InputRecorder::Inputs() const
{
    std::lock_guard<std::mutex> g(m_lock);
    return m_inputs;
}

void InputRecorder::Clear()
{
    std::lock_guard<std::mutex> g(m_lock);
    m_inputs.clear();
}

ServiceSeamGuard::ServiceSeamGuard(IDeviceSeam* device, IInputSeam* input, IClockSeam* clock,
                                   IForegroundSeam* foreground, IMouseSettingsSeam* mouseSettings)
{
    SetDeviceSeam(device);
    SetInputSeam(input);
    SetClockSeam(clock);
    SetForegroundSeam(foreground);
    SetMouseSettingsSeam(mouseSettings);
}

ServiceSeamGuard::~ServiceSeamGuard()
{
    SetDeviceSeam(nullptr);
    SetInputSeam(nullptr);
    SetClockSeam(nullptr);
    SetForegroundSeam(nullptr);
    SetMouseSettingsSeam(nullptr);
}
