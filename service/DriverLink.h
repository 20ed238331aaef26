#pragma once
#include <windows.h>
#include <cstdint>

class CHIDWnd;

// I/O control requests of the mouse's driver: CTL_CODE(0x22, function, METHOD_BUFFERED,
// FILE_ANY_ACCESS), each synchronous.
constexpr DWORD IOCTL_REGISTER_EVENT = 0x222400;
constexpr DWORD IOCTL_UNREGISTER_EVENT = 0x222404;
constexpr DWORD IOCTL_GET_EVENT = 0x222408;
constexpr DWORD IOCTL_SET_INTERCEPTION_MASK = 0x222420;
constexpr DWORD IOCTL_SET_SENSITIVITY_X = 0x222424;
constexpr DWORD IOCTL_SET_SENSITIVITY_Y = 0x222440;
constexpr DWORD IOCTL_PRE_SENSITIVITY = 0x222448;
constexpr DWORD IOCTL_POST_MASK = 0x222454;
constexpr DWORD IOCTL_PRE_LED_COLOR = 0x22245C;
constexpr DWORD IOCTL_SET_POLLING_RATE = 0x2224A0;
constexpr DWORD IOCTL_GET_POLLING_RATE = 0x2224A4;
constexpr DWORD IOCTL_GET_FIRMWARE_VERSION = 0x222510;
constexpr DWORD IOCTL_SET_LED_COLOR = 0x222520;
constexpr DWORD IOCTL_GET_LED_COLOR = 0x222524;
constexpr DWORD IOCTL_SET_DPI_STAGE = 0x222540;
constexpr DWORD IOCTL_GET_DPI_STAGE = 0x222554;
constexpr DWORD IOCTL_SET_LED_INTENSITY = 0x222558;
constexpr DWORD IOCTL_GET_LED_INTENSITY = 0x22255C;
constexpr DWORD IOCTL_SET_LED_PULSATION = 0x222560;
constexpr DWORD IOCTL_GET_LED_PULSATION = 0x222564;
constexpr DWORD IOCTL_GET_FIRMWARE_INFO = 0x2225C0;
constexpr DWORD IOCTL_FIRMWARE_UPDATE_START = 0x2225C4;
constexpr DWORD IOCTL_FIRMWARE_ERASE = 0x2225C8;
constexpr DWORD IOCTL_FIRMWARE_WRITE_BLOCK = 0x2225D0;
constexpr DWORD IOCTL_POST_RELOAD = 0x222640;
constexpr DWORD IOCTL_FIRMWARE_UPDATE_END = 0x222664;

// The driver's name for the mouse.
constexpr const wchar_t* DEVICE_PATH = L"\\\\.\\KV-QuellarDevice";

// The event word: top nibble 1 = extended-button state (low 28 bits); otherwise bits
// 8..15 a notice (4 arrival, 8 removal); otherwise below 32 the standard-button state.
typedef uint32_t DeviceEventData;
constexpr DeviceEventData EVENT_ARRIVAL = 0x400;
constexpr DeviceEventData EVENT_REMOVAL = 0x800;

#pragma pack(push, 1)
struct LedColorData {
    BYTE r, g, b;
};
#pragma pack(pop)
static_assert(sizeof(LedColorData) == 3, "LedColorData is 3 bytes");

// Process-wide state of the driver link.
extern HANDLE g_hDevice;                 // 0 when no device is open
extern HANDLE g_hEventSemaphore;         // released by the driver once per pending event
extern HANDLE g_hEventThread;
extern DeviceEventData g_nDeviceEvent;   // buffer of IOCTL_GET_EVENT
extern volatile BYTE g_bStopEventThread;
extern volatile LONG g_nArrivalCount;    // grows with every arrival word 0x400
extern int g_nPrevButtons;               // last standard-button state (bits 0..5)
extern int g_nPrevExtButtons;            // last extended-button state (bits 0..15)

// The 32 significant bits of a handle, as IOCTL_REGISTER_EVENT carries them.
DWORD EventHandleBits(HANDLE handle);
// Opens the device and hands it the event semaphore: 1 open and registered, 0 failure.
int OpenDevice();
// Gives every button back to Windows and closes the device; always 1.
int CloseDevice();
// Waits on the semaphore, reads one event word per release and posts it to the window.
DWORD WINAPI DeviceEventThread(LPVOID window);

// One request to the open device; FALSE without a device (nothing is sent).
BOOL DeviceRequest(DWORD code, const void* in, DWORD inSize, void* out, DWORD outSize);
// The same request even without an open device (it then fails in the driver's place).
BOOL DeviceRequestUnchecked(DWORD code, const void* in, DWORD inSize, void* out, DWORD outSize);
