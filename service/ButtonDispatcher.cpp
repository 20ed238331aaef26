#include "service/ButtonDispatcher.h"
#include "service/HIDWnd.h"
#include "service/DeviceSettings.h"
#include "service/KeySequences.h"
#include "service/MacroPlayer.h"
#include "service/ServiceSeams.h"
#include "core/Messages.h"
#include <algorithm>
#include <utility>

namespace {

// The window found by the last search and its process. A window handle is not reused
// while the window exists, so the process stays that of the window.
HWND s_program = nullptr;
DWORD s_programPid = 0;
// The foreground window when the last search found no configuration program. While it is
// still in front under another title, the program cannot own the foreground (it makes no
// window before its main window), so the search, the costliest step of a button event,
// is not repeated.
HWND s_frontAtMiss = nullptr;

bool HasExactTitle(HWND window, const wchar_t* title)
{
    // Never sends a message, so a program that stopped answering cannot stall a button.
    wchar_t text[128];
    int n = InternalGetWindowText(window, text, (int)(sizeof(text) / sizeof(text[0])));
    return n > 0 && wcscmp(text, title) == 0;
}

// While the configuration program owns the foreground it takes buttons 2..15 itself;
// buttons 0 and 1 always keep their function.
bool HandedToConfigurationProgram(int buttonIndex, bool press)
{
    if (buttonIndex < 2 || buttonIndex > 15)
        return false;
    HWND front = ForegroundSeam().Window();
    if (!front)
        return false;
    if (!s_program && front == s_frontAtMiss && !HasExactTitle(front, GEARLOOM_MAIN_TITLE))
        return false;
    HWND program = FindConfigurationProgram();
    DWORD programPid = s_programPid;
    s_frontAtMiss = program ? nullptr : front;
    if (!program || !programPid)
        return false;
    DWORD frontPid = 0;
    GetWindowThreadProcessId(front, &frontPid);
    if (programPid != frontPid)
        return false;
    PostMessageW(program, WM_SERVICE_BUTTON_STATE, (WPARAM)buttonIndex, press ? 1 : 0);
    return true;
}

void PerformAction(CHIDWnd& wnd, const KeyStep& step)
{
    int current = CurrentProfileIndex(wnd.m_config);
    switch (step.type) {
    case KeyStepType::SelectDpi: wnd.SelectDpiStage(step.value); break;
    case KeyStepType::DpiUp: wnd.DpiUp(); break;
    case KeyStepType::DpiDown: wnd.DpiDown(); break;
    case KeyStepType::SetProfile: wnd.SetProfile(step.value); break;
    // The profile steps switch also without a device.
    case KeyStepType::ProfileUp: wnd.SwitchProfile(std::min(current + 1, PROFILE_COUNT - 1)); break;
    case KeyStepType::ProfileDown: wnd.SwitchProfile(std::max(current - 1, 0)); break;
    case KeyStepType::Macro: wnd.RunMacro(step.value, step.flags != 0); break;
    default: break;
    }
}

// Plays the steps; a macro step plays macro when given (the one a press remembered), else
// the slot of the current profile.
void Perform(CHIDWnd& wnd, const KeySteps& steps, const MacroData* macro)
{
    PlayKeySteps(steps, [&wnd, macro](const KeyStep& s) {
        if (s.type == KeyStepType::Macro && macro)
            PlayMacro(*macro, s.flags != 0, wnd.m_hWnd);
        else
            PerformAction(wnd, s);
    });
}

// The slot a macro step of the steps plays; -1 when there is none.
int MacroSlotOf(const KeySteps& steps)
{
    for (const KeyStep& s : steps)
        if (s.type == KeyStepType::Macro)
            return s.value;
    return -1;
}

} // namespace

HWND FindConfigurationProgram()
{
    if (s_program && IsWindow(s_program) && HasExactTitle(s_program, GEARLOOM_MAIN_TITLE))
        return s_program;
    s_program = FindWindowW(nullptr, GEARLOOM_MAIN_TITLE);
    s_programPid = 0;
    if (s_program)
        GetWindowThreadProcessId(s_program, &s_programPid);
    return s_program;
}

