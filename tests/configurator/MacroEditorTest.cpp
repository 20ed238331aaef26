// The macro editor as a person uses it: its looks, the start and send keys, the name and
// loop fields, OK and the record it makes, run modally over the main window.
#include "ConfiguratorRig.h"
#include "MacroEditorRig.h"
#include "PickerRig.h"
#include "configurator/function_picker/CAdvanceFunctionDlg.h"
#include "configurator/function_picker/MacroKeyboardHook.h"
#include "configurator/function_picker/MacroRecording.h"
#include "core/AppPaths.h"
#include "core/ConfigSettings.h"
#include "core/ConfigFile.h"
#include "core/Messages.h"
#include <gtest/gtest.h>
#include <atomic>
#include <cstring>
#include <thread>

namespace {

MacroEvent E(int vk, int up, int delay = 0)
{
    return MacroEvent{(uint8_t)vk, (uint8_t)up, delay};
}

// A recorded macro as a profile holds it.
MacroData RecordedMacro()
{
    MacroData m;
    memset(&m, 0, sizeof m);
    CopyField(m.MACRO_NAME, L"Heal");
    const MacroEvent events[] = {E(VK_LSHIFT, 0, 40), E('H', 0, 120), E('H', 1, 35), E(VK_LSHIFT, 1, 0)};
    memcpy(m.events, events, sizeof events);
    m.loopCount = 3;
    m.loopFlag = 1;
    m.delayMode = DELAY_RECORDED;
    return m;
}

// Characters typed on the keyboard, with Shift where the layout needs it.
void TypeText(MacroEditorRig& rig, const wchar_t* text)
{
    for (const wchar_t* p = text; *p; ++p) {
        SHORT key = VkKeyScanW(*p);
        bool shift = (key >> 8) & 1;
        if (shift) rig.Press(VK_LSHIFT);
        rig.Tap((WORD)(key & 0xFF));
        if (shift) rig.Release(VK_LSHIFT);
    }
}

}  // namespace

TEST(MacroEditor, NewMacroOpensInThePasteLookWithEnterAsStartAndSendKey)
{
    MacroEditorRig rig;
    ASSERT_TRUE(rig.Open());
    CMacroDialog& d = *rig.dlg;
    EXPECT_EQ(d.m_bPasteLook, 1);
    EXPECT_EQ(d.m_nDelayMode, DELAY_PASTE);
    EXPECT_EQ(d.m_btnPaste.GetCheck(), 1);
    EXPECT_EQ(d.m_btnAutoDelay.GetCheck(), 0);
    EXPECT_TRUE(d.m_startArea.IsWindowVisible() && d.m_startArea.IsWindowEnabled());
    EXPECT_TRUE(d.m_sendArea.IsWindowVisible() && d.m_sendArea.IsWindowEnabled());
    EXPECT_TRUE(d.m_editPaste.IsWindowVisible());
    EXPECT_FALSE(d.m_macroArea.IsWindowVisible());
    EXPECT_FALSE(d.m_editLoop.IsWindowVisible());
    EXPECT_FALSE(d.m_btnLoop.IsWindowVisible());
    EXPECT_EQ(d.m_btnStartKey.GetCheck(), 1);
    EXPECT_EQ(d.m_btnSendKey.GetCheck(), 1);
    EXPECT_EQ(rig.Text(d.m_startArea), L"Enter| Enter^ ");
    EXPECT_EQ(rig.Text(d.m_sendArea), L"Enter| Enter^ ");
    EXPECT_EQ(d.m_editLoop.GetWindowText(), L"1");
    EXPECT_FALSE(d.m_editLoop.IsWindowEnabled());
    EXPECT_EQ(g_hMacroDialog, d.m_hWnd);
    EXPECT_NE(g_hKeyboardHook, nullptr);

    // Until a display is clicked the send keys are the target, and full.
    rig.Tap('A');
    EXPECT_EQ(d.m_pTarget, &d.m_sendArea);
    EXPECT_EQ(rig.Text(d.m_sendArea), L"Enter| Enter^ ");
    SaveWindowPng(d.m_hWnd, L"macro-editor-new");
}

