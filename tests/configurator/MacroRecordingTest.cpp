// Recording with real keyboard input: keys sent through SendInput to the editor in front.
#include "MacroEditorRig.h"
#include "configurator/function_picker/MacroRecording.h"
#include <gtest/gtest.h>

namespace {

struct Ev {
    int vk;
    int up;
    int delay;
};

std::string Expect(std::initializer_list<Ev> list)
{
    std::vector<MacroEvent> out;
    for (const Ev& e : list) out.push_back(MacroEvent{(uint8_t)e.vk, (uint8_t)e.up, e.delay});
    return EventsString(out);
}

enum class Mode { Automatic, Recorded, None };

// The editor for a new macro with the mode's button clicked and MACRO_AREA clicked, so it
// is the recording target.
void StartRecording(MacroEditorRig& rig, Mode mode)
{
    ASSERT_TRUE(rig.OpenRecording(mode == Mode::Automatic  ? &CMacroDialog::m_btnAutoDelay
                                  : mode == Mode::Recorded ? &CMacroDialog::m_btnRecordDelay
                                                           : &CMacroDialog::m_btnNoDelay));
}

// One step of the person at the keyboard, at a tick of the recorder's clock.
struct Key {
    enum Kind { Press, Release, Tap } kind;
    WORD vk;
    DWORD tick;
};

void Play(MacroEditorRig& rig, const std::vector<Key>& keys)
{
    for (const Key& k : keys) {
        MacroEditorRig::SetTick(k.tick);
        if (k.kind == Key::Press) rig.Press(k.vk);
        if (k.kind == Key::Release) rig.Release(k.vk);
        if (k.kind == Key::Tap) rig.Tap(k.vk);
    }
}

}  // namespace

TEST(MacroRecording, EachDelayModeGivesItsDelays)
{
    struct Case {
        const char* name;
        Mode mode;
        std::vector<Key> keys;
        std::string events;
        std::wstring text;
    };
    const Case cases[] = {
        {"automatic, slash first", Mode::Automatic, {{Key::Tap, VK_OEM_2, 0}, {Key::Tap, 'S', 0}},
         Expect({{191, 0, 20}, {191, 1, 50}, {83, 0, 10}, {83, 1, 20}}), L"/ S "},
        {"automatic, slash second", Mode::Automatic, {{Key::Tap, 'S', 0}, {Key::Tap, VK_OEM_2, 0}},
         Expect({{83, 0, 10}, {83, 1, 20}, {191, 0, 10}, {191, 1, 20}}), L"S / "},
        {"automatic, longer", Mode::Automatic, {{Key::Tap, 'A', 0}, {Key::Tap, 'B', 0}, {Key::Press, 'C', 0}},
         Expect({{65, 0, 10}, {65, 1, 20}, {66, 0, 10}, {66, 1, 20}, {67, 0, 10}}), L"A B C "},
        {"recorded", Mode::Recorded,
         {{Key::Press, 'A', 1000}, {Key::Release, 'A', 1300}, {Key::Press, 'B', 1500}, {Key::Release, 'B', 1500}},
         Expect({{65, 0, 300}, {65, 1, 200}, {66, 0, 0}, {66, 1, 0}}), L"A|<300ms> A^<200ms> B| B^ "},
        // The player waits a minute at most; a longer pause is recorded and shown as played.
        {"recorded, pauses longer than the player waits", Mode::Recorded,
         {{Key::Press, 'A', 1000}, {Key::Release, 'A', 96000}, {Key::Press, 'B', 156000}, {Key::Release, 'B', 216001}},
         Expect({{65, 0, 60000}, {65, 1, 60000}, {66, 0, 60000}, {66, 1, 0}}),
         L"A|<60000ms> A^<60000ms> B|<60000ms> B^ "},
        {"none", Mode::None, {{Key::Press, 'A', 1000}, {Key::Release, 'A', 1300}, {Key::Tap, 'B', 1500}},
         Expect({{65, 0, 0}, {65, 1, 0}, {66, 0, 0}, {66, 1, 0}}), L"A| A^ B| B^ "},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        MacroEditorRig rig;
        StartRecording(rig, c.mode);
        Play(rig, c.keys);
        EXPECT_EQ(EventsString(rig.Events()), c.events);
        EXPECT_EQ(rig.Text(rig.dlg->m_macroArea), c.text);
    }
}

