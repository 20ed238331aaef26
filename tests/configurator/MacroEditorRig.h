#pragma once
#include "GuiTestSupport.h"
#include <gtest/gtest.h>
#include "configurator/function_picker/CMacroDialog.h"
#include "core/ConfigData.h"
#include <memory>
#include <string>
#include <vector>

// The macro editor shown as in the program, but modeless, so the test keeps its thread and
// plays the person: real clicks on its buttons and displays, real keys through SendInput.
// The program folder is the repository's resources folder. A fake tick count can be set for
// the recorded delays.
class MacroEditorRig {
public:
    MacroEditorRig();
    ~MacroEditorRig();
    MacroEditorRig(const MacroEditorRig&) = delete;
    MacroEditorRig& operator=(const MacroEditorRig&) = delete;

    std::unique_ptr<CMacroDialog> dlg;

    // Makes and shows the editor in front, for a new macro (null) or a copy of one.
    bool Open(const MacroData* macro = nullptr);
    // A new macro with a delay mode's button clicked, then MACRO_AREA: true when that
    // display is the recording target, empty.
    bool OpenRecording(CBitmapBtn CMacroDialog::*mode);
    void Close();

    // A real click at the centre of a control, then its messages handled.
    void Click(const CWnd& control);
    // Keys as the keyboard gives them: a press, a release, or both; extended for the right
    // Ctrl and Alt and the keypad Enter. Each waits until the editor had them.
    void Press(WORD vk, bool extended = false);
    void Release(WORD vk, bool extended = false);
    void Tap(WORD vk, bool extended = false);
    // Many key events in one go (pairs of press and release of each key, in order).
    void TapAll(const std::vector<WORD>& keys);
    // The recorded delays' clock: every tick count read from now on is this value.
    static void SetTick(DWORD tick);
    static void UseRealClock();

    // The working events as (key, up, delay) triples.
    std::vector<MacroEvent> Events() const;
    // The text of a display.
    std::wstring Text(const COstrelMacroDisplay& display) const { return display.GetText().str(); }

private:
    static DWORD FakeTick();
    static DWORD s_tick;
};

// Field-for-field comparison of two macros, with the first difference named.
::testing::AssertionResult SameMacro(const MacroData& a, const MacroData& b);
// An event list for a table.
std::vector<MacroEvent> EventList(const MacroEvent* events, int count);
// Events as text for messages: "65v120 65^0".
std::string EventsString(const std::vector<MacroEvent>& events);
