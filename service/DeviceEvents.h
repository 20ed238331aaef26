#pragma once
#include <windows.h>
#include <vector>

// How the service window reads a WM_DEVICE_EVENT (event word, kind).
enum class DeviceEventKind {
    ExtendedState,  // kind 1: extended-button state, bits 0..15
    StandardState,  // standard-button state, bits 0..5
    Arrival,        // notice 4
    Removal,        // notice 8
    Ignored,        // another notice, or a standard value of 32 or more
};

DeviceEventKind ClassifyDeviceEvent(WPARAM event, LPARAM kind);

struct ButtonChange {
    int eventCode;  // what the button dispatcher receives
    bool press;     // 0 -> 1; a release is 1 -> 0
    bool operator==(const ButtonChange& o) const { return eventCode == o.eventCode && press == o.press; }
};

// The buttons whose bits changed between two states, in bit order. A standard bit i gives
// the code 1 << i (bits 0..5), an extended bit i gives (1 << i) + 0x20 (bits 0..15).
std::vector<ButtonChange> ButtonChanges(int previous, int current, bool extended);
