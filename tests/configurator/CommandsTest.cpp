#include "ConfiguratorRig.h"
#include "PersonHand.h"
#include "configurator/main_window/MainLayout.h"
#include "skinkit/CWarningOneDlg.h"
#include "skinkit/SkinFiles.h"
#include "configurator/function_picker/CAdvanceFunctionDlg.h"
#include "configurator/GearloomRes.h"
#include "core/ConfigSettings.h"
#include "core/Messages.h"
#include "core/PipeLink.h"
#include <gtest/gtest.h>
#include <memory>

namespace {

// A change that Apply must save: another polling rate and a new name for profile 2.
void ChangeSomething(CAPDlg& d)
{
    d.m_config.POLLING_RATE = d.m_savedConfig.POLLING_RATE == 1 ? 3 : 1;
    CopyField(d.m_config.profiles[1].PROFILE_NAME, L"Changed");
    ASSERT_TRUE(d.HasUnsavedChanges());
}


}  // namespace

// Buttons and menu items change only the working copy: a profile button, the in-game
// toggle and each polling rate become unsaved changes.
TEST(Commands, ChangesStayInTheWorkingCopy)
{
    MainWindowRig rig;
    ASSERT_TRUE(rig.Open());
    CAPDlg& d = *rig.dlg;
    ASSERT_EQ(d.m_config.PROFILE_ID, 0);
    ASSERT_EQ(d.m_config.POLLING_RATE, 2);

    rig.Click(d.m_profileButtons[4]);
    EXPECT_EQ(d.m_config.PROFILE_ID, 4);
    EXPECT_EQ(d.m_savedConfig.PROFILE_ID, 0);
    EXPECT_EQ(d.m_profileButtons[4].GetCheck(), 1);
    EXPECT_EQ(d.m_profileButtons[0].GetCheck(), 0);
    EXPECT_EQ(d.m_profileButtons[4].m_bDragSource, 1);
    EXPECT_TRUE(d.HasUnsavedChanges());
    // A right click on a profile button does the same.
    rig.RightClick(d.m_profileButtons[0]);
    EXPECT_EQ(d.m_config.PROFILE_ID, 0);
    EXPECT_FALSE(d.HasUnsavedChanges());

    const struct {
        UINT command;
        int rate;
    } rates[] = {{ID_RATE_250, 3}, {ID_RATE_1000, 1}, {ID_RATE_500, 2}};
    for (const auto& r : rates) {
        rig.Command(r.command);
        EXPECT_EQ(d.m_config.POLLING_RATE, r.rate);
        EXPECT_EQ(d.HasUnsavedChanges(), r.rate != 2);
    }

    // The toggle flips itself on a real click.
    SetForegroundWindow(rig.Hwnd());
    EXPECT_TRUE(WindowInFront(rig.Hwnd()));
    rig.Pump(100);
    EXPECT_TRUE(ClickOn(d.m_btnInGameMode.m_hWnd));
    ASSERT_TRUE(PumpUntil([&] { return d.m_config.GAME_MODE == 1; }));
    EXPECT_EQ(d.m_btnInGameMode.GetCheck(), 1);
    for (CBitmapBtn& b : d.m_mouseButtons) EXPECT_FALSE(b.IsWindowEnabled());
    EXPECT_TRUE(d.HasUnsavedChanges());
    // A right click applies the toggle's state again: still on.
    rig.RightClick(d.m_btnInGameMode);
    EXPECT_EQ(d.m_config.GAME_MODE, 1);
    EXPECT_TRUE(ClickOn(d.m_btnInGameMode.m_hWnd));
    ASSERT_TRUE(PumpUntil([&] { return d.m_config.GAME_MODE == 0; }));
    for (CBitmapBtn& b : d.m_mouseButtons) EXPECT_TRUE(b.IsWindowEnabled());
    EXPECT_FALSE(d.HasUnsavedChanges());
}

