#include "service/KeySequences.h"
#include "service/ServiceSeams.h"
#include "core/ConfigData.h"
#include "core/FunctionCodes.h"
#include <cwchar>

namespace {

constexpr DWORD UP = KEYEVENTF_KEYUP;
constexpr DWORD EXT = KEYEVENTF_EXTENDEDKEY;
constexpr WORD SHIFT = VK_LSHIFT;
constexpr WORD CTRL = VK_LCONTROL;
constexpr WORD ALT = VK_LMENU;
constexpr int ANY_BUTTON = -1;

KeySteps operator+(KeySteps a, const KeySteps& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

KeySteps Key(WORD vk, DWORD flags) { return {{KeyStepType::Key, vk, flags, 0, false}}; }
KeySteps Down(WORD vk) { return Key(vk, 0); }
KeySteps Up(WORD vk) { return Key(vk, UP); }
KeySteps Tap(WORD vk) { return Down(vk) + Up(vk); }
// Modifier held around one tap.
KeySteps With(WORD mod, WORD vk) { return Down(mod) + Tap(vk) + Up(mod); }
KeySteps Wait(int ms) { return {{KeyStepType::Wait, 0, 0, ms, false}}; }
// 0, 0 with the message's extra info.
KeySteps Mouse(DWORD flags, int data = 0) { return {{KeyStepType::Mouse, 0, flags, data, false}}; }
KeySteps MouseAtCursor(DWORD flags) { return {{KeyStepType::Mouse, 0, flags, 0, true}}; }
KeySteps Action(KeyStepType type, int value = 0, DWORD flags = 0) { return {{type, 0, flags, value, false}}; }

// Chat text typed as taps: '\r' is Enter, '/' the slash key, letters their virtual keys.
KeySteps Typed(const char* text)
{
    KeySteps steps;
    for (const char* p = text; *p; ++p) {
        WORD vk = *p == '\r' ? VK_RETURN : *p == '/' ? VK_OEM_2 : (WORD)(unsigned char)*p;
        steps = steps + Tap(vk);
    }
    return steps;
}

struct Row {
    int code;
    int nativeButton;   // button index on which Windows performs the click itself
    KeySteps press;
    KeySteps release;
};

// Rows are keyed by the functions' element names; the codes come from the shared code
// table, so a row cannot act on a code that means something else in the configuration
// program. A name the table does not know gives code -1, which no button holds.
Row Named(const wchar_t* element, int nativeButton, KeySteps press, KeySteps release = {})
{
    return {FunctionCodeOf(element), nativeButton, std::move(press), std::move(release)};
}

// The element of a numbered family, such as ACTION_BUTTON_ and 12.
Row Numbered(const wchar_t* prefix, int n, KeySteps press)
{
    wchar_t element[64];
    swprintf(element, 64, L"%ls%d", prefix, n);
    return Named(element, ANY_BUTTON, std::move(press));
}

std::vector<Row> BuildRows()
{
    std::vector<Row> rows = {
        // Mouse functions.
        Named(L"LEFT_CLICK", 0, Mouse(MOUSEEVENTF_LEFTDOWN), Mouse(MOUSEEVENTF_LEFTUP)),
        Named(L"RIGHT_CLICK", 1, MouseAtCursor(MOUSEEVENTF_RIGHTDOWN), MouseAtCursor(MOUSEEVENTF_RIGHTUP)),
        Named(L"DOUBLE_CLICK", ANY_BUTTON, Mouse(MOUSEEVENTF_LEFTDOWN) + Mouse(MOUSEEVENTF_LEFTUP) +
                                           Mouse(MOUSEEVENTF_LEFTDOWN) + Mouse(MOUSEEVENTF_LEFTUP)),
        Named(L"WINDOWS_BUTTON_4", 6, Mouse(MOUSEEVENTF_XDOWN, XBUTTON1), Mouse(MOUSEEVENTF_XUP, XBUTTON1)),
        Named(L"WINDOWS_BUTTON_5", 7, Mouse(MOUSEEVENTF_XDOWN, XBUTTON2), Mouse(MOUSEEVENTF_XUP, XBUTTON2)),
        Named(L"UNIVERSAL_SCROLL", ANY_BUTTON, MouseAtCursor(MOUSEEVENTF_MIDDLEDOWN), MouseAtCursor(MOUSEEVENTF_MIDDLEUP)),
        // DPI and profiles.
        Named(L"DPI_400", ANY_BUTTON, Action(KeyStepType::SelectDpi, 4)),
        Named(L"DPI_800", ANY_BUTTON, Action(KeyStepType::SelectDpi, 3)),
        Named(L"DPI_1600", ANY_BUTTON, Action(KeyStepType::SelectDpi, 2)),
        Named(L"DPI_3200", ANY_BUTTON, Action(KeyStepType::SelectDpi, 1)),
        Named(L"DPI_UP", ANY_BUTTON, Action(KeyStepType::DpiUp)),
        Named(L"DPI_DOWN", ANY_BUTTON, Action(KeyStepType::DpiDown)),
        Named(L"PROFILE_UP", ANY_BUTTON, Action(KeyStepType::ProfileUp)),
        Named(L"PROFILE_DOWN", ANY_BUTTON, Action(KeyStepType::ProfileDown)),
        // Chat commands.
        Named(L"STOP_ALL", ANY_BUTTON, Typed("\r/STOPCASTING\r\r/STOPATTACK\r")),
        Named(L"FOCUS", ANY_BUTTON, Typed("\r/FOCUS\r")),
        Named(L"DISMOUNT", ANY_BUTTON, Typed("\r/DISMOUNT\r")),
        // MOVEMENT_KEYS; the walking keys stay down while the button is held.
        Named(L"MOVE_AND_STEER", 2, Mouse(MOUSEEVENTF_MIDDLEDOWN, 1), Mouse(MOUSEEVENTF_MIDDLEUP, 2)),
        Named(L"MOVE_FORWARD", ANY_BUTTON, Key('W', EXT), Up('W')),
        Named(L"TURN_LEFT", ANY_BUTTON, Key('A', EXT), Up('A')),
        Named(L"MOVE_BACKWARD", ANY_BUTTON, Key('S', EXT), Up('S')),
        Named(L"TURN_RIGHT", ANY_BUTTON, Key('D', EXT), Up('D')),
        Named(L"STRAFE_LEFT", ANY_BUTTON, Key('Q', EXT), Up('Q')),
        Named(L"STRAFE_RIGHT", ANY_BUTTON, Key('E', EXT), Up('E')),
        Named(L"JUMP", ANY_BUTTON, Key(VK_SPACE, EXT) + Wait(200) + Key(VK_SPACE, EXT | UP)),
        Named(L"SIT_STAND", ANY_BUTTON, Key('X', EXT) + Wait(200) + Key('X', EXT | UP)),
        Named(L"SHEATH", ANY_BUTTON, Down('Z') + Wait(100) + Up('Z')),
        Named(L"TOGGLE_AUTORUN", ANY_BUTTON, Tap(VK_NUMLOCK)),
        Named(L"PITCH_UP", ANY_BUTTON, Tap(VK_INSERT)),
        Named(L"PITCH_DOWN", ANY_BUTTON, Tap(VK_DELETE)),
        Named(L"TOGGLE_RUN", ANY_BUTTON, Tap(VK_DIVIDE)),
        // CHAT_FUNCTIONS.
        Named(L"OPEN_CHAT", ANY_BUTTON, Tap(VK_RETURN)),
        Named(L"OPEN_CHAT_SLASH", ANY_BUTTON, Tap(VK_OEM_2)),
        Named(L"CHAT_PAGE_UP", ANY_BUTTON, Tap(VK_PRIOR)),
        Named(L"CHAT_PAGE_DOWN", ANY_BUTTON, Tap(VK_NEXT)),
        Named(L"CHAT_BOTTOM", ANY_BUTTON, With(SHIFT, VK_NEXT)),
        Named(L"CHAT_REPLY", ANY_BUTTON, Tap('R')),
        Named(L"COMBAT_LOG_PAGE_UP", ANY_BUTTON, With(CTRL, VK_PRIOR)),
        Named(L"COMBAT_LOG_PAGE_DOWN", ANY_BUTTON, With(CTRL, VK_NEXT)),
        Named(L"COMBAT_LOG_BOTTOM", ANY_BUTTON, Down(CTRL) + Down(SHIFT) + Tap(VK_NEXT) + Up(SHIFT) + Up(CTRL)),
        Named(L"TOGGLE_COMBAT_LOG", ANY_BUTTON, With(SHIFT, 'C')),
        // ACTION_BAR_FUNCTIONS; the numbered buttons and pages follow below.
        Named(L"PREVIOUS_ACTION_BAR", ANY_BUTTON, Key(SHIFT, EXT) + Wait(50) + Down(VK_UP) + Wait(50) + Up(VK_UP) +
                                                  Wait(50) + Key(SHIFT, EXT | UP) + Wait(50) + Up(SHIFT)),
        Named(L"NEXT_ACTION_BAR", ANY_BUTTON, Key(SHIFT, EXT) + Wait(50) + Down(VK_DOWN) + Wait(50) + Up(VK_DOWN) +
                                              Wait(50) + Key(SHIFT, EXT | UP) + Up(SHIFT)),
        // TARGETING_FUNCTIONS; the party members and pets follow below.
        Named(L"TARGET_NEAREST_ENEMY", ANY_BUTTON, Tap(VK_TAB)),
        Named(L"TARGET_PREVIOUS_ENEMY", ANY_BUTTON, With(SHIFT, VK_TAB)),
        Named(L"TARGET_NEAREST_FRIEND", ANY_BUTTON, With(CTRL, VK_TAB)),
        Named(L"TARGET_PREVIOUS_FRIEND", ANY_BUTTON, Down(CTRL) + Down(SHIFT) + Tap(VK_TAB) + Up(VK_SHIFT) + Up(CTRL)),
        Named(L"TARGET_SELF", ANY_BUTTON, Tap(VK_F1)),
        Named(L"TARGET_PET", ANY_BUTTON, With(SHIFT, VK_F1)),
        Named(L"TARGET_LAST_HOSTILE", ANY_BUTTON, Tap('G')),
        Named(L"ASSIST_TARGET", ANY_BUTTON, Tap('F')),
        Named(L"SHOW_ENEMY_NAME_PLATES", ANY_BUTTON, Tap('V')),
        Named(L"SHOW_FRIENDLY_NAME_PLATES", ANY_BUTTON, With(SHIFT, 'V')),
        Named(L"SHOW_ALL_NAME_PLATES", ANY_BUTTON, With(CTRL, 'V')),
        Named(L"ATTACK_TARGET", ANY_BUTTON, Tap('T')),
        Named(L"PET_ATTACK", ANY_BUTTON, With(SHIFT, 'T')),
        // INTERFACE_PANEL_FUNCTIONS; the bags follow below.
        Named(L"TOGGLE_CHARACTER_PANE", ANY_BUTTON, Tap('C')),
        Named(L"TOGGLE_BACKPACK", ANY_BUTTON, With(SHIFT, 'B')),
        Named(L"OPEN_ALL_BAGS", ANY_BUTTON, Tap('B')),
        Named(L"TOGGLE_SPELLBOOK", ANY_BUTTON, Tap('P')),
        Named(L"TOGGLE_PETBOOK", ANY_BUTTON, With(SHIFT, 'I')),
        Named(L"TOGGLE_TALENT_PANE", ANY_BUTTON, Tap('N')),
        Named(L"TOGGLE_HONOR_PANE", ANY_BUTTON, Tap('H')),
        Named(L"TOGGLE_PET_PANE", ANY_BUTTON, With(SHIFT, 'P')),
        Named(L"TOGGLE_REPUTATION_PANE", ANY_BUTTON, Tap('U')),
        Named(L"TOGGLE_SKILL_PANE", ANY_BUTTON, Tap('K')),
        Named(L"TOGGLE_QUEST_LOG", ANY_BUTTON, Tap('L')),
        Named(L"TOGGLE_GAME_MENU", ANY_BUTTON, Tap(VK_ESCAPE)),
        Named(L"TOGGLE_WORLD_MAP_PANE", ANY_BUTTON, Tap('M')),
        Named(L"TOGGLE_SOCIAL_PANE", ANY_BUTTON, Tap('O')),
        Named(L"TOGGLE_SCORE_SCREEN", ANY_BUTTON, With(SHIFT, VK_SPACE)),
        Named(L"TOGGLE_BATTLE_MAP", ANY_BUTTON, With(SHIFT, 'M')),
        Named(L"TOGGLE_CHANNEL_PULLOUT", ANY_BUTTON, With(SHIFT, 'O')),
        // CAMERA_FUNCTIONS.
        Named(L"NEXT_VIEW", ANY_BUTTON, Tap(VK_END)),
        Named(L"PREVIOUS_VIEW", ANY_BUTTON, Tap(VK_HOME)),
        Named(L"ZOOM_IN", ANY_BUTTON, Mouse(MOUSEEVENTF_WHEEL, WHEEL_DELTA)),
        Named(L"ZOOM_OUT", ANY_BUTTON, Mouse(MOUSEEVENTF_WHEEL, -WHEEL_DELTA)),
        // MISCELLANEOUS_FUNCTIONS.
        Named(L"MINIMAP_ZOOM_IN", ANY_BUTTON, Tap(VK_ADD)),
        Named(L"MINIMAP_ZOOM_OUT", ANY_BUTTON, Tap(VK_SUBTRACT)),
        Named(L"TOGGLE_MUSIC", ANY_BUTTON, With(CTRL, 'M')),
        Named(L"TOGGLE_SOUND", ANY_BUTTON, With(CTRL, 'S')),
        Named(L"MASTER_VOLUME_UP", ANY_BUTTON, With(CTRL, VK_OEM_PLUS)),
        Named(L"MASTER_VOLUME_DOWN", ANY_BUTTON, With(CTRL, VK_OEM_MINUS)),
        Named(L"TOGGLE_USER_INTERFACE", ANY_BUTTON, With(ALT, 'Z')),
        Named(L"TOGGLE_FRAMERATE_DISPLAY", ANY_BUTTON, With(CTRL, 'R')),
        Named(L"SCREEN_SHOT", ANY_BUTTON, Tap(VK_SNAPSHOT)),
    };

    // The twelve action-bar keys and the numbered families that use them.
    const WORD actionKeys[12] = {'1', '2', '3', '4', '5', '6', '7', '8', '9', '0', VK_OEM_MINUS, VK_OEM_PLUS};
    for (int n = 1; n <= 12; ++n) {
        rows.push_back(Numbered(L"ACTION_BUTTON_", n, Tap(actionKeys[n - 1])));
        rows.push_back(Numbered(L"SELF_ACTION_BUTTON_", n, With(ALT, actionKeys[n - 1])));
    }
    for (int n = 1; n <= 10; ++n) {
        rows.push_back(Numbered(L"SPECIAL_ACTION_BUTTON_", n, With(CTRL, (WORD)(VK_F1 + n - 1))));
        rows.push_back(Numbered(L"SECONDARY_ACTION_BUTTON_", n, With(CTRL, actionKeys[n - 1])));
    }
    for (int n = 1; n <= 6; ++n)
        rows.push_back(Numbered(L"ACTION_PAGE_", n, With(SHIFT, (WORD)('0' + n))));
    for (int n = 1; n <= 4; ++n) {
        rows.push_back(Numbered(L"TARGET_PARTY_MEMBER_", n, Tap((WORD)(VK_F1 + n))));
        rows.push_back(Numbered(L"TARGET_PARTY_PET_", n, With(SHIFT, (WORD)(VK_F1 + n))));
        rows.push_back(Numbered(L"TOGGLE_BAG_", n, Tap((WORD)(VK_F7 + n))));
    }
    for (int n = 1; n <= PROFILE_COUNT; ++n)
        rows.push_back(Numbered(L"PROFILE_", n, Action(KeyStepType::SetProfile, n - 1)));
    // Only the fifty macro slots a profile has; later codes have no row.
    for (int slot = 0; slot < MACRO_COUNT; ++slot)
        rows.push_back({FIRST_MACRO_CODE + slot, ANY_BUTTON, Action(KeyStepType::Macro, slot, 0),
                        Action(KeyStepType::Macro, slot, 1)});
    return rows;
}

struct Table {
    std::vector<Row> rows;
    std::vector<const Row*> byCode;   // index: function code 0..FUNCTION_CODE_MAX
    Table() : rows(BuildRows()), byCode(FUNCTION_CODE_MAX + 1, nullptr)
    {
        for (const Row& r : rows)
            if (r.code >= 0 && r.code <= FUNCTION_CODE_MAX)
                byCode[r.code] = &r;
    }
};

const Table& TheTable()
{
    static const Table table;
    return table;
}

} // namespace

int ButtonIndexFromEventCode(int eventCode)
{
    switch (eventCode) {
    case 1: return 0;
    case 2: return 1;
    case 4: return 2;
    case 0x4020: return 3;
    case 0x8020: return 4;
    case 0x21: return 5;
    case 0x10: return 6;
    case 8: return 7;
    case 0x820: return 8;
    case 0x420: return 9;
    case 0x1020: return 10;
    default: return -1;
    }
}

const KeySteps& KeyStepsFor(int code, bool release, int buttonIndex)
{
    static const KeySteps nothing;
    if (code < 0 || code > FUNCTION_CODE_MAX)
        return nothing;
    const Row* row = TheTable().byCode[code];
    if (!row || row->nativeButton == buttonIndex)
        return nothing;
    return release ? row->release : row->press;
}

UINT SendKeyInput(WORD vk, WORD scan, DWORD flags)
{
    INPUT in = {};
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = vk;
    in.ki.wScan = scan;
    in.ki.dwFlags = flags;
    return InputSeam().Send(in);
}

UINT SendMouseInput(LONG dx, LONG dy, DWORD mouseData, DWORD flags, ULONG_PTR extra)
{
    INPUT in = {};
    in.type = INPUT_MOUSE;
    in.mi.dx = dx;
    in.mi.dy = dy;
    in.mi.mouseData = mouseData;
    in.mi.dwFlags = flags;
    in.mi.dwExtraInfo = extra;
    return InputSeam().Send(in);
}

bool PerformInputStep(const KeyStep& step)
{
    switch (step.type) {
    case KeyStepType::Key:
        SendKeyInput(step.vk, (WORD)MapVirtualKeyW(step.vk, MAPVK_VK_TO_VSC), step.flags);
        return true;
    case KeyStepType::Mouse:
        if (step.atCursor) {
            POINT pt = {};
            GetCursorPos(&pt);
            SendMouseInput(pt.x, pt.y, (DWORD)step.value, step.flags, 0);
        } else {
            SendMouseInput(0, 0, (DWORD)step.value, step.flags, (ULONG_PTR)GetMessageExtraInfo());
        }
        return true;
    case KeyStepType::Wait:
        ClockSeam().Sleep((DWORD)step.value);
        return true;
    default:
        return false;
    }
}

void PlayKeySteps(const KeySteps& steps, const std::function<void(const KeyStep&)>& onAction)
{
    for (const KeyStep& s : steps)
        if (!PerformInputStep(s) && onAction)
            onAction(s);
}
