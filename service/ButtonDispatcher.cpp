#include "service/ButtonDispatcher.h"
#include "service/HIDWnd.h"
#include "service/DeviceSettings.h"
#include "service/KeySequences.h"
#include "service/MacroPlayer.h"
#include "service/ServiceSeams.h"
#include "core/Messages.h"
#include <algorithm>

namespace {

struct ProgramWindow {
    bool known = false;
    HWND window = nullptr;
    DWORD pid = 0;
    DWORD lookedUpAt = 0;
};
ProgramWindow s_program;

// The configuration program's main window and its process, as last looked up.
HWND ConfigurationProgram(DWORD& pid)
{
    DWORD now = ClockSeam().TickCount();
    if (!s_program.known || now - s_program.lookedUpAt >= PROGRAM_LOOKUP_MS) {
        s_program.window = FindWindowW(nullptr, GEARLOOM_MAIN_TITLE);
        s_program.pid = 0;
        if (s_program.window)
            GetWindowThreadProcessId(s_program.window, &s_program.pid);
        s_program.lookedUpAt = now;
        s_program.known = true;
    }
    pid = s_program.pid;
    return s_program.window;
}

// While the configuration program owns the foreground it takes buttons 2..15 itself;
// buttons 0 and 1 always keep their function.
bool HandedToConfigurationProgram(int buttonIndex, bool press)
{
    if (buttonIndex < 2 || buttonIndex > 15)
        return false;
    DWORD programPid = 0;
    HWND program = ConfigurationProgram(programPid);
    if (!program || !programPid)
        return false;
    HWND front = ForegroundSeam().Window();
    if (!front)
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

void HandleButton(CHIDWnd& wnd, int eventCode, bool release)
{
    int index = ButtonIndexFromEventCode(eventCode);
    if (HandedToConfigurationProgram(index, !release))
        return;
    if (index < 0)
        return;
    int code = wnd.m_config.profiles[CurrentProfileIndex(wnd.m_config)].buttons[index].code;
    PlayKeySteps(KeyStepsFor(code, release, index), [&wnd](const KeyStep& s) { PerformAction(wnd, s); });
}

} // namespace

void ForgetConfigurationProgramWindow()
{
    s_program.known = false;
}

void CHIDWnd::HandleButtonPress(int eventCode)
{
    HandleButton(*this, eventCode, false);
}

void CHIDWnd::HandleButtonRelease(int eventCode)
{
    HandleButton(*this, eventCode, true);
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