TEST(MacroRecording, RecordDelayClickedAfterRecordingGivesTheLastEventFiftyOnce)
{
    MacroEditorRig rig;
    StartRecording(rig, Mode::Recorded);
    Play(rig, {{Key::Press, 'A', 1000}, {Key::Release, 'A', 1100}});
    rig.Click(rig.dlg->m_btnRecordDelay);
    EXPECT_EQ(rig.dlg->m_bRecordDelay, 1);
    Play(rig, {{Key::Press, 'B', 5000}, {Key::Release, 'B', 5400}});
    EXPECT_EQ(EventsString(rig.Events()), Expect({{65, 0, 100}, {65, 1, 50}, {66, 0, 400}, {66, 1, 0}}));
}

TEST(MacroRecording, SwitchingToNoDelayKeepsTheRecordedDelays)
{
    MacroEditorRig rig;
    StartRecording(rig, Mode::Recorded);
    Play(rig, {{Key::Press, 'A', 1000}, {Key::Release, 'A', 1250}, {Key::Press, 'B', 1400}});
    rig.Click(rig.dlg->m_btnNoDelay);
    Play(rig, {{Key::Release, 'B', 3000}, {Key::Tap, 'C', 4000}});
    EXPECT_EQ(EventsString(rig.Events()),
              Expect({{65, 0, 250}, {65, 1, 150}, {66, 0, 0}, {66, 1, 0}, {67, 0, 0}, {67, 1, 0}}));
    EXPECT_EQ(rig.Text(rig.dlg->m_macroArea), L"A| A^ B| B^ C| C^ ");
}

TEST(MacroRecording, AReleaseWithoutItsPressChangesNothing)
{
    MacroEditorRig rig;
    StartRecording(rig, Mode::Recorded);
    Play(rig, {{Key::Release, 'B', 900}, {Key::Press, 'A', 1000}, {Key::Release, 'B', 1200},
               {Key::Release, 'A', 1500}});
    EXPECT_EQ(EventsString(rig.Events()), Expect({{65, 0, 500}, {65, 1, 0}}));
}

TEST(MacroRecording, HeldKeyIsOnePressAndTheAppsKeyReleaseIsDropped)
{
    MacroEditorRig rig;
    StartRecording(rig, Mode::None);
    rig.Press('W');
    rig.Press('W');
    rig.Press('W');
    rig.Release('W');
    rig.Tap(VK_APPS);
    EXPECT_EQ(EventsString(rig.Events()), Expect({{87, 0, 0}, {87, 1, 0}, {93, 0, 0}}));
}

TEST(MacroRecording, ModifiersAreRecordedLeftAndRightDownAndUpInOrder)
{
    MacroEditorRig rig;
    StartRecording(rig, Mode::None);
    rig.Press(VK_LSHIFT);
    rig.Press(VK_RSHIFT);
    rig.Press(VK_LCONTROL);
    rig.Press(VK_RCONTROL, true);
    rig.Press(VK_LMENU);
    rig.Press(VK_RMENU, true);
    rig.Release(VK_RMENU, true);
    rig.Release(VK_LMENU);
    rig.Release(VK_RCONTROL, true);
    rig.Release(VK_LCONTROL);
    rig.Release(VK_RSHIFT);
    rig.Release(VK_LSHIFT);
    EXPECT_EQ(EventsString(rig.Events()),
              Expect({{160, 0, 0}, {161, 0, 0}, {162, 0, 0}, {163, 0, 0}, {164, 0, 0}, {165, 0, 0}, {165, 1, 0},
                      {164, 1, 0}, {163, 1, 0}, {162, 1, 0}, {161, 1, 0}, {160, 1, 0}}));
    EXPECT_EQ(rig.Text(rig.dlg->m_macroArea),
              L"LShft| RShft| LCtrl| RCtrl| LAlt| RAlt| RAlt^ LAlt^ RCtrl^ LCtrl^ RShft^ LShft^ ");
}

