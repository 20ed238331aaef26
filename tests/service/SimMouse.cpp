#include "SimMouse.h"
#include "service/DriverLink.h"
#include <cstring>

std::vector<BYTE> Bytes(std::initializer_list<int> values)
{
    std::vector<BYTE> out;
    for (int v : values) out.push_back((BYTE)v);
    return out;
}

std::vector<BYTE> DwordBytes(DWORD value)
{
    return Bytes({(int)(value & 0xFF), (int)((value >> 8) & 0xFF), (int)((value >> 16) & 0xFF), (int)(value >> 24)});
}

SimMouse::SimMouse() = default;

HANDLE SimMouse::Open()
{
    if (onOpen) onOpen();
    std::lock_guard<std::mutex> g(m_lock);
    if (!m_present) {
        SetLastError(ERROR_FILE_NOT_FOUND);
        return INVALID_HANDLE_VALUE;
    }
    ++m_opens;
    HANDLE h = reinterpret_cast<HANDLE>((INT_PTR)(0x51500 + m_opens * 4));
    m_open.push_back(h);
    return h;
}

void SimMouse::Close(HANDLE device)
{
    std::lock_guard<std::mutex> g(m_lock);
    for (size_t i = 0; i < m_open.size(); ++i) {
        if (m_open[i] == device) {
            m_open.erase(m_open.begin() + i);
            return;
        }
    }
}

BOOL SimMouse::Control(HANDLE device, DWORD code, void* in, DWORD inSize, void* out, DWORD outSize, DWORD* returned)
{
    std::lock_guard<std::mutex> g(m_lock);
    Request r;
    r.code = code;
    if (in && inSize) r.in.assign((BYTE*)in, (BYTE*)in + inSize);
    r.outSize = outSize;
    r.device = device;
    r.ok = false;
    if (returned) *returned = 0;

    bool known = false;
    for (HANDLE h : m_open) known = known || h == device;
    auto fail = m_failures.find(code);
    if (!known) {
        SetLastError(ERROR_INVALID_HANDLE);
    } else if (fail != m_failures.end() && fail->second != 0) {
        if (fail->second > 0) --fail->second;
        SetLastError(ERROR_GEN_FAILURE);
    } else {
        r.ok = Answer(code, (const BYTE*)in, inSize, (BYTE*)out, outSize, returned);
    }
    m_log.push_back(r);
    return r.ok ? TRUE : FALSE;
}

