#include "core/ConfigData.h"
#include "core/FunctionCodes.h"
#include <cstring>
#include <cwchar>

namespace {

const int kDefaultButtonCodes[BUTTON_COUNT] = {1, 2, 6, 9, 9, 9, 4, 5, 9, 9, 9};
// Automatic delays: the mode of a macro slot that nothing has filled.
const int32_t kDefaultDelayMode = 1;

// Replaces value by def when it lies outside lo..hi; tells whether it did.
bool Clamp(int32_t& value, int32_t lo, int32_t hi, int32_t def)
{
    if (value >= lo && value <= hi) return false;
    value = def;
    return true;
}

bool SameText(const wchar_t* a, const wchar_t* b, int capacity)
{
    for (int i = 0; i < capacity; ++i) {
        if (a[i] != b[i]) return false;
        if (a[i] == 0) return true;
    }
    return true;
}

template <int N> bool Same(const wchar_t (&a)[N], const wchar_t (&b)[N]) { return SameText(a, b, N); }

bool SameEvent(const MacroEvent& a, const MacroEvent& b)
{
    return a.vk == b.vk && a.up == b.up && a.delay == b.delay;
}

bool SameEvents(const MacroEvent* a, const MacroEvent* b, int count)
{
    for (int i = 0; i < count; ++i)
        if (!SameEvent(a[i], b[i])) return false;
    return true;
}

bool SameMacro(const MacroData& a, const MacroData& b)
{
    return Same(a.MACRO_NAME, b.MACRO_NAME) && SameEvents(a.events, b.events, MACRO_EVENT_COUNT) &&
           a.loopCount == b.loopCount && a.loopFlag == b.loopFlag && a.delayMode == b.delayMode &&
           SameEvents(a.startKeys, b.startKeys, MACRO_KEY_COUNT) && a.startKeyFlag == b.startKeyFlag &&
           SameEvents(a.sendKeys, b.sendKeys, MACRO_KEY_COUNT) && a.sendKeyFlag == b.sendKeyFlag &&
           Same(a.pasteText, b.pasteText);
}

bool SameProfile(const ProfileData& a, const ProfileData& b)
{
    if (a.REGION != b.REGION || !Same(a.SERVER_NAME, b.SERVER_NAME) || !Same(a.CHARACTER_NAME, b.CHARACTER_NAME) ||
        !Same(a.CHARACTER_CLASS, b.CHARACTER_CLASS) || !Same(a.CHARACTER_RACE, b.CHARACTER_RACE) ||
        !Same(a.CHARACTER_LEVEL, b.CHARACTER_LEVEL) || !Same(a.PROFILE_NAME, b.PROFILE_NAME))
        return false;
    if (a.DPI_VALUE != b.DPI_VALUE || a.DOUBLE_CLICK_SPEED != b.DOUBLE_CLICK_SPEED ||
        a.SCROLL_SPEED != b.SCROLL_SPEED || a.SENSITIVITY != b.SENSITIVITY ||
        a.ADVANCE_SENSITIVITY_X != b.ADVANCE_SENSITIVITY_X || a.ADVANCE_SENSITIVITY_Y != b.ADVANCE_SENSITIVITY_Y ||
        a.LED_COLOR != b.LED_COLOR || a.LED_INTENSITY != b.LED_INTENSITY || a.LED_PULSATION != b.LED_PULSATION)
        return false;
    for (int i = 0; i < GAME_NAME_COUNT; ++i)
        if (!Same(a.GAME_NAME[i], b.GAME_NAME[i])) return false;
    for (int i = 0; i < BUTTON_COUNT; ++i)
        if (a.buttons[i].number != b.buttons[i].number || a.buttons[i].code != b.buttons[i].code) return false;
    for (int i = 0; i < MACRO_COUNT; ++i)
        if (!SameMacro(a.macros[i], b.macros[i])) return false;
    return true;
}

} // namespace

std::unique_ptr<ConfigData> NewConfigData()
{
    std::unique_ptr<ConfigData> cfg(new ConfigData);
    memset(cfg.get(), 0, sizeof(ConfigData));
    return cfg;
}

int DefaultButtonCode(int index)
{
    return (index >= 0 && index < BUTTON_COUNT) ? kDefaultButtonCodes[index] : 9;
}

