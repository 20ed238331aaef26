#include "service/DeviceEvents.h"

DeviceEventKind ClassifyDeviceEvent(WPARAM event, LPARAM kind)
{
    if (kind == 1) return DeviceEventKind::ExtendedState;
    DWORD notice = (DWORD)(event >> 8) & 0xFF;
    if (notice == 4) return DeviceEventKind::Arrival;
    if (notice == 8) return DeviceEventKind::Removal;
    if (notice != 0) return DeviceEventKind::Ignored;
    return event < 32 ? DeviceEventKind::StandardState : DeviceEventKind::Ignored;
}

std::vector<ButtonChange> ButtonChanges(int previous, int current, bool extended)
{
    std::vector<ButtonChange> out;
    int bits = extended ? 16 : 6;
    for (int i = 0; i < bits; ++i) {
        int was = (previous >> i) & 1, now = (current >> i) & 1;
        if (was == now) continue;
        int code = extended ? (1 << i) + 0x20 : 1 << i;
        out.push_back({code, now == 1});
    }
    return out;
}