bool SimMouse::Answer(DWORD code, const BYTE* in, DWORD inSize, BYTE* out, DWORD outSize, DWORD* returned)
{
    auto needIn = [&](DWORD n) { return in && inSize >= n; };
    auto give = [&](const void* data, DWORD n) {
        if (!out || outSize < n) return false;
        std::memcpy(out, data, n);
        if (returned) *returned = n;
        return true;
    };
    // The event link works as long as the driver is there; the rest needs the mouse.
    bool linkRequest = code == IOCTL_REGISTER_EVENT || code == IOCTL_UNREGISTER_EVENT || code == IOCTL_GET_EVENT ||
                       code == IOCTL_SET_INTERCEPTION_MASK;
    if (!m_connected && !linkRequest) {
        SetLastError(ERROR_DEVICE_NOT_CONNECTED);
        return false;
    }
    State& s = m_state;
    switch (code) {
    case IOCTL_REGISTER_EVENT:
        if (inSize != sizeof(HANDLE)) return false;
        std::memcpy(&m_semaphore, in, sizeof(HANDLE));
        if (!m_events.empty()) ReleaseSemaphore(m_semaphore, (LONG)m_events.size(), nullptr);
        return true;
    case IOCTL_UNREGISTER_EVENT:
        m_semaphore = nullptr;
        return true;
    case IOCTL_GET_EVENT: {
        if (!needIn(4) || m_events.empty()) return false;
        DWORD word = m_events.front();
        m_events.pop_front();
        return give(&word, 4);
    }
    case IOCTL_SET_INTERCEPTION_MASK:
        if (!needIn(4)) return false;
        std::memcpy(&s.mask, in, 4);
        return true;
    case IOCTL_SET_SENSITIVITY_X:
    case IOCTL_SET_SENSITIVITY_Y: {
        if (!needIn(4)) return false;
        INT32 v;
        std::memcpy(&v, in, 4);
        (code == IOCTL_SET_SENSITIVITY_X ? s.sensX : s.sensY) = v;
        return true;
    }
    case IOCTL_PRE_SENSITIVITY:
    case IOCTL_PRE_LED_COLOR:
        return needIn(1) && in[0] == 1;
    case IOCTL_POST_MASK:
        return needIn(1) && in[0] == 0;
    case IOCTL_SET_POLLING_RATE:
        if (!needIn(1)) return false;
        s.pollingRate = in[0];
        return true;
    case IOCTL_GET_POLLING_RATE: {
        BYTE v = (BYTE)s.pollingRate;
        return give(&v, 1);
    }
    case IOCTL_GET_FIRMWARE_VERSION: {
        BYTE v[2] = {s.fwLow, s.fwHigh};
        return give(v, 2);
    }
    case IOCTL_SET_LED_COLOR:
        if (!needIn(3)) return false;
        s.r = in[0], s.g = in[1], s.b = in[2];
        return true;
    case IOCTL_GET_LED_COLOR: {
        BYTE v[3] = {s.r, s.g, s.b};
        return needIn(3) && give(v, 3);
    }
    case IOCTL_SET_DPI_STAGE:
        if (!needIn(1)) return false;
        s.stage = in[0];
        return true;
    case IOCTL_GET_DPI_STAGE: {
        BYTE v = (BYTE)s.stage;
        return give(&v, 1);
    }
    case IOCTL_SET_LED_INTENSITY:
        if (!needIn(1)) return false;
        s.intensity = (signed char)in[0];
        return true;
    case IOCTL_GET_LED_INTENSITY: {
        BYTE v = (BYTE)s.intensity;
        return give(&v, 1);
    }
    case IOCTL_SET_LED_PULSATION:
        if (!needIn(1)) return false;
        s.pulsation = (signed char)in[0];
        return true;
    case IOCTL_GET_LED_PULSATION: {
        BYTE v = (BYTE)s.pulsation;
        return give(&v, 1);
    }
    case IOCTL_GET_FIRMWARE_INFO:
        return give(s.fwInfo, 16);
    case IOCTL_FIRMWARE_UPDATE_START:
    case IOCTL_FIRMWARE_UPDATE_END:
        // The mouse re-enumerates: the driver reports an arrival.
        if (code == IOCTL_FIRMWARE_UPDATE_START && !needIn(2)) return false;
        m_events.push_back(EVENT_ARRIVAL);
        if (m_semaphore) ReleaseSemaphore(m_semaphore, 1, nullptr);
        return true;
    case IOCTL_FIRMWARE_ERASE:
        s.blocks.clear();
        return true;
    case IOCTL_FIRMWARE_WRITE_BLOCK:
        if (!needIn(514)) return false;
        s.blocks.emplace_back(in, in + 514);
        return true;
    case IOCTL_POST_RELOAD:
        return true;
    default:
        SetLastError(ERROR_INVALID_FUNCTION);
        return false;
    }
}

void SimMouse::SetPresent(bool present)
{
    std::lock_guard<std::mutex> g(m_lock);
    m_present = present;
}

void SimMouse::Unplug()
{
    {
        std::lock_guard<std::mutex> g(m_lock);
        m_connected = false;
    }
    QueueEvent(EVENT_REMOVAL);
}

void SimMouse::Replug()
{
    {
        std::lock_guard<std::mutex> g(m_lock);
        m_connected = true;
    }
    QueueEvent(EVENT_ARRIVAL);
}

void SimMouse::FailRequest(DWORD code, int times)
{
    std::lock_guard<std::mutex> g(m_lock);
    m_failures[code] = times;
}

void SimMouse::QueueEvent(DWORD word)
{
    std::lock_guard<std::mutex> g(m_lock);
    m_events.push_back(word);
    if (m_semaphore) ReleaseSemaphore(m_semaphore, 1, nullptr);
}

std::vector<SimMouse::Request> SimMouse::Requests(bool withEventReads) const
{
    std::lock_guard<std::mutex> g(m_lock);
    std::vector<Request> out;
    for (const Request& r : m_log)
        if (withEventReads || r.code != IOCTL_GET_EVENT) out.push_back(r);
    return out;
}

std::vector<DWORD> SimMouse::Codes(bool withEventReads) const
{
    std::vector<DWORD> out;
    for (const Request& r : Requests(withEventReads)) out.push_back(r.code);
    return out;
}

void SimMouse::ClearLog()
{
    std::lock_guard<std::mutex> g(m_lock);
    m_log.clear();
}

int SimMouse::OpenCount() const
{
    std::lock_guard<std::mutex> g(m_lock);
    return m_opens;
}

int SimMouse::OpenHandleCount() const
{
    std::lock_guard<std::mutex> g(m_lock);
    return (int)m_open.size();
}

HANDLE SimMouse::Semaphore() const
{
    std::lock_guard<std::mutex> g(m_lock);
    return m_semaphore;
}

size_t SimMouse::PendingEvents() const
{
    std::lock_guard<std::mutex> g(m_lock);
    return m_events.size();
}

SimMouse::State SimMouse::GetState() const
{
    std::lock_guard<std::mutex> g(m_lock);
    return m_state;
}

void SimMouse::SetState(const State& s)
{
    std::lock_guard<std::mutex> g(m_lock);
    m_state = s;
}
