#pragma once
#include <windows.h>
#include "framework/CString.h"

// The few places where the service touches something a test cannot have for real:
// the mouse's driver, the input queue of Windows, the wall clock, the foreground program
// and the system-wide mouse settings. Production code uses the Real* objects; tests
// install their own with the Set* functions (nullptr restores the real one).

class IDeviceSeam {
public:
    virtual ~IDeviceSeam() = default;
    // CreateFileW on "\\.\KV-QuellarDevice"; INVALID_HANDLE_VALUE when there is no device.
    virtual HANDLE Open() = 0;
    // One synchronous DeviceIoControl request.
    virtual BOOL Control(HANDLE device, DWORD code, void* in, DWORD inSize,
                         void* out, DWORD outSize, DWORD* returned) = 0;
    virtual void Close(HANDLE device) = 0;
};

class IInputSeam {
public:
    virtual ~IInputSeam() = default;
    // SendInput with one record; answers SendInput's result.
    virtual UINT Send(const INPUT& input) = 0;
};

class IClockSeam {
public:
    virtual ~IClockSeam() = default;
    virtual void Sleep(DWORD ms) = 0;
    virtual DWORD TickCount() = 0;
};

class IForegroundSeam {
public:
    virtual ~IForegroundSeam() = default;
    virtual HWND Window() = 0;  // GetForegroundWindow
    // The exe file name of the foreground window's process, empty when that process is not
    // in the list; false when the process list cannot be read at all.
    virtual bool LookUpProcessName(CString& name) = 0;
    // The same name, empty also when the list cannot be read.
    CString ProcessName()
    {
        CString name;
        LookUpProcessName(name);
        return name;
    }
};

// The system-wide mouse settings a profile applies (double-click time, mouse speed, wheel
// lines). Tests record them instead of changing the desktop they run on.
class IMouseSettingsSeam {
public:
    virtual ~IMouseSettingsSeam() = default;
    virtual void SetDoubleClickTime(UINT ms) = 0;
    virtual void SetMouseSpeed(int speed) = 0;
    virtual void SetWheelScrollLines(UINT lines) = 0;
};

IDeviceSeam& DeviceSeam();
IInputSeam& InputSeam();
IClockSeam& ClockSeam();
IForegroundSeam& ForegroundSeam();
IMouseSettingsSeam& MouseSettingsSeam();

void SetDeviceSeam(IDeviceSeam* seam);
void SetInputSeam(IInputSeam* seam);
void SetClockSeam(IClockSeam* seam);
void SetForegroundSeam(IForegroundSeam* seam);
void SetMouseSettingsSeam(IMouseSettingsSeam* seam);