// Menu items and keys come without a control window: with buttons missing from the skin
// they still run only their own command, never the missing buttons' actions (closing the
// window, switching to the last profile).
TEST(Commands, MenuCommandsMatchNoMissingButton)
{
    MainWindowRig rig(MainWindowRig::Program::Copy);
    for (const wchar_t* entry : {L"EXIT", L"BUTTON_CANCEL", L"BUTTON_OK", L"BUTTON_APPLY", L"MINIMIZE", L"PROFILE_10"}) {
        std::wstring open = std::wstring(L"<") + entry + L">";
        rig.EditProgramFile(L"Strings.xml", open, L"<GONE_" + open.substr(1));
        std::wstring close = std::wstring(L"</") + entry + L">";
        rig.EditProgramFile(L"Strings.xml", close, L"</GONE_" + close.substr(2));
    }
    ASSERT_TRUE(rig.Open());
    CAPDlg& d = *rig.dlg;
    ASSERT_EQ(d.m_btnExit.m_hWnd, nullptr);
    ASSERT_EQ(d.m_profileButtons[9].m_hWnd, nullptr);
    BoxAnswerer person(BoxAnswerer::Answer::No, {rig.Hwnd()});
    rig.Command(ID_RATE_1000);
    rig.Command(ID_RATE_250);
    rig.Pump(200);
    EXPECT_EQ(person.Finish(), 0) << "no question";
    EXPECT_EQ(d.m_config.POLLING_RATE, 3);
    EXPECT_EQ(d.m_config.PROFILE_ID, 0);
    EXPECT_FALSE(rig.Ended());
}

// Mouse buttons 1 and 2 do nothing when clicked; the others are highlighted and shown in
// the picker, which is made once.
TEST(Commands, MouseButtonClicks)
{
    MainWindowRig rig;
    ASSERT_TRUE(rig.Open());
    CAPDlg& d = *rig.dlg;
    for (int i : {0, 1}) {
        rig.Click(d.m_mouseButtons[i]);
        EXPECT_EQ(d.m_mouseButtons[i].GetCheck(), 0);
    }
    EXPECT_EQ(g_pAdvanceFunctionDlg, nullptr);
    rig.Click(d.m_mouseButtons[3]);
    ASSERT_NE(g_pAdvanceFunctionDlg, nullptr);
    CAdvanceFunctionDlg* picker = g_pAdvanceFunctionDlg;
    EXPECT_EQ(picker->m_nButton, 3);
    EXPECT_EQ(picker->m_pConfig, &d.m_config);
    RECT r = d.GetWindowRect();
    EXPECT_EQ(picker->m_nTargetX, r.right - 18);
    EXPECT_EQ(picker->m_nTargetY, r.top + 89);
    for (int i = 0; i < BUTTON_COUNT; ++i) EXPECT_EQ(d.m_mouseButtons[i].GetCheck(), i == 3 ? 1 : 0) << i;
    rig.Click(d.m_mouseButtons[10]);
    EXPECT_EQ(g_pAdvanceFunctionDlg, picker);
    EXPECT_EQ(picker->m_nButton, 10);
    EXPECT_EQ(d.m_mouseButtons[3].GetCheck(), 0);
    // The assignments button: no button highlighted, the picker bound to this window.
    rig.Click(d.m_btnAssignments);
    EXPECT_EQ(picker->m_nButton, -1);
    EXPECT_EQ(picker->m_pMainDlg, &d);
    for (CBitmapBtn& b : d.m_mouseButtons) EXPECT_EQ(b.GetCheck(), 0);
    EXPECT_FALSE(d.HasUnsavedChanges());
}

// A right click on OK, Apply or Cancel does nothing; on Exit it acts like a left click.
TEST(Commands, RightClicks)
{
    MainWindowRig rig;
    PeerWindow service(PORTWARDEN_WINDOW_TITLE);
    ASSERT_TRUE(rig.Open());
    CAPDlg& d = *rig.dlg;
    ChangeSomething(d);
    std::vector<unsigned char> before = ReadBytes(rig.ConfigPath());
    {
        BoxAnswerer person(BoxAnswerer::Answer::No, {rig.Hwnd()});
        for (CBitmapBtn* b : {&d.m_btnOK, &d.m_btnApply, &d.m_btnCancel}) rig.RightClick(*b);
        rig.Pump(200);
        EXPECT_EQ(person.Finish(), 0);
    }
    EXPECT_FALSE(rig.Ended());
    EXPECT_TRUE(d.HasUnsavedChanges());
    EXPECT_EQ(ReadBytes(rig.ConfigPath()), before);
    EXPECT_TRUE(service.Of(WM_RELOAD_CONFIG).empty());
    BoxAnswerer person(BoxAnswerer::Answer::Yes, {rig.Hwnd()});
    rig.RightClick(d.m_btnExit);
    EXPECT_EQ(person.Finish(), 1) << "Exit with changes asks";
    EXPECT_TRUE(PumpUntil([&] { return rig.Ended(); }));
}

