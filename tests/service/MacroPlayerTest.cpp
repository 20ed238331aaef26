#include "InputTimeline.h"
#include "ServiceFakes.h"
#include "service/HIDWnd.h"
#include "service/MacroPlayer.h"
#include <gtest/gtest.h>
#include <memory>
#include <thread>
#include <string>
#include <vector>

namespace {

MacroData Macro(std::initializer_list<MacroEvent> events, int loopCount = 1, int loopFlag = 0, int delayMode = 2)
{
    MacroData m = {};
    int i = 0;
    for (const MacroEvent& e : events) m.events[i++] = e;
    m.loopCount = loopCount;
    m.loopFlag = loopFlag;
    m.delayMode = delayMode;
    return m;
}

std::vector<int> Keys(const CList<int, int>& list)
{
    std::vector<int> v;
    for (POSITION pos = list.GetHeadPosition(); pos;) v.push_back(list.GetNext(pos));
    return v;
}

// Keyboard-layout requests that reach the foreground window.
std::vector<std::pair<WPARAM, LPARAM>> g_layoutRequests;

LRESULT CALLBACK ForegroundProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_INPUTLANGCHANGEREQUEST) {
        g_layoutRequests.push_back({wParam, lParam});
        return 0;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

class MacroPlayback : public testing::Test {
protected:
    FakeClock clock;
    InputTimeline timeline{clock};
    FakeForeground foreground;
    FakeMouseSettings settings;
    std::unique_ptr<ServiceSeamGuard> seams;
    HWND owner = nullptr;

    void SetUp() override
    {
        seams.reset(new ServiceSeamGuard(nullptr, &timeline, &clock, &foreground, &settings));
        g_heldKeys.RemoveAll();
        g_repressKeys.RemoveAll();
        g_layoutRequests.clear();
        owner = CreateWindowExW(0, L"STATIC", L"clipboard owner", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
        ASSERT_TRUE(owner);
    }
    void TearDown() override
    {
        DestroyWindow(owner);
        g_heldKeys.RemoveAll();
        g_repressKeys.RemoveAll();
        seams.reset();
    }
    std::string Play(const MacroData& m, bool release)
    {
        timeline.Clear();
        PlayMacro(m, release, owner);
        return timeline.Text();
    }
};

const MacroEvent W_DOWN = {'W', 0, 30}, W_UP = {'W', 1, 40};

} // namespace

TEST(MacroKinds, HoldKeyPlayedAndPasteAreToldApart)
{
    struct Case {
        const char* what;
        MacroData m;
        MacroKind want;
    } cases[] = {
        {"two events, no loop", Macro({W_DOWN, W_UP}), MacroKind::HoldKey},
        {"two events, loop flag with count 1", Macro({W_DOWN, W_UP}, 1, 1), MacroKind::HoldKey},
        {"two events, count 5 without the flag", Macro({W_DOWN, W_UP}, 5, 0), MacroKind::HoldKey},
        {"one event", Macro({W_DOWN}), MacroKind::HoldKey},
        {"no events", Macro({}), MacroKind::HoldKey},
        {"two events, loop flag with count 3", Macro({W_DOWN, W_UP}, 3, 1), MacroKind::Played},
        {"three events", Macro({W_DOWN, W_UP, W_DOWN}), MacroKind::Played},
        {"three events, loop count 1", Macro({W_DOWN, W_UP, W_DOWN}, 1, 1), MacroKind::Played},
        {"paste mode", Macro({W_DOWN, W_UP}, 1, 0, 4), MacroKind::Paste},
        {"paste mode with many events", Macro({W_DOWN, W_UP, W_DOWN, W_UP}, 3, 1, 4), MacroKind::Paste},
    };
    for (const Case& c : cases) EXPECT_EQ(ClassifyMacro(c.m), c.want) << c.what;
}

TEST(MacroKinds, DelaysAndLoopCountsStayWithinWhatTheEditorRecords)
{
    struct Delay { int32_t stored; DWORD waited; } delays[] = {
        {0, 0}, {25, 25}, {-1, 0}, {-2147483647 - 1, 0}, {60000, 60000}, {60001, 60000}, {2147483647, 60000},
    };
    for (auto& c : delays) EXPECT_EQ(MacroDelay(c.stored), c.waited) << c.stored;
    struct Loop { int count, flag, plays; } loops[] = {
        {3, 1, 3}, {3, 0, 1}, {0, 1, 0}, {-4, 1, 0}, {999, 1, 999}, {1000, 1, 999}, {2147483647, 1, 999}, {-4, 0, 1},
    };
    for (auto& c : loops) {
        MacroData m = Macro({W_DOWN, W_UP}, c.count, c.flag);
        EXPECT_EQ(MacroPlayCount(m), c.plays) << c.count << "," << c.flag;
    }
}

TEST(MacroKinds, TheGamesPasteTextIsCutOnlyBetweenWholeCharacters)
{
    struct Case {
        const char* what;
        UINT codePage;
        std::wstring text;
        size_t bytes;  // of the cut text
    } cases[] = {
        {"short text, whole", 1252, L"hello", 5},
        {"single-byte code page, 259 bytes", 1252, std::wstring(300, L'x'), 259},
        {"double-byte characters only", 932, std::wstring(200, L'\x3042'), 258},
        {"one single byte before them", 932, L"x" + std::wstring(200, L'\x3042'), 259},
        {"two single bytes before them", 932, L"xy" + std::wstring(200, L'\x3042'), 258},
        {"UTF-8, two bytes each", 65001, std::wstring(200, L'\x00E9'), 258},
        {"UTF-8, surrogate pairs", 65001, [] {
             std::wstring t = L"ab";
             for (int i = 0; i < 100; ++i) t += L"\xD83D\xDE00";
             return t;
         }(), 258},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::string cut = NarrowPasteText(CString(c.text), c.codePage, 259);
        EXPECT_EQ(cut.size(), c.bytes);
        // The bytes read back without a broken character, as the start of the text.
        wchar_t back[300] = {};
        int n = MultiByteToWideChar(c.codePage, MB_ERR_INVALID_CHARS, cut.data(), (int)cut.size(), back, 300);
        ASSERT_GT(n, 0);
        EXPECT_EQ(c.text.compare(0, n, back, n), 0);
    }
}

TEST_F(MacroPlayback, AHoldKeyMacroHoldsItsFirstKeyWhileTheButtonIsDown)
{
    MacroData m = Macro({{'W', 0, 500}, {'W', 1, 700}});
    EXPECT_EQ(Play(m, false), "87ve");
    EXPECT_EQ(Keys(g_heldKeys), std::vector<int>({'W'}));
    EXPECT_EQ(Play(m, true), "87^e");
    EXPECT_TRUE(g_heldKeys.IsEmpty());
    EXPECT_TRUE(timeline.ScanCodesMatch());

    // An empty macro holds key 0.
    MacroData empty = Macro({});
    EXPECT_EQ(Play(empty, false), "0ve");
    EXPECT_EQ(Play(empty, true), "0^e");
}

TEST_F(MacroPlayback, EachReleaseTakesExactlyOneHeldEntryOfItsKey)
{
    MacroData w = Macro({{'W', 0, 0}}), x = Macro({{'X', 0, 0}});
    Play(w, false);
    Play(w, false);
    EXPECT_EQ(Keys(g_heldKeys), std::vector<int>({'W', 'W'}));
    Play(w, true);
    EXPECT_EQ(Keys(g_heldKeys), std::vector<int>({'W'}));
    Play(w, true);
    EXPECT_TRUE(g_heldKeys.IsEmpty());

    Play(w, false);
    Play(x, false);
    Play(w, false);
    Play(w, true);
    EXPECT_EQ(Keys(g_heldKeys), std::vector<int>({'X', 'W'}));
    // A release without its press still lets the key up and changes no entry.
    MacroData q = Macro({{'Q', 0, 0}});
    EXPECT_EQ(Play(q, true), "81^e");
    EXPECT_EQ(Keys(g_heldKeys), std::vector<int>({'X', 'W'}));

    // A played macro that uses W does not bring back a W already released.
    Play(w, true);
    EXPECT_EQ(Keys(g_heldKeys), std::vector<int>({'X'}));
    std::string text = Play(Macro({W_DOWN, W_UP, {'E', 0, 0}, {'E', 1, 0}}), false);
    EXPECT_EQ(text.find("87ve"), std::string::npos) << text;
}

TEST_F(MacroPlayback, APlayedMacroRunsItsEventsOnPressAsOftenAsItsLoopSays)
{
    MacroData m = Macro({W_DOWN, W_UP}, 3, 1);
    const std::string pass = "87v w30 w1 87^ w40 w100";
    EXPECT_EQ(Play(m, false), pass + " " + pass + " " + pass);
    EXPECT_EQ(Play(m, true), "");

    // Three events or more ignore the release, even with loop count 1.
    MacroData three = Macro({{'A', 0, 5}, {'A', 1, 6}, {'B', 0, 7}}, 1, 1);
    EXPECT_EQ(Play(three, false), "65v w5 w1 65^ w6 66v w7 66^ w100");
    EXPECT_EQ(Play(three, true), "");

    // Loop flag on with count 0: nothing plays.
    EXPECT_EQ(Play(Macro({W_DOWN, W_UP, W_DOWN}, 0, 1), false), "");
}

TEST_F(MacroPlayback, KeyStatesDecideTheOneMillisecondWaits)
{
    // Two downs in a row go without the wait; a down after an up waits 1 ms first.
    MacroData m = Macro({{'A', 0, 0}, {'A', 0, 0}, {'A', 1, 0}, {'A', 0, 0}, {'B', 1, 2}});
    EXPECT_EQ(Play(m, false), "65v w0 65v w0 w1 65^ w0 w1 65v w0 66^ w2 65^ w100");
}

TEST_F(MacroPlayback, LeftAndRightModifiersAreSentAsGenericKeys)
{
    MacroData m = Macro({{160, 0, 0}, {161, 0, 0}, {162, 0, 0}, {163, 0, 0}, {164, 0, 0}, {165, 0, 0},
                         {165, 1, 0}, {163, 1, 0}, {160, 1, 0}});
    EXPECT_EQ(Play(m, false), "16v w0 16v w0 17v w0 17v w0 18v w0 18v w0 w1 18^ w0 w1 17^ w0 w1 16^ w0 w100");
    EXPECT_TRUE(timeline.ScanCodesMatch());
}

TEST_F(MacroPlayback, DamagedDelaysAndLoopCountsCannotBlockTheService)
{
    MacroData m = Macro({{'A', 0, -5}, {'A', 1, 2000000000}, {'B', 0, 0}}, 1000000, 1);
    Play(m, false);
    std::vector<DWORD> waits = clock.Waits();
    int passes = clock.Count(100);
    EXPECT_EQ(passes, MACRO_MAX_LOOPS);
    EXPECT_EQ(clock.Count(60000), MACRO_MAX_LOOPS);
    for (DWORD w : waits) EXPECT_LE(w, (DWORD)MACRO_MAX_DELAY_MS);
}

TEST_F(MacroPlayback, HeldKeysArePressedAgainAfterAPlayedMacroThatUsedThem)
{
    MacroData shift = Macro({{160, 0, 0}, {160, 1, 0}});
    EXPECT_EQ(Play(shift, false), "160ve");
    MacroData typed = Macro({{160, 0, 10}, {'A', 0, 10}, {'A', 1, 10}, {160, 1, 10}}, 2, 1);
    const std::string pass = "16v w10 65v w10 w1 65^ w10 w1 16^ w10 w100";
    // Collected once per pass, so pressed again once per pass.
    EXPECT_EQ(Play(typed, false), pass + " " + pass + " 160ve 160ve");
    EXPECT_TRUE(g_repressKeys.IsEmpty());
    EXPECT_EQ(Keys(g_heldKeys), std::vector<int>({160}));

    // A played macro that does not use the held key leaves it alone.
    MacroData other = Macro({{'B', 0, 0}, {'B', 1, 0}, {'C', 0, 0}});
    EXPECT_EQ(Play(other, false), "66v w0 w1 66^ w0 67v w0 67^ w100");
}

TEST_F(MacroPlayback, TheForegroundProgramIsAskedForUsEnglishAndGivenItsLayoutBack)
{
    WNDCLASSW wc = {};
    wc.lpfnWndProc = ForegroundProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"MacroTestForeground";
    RegisterClassW(&wc);
    HWND front = CreateWindowExW(0, wc.lpszClassName, L"front", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    ASSERT_TRUE(front);
    foreground.window = front;
    HKL old = GetKeyboardLayout(0);
    Play(Macro({W_DOWN, W_UP, W_DOWN}), false);
    ASSERT_EQ(g_layoutRequests.size(), 2u);
    EXPECT_EQ(g_layoutRequests[0].first, 1u);
    EXPECT_EQ((HKL)g_layoutRequests[0].second, LoadKeyboardLayoutW(L"00000409", 0));
    EXPECT_EQ(g_layoutRequests[1].first, 1u);
    EXPECT_EQ((HKL)g_layoutRequests[1].second, old);
    DestroyWindow(front);
    ActivateKeyboardLayout(old, 0);

    // An empty played macro sends nothing but still asks twice.
    g_layoutRequests.clear();
    foreground.window = CreateWindowExW(0, wc.lpszClassName, L"front", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    EXPECT_EQ(Play(Macro({}, 2, 1), false), "w100 w100");
    EXPECT_EQ(g_layoutRequests.size(), 4u);
    DestroyWindow(foreground.window);
    foreground.window = nullptr;
    ActivateKeyboardLayout(old, 0);
}

namespace {

MacroData Paste(const wchar_t* text, bool start, bool send)
{
    MacroData m = Macro({}, 1, 0, 4);
    CopyField(m.pasteText, text);
    m.startKeys[0] = {VK_RETURN, 0, 0};
    m.startKeys[1] = {VK_RETURN, 1, 0};
    m.sendKeys[0] = {VK_RETURN, 0, 0};
    m.sendKeys[1] = {VK_RETURN, 1, 0};
    m.startKeyFlag = start;
    m.sendKeyFlag = send;
    return m;
}

// The format put on the clipboard first (formats Windows synthesises come after it) and
// the clipboard's text in that format.
UINT ClipboardFormat(std::string& narrow, std::wstring& wide)
{
    narrow.clear();
    wide.clear();
    if (!OpenClipboard(nullptr)) return 0;
    UINT format = EnumClipboardFormats(0);
    if (HANDLE h = GetClipboardData(format)) {
        if (void* p = GlobalLock(h)) {
            if (format == CF_TEXT) narrow = (const char*)p;
            if (format == CF_UNICODETEXT) wide = (const wchar_t*)p;
            GlobalUnlock(h);
        }
    }
    CloseClipboard();
    return format;
}

} // namespace

TEST_F(MacroPlayback, APasteTypesItsTextThroughTheClipboardOnRelease)
{
    MacroData m = Paste(L"hello", true, true);
    foreground.processName = L"notepad.exe";
    EXPECT_EQ(Play(m, false), "");
    EXPECT_EQ(Play(m, true),
              "13v w50 13^ w50 w50 17v w50 86v w50 86^ w50 17^ w50 13v w50 13^ w50");
    EXPECT_EQ(Play(Paste(L"hello", false, false), true), "w50 17v w50 86v w50 86^ w50 17^ w50");
    EXPECT_EQ(Play(Paste(L"hello", true, false), true), "13v w50 13^ w50 w50 17v w50 86v w50 86^ w50 17^ w50");
}

TEST_F(MacroPlayback, TheGameGetsAnsiTextAndOtherProgramsUnicode)
{
    std::string narrow;
    std::wstring wide;
    struct Case { const wchar_t* process; UINT format; } cases[] = {
        {L"ulk.exe", CF_TEXT}, {L"ULK.EXE", CF_TEXT}, {L"notepad.exe", CF_UNICODETEXT}, {L"", CF_UNICODETEXT},
        {L"ulk.exe.bak", CF_UNICODETEXT},
    };
    for (const Case& c : cases) {
        foreground.processName = c.process;
        Play(Paste(L"Gr\u00FC\u00DFe aus /say", false, false), true);
        ASSERT_EQ(ClipboardFormat(narrow, wide), c.format) << c.process;
        if (c.format == CF_TEXT) {
            char want[64] = {};
            WideCharToMultiByte(CP_ACP, 0, L"Gr\u00FC\u00DFe aus /say", -1, want, sizeof(want), nullptr, nullptr);
            EXPECT_EQ(narrow, want);
        } else {
            EXPECT_EQ(wide, L"Gr\u00FC\u00DFe aus /say");
        }
    }

    // A full text field (260 characters, no terminator) reaches the game cut to 259 bytes
    // and other programs whole.
    MacroData full = Paste(L"", false, false);
    for (wchar_t& ch : full.pasteText) ch = L'x';
    foreground.processName = L"ulk.exe";
    Play(full, true);
    ASSERT_EQ(ClipboardFormat(narrow, wide), (UINT)CF_TEXT);
    EXPECT_EQ(narrow, std::string(259, 'x'));
    foreground.processName = L"other.exe";
    Play(full, true);
    ASSERT_EQ(ClipboardFormat(narrow, wide), (UINT)CF_UNICODETEXT);
    EXPECT_EQ(wide, std::wstring(260, L'x'));
}

namespace {

struct ClipboardHolder {
    HANDLE opened, done;
};

DWORD WINAPI HoldClipboard(void* p)
{
    ClipboardHolder* c = (ClipboardHolder*)p;
    BOOL ok = OpenClipboard(nullptr);
    SetEvent(c->opened);
    WaitForSingleObject(c->done, 10000);
    if (ok) CloseClipboard();
    return 0;
}

} // namespace

TEST_F(MacroPlayback, ABusyClipboardStillSendsThePasteKeys)
{
    foreground.processName = L"notepad.exe";
    Play(Paste(L"kept", false, false), true);
    // Another thread holds the clipboard while the paste runs.
    HANDLE opened = CreateEventW(nullptr, TRUE, FALSE, nullptr), done = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    ClipboardHolder ctx = {opened, done};
    HANDLE thread = CreateThread(nullptr, 0, HoldClipboard, &ctx, 0, nullptr);
    WaitForSingleObject(opened, 10000);
    EXPECT_EQ(Play(Paste(L"lost", false, false), true), "w50 17v w50 86v w50 86^ w50 17^ w50");
    SetEvent(done);
    WaitForSingleObject(thread, 10000);
    CloseHandle(thread);
    CloseHandle(opened);
    CloseHandle(done);
    std::string narrow;
    std::wstring wide;
    EXPECT_EQ(ClipboardFormat(narrow, wide), (UINT)CF_UNICODETEXT);
    EXPECT_EQ(wide, L"kept");
}

TEST_F(MacroPlayback, MacroCodesPlayTheirSlotAndCodesWithoutASlotDoNothing)
{
    std::unique_ptr<CHIDWnd> wnd(new CHIDWnd);
    ConfigData& cfg = wnd->m_config;
    cfg.PROFILE_ID = 2;
    cfg.profiles[2].macros[3] = Macro({{'W', 0, 0}, {'W', 1, 0}});
    cfg.profiles[2].macros[49] = Macro({{'Z', 0, 0}, {'Z', 1, 0}});
    for (int i = 0; i < BUTTON_COUNT; ++i) cfg.profiles[2].buttons[i].code = 9;

    struct Case { int code; const char* press; const char* release; } cases[] = {
        {1003, "87ve", "87^e"}, {1049, "90ve", "90^e"}, {1050, "", ""}, {1100, "", ""}, {1200, "", ""},
    };
    for (const Case& c : cases) {
        cfg.profiles[2].buttons[3].code = c.code;
        timeline.Clear();
        wnd->HandleButtonPress(0x4020);
        EXPECT_EQ(timeline.Text(), c.press) << c.code;
        timeline.Clear();
        wnd->HandleButtonRelease(0x4020);
        EXPECT_EQ(timeline.Text(), c.release) << c.code;
    }
    timeline.Clear();
    for (int slot : {-1, 50, 51, 1000}) {
        wnd->RunMacro(slot, false);
        wnd->RunMacro(slot, true);
        wnd->PlayMacroEvents(slot);
        wnd->PlayMacroStartKeys(slot);
        wnd->PlayMacroSendKeys(slot);
        EXPECT_EQ(wnd->MacroInSlot(slot), nullptr);
    }
    EXPECT_EQ(timeline.Text(), "");
}

TEST_F(MacroPlayback, AHungForegroundProgramDoesNotFreezeThePlayer)
{
    HANDLE release = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    HANDLE ready = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    std::thread game([&] {
        HWND w = CreateWindowExW(0, L"STATIC", L"hung game", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
        foreground.window = w;
        SetEvent(ready);
        WaitForSingleObject(release, 30000);  // does not pump: the window hangs
        DestroyWindow(w);
    });
    WaitForSingleObject(ready, 30000);
    HKL old = GetKeyboardLayout(0);
    // A played macro asks the foreground program for its layout before and after.
    std::string played = Play(Macro({W_DOWN, W_UP, W_DOWN}), false);
    EXPECT_NE(played.find("w100"), std::string::npos);
    SetEvent(release);
    game.join();
    ActivateKeyboardLayout(old, 0);
    CloseHandle(release);
    CloseHandle(ready);
}

TEST_F(MacroPlayback, WhatAPlayLeavesDownIsLetGoAtItsEndLastPressedFirst)
{
    // Ctrl held at OK: let go after the last event's delay, before the pause of the pass.
    MacroData held = Macro({{VK_LCONTROL, 0, 10}, {'C', 0, 10}, {'C', 1, 10}}, 2, 1);
    const std::string pass = "17v w10 67v w10 w1 67^ w10 17^ w100";
    EXPECT_EQ(Play(held, false), pass + " " + pass);

    // A key a hold-key macro holds is let go with the rest, then pressed again.
    Play(Macro({{VK_LSHIFT, 0, 0}}), false);
    EXPECT_EQ(Play(Macro({{VK_LSHIFT, 0, 10}, {'A', 0, 10}, {'A', 1, 10}}), false),
              "16v w10 65v w10 w1 65^ w10 16^ w100 160ve");
    Play(Macro({{VK_LSHIFT, 0, 0}}), true);

    // Shift+Enter as the start and send keys of a paste: each pair let go at its end.
    MacroData paste = Paste(L"gg", true, true);
    paste.startKeys[0] = paste.sendKeys[0] = {VK_LSHIFT, 0, 0};
    paste.startKeys[1] = paste.sendKeys[1] = {VK_RETURN, 0, 0};
    foreground.processName = L"notepad.exe";
    EXPECT_EQ(Play(paste, true), "16v w50 13v w50 13^ 16^ w50 17v w50 86v w50 86^ w50 17^ w50 16v w50 13v w50 13^ 16^");
}
