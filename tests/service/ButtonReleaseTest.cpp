#include "InputTimeline.h"
#include "ServiceRig.h"
#include "service/MacroPlayer.h"
#include "core/Messages.h"
#include <gtest/gtest.h>
#include <functional>
#include <map>
#include <set>

namespace {

// Extended-state bits of the buttons used here.
const DWORD BUTTON_4 = 0x4000, BUTTON_5 = 0x8000, BUTTON_6 = 0x0001, BUTTON_9 = 0x0800, BUTTON_10 = 0x0400;
const DWORD EXTENDED = 0x10000000;

MacroData Macro(std::initializer_list<MacroEvent> events)
{
    MacroData m = {};
    int i = 0;
    for (const MacroEvent& e : events) m.events[i++] = e;
    m.loopCount = 1;
    m.delayMode = 2;
    return m;
}

// Profile 3 (index 2) is current: BUTTON_4 walks forward (W), BUTTON_5 clicks left,
// BUTTON_6 holds Q (a hold-key macro), BUTTON_9 plays E and R, BUTTON_10 selects profile 1.
// Profile 1 (index 0), selected by the game Game.exe, gives the same buttons other keys
// that their releases would let go: A, the right button, Z and X held by macros, S.
std::unique_ptr<ConfigData> TwoProfiles()
{
    auto cfg = ServiceRig::DefaultConfig();
    cfg->PROFILE_ID = 2;
    ProfileData& from = cfg->profiles[2];
    from.buttons[3].code = 102;
    from.buttons[4].code = 1;
    from.buttons[5].code = 1000;
    from.macros[0] = Macro({{'Q', 0, 10}, {'Q', 1, 10}});
    from.buttons[8].code = 1001;
    from.macros[1] = Macro({{'E', 0, 5}, {'E', 1, 5}, {'R', 0, 5}, {'R', 1, 5}});
    from.buttons[9].code = 32;
    ProfileData& to = cfg->profiles[0];
    CopyField(to.GAME_NAME[0], L"Game.exe");
    to.buttons[3].code = 103;
    to.buttons[4].code = 2;
    to.buttons[5].code = 1000;
    to.macros[0] = Macro({{'Z', 0, 10}, {'Z', 1, 10}});
    to.buttons[8].code = 1001;
    to.macros[1] = Macro({{'X', 0, 10}, {'X', 1, 10}});
    to.buttons[9].code = 104;
    return cfg;
}

// Keys and mouse buttons left down, and releases of what was not down; empty when every
// press has its release and nothing else was let go.
std::string Unpaired(const std::vector<INPUT>& inputs)
{
    struct MouseButton { DWORD down, up; const char* name; };
    const MouseButton buttons[] = {{MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP, "left"},
                                   {MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP, "right"},
                                   {MOUSEEVENTF_MIDDLEDOWN, MOUSEEVENTF_MIDDLEUP, "middle"},
                                   {MOUSEEVENTF_XDOWN, MOUSEEVENTF_XUP, "x"}};
    std::map<std::string, bool> down;
    std::string problems;
    auto event = [&](const std::string& what, bool press) {
        if (!press && !down[what]) problems += what + " released without a press; ";
        down[what] = press;
    };
    for (const INPUT& in : inputs) {
        if (in.type == INPUT_KEYBOARD) {
            event("key " + std::to_string(in.ki.wVk), !(in.ki.dwFlags & KEYEVENTF_KEYUP));
        } else {
            for (const MouseButton& b : buttons) {
                std::string name = std::string(b.name) + (b.down == MOUSEEVENTF_XDOWN ? std::to_string(in.mi.mouseData) : "");
                if (in.mi.dwFlags & b.down) event(name, true);
                if (in.mi.dwFlags & b.up) event(name, false);
            }
        }
    }
    for (auto& d : down)
        if (d.second) problems += d.first + " left down; ";
    return problems;
}

// The keys and mouse buttons that the input touches.
std::set<std::string> Touched(const std::vector<INPUT>& inputs)
{
    std::set<std::string> out;
    for (const INPUT& in : inputs) {
        if (in.type == INPUT_KEYBOARD) out.insert(std::string(1, (char)in.ki.wVk));
        else if (in.mi.dwFlags & (MOUSEEVENTF_LEFTDOWN | MOUSEEVENTF_LEFTUP)) out.insert("left");
        else out.insert("other mouse");
    }
    return out;
}

// What the buttons of the first profile hold down while they are held.
struct Held {
    const char* what;
    DWORD buttons;
    std::set<std::string> touched;
};
const Held kHelds[] = {
    {"a movement key", BUTTON_4, {"W"}},
    {"a click", BUTTON_5, {"left"}},
    {"a hold-key macro", BUTTON_6, {"Q"}},
    {"a played macro", BUTTON_9, {"E", "R"}},
    {"all of them together", BUTTON_4 | BUTTON_5 | BUTTON_6 | BUTTON_9, {"W", "left", "Q", "E", "R"}},
};

struct Rig {
    ServiceRig rig;
    InputTimeline timeline{rig.clock};
    DWORD state = 0;
    Rig()
    {
        rig.WriteConfig(*TwoProfiles());
        EXPECT_TRUE(rig.Create(false));
        rig.Plug();
        SetInputSeam(&timeline);
        g_heldKeys.RemoveAll();
        g_repressKeys.RemoveAll();
    }
    ~Rig()
    {
        g_heldKeys.RemoveAll();
        g_repressKeys.RemoveAll();
    }
    // The mouse reports the buttons going down or up.
    void Buttons(DWORD bits, bool down)
    {
        state = down ? state | bits : state & ~bits;
        rig.mouse.QueueEvent(EXTENDED | state);
        rig.HandleDeviceEvents(1);
    }
    CHIDWnd& W() { return *rig.wnd; }
};

} // namespace