// Apply saves only a change: nothing is written and nobody is told without one; with one,
// "Config.xml", the profile names of "TrayIcon.xml" and the registry's mouse values are
// written, the service is told once and the change is no longer unsaved.
TEST(Commands, ApplySavesOnlyAChange)
{
    MainWindowRig rig;
    PeerWindow service(PORTWARDEN_WINDOW_TITLE);
    ASSERT_TRUE(rig.Open());
    CAPDlg& d = *rig.dlg;
    std::vector<unsigned char> config = ReadBytes(rig.ConfigPath());
    std::vector<unsigned char> tray = ReadBytes(rig.ConfDir() + L"TrayIcon.xml");
    rig.Click(d.m_btnApply);
    rig.Pump(100);
    EXPECT_EQ(ReadBytes(rig.ConfigPath()), config);
    EXPECT_EQ(ReadBytes(rig.ConfDir() + L"TrayIcon.xml"), tray);
    EXPECT_TRUE(service.Of(WM_RELOAD_CONFIG).empty());

    ChangeSomething(d);
    d.m_config.profiles[0].SCROLL_SPEED = 7;
    rig.Click(d.m_btnApply);
    rig.Pump(100);
    EXPECT_FALSE(d.HasUnsavedChanges());
    EXPECT_EQ(CompareConfig(*rig.ReadConfig(), d.m_config), 0);
    EXPECT_NE(ReadUtf16File(rig.ConfDir() + L"TrayIcon.xml").find(L">Changed<"), std::wstring::npos);
    EXPECT_EQ(RegistryText(L"Control Panel\\Desktop", L"WheelScrollLines"), L"7");
    ASSERT_EQ(service.Of(WM_RELOAD_CONFIG).size(), 1u);
    EXPECT_EQ(service.Of(WM_RELOAD_CONFIG)[0].wParam, 0u);
    EXPECT_EQ(service.Of(WM_RELOAD_CONFIG)[0].lParam, 0);
    EXPECT_FALSE(rig.Ended());
}

// Apply that cannot save (a read-only "Config.xml") tells the person, keeps the change
// unsaved, leaves the file as it was and tells the service nothing; OK then keeps the
// window open. Once the file can be written, Apply saves.
TEST(Commands, ApplyThatCannotSaveSaysSo)
{
    MainWindowRig rig;
    PeerWindow service(PORTWARDEN_WINDOW_TITLE);
    ASSERT_TRUE(rig.Open());
    CAPDlg& d = *rig.dlg;
    ChangeSomething(d);
    std::vector<unsigned char> before = ReadBytes(rig.ConfigPath());
    ASSERT_TRUE(SetFileAttributesW(rig.ConfigPath(), FILE_ATTRIBUTE_READONLY));
    std::unique_ptr<ConfigData> working = NewConfigData();
    *working = d.m_config;
    for (CBitmapBtn* b : {&d.m_btnApply, &d.m_btnOK}) {
        BoxAnswerer person(BoxAnswerer::Answer::Close, {rig.Hwnd()}, b == &d.m_btnApply ? L"main-not-saved" : nullptr);
        rig.Click(*b);
        EXPECT_EQ(person.Finish(), 1) << "the person is told";
        rig.Pump(100);
        EXPECT_TRUE(d.HasUnsavedChanges());
        EXPECT_EQ(CompareConfig(d.m_config, *working), 0);
        EXPECT_EQ(ReadBytes(rig.ConfigPath()), before);
        EXPECT_TRUE(service.Of(WM_RELOAD_CONFIG).empty());
        EXPECT_FALSE(rig.Ended());
    }
    ASSERT_TRUE(SetFileAttributesW(rig.ConfigPath(), FILE_ATTRIBUTE_NORMAL));
    rig.Click(d.m_btnApply);
    rig.Pump(100);
    EXPECT_FALSE(d.HasUnsavedChanges());
    EXPECT_EQ(service.Of(WM_RELOAD_CONFIG).size(), 1u);
}

