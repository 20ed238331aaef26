#include "service/KeySequences.h"
#include "service/ServiceSeams.h"

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

std::vector<Row> BuildRows()
{
    std::vector<Row> rows = {
        // Mouse functions.
        {1, 0, Mouse(MOUSEEVENTF_LEFTDOWN), Mouse(MOUSEEVENTF_LEFTUP)},
        {2, 1, MouseAtCursor(MOUSEEVENTF_RIGHTDOWN), MouseAtCursor(MOUSEEVENTF_RIGHTUP)},
        {3, ANY_BUTTON, Mouse(MOUSEEVENTF_LEFTDOWN) + Mouse(MOUSEEVENTF_LEFTUP) +
                        Mouse(MOUSEEVENTF_LEFTDOWN) + Mouse(MOUSEEVENTF_LEFTUP), {}},
        {4, 6, Mouse(MOUSEEVENTF_XDOWN, XBUTTON1), Mouse(MOUSEEVENTF_XUP, XBUTTON1)},
        {5, 7, Mouse(MOUSEEVENTF_XDOWN, XBUTTON2), Mouse(MOUSEEVENTF_XUP, XBUTTON2)},
        {6, ANY_BUTTON, MouseAtCursor(MOUSEEVENTF_MIDDLEDOWN), MouseAtCursor(MOUSEEVENTF_MIDDLEUP)},
        // DPI and profiles.
        {16, ANY_BUTTON, Action(KeyStepType::SelectDpi, 4), {}},
        {17, ANY_BUTTON, Action(KeyStepType::SelectDpi, 3), {}},
        {18, ANY_BUTTON, Action(KeyStepType::SelectDpi, 2), {}},
        {19, ANY_BUTTON, Action(KeyStepType::SelectDpi, 1), {}},
        {20, ANY_BUTTON, Action(KeyStepType::DpiUp), {}},
        {21, ANY_BUTTON, Action(KeyStepType::DpiDown), {}},
        {42, ANY_BUTTON, Action(KeyStepType::ProfileUp), {}},
        {43, ANY_BUTTON, Action(KeyStepType::ProfileDown), {}},
        // Chat commands.
        {80, ANY_BUTTON, Typed("\r/STOPCASTING\r\r/STOPATTACK\r"), {}},
        {81, ANY_BUTTON, Typed("\r/FOCUS\r"), {}},
        {82, ANY_BUTTON, Typed("\r/DISMOUNT\r"), {}},
        // MOVEMENT_KEYS; the walking keys stay down while the button is held.
        {101, 2, Mouse(MOUSEEVENTF_MIDDLEDOWN, 1), Mouse(MOUSEEVENTF_MIDDLEUP, 2)},
        {102, ANY_BUTTON, Key('W', EXT), Up('W')},
        {103, ANY_BUTTON, Key('A', EXT), Up('A')},
        {104, ANY_BUTTON, Key('S', EXT), Up('S')},
        {105, ANY_BUTTON, Key('D', EXT), Up('D')},
        {106, ANY_BUTTON, Key('Q', EXT), Up('Q')},
        {107, ANY_BUTTON, Key('E', EXT), Up('E')},
        {108, ANY_BUTTON, Key(VK_SPACE, EXT) + Wait(200) + Key(VK_SPACE, EXT | UP), {}},
        {109, ANY_BUTTON, Key('X', EXT) + Wait(200) + Key('X', EXT | UP), {}},
        {110, ANY_BUTTON, Down('Z') + Wait(100) + Up('Z'), {}},
        {111, ANY_BUTTON, Tap(VK_NUMLOCK), {}},
        {112, ANY_BUTTON, Tap(VK_INSERT), {}},
        {113, ANY_BUTTON, Tap(VK_DELETE), {}},
        {114, ANY_BUTTON, Tap(VK_DIVIDE), {}},
        // CHAT_FUNCTIONS.
        {201, ANY_BUTTON, Tap(VK_RETURN), {}},
        {202, ANY_BUTTON, Tap(VK_OEM_2), {}},
        {203, ANY_BUTTON, Tap(VK_PRIOR), {}},
        {204, ANY_BUTTON, Tap(VK_NEXT), {}},
        {205, ANY_BUTTON, With(SHIFT, VK_NEXT), {}},
        {206, ANY_BUTTON, Tap('R'), {}},
        {207, ANY_BUTTON, With(CTRL, VK_PRIOR), {}},
        {208, ANY_BUTTON, With(CTRL, VK_NEXT), {}},
        {209, ANY_BUTTON, Down(CTRL) + Down(SHIFT) + Tap(VK_NEXT) + Up(SHIFT) + Up(CTRL), {}},
        {210, ANY_BUTTON, With(SHIFT, 'C'), {}},
        // ACTION_BAR_FUNCTIONS.
        {351, ANY_BUTTON, Key(SHIFT, EXT) + Wait(50) + Down(VK_UP) + Wait(50) + Up(VK_UP) + Wait(50) +
                          Key(SHIFT, EXT | UP) + Wait(50) + Up(SHIFT), {}},
        {352, ANY_BUTTON, Key(SHIFT, EXT) + Wait(50) + Down(VK_DOWN) + Wait(50) + Up(VK_DOWN) + Wait(50) +
                          Key(SHIFT, EXT | UP) + Up(SHIFT), {}},
        // TARGETING_FUNCTIONS.
        {401, ANY_BUTTON, Tap(VK_TAB), {}},
        {402, ANY_BUTTON, With(SHIFT, VK_TAB), {}},
        {403, ANY_BUTTON, With(CTRL, VK_TAB), {}},
        {404, ANY_BUTTON, Down(CTRL) + Down(SHIFT) + Tap(VK_TAB) + Up(VK_SHIFT) + Up(CTRL), {}},
        {405, ANY_BUTTON, Tap(VK_F1), {}},
        {406, ANY_BUTTON, Tap(VK_F2), {}},
        {407, ANY_BUTTON, Tap(VK_F3), {}},
        {408, ANY_BUTTON, Tap(VK_F4), {}},
        {409, ANY_BUTTON, Tap(VK_F5), {}},
        {410, ANY_BUTTON, With(SHIFT, VK_F1), {}},
        {411, ANY_BUTTON, With(SHIFT, VK_F2), {}},
        {412, ANY_BUTTON, With(SHIFT, VK_F3), {}},
        {413, ANY_BUTTON, With(SHIFT, VK_F4), {}},
        {414, ANY_BUTTON, With(SHIFT, VK_F5), {}},
        {415, ANY_BUTTON, Tap('G'), {}},
        {416, ANY_BUTTON, Tap('F'), {}},
        {417, ANY_BUTTON, Tap('V'), {}},
        {418, ANY_BUTTON, With(SHIFT, 'V'), {}},
        {419, ANY_BUTTON, With(CTRL, 'V'), {}},
        {420, ANY_BUTTON, Tap('T'), {}},
        {421, ANY_BUTTON, With(SHIFT, 'T'), {}},
        // INTERFACE_PANEL_FUNCTIONS.
        {501, ANY_BUTTON, Tap('C'), {}},
        {502, ANY_BUTTON, With(SHIFT, 'B'), {}},
        {503, ANY_BUTTON, Tap(VK_F8), {}},
        {504, ANY_BUTTON, Tap(VK_F9), {}},
        {505, ANY_BUTTON, Tap(VK_F10), {}},
        {506, ANY_BUTTON, Tap(VK_F11), {}},
        {507, ANY_BUTTON, Tap('B'), {}},
        {508, ANY_BUTTON, Tap('P'), {}},
        {509, ANY_BUTTON, With(SHIFT, 'I'), {}},
        {510, ANY_BUTTON, Tap('N'), {}},
        {511, ANY_BUTTON, Tap('H'), {}},
        {512, ANY_BUTTON, With(SHIFT, 'P'), {}},
        {513, ANY_BUTTON, Tap('U'), {}},
        {514, ANY_BUTTON, Tap('K'), {}},
        {515, ANY_BUTTON, Tap('L'), {}},
        {516, ANY_BUTTON, Tap(VK_ESCAPE), {}},
        {517, ANY_BUTTON, Tap('M'), {}},
        {518, ANY_BUTTON, Tap('O'), {}},
        {519, ANY_BUTTON, With(SHIFT, VK_SPACE), {}},
        {520, ANY_BUTTON, With(SHIFT, 'M'), {}},
        {521, ANY_BUTTON, With(SHIFT, 'O'), {}},
        // CAMERA_FUNCTIONS.
        {601, ANY_BUTTON, Tap(VK_END), {}},
        {602, ANY_BUTTON, Tap(VK_HOME), {}},
        {603, ANY_BUTTON, Mouse(MOUSEEVENTF_WHEEL, WHEEL_DELTA), {}},
        {604, ANY_BUTTON, Mouse(MOUSEEVENTF_WHEEL, -WHEEL_DELTA), {}},
        // MISCELLANEOUS_FUNCTIONS.
        {701, ANY_BUTTON, Tap(VK_ADD), {}},
        {702, ANY_BUTTON, Tap(VK_SUBTRACT), {}},
        {703, ANY_BUTTON, With(CTRL, 'M'), {}},
        {704, ANY_BUTTON, With(CTRL, 'S'), {}},
        {705, ANY_BUTTON, With(CTRL, VK_OEM_PLUS), {}},
        {706, ANY_BUTTON, With(CTRL, VK_OEM_MINUS), {}},
        {707, ANY_BUTTON, With(ALT, 'Z'), {}},
        {708, ANY_BUTTON, With(CTRL, 'R'), {}},
        {709, ANY_BUTTON, Tap(VK_SNAPSHOT), {}},
    };

    // The twelve action-bar keys and their four families (301.., 313.., 335.., 345..).
    const WORD actionKeys[12] = {'1', '2', '3', '4', '5', '6', '7', '8', '9', '0', VK_OEM_MINUS, VK_OEM_PLUS};
    const WORD secondaryKeys[10] = {'1', '2', '3', '4', '5', '6', '7', '8', '9', '0'};
    for (int i = 0; i < 12; ++i) {
        rows.push_back({301 + i, ANY_BUTTON, Tap(actionKeys[i]), {}});
        rows.push_back({313 + i, ANY_BUTTON, With(ALT, actionKeys[i]), {}});
    }
    for (int i = 0; i < 10; ++i) {
        rows.push_back({325 + i, ANY_BUTTON, With(CTRL, (WORD)(VK_F1 + i)), {}});
        rows.push_back({335 + i, ANY_BUTTON, With(CTRL, secondaryKeys[i]), {}});
    }
    for (int i = 0; i < 6; ++i)
        rows.push_back({345 + i, ANY_BUTTON, With(SHIFT, (WORD)('1' + i)), {}});
    for (int p = 0; p < 10; ++p)
        rows.push_back({32 + p, ANY_BUTTON, Action(KeyStepType::SetProfile, p), {}});
    // Only the fifty macro slots a profile has; later codes have no row.
    for (int slot = 0; slot < 50; ++slot)
        rows.push_back({1000 + slot, ANY_BUTTON, Action(KeyStepType::Macro, slot, 0),
                        Action(KeyStepType::Macro, slot, 1)});
    return rows;
}

constexpr int kHighestCode = 1200;

struct Table {
    std::vector<Row> rows;
    std::vector<const Row*> byCode;   // index: function code 0..kHighestCode
    Table() : rows(BuildRows()), byCode(kHighestCode + 1, nullptr)
    {
        for (const Row& r : rows)
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
    if (code < 0 || code > kHighestCode)
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