TEST(MacroEditor, PasteMacroWithAStartKeyAndTextIsMadeOnOk)
{
    MacroEditorRig rig;
    ASSERT_TRUE(rig.Open());
    CMacroDialog& d = *rig.dlg;
    rig.Click(d.m_startArea);
    EXPECT_EQ(rig.Text(d.m_startArea), L"");
    rig.Tap('A');
    EXPECT_EQ(rig.Text(d.m_startArea), L"A| A^ ");
    // The send key turned off: its box goes grey.
    rig.Click(d.m_btnSendKey);
    EXPECT_FALSE(d.m_sendArea.IsWindowEnabled());
    rig.Click(d.m_editPaste);
    TypeText(rig, L"gg");
    rig.Tap(VK_RETURN);
    TypeText(rig, L"wp");
    rig.Click(d.m_editName);
    TypeText(rig, L"cheer");
    PumpFor(100);
    SaveWindowPng(d.m_hWnd, L"macro-editor-paste-look");

    rig.Click(d.m_btnOK);
    PumpUntil([&] { return !d.IsWindowVisible(); });
    ASSERT_TRUE(d.HasResult());
    const MacroData& m = d.GetMacro();
    EXPECT_STREQ(m.MACRO_NAME, L"cheer");
    EXPECT_EQ(m.delayMode, DELAY_PASTE);
    EXPECT_STREQ(m.pasteText, L"gg\r\nwp");
    EXPECT_EQ(EventsString(EventList(m.startKeys, 2)), EventsString({E('A', 0), E('A', 1)}));
    EXPECT_EQ(m.startKeyFlag, 1);
    EXPECT_EQ(EventsString(EventList(m.sendKeys, 2)), EventsString({E(13, 0), E(13, 1)}));
    EXPECT_EQ(m.sendKeyFlag, 0);
    EXPECT_EQ(m.events[0].vk, 0);
    EXPECT_EQ(m.loopCount, 1);
    EXPECT_EQ(m.loopFlag, 0);
}

TEST(MacroEditor, PasteClickedAgainPutsEnterBackAsStartAndSendKey)
{
    MacroEditorRig rig;
    ASSERT_TRUE(rig.Open());
    CMacroDialog& d = *rig.dlg;
    rig.Click(d.m_startArea);
    rig.Tap('Q');
    rig.Click(d.m_btnStartKey);
    for (int i = 0; i < 2; ++i) {
        rig.Click(d.m_btnPaste);
        EXPECT_EQ(d.m_btnPaste.GetCheck(), 1);
        EXPECT_EQ(d.m_btnStartKey.GetCheck(), 1);
        EXPECT_TRUE(d.m_startArea.IsWindowEnabled());
        EXPECT_EQ(rig.Text(d.m_startArea), L"Enter| Enter^ ");
        EXPECT_EQ(EventsString(EventList(d.m_startStore, 2)), EventsString({E(13, 0), E(13, 1)}));
        EXPECT_EQ(d.m_pTarget, &d.m_sendArea);
    }
}

TEST(MacroEditor, EditingARecordedMacroShowsItAndTheFirstKeyStartsAnew)
{
    MacroData m = RecordedMacro();
    MacroEditorRig rig;
    ASSERT_TRUE(rig.Open(&m));
    CMacroDialog& d = *rig.dlg;
    EXPECT_EQ(d.m_bPasteLook, 0);
    EXPECT_EQ(d.m_btnRecordDelay.GetCheck(), 1);
    EXPECT_TRUE(d.m_macroArea.IsWindowVisible());
    EXPECT_FALSE(d.m_startArea.IsWindowVisible());
    EXPECT_EQ(rig.Text(d.m_macroArea), L"LShft|<40ms> H|<120ms> H^<35ms> LShft^ ");
    EXPECT_EQ(d.m_editName.GetWindowText(), L"Heal");
    EXPECT_EQ(d.m_editLoop.GetWindowText(), L"3");
    EXPECT_TRUE(d.m_editLoop.IsWindowEnabled());
    EXPECT_EQ(d.m_btnLoop.GetCheck(), 1);
    SaveWindowPng(d.m_hWnd, L"macro-editor-edit-recorded");

    MacroEditorRig::SetTick(1000);
    rig.Tap('J');
    EXPECT_EQ(EventsString(rig.Events()), EventsString({E('J', 0), E('J', 1)}));
    EXPECT_EQ(rig.Text(d.m_macroArea), L"J| J^ ");
}

