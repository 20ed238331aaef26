#include "service/DriverLink.h"
#include "service/HIDWnd.h"
#include "service/ServiceSeams.h"
#include "core/Messages.h"
#include <winioctl.h>

#define DRIVER_CODE(function) CTL_CODE(0x22, function, METHOD_BUFFERED, FILE_ANY_ACCESS)
static_assert(IOCTL_REGISTER_EVENT == DRIVER_CODE(0x900), "code");
static_assert(IOCTL_UNREGISTER_EVENT == DRIVER_CODE(0x901), "code");
static_assert(IOCTL_GET_EVENT == DRIVER_CODE(0x902), "code");
static_assert(IOCTL_SET_INTERCEPTION_MASK == DRIVER_CODE(0x908), "code");
static_assert(IOCTL_SET_SENSITIVITY_X == DRIVER_CODE(0x909), "code");
static_assert(IOCTL_SET_SENSITIVITY_Y == DRIVER_CODE(0x910), "code");
static_assert(IOCTL_PRE_SENSITIVITY == DRIVER_CODE(0x912), "code");
static_assert(IOCTL_POST_MASK == DRIVER_CODE(0x915), "code");
static_assert(IOCTL_PRE_LED_COLOR == DRIVER_CODE(0x917), "code");
static_assert(IOCTL_SET_POLLING_RATE == DRIVER_CODE(0x928), "code");
static_assert(IOCTL_GET_POLLING_RATE == DRIVER_CODE(0x929), "code");
static_assert(IOCTL_GET_FIRMWARE_VERSION == DRIVER_CODE(0x944), "code");
static_assert(IOCTL_SET_LED_COLOR == DRIVER_CODE(0x948), "code");
static_assert(IOCTL_GET_LED_COLOR == DRIVER_CODE(0x949), "code");
static_assert(IOCTL_SET_DPI_STAGE == DRIVER_CODE(0x950), "code");
static_assert(IOCTL_GET_DPI_STAGE == DRIVER_CODE(0x955), "code");
static_assert(IOCTL_SET_LED_INTENSITY == DRIVER_CODE(0x956), "code");
static_assert(IOCTL_GET_LED_INTENSITY == DRIVER_CODE(0x957), "code");
static_assert(IOCTL_SET_LED_PULSATION == DRIVER_CODE(0x958), "code");
static_assert(IOCTL_GET_LED_PULSATION == DRIVER_CODE(0x959), "code");
static_assert(IOCTL_GET_FIRMWARE_INFO == DRIVER_CODE(0x970), "code");
static_assert(IOCTL_FIRMWARE_UPDATE_START == DRIVER_CODE(0x971), "code");
static_assert(IOCTL_FIRMWARE_ERASE == DRIVER_CODE(0x972), "code");
static_assert(IOCTL_FIRMWARE_WRITE_BLOCK == DRIVER_CODE(0x974), "code");
static_assert(IOCTL_POST_RELOAD == DRIVER_CODE(0x990), "code");
static_assert(IOCTL_FIRMWARE_UPDATE_END == DRIVER_CODE(0x999), "code");
#undef DRIVER_CODE

HANDLE g_hDevice = nullptr;
HANDLE g_hEventSemaphore = nullptr;
HANDLE g_hEventThread = nullptr;
DeviceEventData g_nDeviceEvent = 0;
volatile BYTE g_bStopEventThread = 0;
volatile LONG g_nArrivalCount = 0;
int g_nPrevButtons = 0;
int g_nPrevExtButtons = 0;

BOOL DeviceRequestUnchecked(DWORD code, const void* in, DWORD inSize, void* out, DWORD outSize)
{
    DWORD returned = 0;
    return DeviceSeam().Control(g_hDevice, code, const_cast<void*>(in), inSize, out, outSize, &returned);
}

BOOL DeviceRequest(DWORD code, const void* in, DWORD inSize, void* out, DWORD outSize)
{
    if (!g_hDevice) return FALSE;
    return DeviceRequestUnchecked(code, in, inSize, out, outSize);
}

DWORD EventHandleBits(HANDLE handle)
{
    return (DWORD)(ULONG_PTR)handle;
}

int OpenDevice()
{
    HANDLE device = DeviceSeam().Open();
    if (device == INVALID_HANDLE_VALUE || device == nullptr) {
        g_hDevice = nullptr;
        return 0;
    }
    g_hDevice = device;
    // The driver takes the handle in 4 bytes on both architectures: a handle has 32
    // significant bits, which the driver widens with their sign.
    DWORD semaphore = EventHandleBits(g_hEventSemaphore);
    if (!DeviceRequest(IOCTL_REGISTER_EVENT, &semaphore, sizeof(semaphore), nullptr, 0)) {
        DeviceSeam().Close(device);
        g_hDevice = nullptr;
        return 0;
    }
    return 1;
}

int CloseDevice()
{
    if (!g_hDevice) return 1;
    DWORD mask = 0;  // every button back to Windows
    DeviceRequest(IOCTL_SET_INTERCEPTION_MASK, &mask, sizeof(mask), nullptr, 0);
    DeviceRequest(IOCTL_UNREGISTER_EVENT, nullptr, 0, nullptr, 0);
    DeviceSeam().Close(g_hDevice);
    g_hDevice = nullptr;
    return 1;
}

DWORD WINAPI DeviceEventThread(LPVOID)
{
    while (!g_bStopEventThread) {
        // A failed wait means the semaphore is gone: the window is going away.
        if (WaitForSingleObject(g_hEventSemaphore, INFINITE) != WAIT_OBJECT_0) break;
        if (g_bStopEventThread) break;
        if (!g_hDevice) continue;  // the device closed while we waited: the event is dropped
        if (!DeviceRequest(IOCTL_GET_EVENT, &g_nDeviceEvent, sizeof(g_nDeviceEvent), &g_nDeviceEvent,
                           sizeof(g_nDeviceEvent)))
            continue;
        DeviceEventData word = g_nDeviceEvent;
        if (word == EVENT_ARRIVAL) InterlockedIncrement(&g_nArrivalCount);
        if ((word >> 28) == 1)
            PostMessageW(g_hServiceWnd, WM_DEVICE_EVENT, word & 0x0FFFFFFF, 1);
        else
            PostMessageW(g_hServiceWnd, WM_DEVICE_EVENT, word, 0);
    }
    return 0;
}