void CopyField(wchar_t* dst, int capacity, const wchar_t* src)
{
    if (capacity <= 0) return;
    int n = 0;
    if (src)
        while (n < capacity - 1 && src[n]) { dst[n] = src[n]; ++n; }
    memset(dst + n, 0, (capacity - n) * sizeof(wchar_t));
}

void ResetMacro(MacroData& m)
{
    memset(&m, 0, sizeof m);
    m.delayMode = kDefaultDelayMode;
}

void ResetProfile(ProfileData& p)
{
    memset(&p, 0, sizeof p);
    p.DPI_VALUE = -1;
    p.DOUBLE_CLICK_SPEED = -1;
    p.SCROLL_SPEED = -1;
    p.SENSITIVITY = -1;
    p.ADVANCE_SENSITIVITY_X = -1;
    p.ADVANCE_SENSITIVITY_Y = -1;
    p.LED_COLOR = 0xFFFFFFFFu;
    p.LED_INTENSITY = -1;
    p.LED_PULSATION = -1;
    for (MacroData& m : p.macros) m.delayMode = kDefaultDelayMode;
    for (int i = 0; i < BUTTON_COUNT; ++i) {
        p.buttons[i].number = (uint8_t)(i + 1);
        p.buttons[i].code = -1;
    }
}

void ResetConfig(ConfigData& cfg)
{
    cfg.PROFILE_ID = -1;
    cfg.POLLING_RATE = -1;
    for (ProfileData& p : cfg.profiles) ResetProfile(p);
}

int ValidateConfig(ConfigData& cfg)
{
    bool changed = false;
    changed |= Clamp(cfg.PROFILE_ID, 0, PROFILE_COUNT - 1, 0);
    changed |= Clamp(cfg.POLLING_RATE, 1, 3, 2);
    changed |= Clamp(cfg.GAME_MODE, 0, 1, 0);
    for (int n = 0; n < PROFILE_COUNT; ++n) {
        ProfileData& p = cfg.profiles[n];
        changed |= Clamp(p.DPI_VALUE, 1, 5, 4);
        changed |= Clamp(p.DOUBLE_CLICK_SPEED, 150, 950, 500);
        changed |= Clamp(p.SCROLL_SPEED, 1, 18, 10);
        changed |= Clamp(p.SENSITIVITY, 1, 20, 10);
        changed |= Clamp(p.ADVANCE_SENSITIVITY_X, 1, 18, 10);
        changed |= Clamp(p.ADVANCE_SENSITIVITY_Y, 1, 18, 10);
        if (p.LED_COLOR < 1 || p.LED_COLOR > 0xFFFFFFu) {
            p.LED_COLOR = 0x3CFF;
            changed = true;
        }
        changed |= Clamp(p.LED_INTENSITY, 1, 4, 4);
        changed |= Clamp(p.LED_PULSATION, 1, 4, 3);
        for (int i = 0; i < BUTTON_COUNT; ++i) {
            if (Clamp(p.buttons[i].code, FUNCTION_CODE_MIN, FUNCTION_CODE_MAX, kDefaultButtonCodes[i])) {
                p.buttons[i].number = (uint8_t)(i + 1);
                changed = true;
            }
        }
        // A delay mode no editor makes (0 in a zero-filled slot) becomes that of a new slot.
        for (MacroData& m : p.macros) changed |= Clamp(m.delayMode, 1, 4, kDefaultDelayMode);
        if (p.PROFILE_NAME[0] == 0) swprintf(p.PROFILE_NAME, 256, L"Profile %d", n + 1);
        // The first two buttons always keep left and right click.
        p.buttons[0].code = 1;
        p.buttons[1].code = 2;
    }
    return changed ? 1 : 0;
}

int CompareConfig(const ConfigData& a, const ConfigData& b)
{
    if (a.PROFILE_ID != b.PROFILE_ID || a.POLLING_RATE != b.POLLING_RATE || a.GAME_MODE != b.GAME_MODE) return 1;
    for (int n = 0; n < PROFILE_COUNT; ++n)
        if (!SameProfile(a.profiles[n], b.profiles[n])) return 1;
    return 0;
}