// Apply that writes "Config.xml" but not the registry's mouse values, not the profile names
// of "TrayIcon.xml", or neither: the change is saved, the service is told to reload, and the
// notice says which part could not be written. OK then closes the window.
TEST(Commands, ApplyThatWritesConfigXmlButNotTheRestSaysWhichPart)
{
    struct Case {
        const char* what;
        bool registry, tray;  // blocked
        const wchar_t* entry;
        const wchar_t* fallback;
        bool ok;  // OK, else Apply
        const wchar_t* picture;
    };
    const Case cases[] = {
        {"registry", true, false, L"STRING_WARNING_REGISTRY_NOT_SAVED", DEFAULT_REGISTRY_NOT_SAVED_TEXT, false,
         L"main-registry-not-saved"},
        {"TrayIcon.xml", false, true, L"STRING_WARNING_TRAY_NOT_SAVED", DEFAULT_TRAY_NOT_SAVED_TEXT, false,
         L"main-tray-not-saved"},
        {"both, by OK", true, true, L"STRING_WARNING_REGISTRY_TRAY_NOT_SAVED", DEFAULT_REGISTRY_TRAY_NOT_SAVED_TEXT,
         true, L"main-registry-tray-not-saved"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        MainWindowRig rig;
        PeerWindow service(PORTWARDEN_WINDOW_TITLE);
        ASSERT_TRUE(rig.Open());
        CAPDlg& d = *rig.dlg;
        ChangeSomething(d);
        CString tray = rig.ConfDir() + L"TrayIcon.xml";
        std::vector<unsigned char> trayBefore = ReadBytes(tray);
        if (c.tray) {
            ASSERT_TRUE(SetFileAttributesW(tray, FILE_ATTRIBUTE_READONLY));
        }
        CString told;
        {
            std::unique_ptr<UserRegistryGone> gone(c.registry ? new UserRegistryGone : nullptr);
            if (gone) {
                ASSERT_TRUE(gone->ok);
            }
            PersonHand person({[&](HWND h) {
                if (CWarningOneDlg* box = dynamic_cast<CWarningOneDlg*>(CWnd::FromHandle(h))) told = box->m_strMessage;
                Snap(h, c.picture);
                ClickEntry(h, L"WARNING_ONE", L"BUTTON_OK");
            }});
            rig.Click(c.ok ? d.m_btnOK : d.m_btnApply);
            EXPECT_EQ(person.Finish(), 1) << "the person is told";
        }
        SetFileAttributesW(tray, FILE_ATTRIBUTE_NORMAL);
        const std::vector<SkinItem> strings = ReadSkinSection(L"Strings.xml", L"MAIN");
        const CString* shipped = FindSkinItem(strings, c.entry);
        ASSERT_NE(shipped, nullptr);
        EXPECT_EQ(told, *shipped);
        EXPECT_EQ(*shipped, CString(c.fallback)) << "the text without Strings.xml is the shipped one";
        EXPECT_FALSE(d.HasUnsavedChanges());
        EXPECT_EQ(CompareConfig(*rig.ReadConfig(), d.m_config), 0) << "Config.xml holds the change";
        EXPECT_EQ(service.Of(WM_RELOAD_CONFIG).size(), 1u) << "the service reloads";
        EXPECT_EQ(ReadBytes(tray) == trayBefore, c.tray);
        EXPECT_EQ(PumpUntil([&] { return rig.Ended(); }, c.ok ? 5000 : 300), c.ok);
    }
}

// The ways out: what asks, what saves, what closes.
TEST(Commands, UnsavedChangeQuestions)
{
    enum class Way { Exit, Cancel, Ok, Esc, Enter };
    struct Case {
        const char* name;
        Way way;
        bool change;
        BoxAnswerer::Answer answer;
        bool asks;
        bool ends;
        bool saves;
    } cases[] = {
        {"exit without changes", Way::Exit, false, BoxAnswerer::Answer::No, false, true, false},
        {"exit, No", Way::Exit, true, BoxAnswerer::Answer::No, true, false, false},
        {"exit, Yes", Way::Exit, true, BoxAnswerer::Answer::Yes, true, true, false},
        {"cancel with changes", Way::Cancel, true, BoxAnswerer::Answer::No, false, true, false},
        {"Esc with changes", Way::Esc, true, BoxAnswerer::Answer::No, false, true, false},
        {"Enter", Way::Enter, true, BoxAnswerer::Answer::No, false, false, false},
        {"OK with changes", Way::Ok, true, BoxAnswerer::Answer::No, false, true, true},
        {"OK without changes", Way::Ok, false, BoxAnswerer::Answer::No, false, true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        MainWindowRig rig;
        PeerWindow service(PORTWARDEN_WINDOW_TITLE);
        ASSERT_TRUE(rig.Open());
        CAPDlg& d = *rig.dlg;
        if (c.change) ChangeSomething(d);
        std::vector<unsigned char> before = ReadBytes(rig.ConfigPath());
        BoxAnswerer person(c.answer, {rig.Hwnd()}, c.asks && c.answer == BoxAnswerer::Answer::No ? L"main-question" : nullptr);
        switch (c.way) {
        case Way::Exit: rig.Click(d.m_btnExit); break;
        case Way::Cancel: rig.Click(d.m_btnCancel); break;
        case Way::Ok: rig.Click(d.m_btnOK); break;
        case Way::Esc:
        case Way::Enter:
            SetForegroundWindow(rig.Hwnd());
            EXPECT_TRUE(WindowInFront(rig.Hwnd()));
            ::SetFocus(rig.Hwnd());
            rig.Pump(100);
            KeyTap(c.way == Way::Esc ? VK_ESCAPE : VK_RETURN);
            break;
        }
        EXPECT_EQ(PumpUntil([&] { return rig.Ended(); }, c.ends ? 5000 : 500), c.ends);
        EXPECT_EQ(person.Finish(), c.asks ? 1 : 0);
        EXPECT_EQ(ReadBytes(rig.ConfigPath()) != before, c.saves);
        EXPECT_EQ(service.Of(WM_RELOAD_CONFIG).size(), c.saves ? 1u : 0u);
        if (!c.ends) {
            EXPECT_EQ(d.HasUnsavedChanges(), c.change);
        }
    }
}

// Reset asks even without unsaved changes; Yes gives the current profile its defaults and
// its button entry's name, and leaves the other profiles alone; No changes nothing.
TEST(Commands, ResetProfileAsksFirst)
{
    MainWindowRig rig;
    std::unique_ptr<ConfigData> cfg = MainWindowRig::ShippedConfig();
    cfg->PROFILE_ID = 6;
    for (ProfileData& p : cfg->profiles) {
        CopyField(p.PROFILE_NAME, L"Mine");
        CopyField(p.CHARACTER_NAME, L"Thrain");
        CopyField(p.GAME_NAME[0], L"game.exe");
        CopyField(p.macros[3].MACRO_NAME, L"Burst");
        p.buttons[4].code = 304;
        p.DPI_VALUE = 1;
    }
    ASSERT_TRUE(rig.WriteConfig(*cfg));
    ASSERT_TRUE(rig.Open());
    CAPDlg& d = *rig.dlg;
    std::unique_ptr<ConfigData> start = NewConfigData();
    *start = d.m_config;
    {
        BoxAnswerer person(BoxAnswerer::Answer::No, {rig.Hwnd()});
        rig.Click(d.m_btnRestore);
        EXPECT_EQ(person.Finish(), 1);
    }
    EXPECT_EQ(CompareConfig(d.m_config, *start), 0);
    {
        BoxAnswerer person(BoxAnswerer::Answer::Yes, {rig.Hwnd()});
        rig.Command(ID_RESET_PROFILE);
        EXPECT_EQ(person.Finish(), 1);
    }
    std::unique_ptr<ConfigData> fresh = NewConfigData();
    ResetConfig(*fresh);
    ValidateConfig(*fresh);
    const ProfileData& p = d.m_config.profiles[6];
    EXPECT_EQ(CString(p.PROFILE_NAME), L"Profile 7");
    EXPECT_EQ(CString(p.CHARACTER_NAME), L"");
    EXPECT_EQ(CString(p.GAME_NAME[0]), L"");
    EXPECT_EQ(CString(p.macros[3].MACRO_NAME), L"");
    for (int i = 0; i < BUTTON_COUNT; ++i) EXPECT_EQ(p.buttons[i].code, DefaultButtonCode(i)) << i;
    EXPECT_EQ(p.DPI_VALUE, fresh->profiles[6].DPI_VALUE);
    for (int j = 0; j < PROFILE_COUNT; ++j)
        if (j != 6) {
            EXPECT_EQ(memcmp(&d.m_config.profiles[j], &start->profiles[j], sizeof(ProfileData)), 0) << j;
        }
    EXPECT_TRUE(d.HasUnsavedChanges());
    EXPECT_EQ(d.m_mouseButtons[4].GetCaption(), L"Disabled");
}

// SHOW_MACRO writes the option into the file at once; leaving with Cancel keeps it.
TEST(Commands, ShowMacroOptionIsWrittenAtOnce)
{
    MainWindowRig rig;
    ASSERT_TRUE(rig.Open());
    SetWarningOptionFlag(rig.ConfDir(), 0);
    rig.Command(ID_SHOW_MACRO);
    EXPECT_EQ(GetWarningOptionFlag(rig.ConfDir()), 1);
    rig.Command(ID_SHOW_MACRO);
    EXPECT_EQ(GetWarningOptionFlag(rig.ConfDir()), 0);
    rig.Command(ID_SHOW_MACRO);
    rig.Click(rig.dlg->m_btnCancel);
    EXPECT_TRUE(PumpUntil([&] { return rig.Ended(); }));
    EXPECT_EQ(GetWarningOptionFlag(rig.ConfDir()), 1);
    EXPECT_FALSE(rig.dlg->HasUnsavedChanges());
}

// The user guide that cannot be opened gives the notice with the reader link.
TEST(Commands, MissingUserGuideGivesTheReaderNotice)
{
    // The guide lies beside the test program, as in the program folder; without a reader
    // for it the shell cannot open it.
    NoPdfReader noReader;
    MainWindowRig rig;
    ASSERT_TRUE(rig.Open());
    BoxAnswerer person(BoxAnswerer::Answer::Close, {rig.Hwnd()}, L"main-user-guide-missing");
    rig.Click(rig.dlg->m_btnHelp);
    EXPECT_EQ(person.Finish(), 1);
    EXPECT_FALSE(rig.Ended());
}

// In pipe mode the reload notice goes over the pipe, not as a posted message.
TEST(Commands, ApplyInPipeModeGoesOverThePipe)
{
    MainWindowRig rig;
    PeerWindow server(L"Pipe server of the test");
    PeerWindow service(PORTWARDEN_WINDOW_TITLE);
    PipeLink link;
    InitPipeLink(server.m_hWnd, link);
    ASSERT_TRUE(StartPipeServer(link));
    // The server thread makes its instances on its own time.
    ASSERT_TRUE(WaitUntil([] { return WaitNamedPipeW(PIPE_NAME, 100) != FALSE; }));
    ASSERT_TRUE(rig.Open(true));
    CAPDlg& d = *rig.dlg;
    ASSERT_NE(d.m_pPipe, nullptr);
    ChangeSomething(d);
    rig.Click(d.m_btnApply);
    EXPECT_TRUE(PumpUntil([&] { return server.Of(WM_RELOAD_CONFIG).size() == 1; }));
    rig.Pump(100);
    EXPECT_EQ(server.Of(WM_RELOAD_CONFIG).size(), 1u);
    EXPECT_TRUE(service.Of(WM_RELOAD_CONFIG).empty());
    EXPECT_FALSE(d.HasUnsavedChanges());
    rig.Close();
    ClosePipeLink(link);
}
