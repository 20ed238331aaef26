#pragma once
#include <cstdint>
#include <memory>

// The whole user configuration of the mouse, shared by the three programs through
// "Config.xml". Plain fixed-size records: a record is zero-filled when it is made and
// copied whole by assignment. Texts are zero-terminated; each array's length counts the
// terminator.

const int PROFILE_COUNT = 10;
const int BUTTON_COUNT = 11;
const int MACRO_COUNT = 50;
const int MACRO_EVENT_COUNT = 320;
const int MACRO_KEY_COUNT = 2;
const int GAME_NAME_COUNT = 10;

struct MacroEvent {
    uint8_t vk;     // virtual-key code; 0 ends a list of events
    uint8_t up;     // 0 key down, 1 key up
    int32_t delay;  // ms after the event
};

// The longest wait after a macro event. Longer pauses than a minute are not something one
// records between two keys: the recorder records no longer pause, the player waits no
// longer, and the editor shows a stored delay as the player waits it.
const int32_t MACRO_MAX_DELAY_MS = 60000;

// A stored delay as the player waits it: at least 0 and at most MACRO_MAX_DELAY_MS.
inline int32_t PlayedMacroDelay(int32_t delay)
{
    return delay < 0 ? 0 : delay > MACRO_MAX_DELAY_MS ? MACRO_MAX_DELAY_MS : delay;
}

struct ButtonSlot {
    uint8_t number;  // button number (slot index + 1; 0 in an imported profile)
    int32_t code;    // function code
};

struct MacroData {
    wchar_t MACRO_NAME[100];
    MacroEvent events[MACRO_EVENT_COUNT];
    int32_t loopCount;
    int32_t loopFlag;
    int32_t delayMode;  // 1 automatic, 2 recorded, 3 none, 4 paste
    MacroEvent startKeys[MACRO_KEY_COUNT];
    int32_t startKeyFlag;
    MacroEvent sendKeys[MACRO_KEY_COUNT];
    int32_t sendKeyFlag;
    wchar_t pasteText[260];
};

struct ProfileData {
    int32_t REGION;
    wchar_t SERVER_NAME[255];
    wchar_t CHARACTER_NAME[255];
    wchar_t CHARACTER_CLASS[100];
    wchar_t CHARACTER_RACE[100];
    wchar_t CHARACTER_LEVEL[100];
    wchar_t PROFILE_NAME[256];
    int32_t DPI_VALUE;
    int32_t DOUBLE_CLICK_SPEED;
    int32_t SCROLL_SPEED;
    int32_t SENSITIVITY;
    int32_t ADVANCE_SENSITIVITY_X;
    int32_t ADVANCE_SENSITIVITY_Y;
    uint32_t LED_COLOR;  // COLORREF 0x00BBGGRR
    int32_t LED_INTENSITY;
    int32_t LED_PULSATION;
    wchar_t GAME_NAME[GAME_NAME_COUNT][255];  // GAME_NAME_1..GAME_NAME_10
    ButtonSlot buttons[BUTTON_COUNT];
    MacroData macros[MACRO_COUNT];
};

struct ConfigData {
    int32_t PROFILE_ID;
    int32_t POLLING_RATE;
    int32_t GAME_MODE;
    ProfileData profiles[PROFILE_COUNT];
};

// A zero-filled record on the heap (padding included); the record is about 1.7 MB.
std::unique_ptr<ConfigData> NewConfigData();

// The state before loading: -1 marks every value that the file must supply.
void ResetConfig(ConfigData& cfg);
// One profile in the state before loading, as ResetConfig leaves each; validated, it holds
// what a new configuration holds.
void ResetProfile(ProfileData& p);
// An empty macro slot as a new configuration holds it: zero-filled, automatic delays.
void ResetMacro(MacroData& m);
// Replaces every out-of-range number by its default (a macro's delay mode outside 1..4
// included); 1 when a number was replaced.
int ValidateConfig(ConfigData& cfg);
// 0 when both records hold the same settings. Texts count up to their terminator and
// padding bytes are not compared.
int CompareConfig(const ConfigData& a, const ConfigData& b);

// Default function code of button index 0..10.
int DefaultButtonCode(int index);

// Copies text into a fixed field, cut to the field's length - 1 characters; the rest of
// the field is zero-filled.
void CopyField(wchar_t* dst, int capacity, const wchar_t* src);
template <int N> inline void CopyField(wchar_t (&dst)[N], const wchar_t* src) { CopyField(dst, N, src); }
// Length of a field's text, never past the field.
template <int N> inline int FieldLength(const wchar_t (&s)[N]) { int n = 0; while (n < N && s[n]) ++n; return n; }