TEST(MacroEditor, OkKeepsTheShownEventsAcrossALookChange)
{
    MacroEditorRig rig;
    ASSERT_TRUE(rig.OpenRecording(&CMacroDialog::m_btnAutoDelay));
    CMacroDialog& d = *rig.dlg;
    rig.Tap('K');
    rig.Tap('L');
    // To the paste look and back: the recorded keys are still shown, and still kept.
    rig.Click(d.m_btnPaste);
    rig.Click(d.m_btnAutoDelay);
    EXPECT_EQ(rig.Text(d.m_macroArea), L"K L ");
    rig.Click(d.m_btnOK);
    ASSERT_TRUE(d.HasResult());
    EXPECT_EQ(EventsString(EventList(d.GetMacro().events, 5)),
              EventsString({E('K', 0, 10), E('K', 1, 20), E('L', 0, 10), E('L', 1, 20), E(0, 0)}));
    EXPECT_EQ(d.GetMacro().delayMode, DELAY_AUTOMATIC);
}

TEST(MacroEditor, NameAndLoopCount)
{
    struct Case {
        const wchar_t* name;
        const wchar_t* loop;
        const wchar_t* storedName;
        int storedLoop;
    };
    const Case cases[] = {
        {L"", L"007", L"Custom", 7},
        {L"abc", L"", L"abc", 0},
        {L"x", L"250", L"x", 250},
    };
    for (const Case& c : cases) {
        MacroEditorRig rig;
        ASSERT_TRUE(rig.Open());
        CMacroDialog& d = *rig.dlg;
        rig.Click(d.m_btnNoDelay);
        rig.Click(d.m_btnLoop);
        EXPECT_TRUE(d.m_editLoop.IsWindowEnabled());
        d.m_editName.SetWindowText(c.name);
        d.m_editLoop.SetWindowText(c.loop);
        rig.Click(d.m_btnOK);
        ASSERT_TRUE(d.HasResult());
        EXPECT_STREQ(d.GetMacro().MACRO_NAME, c.storedName);
        EXPECT_EQ(d.GetMacro().loopCount, c.storedLoop);
        EXPECT_EQ(d.GetMacro().loopFlag, 1);
    }
    // A name longer than the record holds is cut to 99 characters.
    MacroEditorRig rig;
    ASSERT_TRUE(rig.Open());
    rig.dlg->m_editName.SetWindowText(CString(L'n', 150));
    rig.Click(rig.dlg->m_btnOK);
    EXPECT_EQ(wcslen(rig.dlg->GetMacro().MACRO_NAME), 99u);
}

TEST(MacroEditor, EnterAndEscInTheFieldsNeverLoseWhatWasTyped)
{
    MacroEditorRig rig;
    ASSERT_TRUE(rig.Open());
    CMacroDialog& d = *rig.dlg;
    rig.Click(d.m_btnRecordDelay);
    rig.Click(d.m_editName);
    TypeText(rig, L"buff");
    // The loop count is off: Enter in the name stays there.
    rig.Tap(VK_RETURN);
    EXPECT_TRUE(d.IsWindowVisible());
    EXPECT_EQ(GetFocus(), d.m_editName.m_hWnd);
    rig.Click(d.m_btnLoop);
    rig.Click(d.m_editName);
    rig.Tap(VK_END);
    TypeText(rig, L"s");
    rig.Tap(VK_RETURN);
    EXPECT_EQ(GetFocus(), d.m_editLoop.m_hWnd) << "Enter moves on to the loop count";
    TypeText(rig, L"12");
    rig.Tap(VK_RETURN);
    rig.Tap(VK_ESCAPE);
    EXPECT_EQ(GetFocus(), d.m_editLoop.m_hWnd);
    rig.Click(d.m_editName);
    rig.Tap(VK_ESCAPE);
    EXPECT_TRUE(d.IsWindowVisible());
    EXPECT_FALSE(d.HasResult());
    EXPECT_EQ(d.m_editName.GetWindowText(), L"buffs");
    EXPECT_EQ(d.m_editLoop.GetWindowText(), L"12");
    rig.Click(d.m_btnOK);
    ASSERT_TRUE(d.HasResult());
    EXPECT_STREQ(d.GetMacro().MACRO_NAME, L"buffs");
    EXPECT_EQ(d.GetMacro().loopCount, 12);
}