TEST(MacroRecording, GenericModifierKeysAndTheKeypadEnter)
{
    MacroEditorRig rig;
    StartRecording(rig, Mode::None);
    rig.Tap(VK_SHIFT);
    rig.Tap(VK_CONTROL);
    rig.Tap(VK_CONTROL, true);
    rig.Tap(VK_MENU);
    rig.Tap(VK_RETURN, true);
    rig.Tap(VK_RETURN);
    rig.Tap(VK_TAB);
    rig.Tap(VK_ESCAPE);
    EXPECT_EQ(EventsString(rig.Events()),
              Expect({{160, 0, 0}, {160, 1, 0}, {162, 0, 0}, {162, 1, 0}, {163, 0, 0}, {163, 1, 0}, {164, 0, 0},
                      {164, 1, 0}, {108, 0, 0}, {108, 1, 0}, {13, 0, 0}, {13, 1, 0}, {9, 0, 0}, {9, 1, 0},
                      {27, 0, 0}, {27, 1, 0}}));
    // Enter, Tab and Esc were recorded, not acted on: the editor is open and nothing stored.
    EXPECT_TRUE(rig.dlg->IsWindowVisible());
    EXPECT_FALSE(rig.dlg->HasResult());
}

TEST(MacroRecording, WindowsKeysComeThroughTheHookAsTheLeftOne)
{
    struct Case {
        Mode mode;
        std::string events;
    };
    const Case cases[] = {
        {Mode::Automatic, Expect({{91, 0, 50}, {91, 1, 50}, {91, 0, 50}, {91, 1, 50}})},
        {Mode::None, Expect({{91, 0, 0}, {91, 1, 0}, {91, 0, 0}, {91, 1, 0}})},
    };
    for (const Case& c : cases) {
        MacroEditorRig rig;
        StartRecording(rig, c.mode);
        rig.Tap(VK_LWIN);
        rig.Tap(VK_RWIN);
        EXPECT_EQ(EventsString(rig.Events()), c.events);
    }
    MacroEditorRig rig;
    StartRecording(rig, Mode::Recorded);
    Play(rig, {{Key::Press, VK_LWIN, 1000}, {Key::Release, VK_LWIN, 1070}, {Key::Tap, 'A', 1100}});
    EXPECT_EQ(EventsString(rig.Events()), Expect({{91, 0, 70}, {91, 1, 30}, {65, 0, 0}, {65, 1, 0}}));
}

TEST(MacroRecording, TheMainSequenceTakes320EventsAndAStartKeyTwo)
{
    MacroEditorRig rig;
    StartRecording(rig, Mode::Automatic);
    std::vector<WORD> keys;
    for (int i = 0; i < 161; ++i) keys.push_back((WORD)('A' + i % 26));
    rig.TapAll(keys);
    ASSERT_EQ(rig.dlg->m_nCount, MACRO_EVENT_COUNT);
    // The 160th key's press and release are the last; the 161st is not recorded.
    EXPECT_EQ(rig.dlg->m_events[318].vk, 'A' + 159 % 26);
    EXPECT_EQ(rig.dlg->m_events[319].vk, 'A' + 159 % 26);
    EXPECT_EQ(rig.dlg->m_events[319].up, 1);
    EXPECT_EQ(rig.dlg->m_events[318].delay, 10);
    EXPECT_EQ(rig.dlg->m_events[319].delay, 20);
    rig.Tap(VK_LWIN);
    EXPECT_EQ(rig.dlg->m_nCount, MACRO_EVENT_COUNT);

    rig.Click(rig.dlg->m_btnPaste);
    rig.Click(rig.dlg->m_startArea);
    ASSERT_EQ(rig.dlg->m_pTarget, &rig.dlg->m_startArea);
    rig.Tap('A');
    rig.Tap('B');
    rig.Tap(VK_LWIN);
    EXPECT_EQ(EventsString(rig.Events()), Expect({{65, 0, 0}, {65, 1, 0}}));
}

TEST(MacroRecording, TypingInTheNameRecordsNothingButTheWindowsKeys)
{
    MacroEditorRig rig;
    StartRecording(rig, Mode::None);
    rig.Tap('A');
    rig.Click(rig.dlg->m_editName);
    ASSERT_EQ(rig.dlg->m_bEditFocus, 1);
    rig.Tap('X');
    rig.Tap('Y');
    rig.Tap(VK_LWIN);
    EXPECT_EQ(rig.dlg->m_editName.GetWindowText(), L"xy");
    EXPECT_EQ(EventsString(rig.Events()), Expect({{65, 0, 0}, {65, 1, 0}, {91, 0, 0}, {91, 1, 0}}));
}
