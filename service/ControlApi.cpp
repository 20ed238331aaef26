#include "service/ControlApi.h"
#include "service/HIDWnd.h"
#include "service/PeerWindows.h"

HWND g_hControlClient = nullptr;

namespace {

// Reply codes: the command + 1 when the device took it, the command + 15 without a device.
int RunControlCommand(CHIDWnd& wnd, int command, LPARAM value)
{
    int done = 0;
    switch (command) {
    case 1: done = wnd.SetPollingRate((int)value); break;
    case 2: done = wnd.SetProfile((int)value); break;
    case 3: done = wnd.SetLedColor((COLORREF)value); break;
    case 4: done = wnd.SetLedIntensity((int)value); break;
    case 5: done = wnd.SetLedPulsation((int)value); break;
    case 6: done = wnd.SetDpiStage((int)value); break;
    default: return 0;
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