TEST(ButtonRelease, AProfileChangeBetweenPressAndReleaseLeavesNothingDown)
{
    struct Change {
        const char* how;
        std::function<void(Rig&)> run;
    };
    const Change changes[] = {
        {"the game watch", [](Rig& r) {
             r.rig.foreground.processName = L"Game.exe";
             r.W().SendMessage(WM_TIMER, 100);
         }},
        {"a profile code of another button", [](Rig& r) {
             r.Buttons(BUTTON_10, true);
             r.Buttons(BUTTON_10, false);
         }},
        {"the tray program's pick", [](Rig& r) { r.W().SendMessage(WM_PROFILE_CHANGE, 0); }},
        {"the control interface", [](Rig& r) { r.W().SendMessage(WM_CONTROL_API_ATTACH, 2, 0); }},
    };
    for (const Change& change : changes) {
        for (const Held& held : kHelds) {
            SCOPED_TRACE(std::string(held.what) + " held while " + change.how + " changes the profile");
            Rig r;
            r.Buttons(held.buttons, true);
            ASSERT_EQ(r.W().m_config.PROFILE_ID, 2);
            change.run(r);
            ASSERT_EQ(r.W().m_config.PROFILE_ID, 0);
            r.Buttons(held.buttons, false);

            std::vector<INPUT> inputs = r.timeline.Inputs();
            EXPECT_EQ(Unpaired(inputs), "") << r.timeline.Text();
            EXPECT_EQ(Touched(inputs), held.touched) << r.timeline.Text();
            EXPECT_TRUE(g_heldKeys.IsEmpty());
            EXPECT_TRUE(g_repressKeys.IsEmpty());

            // The buttons now act on the new profile, press and release alike.
            r.timeline.Clear();
            r.Buttons(held.buttons, true);
            r.Buttons(held.buttons, false);
            EXPECT_EQ(Unpaired(r.timeline.Inputs()), "") << r.timeline.Text();
            EXPECT_EQ(Touched(r.timeline.Inputs()).count("W"), 0u) << r.timeline.Text();
            EXPECT_TRUE(g_heldKeys.IsEmpty());
        }
    }
}

TEST(ButtonRelease, APressBeforeInGameModeIsStillLetGo)
{
    Rig r;
    r.Buttons(BUTTON_4 | BUTTON_6, true);
    auto cfg = TwoProfiles();
    cfg->GAME_MODE = 1;
    r.rig.WriteConfig(*cfg);
    r.W().SendMessage(WM_RELOAD_CONFIG);
    r.Buttons(BUTTON_4 | BUTTON_6, false);
    EXPECT_EQ(Unpaired(r.timeline.Inputs()), "") << r.timeline.Text();
    EXPECT_TRUE(g_heldKeys.IsEmpty());

    // In in-game mode a press performs nothing, so its release has nothing to let go.
    r.timeline.Clear();
    r.Buttons(BUTTON_4 | BUTTON_6, true);
    r.Buttons(BUTTON_4 | BUTTON_6, false);
    EXPECT_EQ(r.timeline.Text(), "");
}

TEST(ButtonRelease, APasteMacroPastesTheTextItWasPressedWith)
{
    auto cfg = TwoProfiles();
    MacroData paste = Macro({});
    paste.delayMode = 4;
    CopyField(paste.pasteText, L"from profile 3");
    cfg->profiles[2].macros[1] = paste;
    CopyField(paste.pasteText, L"from profile 1");
    cfg->profiles[0].macros[1] = paste;
    Rig r;
    r.rig.WriteConfig(*cfg);
    r.W().SendMessage(WM_RELOAD_CONFIG);
    r.rig.foreground.processName = L"notepad.exe";

    r.Buttons(BUTTON_9, true);
    r.W().SendMessage(WM_PROFILE_CHANGE, 0);
    r.Buttons(BUTTON_9, false);
    ASSERT_TRUE(OpenClipboard(nullptr));
    HANDLE data = GetClipboardData(CF_UNICODETEXT);
    std::wstring pasted = data ? (const wchar_t*)GlobalLock(data) : L"";
    if (data) GlobalUnlock(data);
    CloseClipboard();
    EXPECT_EQ(pasted, L"from profile 3");
    EXPECT_EQ(Unpaired(r.timeline.Inputs()), "") << r.timeline.Text();
}

