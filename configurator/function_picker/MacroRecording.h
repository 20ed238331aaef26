#pragma once
#include <windows.h>
#include "core/ConfigData.h"

// The recording rules of the macro editor as plain functions over a list of events.

// The delay modes of a macro.
enum MacroDelayMode : int {
    DELAY_AUTOMATIC = 1,
    DELAY_RECORDED = 2,
    DELAY_NONE = 3,
    DELAY_PASTE = 4,
};

// The key a key message is recorded as. keyFlags is the high word of the message's lParam
// (scan code in bits 0..7, extended-key bit 0x100). Ctrl, Alt and Shift become their left
// or right codes (160..165), the keypad Enter becomes 108; every other key stays.
int RecordedKey(int vk, UINT keyFlags);

// Whether the newest event of the key among the first count events is a press.
bool IsKeyDownIn(const MacroEvent* events, int count, int vk);

// The fixed delays of the automatic mode, set before event n (the index the new event of
// key vk gets) is added: 10 ms after even positions and 20 ms after odd ones, except that
// the first two get 20 and 50 ms when the second event is of the slash key.
void SetAutomaticDelays(MacroEvent* events, int n, int vk);

// How many events a recording target holds: the main sequence 320, a start or send key 2.
inline int TargetCapacity(bool mainSequence)
{
    return mainSequence ? MACRO_EVENT_COUNT : MACRO_KEY_COUNT;
}

// The tick count the recorded delays are measured with: GetTickCount, unless a test put
// a clock of its own in place (null puts GetTickCount back).
DWORD RecorderTickCount();
void SetRecorderTickSource(DWORD (*source)());
