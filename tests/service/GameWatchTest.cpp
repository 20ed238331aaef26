#include "ServiceRig.h"
#include "service/ProfileSwitch.h"
#include "core/Messages.h"
#include "core/XmlDoc.h"
#include <gtest/gtest.h>

namespace {

// Profile 3 (index 2) lists Game.exe, profile 5 (index 4) game.EXE, profile 7 (index 6)
// Other.exe; the file keeps a PROFILE_CHAGED element.
struct WatchRig {
    ServiceRig rig;
    explicit WatchRig(const wchar_t* profileChanged = L"0,0,", int profileId = 0)
    {
        auto cfg = ServiceRig::DefaultConfig();
        cfg->PROFILE_ID = profileId;
        CopyField(cfg->profiles[2].GAME_NAME[3], L"Game.exe");
        CopyField(cfg->profiles[4].GAME_NAME[0], L"game.EXE");
        CopyField(cfg->profiles[6].GAME_NAME[9], L"Other.exe");
        rig.WriteConfig(*cfg, profileChanged);
        EXPECT_TRUE(rig.Create(false));
        rig.Plug();
    }
    CHIDWnd& W() { return *rig.wnd; }
    // One tick of the watch, as timer 100 runs it.
    void Tick(const wchar_t* foregroundProgram)
    {
        rig.foreground.processName = foregroundProgram;
        W().SendMessage(WM_TIMER, 100);
    }
    CString ProfileChangedText()
    {
        CXmlDoc doc;
        if (!doc.LoadFile(rig.ConfigPath()) || !doc.FindChildNode(L"PROFILE_CHAGED")) return L"(none)";
        return doc.GetChildText();
    }
};

}  // namespace

TEST(GameWatchSession, FirstListingProfileWinsAndTheWatchReturns)
{
    WatchRig w(L"0,0,", 1);
    PeerWindow gearloom(GEARLOOM_MAIN_TITLE);
    struct Step { const wchar_t* program; int profile; const wchar_t* stored; int switched; } steps[] = {
        {L"explorer.exe", 1, L"0,0,", 0},   // nothing listed, nothing switched
        {L"GAME.exe", 2, L"1,1,", 1},       // profile 3 before profile 5
        {L"game.exe", 2, L"1,1,", 1},       // already there
        {L"other.EXE", 6, L"2,1,", 1},      // from game to game: returns to the first game's profile
        {L"notepad.exe", 2, L"2,0,", 0},
        {L"notepad.exe", 2, L"2,0,", 0},    // not switched any more: stays
    };
    for (auto& st : steps) {
        SCOPED_TRACE(testing::Message() << CString(st.program).GetString());
        w.Tick(st.program);
        EXPECT_EQ(w.W().m_config.PROFILE_ID, st.profile);
        EXPECT_EQ(w.rig.ReadConfig()->PROFILE_ID, st.profile);
        EXPECT_EQ(w.ProfileChangedText(), st.stored);
        EXPECT_EQ(w.W().m_bSwitchedByGame, st.switched);
    }
    // Every switch told the configuration program.
    auto told = gearloom.Of(WM_SERVICE_PROFILE_CHANGED);
    ASSERT_EQ(told.size(), 3u);
    EXPECT_EQ(told[0].wParam, 2u);
    EXPECT_EQ(told[1].wParam, 6u);
    EXPECT_EQ(told[2].wParam, 2u);
}

TEST(GameWatchSession, TheFrozenWatchProgramKeepsAGameSwitch)
{
    WatchRig w;
    w.Tick(L"Game.exe");
    EXPECT_EQ(w.W().m_config.PROFILE_ID, 2);
    w.rig.mouse.ClearLog();
    w.Tick(L"VANTREL.EXE");
    EXPECT_EQ(w.W().m_config.PROFILE_ID, 2);
    EXPECT_EQ(w.W().m_bSwitchedByGame, 1);
    EXPECT_TRUE(w.rig.mouse.Requests().empty());
    w.Tick(L"");  // no foreground program: no game
    EXPECT_EQ(w.W().m_config.PROFILE_ID, 0);
    EXPECT_EQ(w.ProfileChangedText(), L"0,0,");
}

