#include "service/ServiceSeams.h"
#include "service/DriverLink.h"
#include <tlhelp32.h>

namespace {

class RealDevice : public IDeviceSeam {
public:
    HANDLE Open() override
    {
        return CreateFileW(DEVICE_PATH, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    }
    BOOL Control(HANDLE device, DWORD code, void* in, DWORD inSize, void* out, DWORD outSize, DWORD* returned) override
    {
        DWORD got = 0;
        BOOL ok = DeviceIoControl(device, code, in, inSize, out, outSize, &got, nullptr);
        if (returned) *returned = got;
        return ok;
    }
    void Close(HANDLE device) override { CloseHandle(device); }
};

class RealInput : public IInputSeam {
public:
    UINT Send(const INPUT& input) override
    {
        INPUT copy = input;
        return SendInput(1, &copy, sizeof(INPUT));
    }
};

class RealClock : public IClockSeam {
public:
    void Sleep(DWORD ms) override { ::Sleep(ms); }
    DWORD TickCount() override { return GetTickCount(); }
};

class RealForeground : public IForegroundSeam {
public:
    HWND Window() override { return GetForegroundWindow(); }
    bool LookUpProcessName(CString& name) override
    {
        name.Empty();
        DWORD pid = 0;
        GetWindowThreadProcessId(GetForegroundWindow(), &pid);
        HANDLE snap = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
        if (snap == INVALID_HANDLE_VALUE) return false;
        PROCESSENTRY32W pe = {};
        pe.dwSize = sizeof(pe);
        if (!Process32FirstW(snap, &pe)) {
            CloseHandle(snap);
            return false;
        }
        do {
            if (pe.th32ProcessID == pid) {
                name = pe.szExeFile;
                break;
            }
        } while (Process32NextW(snap, &pe));
        CloseHandle(snap);
        return true;
    }
};

class RealMouseSettings : public IMouseSettingsSeam {
public:
    void SetDoubleClickTime(UINT ms) override { ::SetDoubleClickTime(ms); }
    void SetMouseSpeed(int speed) override
    {
        if (!SystemParametersInfoW(SPI_SETMOUSESPEED, 0, (PVOID)(INT_PTR)speed, SPIF_SENDCHANGE)) GetLastError();
    }
    void SetWheelScrollLines(UINT lines) override
    {
        SystemParametersInfoW(SPI_SETWHEELSCROLLLINES, lines, nullptr, SPIF_UPDATEINIFILE | SPIF_SENDCHANGE);
    }
};

RealDevice s_realDevice;
RealInput s_realInput;
RealClock s_realClock;
RealForeground s_realForeground;
RealMouseSettings s_realMouseSettings;

IDeviceSeam* s_device = &s_realDevice;
IInputSeam* s_input = &s_realInput;
IClockSeam* s_clock = &s_realClock;
IForegroundSeam* s_foreground = &s_realForeground;
IMouseSettingsSeam* s_mouseSettings = &s_realMouseSettings;

}  // namespace

IDeviceSeam& DeviceSeam() { return *s_device; }
IInputSeam& InputSeam() { return *s_input; }
IClockSeam& ClockSeam() { return *s_clock; }
IForegroundSeam& ForegroundSeam() { return *s_foreground; }
IMouseSettingsSeam& MouseSettingsSeam() { return *s_mouseSettings; }

void SetDeviceSeam(IDeviceSeam* seam) { s_device = seam ? seam : &s_realDevice; }
void SetInputSeam(IInputSeam* seam) { s_input = seam ? seam : &s_realInput; }
void SetClockSeam(IClockSeam* seam) { s_clock = seam ? seam : &s_realClock; }
void SetForegroundSeam(IForegroundSeam* seam) { s_foreground = seam ? seam : &s_realForeground; }
void SetMouseSettingsSeam(IMouseSettingsSeam* seam) { s_mouseSettings = seam ? seam : &s_realMouseSettings; }