// The paste look's fields, for a new paste macro and for one being edited: Esc never ends
// the editor, Enter makes a new line in the paste text and nothing in the name.
TEST(MacroEditor, EnterAndEscInThePasteLookNeverLoseTheMacro)
{
    MacroData pasted;
    memset(&pasted, 0, sizeof pasted);
    CopyField(pasted.MACRO_NAME, L"Greet");
    CopyField(pasted.pasteText, L"hi");
    pasted.delayMode = DELAY_PASTE;
    pasted.startKeys[0] = E(VK_RETURN, 0);
    pasted.startKeys[1] = E(VK_RETURN, 1);
    pasted.startKeyFlag = 1;
    pasted.loopCount = 1;
    struct Case {
        const char* what;
        const MacroData* macro;
        const wchar_t* pasteText;  // after typing "gg", Enter, Esc, "wp", Esc at its end
        const wchar_t* name;       // after typing "x", Enter, Esc at the end of the name
        const wchar_t* picture;
    };
    const Case cases[] = {
        {"new macro", nullptr, L"gg\r\nwp", L"x", L"macro-editor-paste-text-new"},
        {"paste macro edited", &pasted, L"higg\r\nwp", L"Greetx", L"macro-editor-paste-text-edited"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        MacroEditorRig rig;
        ASSERT_TRUE(rig.Open(c.macro));
        CMacroDialog& d = *rig.dlg;
        ASSERT_TRUE(d.m_editPaste.IsWindowVisible());
        rig.Click(d.m_editPaste);
        ASSERT_EQ(GetFocus(), d.m_editPaste.m_hWnd) << "the click put the caret in the paste text";
        rig.Tap(VK_END);
        TypeText(rig, L"gg");
        rig.Tap(VK_RETURN);
        rig.Tap(VK_ESCAPE);
        EXPECT_TRUE(d.IsWindowVisible()) << "Esc in the paste text ended the editor";
        TypeText(rig, L"wp");
        rig.Tap(VK_ESCAPE);
        EXPECT_EQ(GetFocus(), d.m_editPaste.m_hWnd);
        EXPECT_EQ(d.m_editPaste.GetWindowText(), CString(c.pasteText));

        rig.Click(d.m_editName);
        rig.Tap(VK_END);
        TypeText(rig, L"x");
        rig.Tap(VK_RETURN);
        rig.Tap(VK_ESCAPE);
        EXPECT_EQ(GetFocus(), d.m_editName.m_hWnd);
        EXPECT_EQ(d.m_editName.GetWindowText(), CString(c.name));
        PumpFor(100);
        EXPECT_TRUE(d.IsWindowVisible()) << "Enter or Esc in the name ended the editor";
        EXPECT_FALSE(d.HasResult());
        SaveWindowPng(d.m_hWnd, c.picture);

        rig.Click(d.m_btnOK);
        PumpUntil([&] { return !d.IsWindowVisible(); }, 2000);
        ASSERT_TRUE(d.HasResult());
        EXPECT_EQ(d.GetMacro().delayMode, DELAY_PASTE);
        EXPECT_STREQ(d.GetMacro().pasteText, c.pasteText);
        EXPECT_STREQ(d.GetMacro().MACRO_NAME, c.name);
    }
}

TEST(MacroEditor, CancelExitAndCloseMakeNoRecord)
{
    for (int way = 0; way < 3; ++way) {
        MacroEditorRig rig;
        ASSERT_TRUE(rig.Open());
        CMacroDialog& d = *rig.dlg;
        rig.Click(d.m_startArea);
        rig.Tap('A');
        if (way == 0) rig.Click(d.m_btnCancel);
        if (way == 1) rig.Click(d.m_btnExit);
        if (way == 2) d.PostMessage(WM_CLOSE);
        PumpUntil([&] { return !d.IsWindowVisible(); });
        EXPECT_FALSE(d.IsWindowVisible()) << way;
        EXPECT_FALSE(d.HasResult()) << way;
    }
}

TEST(MacroEditor, ClearEmptiesTheTargetAndThePasteText)
{
    MacroEditorRig rig;
    ASSERT_TRUE(rig.Open());
    CMacroDialog& d = *rig.dlg;
    d.m_editPaste.SetWindowText(L"some text");
    rig.Click(d.m_startArea);
    rig.Tap('A');
    rig.Click(d.m_btnClear);
    EXPECT_EQ(d.m_nCount, 0);
    EXPECT_EQ(rig.Text(d.m_startArea), L"");
    EXPECT_EQ(d.m_editPaste.GetWindowText(), L"");
    EXPECT_EQ(rig.Text(d.m_sendArea), L"Enter| Enter^ ");
}

TEST(MacroEditor, RecordedMacroScreenshot)
{
    MacroEditorRig rig;
    ASSERT_TRUE(rig.OpenRecording(&CMacroDialog::m_btnRecordDelay));
    CMacroDialog& d = *rig.dlg;
    DWORD tick = 5000;
    const WORD keys[] = {VK_LSHIFT, 'F', VK_F5, VK_SPACE, '1', VK_OEM_2, VK_RETURN, 'Q', 'W', 'E', VK_NUMPAD3, VK_TAB};
    for (int round = 0; round < 4; ++round) {
        for (WORD vk : keys) {
            MacroEditorRig::SetTick(tick += 37 + vk % 50);
            rig.Press(vk);
            MacroEditorRig::SetTick(tick += 80 + vk % 30);
            rig.Release(vk);
        }
    }
    rig.Click(d.m_btnLoop);
    d.m_editName.SetWindowText(L"Rotation");
    d.m_editLoop.SetWindowText(L"5");
    EXPECT_TRUE(d.m_macroArea.m_bScrollShown);
    PumpFor(150);
    SaveWindowPng(d.m_hWnd, L"macro-editor-recorded");
}

// A record read back as every loader reads "Config.xml": reset, load, validate.
std::unique_ptr<ConfigData> LoadBack(const CString& path)
{
    std::unique_ptr<ConfigData> cfg = NewConfigData();
    ResetConfig(*cfg);
    LoadConfig(*cfg, path);
    ValidateConfig(*cfg);
    return cfg;
}

TEST(MacroEditor, PasteMacroIsReadBackAsMade)
{
    TempDir conf;
    MacroEditorRig rig;
    ASSERT_TRUE(rig.Open());
    CMacroDialog& d = *rig.dlg;
    rig.Click(d.m_sendArea);
    rig.Press(VK_RCONTROL, true);
    rig.Press(VK_RETURN, true);
    rig.Click(d.m_editPaste);
    TypeText(rig, L"a<b");
    rig.Tap(VK_RETURN);
    TypeText(rig, L"c&d>");
    d.m_editName.SetWindowText(L"<Say & go>");
    rig.Click(d.m_btnOK);
    ASSERT_TRUE(d.HasResult());
    const MacroData& made = d.GetMacro();
    EXPECT_STREQ(made.pasteText, L"a<b\r\nc&d>");
    EXPECT_EQ(EventsString(EventList(made.sendKeys, 2)), EventsString({E(163, 0), E(108, 0)}));

    std::unique_ptr<ConfigData> cfg = MainWindowRig::ShippedConfig();
    cfg->profiles[7].macros[49] = made;
    wcscpy(g_szConfDir, conf.Path());
    ASSERT_EQ(SaveConfig(*cfg), 0);
    std::unique_ptr<ConfigData> back = LoadBack(conf.File(L"Config.xml"));
    g_szConfDir[0] = 0;
    EXPECT_TRUE(SameMacro(back->profiles[7].macros[49], made));
    EXPECT_EQ(CompareConfig(*back, *cfg), 0);
}

// The editor as the picker opens it for a new macro: modal over the main window, with the
// picker as its parent and no main-window pointer given to anyone. A second thread plays
// the person: it records a macro while the tray switches the profile, and presses OK. The
// picker stores the record in the profile the editor was opened for, and Apply writes it.
TEST(MacroEditor, ModalOverTheMainWindowAndStoredInTheProfileItOpenedFor)
{
    MainWindowRig rig;
    std::unique_ptr<ConfigData> start = MainWindowRig::ShippedConfig();
    GiveMacros(start->profiles[2], 2);
    ASSERT_TRUE(rig.WriteConfig(*start));
    ASSERT_TRUE(SetWarningFourOptionFlag(rig.ConfDir(), 1));
    ASSERT_TRUE(rig.Open());
    CAPDlg& main = *rig.dlg;
    main.MakeFunctionPicker();
    ASSERT_NE(g_pAdvanceFunctionDlg, nullptr);
    ASSERT_EQ(g_pAdvanceFunctionDlg->m_pMainDlg, nullptr);
    // A docked side panel is shown beside the main window.
    main.m_propertiesDlg.ShowWindow(SW_SHOWNOACTIVATE);
    main.SelectProfile(2);
    const int slot = 2;  // the first free one
    const MacroData untouched = main.m_config.profiles[5].macros[slot];

    std::atomic<int> mainEnabled{-1}, panelEnabled{-1}, pickerEnabled{-1};
    std::thread person([&] {
        HWND shown = nullptr;
        if (!WaitUntil([&] { return (shown = g_hMacroDialog) != nullptr && IsWindowVisible(shown); }, 8000)) return;
        CMacroDialog* editor = static_cast<CMacroDialog*>(CWnd::FromHandle(shown));
        if (!editor) return;
        EXPECT_TRUE(WindowShown(editor->m_hWnd));
        mainEnabled = IsWindowEnabled(main.m_hWnd);
        panelEnabled = IsWindowEnabled(main.m_propertiesDlg.m_hWnd);
        pickerEnabled = IsWindowEnabled(g_pAdvanceFunctionDlg->m_hWnd);
        auto click = [](const CWnd& w) {
            EXPECT_TRUE(ClickOn(w.m_hWnd));
            Sleep(200);
        };
        // A recorded key is taken at its tick: the next tick is set once the editor has
        // counted it.
        auto key = [&](WORD vk, bool up, DWORD tick, int counted = -1) {
            MacroEditorRig::SetTick(tick);
            INPUT in = {};
            in.type = INPUT_KEYBOARD;
            in.ki.wVk = vk;
            in.ki.wScan = (WORD)MapVirtualKeyW(vk, MAPVK_VK_TO_VSC);
            in.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
            SendInput(1, &in, sizeof in);
            if (counted >= 0) {
                EXPECT_TRUE(WaitUntil([&] { return editor->m_nCount == counted; })) << counted;
            }
            Sleep(150);
        };
        click(editor->m_btnRecordDelay);
        click(editor->m_macroArea);
        key(VK_LSHIFT, false, 1000, 1);
        key('1', false, 1040, 2);
        // The tray picks another profile while the editor is open.
        PostMessageW(main.m_hWnd, WM_PROFILE_CHANGE, 5, 0);
        key('1', true, 1160, 3);
        key(VK_LSHIFT, true, 1200, 4);
        click(editor->m_btnLoop);
        click(editor->m_editLoop);
        key(VK_END, false, 0);
        key('4', false, 0);
        key('4', true, 0);
        click(editor->m_editName);
        for (wchar_t ch : std::wstring(L"opener")) {
            key((WORD)VkKeyScanW(ch) & 0xFF, false, 0);
            key((WORD)VkKeyScanW(ch) & 0xFF, true, 0);
        }
        key(VK_RETURN, false, 0);
        key(VK_RETURN, true, 0);
        click(editor->m_btnOK);
    });
    // NEW_MACRO of the side bar: the picker runs the editor modally and stores its record.
    g_pAdvanceFunctionDlg->SendMessage(WM_NEW_MACRO);
    person.join();
    MacroEditorRig::UseRealClock();

    EXPECT_EQ(mainEnabled, 0) << "the main window is disabled around the editor";
    EXPECT_EQ(panelEnabled, 0) << "and its side panels";
    EXPECT_EQ(pickerEnabled, 0);
    EXPECT_TRUE(IsWindowEnabled(main.m_hWnd));
    EXPECT_TRUE(IsWindowEnabled(main.m_propertiesDlg.m_hWnd));
    EXPECT_TRUE(IsWindowEnabled(g_pAdvanceFunctionDlg->m_hWnd));
    EXPECT_EQ(main.m_config.PROFILE_ID, 5) << "the switch reached the main window";

    MacroData made;
    memset(&made, 0, sizeof made);
    CopyField(made.MACRO_NAME, L"opener");
    const MacroEvent events[] = {E(160, 0, 40), E('1', 0, 120), E('1', 1, 40), E(160, 1, 0)};
    memcpy(made.events, events, sizeof events);
    made.loopCount = 14;
    made.loopFlag = 1;
    made.delayMode = DELAY_RECORDED;
    made.startKeys[0] = made.sendKeys[0] = E(VK_RETURN, 0);
    made.startKeys[1] = made.sendKeys[1] = E(VK_RETURN, 1);
    made.startKeyFlag = made.sendKeyFlag = 1;
    EXPECT_TRUE(SameMacro(main.m_config.profiles[2].macros[slot], made));
    EXPECT_TRUE(SameMacro(main.m_config.profiles[5].macros[slot], untouched));

    // Apply's writer and the service's loader carry it whole.
    ASSERT_TRUE(main.ApplySettings());
    std::unique_ptr<ConfigData> back = LoadBack(rig.ConfigPath());
    EXPECT_TRUE(SameMacro(back->profiles[2].macros[slot], made));
    EXPECT_TRUE(SameMacro(back->profiles[5].macros[slot], untouched));
    EXPECT_EQ(back->PROFILE_ID, 5);
}
