#include "SimMouse.h"
#include "SimMouseClient.h"
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

SimMouse::SimMouse() : m_device(new SimDevice)
{
    SimHost host = {this, Now, RegisterEvent, UnregisterEvent, Signal};
    SimDeviceInit(m_device.get(), &host);
}

SimMouse::~SimMouse()
{
    if (m_semaphoreCopy) CloseHandle(m_semaphoreCopy);
}

int64_t SimMouse::Now(void*)
{
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return t.QuadPart;
}

// As the driver does: the handle is the caller's, taken into a handle of our own.
int SimMouse::RegisterEvent(void* self, uint32_t handleBits)
{
    SimMouse* m = static_cast<SimMouse*>(self);
    HANDLE sent = (HANDLE)(LONG_PTR)(LONG)handleBits;
    HANDLE copy = nullptr;
    if (!DuplicateHandle(GetCurrentProcess(), sent, GetCurrentProcess(), &copy, SEMAPHORE_MODIFY_STATE | SYNCHRONIZE,
                         FALSE, 0))
        return 0;
    UnregisterEvent(self);
    m->m_semaphore = sent;
    m->m_semaphoreCopy = copy;
    m->m_registrant = m->m_current;
    return 1;
}

void SimMouse::UnregisterEvent(void* self)
{
    SimMouse* m = static_cast<SimMouse*>(self);
    if (m->m_semaphoreCopy) CloseHandle(m->m_semaphoreCopy);
    m->m_semaphoreCopy = nullptr;
    m->m_semaphore = nullptr;
    m->m_registrant = nullptr;
}

void SimMouse::Signal(void* self, int32_t count)
{
    SimMouse* m = static_cast<SimMouse*>(self);
    if (m->m_semaphoreCopy) ReleaseSemaphore(m->m_semaphoreCopy, count, nullptr);
}

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
    SimDeviceOpened(m_device.get());
    return h;
}

void SimMouse::Close(HANDLE device)
{
    std::lock_guard<std::mutex> g(m_lock);
    for (size_t i = 0; i < m_open.size(); ++i) {
        if (m_open[i] == device) {
            m_open.erase(m_open.begin() + i);
            SimDeviceClosed(m_device.get(), device == m_registrant);
            return;
        }
    }
}

BOOL SimMouse::Control(HANDLE device, DWORD code, void* in, DWORD inSize, void* out, DWORD outSize, DWORD* returned)
{
    std::lock_guard<std::mutex> g(m_lock);
    if (returned) *returned = 0;
    bool known = false;
    for (HANDLE h : m_open) known = known || h == device;
    if (!known) {
        // Windows refuses a closed handle before any driver sees the request; the log
        // still shows what the service tried.
        SimDeviceLogRefused(m_device.get(), code, in, inSize, outSize, SIM_BAD_HANDLE);
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    uint32_t got = 0;
    m_current = device;
    SimResult r = SimDeviceControl(m_device.get(), code, in, inSize, out, outSize, &got);
    m_current = nullptr;
    if (returned) *returned = got;
    if (r != SIM_OK) SetLastError(SimResultError(r));
    return r == SIM_OK;
}

void SimMouse::SetPresent(bool present)
{
    std::lock_guard<std::mutex> g(m_lock);
    m_present = present;
}

void SimMouse::Unplug()
{
    std::lock_guard<std::mutex> g(m_lock);
    SimDeviceUnplug(m_device.get());
}

void SimMouse::Replug()
{
    std::lock_guard<std::mutex> g(m_lock);
    SimDevicePlug(m_device.get());
}

void SimMouse::FailRequest(DWORD code, int times)
{
    std::lock_guard<std::mutex> g(m_lock);
    SimDeviceFailRequest(m_device.get(), code, times);
}

void SimMouse::QueueEvent(DWORD word)
{
    std::lock_guard<std::mutex> g(m_lock);
    SimDeviceQueueEvent(m_device.get(), word, nullptr);
}

std::vector<SimMouse::Request> SimMouse::Requests(bool withEventReads) const
{
    std::lock_guard<std::mutex> g(m_lock);
    std::vector<Request> out;
    std::vector<SimLogEntry> page(SIM_LOG_CAPACITY);
    uint32_t next = 0;
    uint32_t n = SimDeviceReadLog(m_device.get(), m_logFrom, page.data(), (uint32_t)page.size(), &next);
    for (uint32_t i = 0; i < n; ++i) {
        const SimLogEntry& e = page[i];
        if (!withEventReads && e.code == IOCTL_GET_EVENT) continue;
        uint32_t kept = e.inSize < SIM_LOG_INPUT ? e.inSize : SIM_LOG_INPUT;
        out.push_back({e.code, std::vector<BYTE>(e.in, e.in + kept), e.inSize, e.outSize, e.result == SIM_OK});
    }
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
    m_logFrom = m_device->logNext;
}

int SimMouse::OpenCount() const
{
    std::lock_guard<std::mutex> g(m_lock);
    return m_opens;
}

int SimMouse::OpenHandleCount() const
{
    std::lock_guard<std::mutex> g(m_lock);
    return m_device->opens;
}

HANDLE SimMouse::Semaphore() const
{
    std::lock_guard<std::mutex> g(m_lock);
    return m_semaphore;
}

size_t SimMouse::PendingEvents() const
{
    std::lock_guard<std::mutex> g(m_lock);
    return (size_t)SimDevicePendingEvents(m_device.get());
}

SimMouse::State SimMouse::GetState() const
{
    std::lock_guard<std::mutex> g(m_lock);
    const SimSettings& v = m_device->settings;
    State s;
    s.stage = v.stage;
    s.pollingRate = v.pollingRate;
    s.r = v.r, s.g = v.g, s.b = v.b;
    s.intensity = v.intensity;
    s.pulsation = v.pulsation;
    s.mask = v.mask;
    s.sensX = v.sensX, s.sensY = v.sensY;
    s.fwLow = v.fwLow, s.fwHigh = v.fwHigh;
    std::memcpy(s.fwInfo, v.fwInfo, 16);
    for (uint32_t i = 0; i < m_device->blockCount; ++i)
        s.blocks.emplace_back(m_device->blocks[i], m_device->blocks[i] + SIM_BLOCK_SIZE);
    return s;
}

void SimMouse::SetState(const State& s)
{
    std::lock_guard<std::mutex> g(m_lock);
    SimSettings& v = m_device->settings;
    v.stage = (uint8_t)s.stage;
    v.pollingRate = (uint8_t)s.pollingRate;
    v.r = s.r, v.g = s.g, v.b = s.b;
    v.intensity = (int8_t)s.intensity;
    v.pulsation = (int8_t)s.pulsation;
    v.mask = s.mask;
    v.sensX = s.sensX, v.sensY = s.sensY;
    v.fwLow = s.fwLow, v.fwHigh = s.fwHigh;
    std::memcpy(v.fwInfo, s.fwInfo, 16);
    m_device->blockCount = 0;
    for (const std::vector<BYTE>& b : s.blocks) {
        if (m_device->blockCount >= SIM_MAX_BLOCKS || b.size() != SIM_BLOCK_SIZE) break;
        std::memcpy(m_device->blocks[m_device->blockCount++], b.data(), SIM_BLOCK_SIZE);
    }
}
