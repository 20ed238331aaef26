#pragma once
#include <windows.h>
#include <functional>
#include <vector>

// What a button's function code does, as a list of steps: synthesised key and mouse
// events, waits, and the service actions (DPI, profile, macro) that the button
// dispatcher performs itself.

enum class KeyStepType : unsigned char {
    Key,         // SendKeyInput(vk, scan code of vk, flags)
    Mouse,       // SendMouseInput(..., value as mouse data, flags, ...)
    Wait,        // Sleep(value)
    SelectDpi,   // select DPI stage value
    DpiUp,
    DpiDown,
    SetProfile,  // make profile value current (only with an open device)
    ProfileUp,
    ProfileDown,
    Macro,       // run macro slot value; flags 1 on the button's release
};

struct KeyStep {
    KeyStepType type;
    WORD vk;
    DWORD flags;     // KEYEVENTF_* or MOUSEEVENTF_*
    int value;       // mouse data, milliseconds, stage, profile or macro slot
    bool atCursor;   // mouse: dx, dy from the cursor and extra 0; else 0, 0 and the message's extra info
};

using KeySteps = std::vector<KeyStep>;

// Button index (0..10) of an event code of the driver; -1 for a code without a button.
int ButtonIndexFromEventCode(int eventCode);

// The steps that function code performs on the press or the release of the button with
// that index. Empty when the code does nothing, including a mouse function on the button
// that Windows already clicks natively.
const KeySteps& KeyStepsFor(int code, bool release, int buttonIndex);

// Both return SendInput's result; one INPUT record per call.
UINT SendKeyInput(WORD vk, WORD scan, DWORD flags);
UINT SendMouseInput(LONG dx, LONG dy, DWORD mouseData, DWORD flags, ULONG_PTR extra);

// Sends a Key or Mouse step or sleeps a Wait step; false for an action step.
bool PerformInputStep(const KeyStep& step);

// Performs the steps in order; action steps go to onAction.
void PlayKeySteps(const KeySteps& steps, const std::function<void(const KeyStep&)>& onAction);