TEST(GameWatchSession, SwitchBackSurvivesARestart)
{
    WatchRig w(L"3,1,", 2);
    EXPECT_EQ(w.W().m_nSavedProfile, 3);
    EXPECT_EQ(w.W().m_bSwitchedByGame, 1);
    w.Tick(L"explorer.exe");
    EXPECT_EQ(w.W().m_config.PROFILE_ID, 3);
    EXPECT_EQ(w.ProfileChangedText(), L"3,0,");
}

TEST(GameWatchSession, ASavedProfileOutsideTheTenIsRefused)
{
    for (const wchar_t* stored : {L"12,1,", L"-1,1,"}) {
        WatchRig w(stored, 2);
        EXPECT_EQ(w.W().m_bSwitchedByGame, 0);
        w.Tick(L"explorer.exe");
        EXPECT_EQ(w.W().m_config.PROFILE_ID, 2);
    }
}

// The shipped file has no PROFILE_CHAGED: the first game switch adds it, so the way back
// survives a restart of the service.
TEST(GameWatchSession, WithoutAProfileChangedElementTheSwitchBackStillSurvivesARestart)
{
    WatchRig w(nullptr);
    EXPECT_EQ(w.ProfileChangedText(), L"(none)");
    w.Tick(L"game.exe");
    EXPECT_EQ(w.W().m_config.PROFILE_ID, 2);
    EXPECT_EQ(w.ProfileChangedText(), L"0,1,");

    w.rig.wnd.reset();
    ASSERT_TRUE(w.rig.Create(false));
    w.rig.Plug();
    EXPECT_EQ(w.W().m_config.PROFILE_ID, 2);
    EXPECT_EQ(w.W().m_bSwitchedByGame, 1);
    w.Tick(L"x.exe");
    EXPECT_EQ(w.W().m_config.PROFILE_ID, 0);
    EXPECT_EQ(w.rig.ReadConfig()->PROFILE_ID, 0);
    EXPECT_EQ(w.ProfileChangedText(), L"0,0,");
}

// A tick that cannot read the process list knows nothing about the front: no switch, and
// no switch back either.
TEST(GameWatchSession, AnUnreadableProcessListChangesNothing)
{
    WatchRig w;
    w.Tick(L"Game.exe");
    ASSERT_EQ(w.W().m_config.PROFILE_ID, 2);
    w.rig.mouse.ClearLog();
    w.rig.foreground.processListReadable = false;
    w.Tick(L"notepad.exe");
    EXPECT_EQ(w.W().m_config.PROFILE_ID, 2);
    EXPECT_EQ(w.W().m_bSwitchedByGame, 1);
    EXPECT_EQ(w.ProfileChangedText(), L"0,1,");
    EXPECT_TRUE(w.rig.mouse.Requests().empty());
    w.rig.foreground.processListReadable = true;
    w.Tick(L"notepad.exe");
    EXPECT_EQ(w.W().m_config.PROFILE_ID, 0);
}

// The real seam finds the foreground window's process in the process list.
TEST(GameWatchSession, TheForegroundProcessIsNamedFromTheProcessList)
{
    HWND front = CreateWindowExW(0, L"STATIC", L"game watch front", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50, nullptr,
                                 nullptr, nullptr, nullptr);
    ASSERT_NE(front, nullptr);
    SetForegroundWindow(front);
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
    ASSERT_EQ(GetForegroundWindow(), front);
    wchar_t self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    const wchar_t* slash = wcsrchr(self, L'\\');
    CString name = L"unchanged";
    EXPECT_TRUE(ForegroundSeam().LookUpProcessName(name));
    EXPECT_EQ(name.CompareNoCase(slash ? slash + 1 : self), 0) << name.GetString();
    DestroyWindow(front);
}
