#pragma once
#include "service/ServiceSeams.h"
#include "SimDevice.h"
#include <windows.h>
#include <functional>
#include <memory>
#include <mutex>
#include <vector>

// The simulated mouse behind the device seam: the device model of the simulated driver
// (tools/simmouse), answered in this process. It answers every request of the driver's
// contract with its own state and the contract's buffer sizes, keeps that state across a
// simulated unplug, queues event words and releases the service's real semaphore once per
// word, and logs every request in order with its first input bytes.
class SimMouse : public IDeviceSeam {
public:
    struct Request {
        DWORD code;
        std::vector<BYTE> in;  // the first SIM_LOG_INPUT bytes
        DWORD inSize;
        DWORD outSize;
        bool ok;
    };

    SimMouse();
    ~SimMouse() override;

    // IDeviceSeam
    HANDLE Open() override;
    BOOL Control(HANDLE device, DWORD code, void* in, DWORD inSize, void* out, DWORD outSize,
                 DWORD* returned) override;
    void Close(HANDLE device) override;

    // Called at every Open, before it answers (on the caller's thread).
    std::function<void()> onOpen;

    // No driver at all: Open fails.
    void SetPresent(bool present);
    // The mouse leaves (removal word 0x800) or comes back (arrival word 0x400); its
    // settings stay. While unplugged every request but the event link fails.
    void Unplug();
    void Replug();
    // The request with that code fails, `times` times (-1: always; 0: never again).
    void FailRequest(DWORD code, int times = -1);

    // Queues an event word and releases the registered semaphore once. Words queued
    // before the service registers are signalled when it does.
    void QueueEvent(DWORD word);

    // Requests since the last ClearLog, in order; GET_EVENT (the event thread's reads)
    // only when asked.
    std::vector<Request> Requests(bool withEventReads = false) const;
    std::vector<DWORD> Codes(bool withEventReads = false) const;
    void ClearLog();

    int OpenCount() const;
    int OpenHandleCount() const;  // opened and not yet closed
    HANDLE Semaphore() const;     // the handle given with IOCTL_REGISTER_EVENT
    size_t PendingEvents() const;

    // Device state (the service reads and writes it through requests).
    struct State {
        int stage = 2;
        int pollingRate = 1;
        BYTE r = 0x10, g = 0x20, b = 0x30;
        int intensity = 3;
        int pulsation = 2;
        DWORD mask = 0xFFFF;
        int sensX = 10, sensY = 10;
        BYTE fwLow = 5, fwHigh = 1;  // version 105
        BYTE fwInfo[16] = {0, 0, 0, 0, 0x01, 0x05, 0, 0, 0x10, 0x00, 0x00, 0x64, 0x00, 0x0A, 0, 0};
        std::vector<std::vector<BYTE>> blocks;  // firmware blocks written
    };
    State GetState() const;
    void SetState(const State& s);

private:
    static int64_t Now(void* self);
    static int RegisterEvent(void* self, uint32_t handleBits);
    static void UnregisterEvent(void* self);
    static void Signal(void* self, int32_t count);

    mutable std::mutex m_lock;
    std::unique_ptr<SimDevice> m_device;  // large: a log of thousands of requests
    bool m_present = true;
    int m_opens = 0;
    std::vector<HANDLE> m_open;
    HANDLE m_current = nullptr;     // the handle of the request being answered
    HANDLE m_registrant = nullptr;  // the handle that registered the semaphore
    HANDLE m_semaphore = nullptr;   // as the service sent it
    HANDLE m_semaphoreCopy = nullptr;  // ours, as the driver keeps its own
    uint32_t m_logFrom = 1;
};

// Input bytes of a request as the service builds them.
std::vector<BYTE> Bytes(std::initializer_list<int> values);
std::vector<BYTE> DwordBytes(DWORD value);