void CHIDWnd::HandleButtonPress(int eventCode)
{
    int index = ButtonIndexFromEventCode(eventCode);
    if (HandedToConfigurationProgram(index, true))
        return;
    if (index < 0)
        return;
    // A press whose release never came is undone first, so nothing it holds stays down.
    UndoButtonPress(eventCode);
    int code = m_config.profiles[CurrentProfileIndex(m_config)].buttons[index].code;
    const KeySteps& steps = KeyStepsFor(code, false, index);
    ButtonPress& press = m_buttonPresses[index];
    press.pending = true;
    press.letGo = false;
    press.code = code;
    const MacroData* inSlot = MacroInSlot(MacroSlotOf(steps));
    if (!inSlot) {
        Perform(*this, steps, nullptr);
        return;
    }
    // A copy plays: a reload handled while a layout request waits must not change the
    // macro under way.
    press.macro = *inSlot;
    MacroData macro = press.macro;
    Perform(*this, steps, &macro);
}

void CHIDWnd::HandleButtonRelease(int eventCode)
{
    int index = ButtonIndexFromEventCode(eventCode);
    // The program in front is told of the release; a press performed before it came to
    // the front is still undone, or its key would stay down.
    bool handed = HandedToConfigurationProgram(index, false);
    // A press let go when the mouse was removed: its release, once the mouse is back, would
    // let go what is no longer down.
    bool letGo = index >= 0 && std::exchange(m_buttonPresses[index].letGo, false);
    if (UndoButtonPress(eventCode) || handed || letGo)
        return;
    if (index < 0)
        return;
    // No press remembered (it went to the configuration program, came in in-game mode or
    // before the service started): the release of the button's code in the current profile.
    int code = m_config.profiles[CurrentProfileIndex(m_config)].buttons[index].code;
    Perform(*this, KeyStepsFor(code, true, index), nullptr);
}

bool CHIDWnd::UndoButtonPress(int eventCode)
{
    return UndoPressOfButton(ButtonIndexFromEventCode(eventCode));
}

bool CHIDWnd::UndoPressOfButton(int index)
{
    if (index < 0 || index >= BUTTON_COUNT || !m_buttonPresses[index].pending)
        return false;
    ButtonPress& press = m_buttonPresses[index];
    press.pending = false;
    MacroData macro = press.macro;
    Perform(*this, KeyStepsFor(press.code, true, index), &macro);
    return true;
}

void CHIDWnd::LetGoHeldButtons()
{
    for (int index = 0; index < BUTTON_COUNT; ++index)
        if (UndoPressOfButton(index))
            m_buttonPresses[index].letGo = true;
}

const MacroData* CHIDWnd::MacroInSlot(int slot) const
{
    if (slot < 0 || slot >= MACRO_COUNT)
        return nullptr;
    return &m_config.profiles[CurrentProfileIndex(m_config)].macros[slot];
}

void CHIDWnd::RunMacro(int slot, bool release)
{
    const MacroData* m = MacroInSlot(slot);
    if (!m)
        return;
    // A copy: a reload handled while a layout request waits must not change the macro under way.
    MacroData macro = *m;
    PlayMacro(macro, release, m_hWnd);
}

void CHIDWnd::PlayMacroEvents(int slot)
{
    if (const MacroData* m = MacroInSlot(slot)) {
        MacroData macro = *m;
        PlayMacroEventsOnce(macro);
    }
}

void CHIDWnd::PlayMacroStartKeys(int slot)
{
    if (const MacroData* m = MacroInSlot(slot))
        PlayMacroKeys(m->startKeys);
}

void CHIDWnd::PlayMacroSendKeys(int slot)
{
    if (const MacroData* m = MacroInSlot(slot))
        PlayMacroKeys(m->sendKeys);
}

void CHIDWnd::PasteText(const CString& text, bool narrow)
{
    PasteTextThroughClipboard(m_hWnd, text, narrow);
}
