#include "service/ButtonDispatcher.h"
#include "service/HIDWnd.h"
#include "service/DeviceSettings.h"
#include "service/KeySequences.h"
#include "service/MacroPlayer.h"
#include "service/ServiceSeams.h"
#include "core/Messages.h"
#include <algorithm>

namespace {

// The window found by the last search and its process. A window handle is not reused
// while the window exists, so the process stays that of the window.
HWND s_program = nullptr;
DWORD s_programPid = 0;

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
    HWND program = FindConfigurationProgram();
    DWORD programPid = s_programPid;
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