// Buttons held when the mouse goes away never report their releases from it: the removal
// lets go what their presses hold, and their releases once it is back add nothing.
TEST(ButtonRelease, ButtonsHeldWhenTheMouseIsRemovedAreLetGo)
{
    for (const Held& held : kHelds) {
        SCOPED_TRACE(std::string(held.what) + " held when the mouse is removed");
        Rig r;
        r.Buttons(held.buttons, true);
        r.rig.mouse.Unplug();
        r.rig.HandleDeviceEvents(1);
        std::vector<INPUT> inputs = r.timeline.Inputs();
        EXPECT_EQ(Unpaired(inputs), "") << r.timeline.Text();
        EXPECT_EQ(Touched(inputs), held.touched) << r.timeline.Text();
        EXPECT_TRUE(g_heldKeys.IsEmpty());

        r.rig.mouse.Replug();
        r.rig.HandleDeviceEvents(1);
        r.timeline.Clear();
        r.Buttons(held.buttons, false);
        EXPECT_EQ(r.timeline.Text(), "");

        // The buttons act as before.
        r.Buttons(held.buttons, true);
        r.Buttons(held.buttons, false);
        inputs = r.timeline.Inputs();
        EXPECT_EQ(Unpaired(inputs), "") << r.timeline.Text();
        EXPECT_EQ(Touched(inputs), held.touched) << r.timeline.Text();
        EXPECT_TRUE(g_heldKeys.IsEmpty());
    }
}

namespace {

MacroData Looped(MacroData m, int count)
{
    m.loopFlag = 1;
    m.loopCount = count;
    return m;
}

// A paste whose start and send keys are Shift+Enter as the editor stores it: two presses.
MacroData ShiftEnterPaste()
{
    MacroData m = Macro({});
    m.delayMode = 4;
    CopyField(m.pasteText, L"gg");
    m.startKeys[0] = m.sendKeys[0] = {VK_LSHIFT, 0, 0};
    m.startKeys[1] = m.sendKeys[1] = {VK_RETURN, 0, 0};
    m.startKeyFlag = m.sendKeyFlag = 1;
    return m;
}

// 320 events, the most a macro holds: Shift goes down first, and the recording went on
// past the end, so neither Shift's release nor that of the last key was kept.
MacroData CutAt320()
{
    MacroData m = Macro({{VK_LSHIFT, 0, 1}});
    for (int i = 1; i < MACRO_EVENT_COUNT - 1; ++i) m.events[i] = {'A', (uint8_t)((i + 1) % 2), 1};
    m.events[MACRO_EVENT_COUNT - 1] = {'B', 0, 1};
    return m;
}

}  // namespace

// Whatever a macro's events leave down is let go at the end of its play: every press the
// player sends has its release.
TEST(ButtonRelease, EveryKeyAMacroPressesIsLetGoAtTheEndOfItsPlay)
{
    const MacroData ctrlHeld = Macro({{VK_LCONTROL, 0, 5}, {'C', 0, 5}, {'C', 1, 5}});
    struct Case {
        const char* what;
        MacroData macro;
    };
    const Case cases[] = {
        {"a paste with Shift+Enter as start and send keys", ShiftEnterPaste()},
        {"a main sequence cut at 320 events", CutAt320()},
        {"OK pressed while Ctrl was held", ctrlHeld},
        {"the same, played three times", Looped(ctrlHeld, 3)},
        {"both Shift keys down, one generic Shift", Macro({{VK_LSHIFT, 0, 5}, {VK_RSHIFT, 0, 5}, {'A', 0, 5}, {'A', 1, 5}})},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        auto cfg = TwoProfiles();
        cfg->profiles[2].macros[1] = c.macro;
        Rig r;
        r.rig.WriteConfig(*cfg);
        r.W().SendMessage(WM_RELOAD_CONFIG);
        r.rig.foreground.processName = L"notepad.exe";
        r.Buttons(BUTTON_9, true);
        r.Buttons(BUTTON_9, false);
        EXPECT_NE(r.timeline.Text(), "");
        EXPECT_EQ(Unpaired(r.timeline.Inputs()), "") << r.timeline.Text();
        EXPECT_TRUE(g_heldKeys.IsEmpty());
        EXPECT_TRUE(g_repressKeys.IsEmpty());
    }
}
