#include "service/ControlApi.h"
#include "service/HIDWnd.h"
#include "service/PeerWindows.h"

HWND g_hControlClient = nullptr;

namespace {

// The value as the setter takes it, checked before narrowing: on a 64-bit LPARAM a value
// such as 0x100000003 must not wrap into the range (profile 3). A profile is 0..9, a
// colour any 32-bit value, the other values an int (-1 for the profile's own).
bool ValueInRange(int command, LPARAM value)
{
    switch (command) {
    case 2: return value >= 0 && value <= 9;
    case 3: return (LPARAM)(DWORD)value == value || (LPARAM)(int)value == value;
    default: return (LPARAM)(int)value == value;
    }
}

// Reply codes: the command + 1 when the device took it, the command + 15 without a device
// or for a value out of range (nothing is then sent).
int RunControlCommand(CHIDWnd& wnd, int command, LPARAM value)
{
    if (command < 1 || command > 6)
        return 0;
    int done = 0;
    if (ValueInRange(command, value)) {
        switch (command) {
        case 1: done = wnd.SetPollingRate((int)value); break;
        case 2: done = wnd.SetProfile((int)value); break;
        case 3: done = wnd.SetLedColor((COLORREF)value); break;
        case 4: done = wnd.SetLedIntensity((int)value); break;
        case 5: done = wnd.SetLedPulsation((int)value); break;
        case 6: done = wnd.SetDpiStage((int)value); break;
        }
    }
    return done ? command + 1 : command + 15;
}

} // namespace

LRESULT CHIDWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    // The numbers are 0 until registered at creation; 0 is no control message.
    if (message != 0 && message == WM_CONTROL_API_DISCOVER) {
        g_hControlClient = (HWND)wParam;
        SendToPeer(g_hControlClient, WM_CONTROL_API_ATTACH, (WPARAM)m_hWnd, 1);
    } else if (message != 0 && message == WM_CONTROL_API_ATTACH && wParam >= 1 && wParam <= 6) {
        int reply = RunControlCommand(*this, (int)wParam, lParam);
        SendToPeer(g_hControlClient, WM_CONTROL_API_ATTACH, (WPARAM)m_hWnd, reply);
    }
    return CWnd::DefWindowProc(message, wParam, lParam);
}

LRESULT CHIDWnd::OnServicePing(WPARAM, LPARAM)
{
    return 1;
}
