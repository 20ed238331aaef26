#pragma once
// The user side of the simulated mouse: its installation as a kernel driver of the current
// Wine prefix, and the control channel through which a person (simmouse.exe), a test or a
// benchmark presses its buttons, unplugs it and reads what the service did to it.
#include <windows.h>
#include <string>
#include <vector>
#include "SimControl.h"

// The Win32 error a program sees when the driver answers a request with r.
DWORD SimResultError(SimResult r);
const wchar_t* SimResultText(SimResult r);
// The request's name in the driver's contract ("SET_DPI_STAGE"), "?" for another code.
const char* SimRequestName(uint32_t code);

// Posts WM_DEVICECHANGE (DBT_DEVNODES_CHANGED) to every top-level window, as Windows does
// when a device comes or goes; the install, unplug and plug below do it.
void AnnounceDeviceChange();
// Copies the driver file into the system's driver folder, makes or updates the
// demand-start kernel driver service "simmouse" and starts it (stopping an older copy
// first). True once it runs; otherwise *error says why.
bool InstallSimMouse(const std::wstring& driverFile, std::wstring* error);
// Stops the driver if it runs; true when it is not running afterwards.
bool StopSimMouse();
// "simmouse.sys" beside the running program.
std::wstring SimMouseDriverBesideProgram();
// The file in which the driver keeps the mouse's memory from one start to the next.
std::wstring SimMouseMemoryFile();
// Forgets that memory while the driver does not run, so its next start is a mouse fresh
// from the box; true when no memory is left.
bool ForgetSimMouseMemory();

class SimMouseControl {
public:
    SimMouseControl();
    ~SimMouseControl();
    SimMouseControl(const SimMouseControl&) = delete;
    SimMouseControl& operator=(const SimMouseControl&) = delete;

    // Opens the channel (the driver must run); true when open.
    bool Open();
    bool IsOpen() const { return m_h != INVALID_HANDLE_VALUE; }
    // Lets the channel go, so the driver can stop.
    void Close();

    // Button 1..11 down or up: answer.result is SIM_OK when a state word was queued.
    SimButtonAnswer Button(int button, bool down);
    // The mouse leaves or comes back (and every window hears of a device change).
    SimResult Unplug();
    SimResult Plug();
    bool GetState(SimDeviceState& state);
    // Every request from seq `from` on that the driver still keeps; *next continues.
    std::vector<SimLogEntry> ReadLog(uint32_t from, uint32_t* next = nullptr);
    // The seq the next request will get: read the log from here to see what follows.
    uint32_t LogMark();
    // A mouse fresh from the box (settings, buttons, queue, log), which its memory keeps;
    // opens stay.
    bool Reset();

private:
    bool Request(DWORD code, const void* in, DWORD inSize, void* out, DWORD outSize);
    HANDLE m_h;
};
