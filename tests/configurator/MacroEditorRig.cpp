#include "MacroEditorRig.h"
#include "TestSupport.h"
#include "configurator/function_picker/MacroEditorRes.h"
#include "configurator/function_picker/MacroRecording.h"
#include "core/AppPaths.h"
#include <gtest/gtest.h>
#include <sstream>

DWORD MacroEditorRig::s_tick = 0;

MacroEditorRig::MacroEditorRig()
{
    wcscpy(g_szAppDir, SourceFile(L"resources\\"));
}

MacroEditorRig::~MacroEditorRig()
{
    Close();
    UseRealClock();
    g_szAppDir[0] = 0;
}

bool MacroEditorRig::Open(const MacroData* macro)
{
    dlg.reset(new CMacroDialog);
    dlg->SetMacro(macro);
    if (!dlg->Create(IDD_MACRO_DIALOG)) return false;
    dlg->CenterWindow();
    dlg->ShowWindow(SW_SHOW);
    dlg->SetForegroundWindow();
    EXPECT_TRUE(WindowInFront(dlg->m_hWnd));
    PumpUntil([this] { return GetForegroundWindow() == dlg->m_hWnd; });
    PumpFor(100);
    return GetForegroundWindow() == dlg->m_hWnd;
}

bool MacroEditorRig::OpenRecording(CBitmapBtn CMacroDialog::*mode)
{
    if (!Open()) return false;
    Click((*dlg).*mode);
    Click(dlg->m_macroArea);
    return dlg->m_pTarget == &dlg->m_macroArea && dlg->m_nCount == 0;
}

void MacroEditorRig::Close()
{
    if (!dlg) return;
    if (dlg->m_hWnd) dlg->DestroyWindow();
    dlg.reset();
    PumpFor(20);
}

void MacroEditorRig::Click(const CWnd& control)
{
    ASSERT_NE(control.m_hWnd, nullptr);
    EXPECT_TRUE(ClickOn(control.m_hWnd));
    PumpFor(120);
}

namespace {

INPUT KeyInput(WORD vk, bool up, bool extended)
{
    INPUT in = {};
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = vk;
    in.ki.wScan = (WORD)MapVirtualKeyW(vk, MAPVK_VK_TO_VSC);
    in.ki.dwFlags = (up ? KEYEVENTF_KEYUP : 0) | (extended ? KEYEVENTF_EXTENDEDKEY : 0);
    return in;
}

// Until the editor's queue is empty of the keys just sent (the hook posts, too).
void Settle()
{
    PumpFor(40);
}

}  // namespace

void MacroEditorRig::Press(WORD vk, bool extended)
{
    INPUT in = KeyInput(vk, false, extended);
    SendInput(1, &in, sizeof in);
    Settle();
}

void MacroEditorRig::Release(WORD vk, bool extended)
{
    INPUT in = KeyInput(vk, true, extended);
    SendInput(1, &in, sizeof in);
    Settle();
}

void MacroEditorRig::Tap(WORD vk, bool extended)
{
    INPUT in[2] = {KeyInput(vk, false, extended), KeyInput(vk, true, extended)};
    SendInput(2, in, sizeof(INPUT));
    Settle();
}

void MacroEditorRig::TapAll(const std::vector<WORD>& keys)
{
    std::vector<INPUT> in;
    for (WORD vk : keys) {
        in.push_back(KeyInput(vk, false, false));
        in.push_back(KeyInput(vk, true, false));
    }
    SendInput((UINT)in.size(), in.data(), sizeof(INPUT));
    // Settled once the count stays put.
    int last = -1;
    PumpUntil(
        [&] {
            int now = dlg->m_nCount;
            bool still = now == last;
            last = now;
            return still;
        },
        5000);
    PumpFor(100);
}

DWORD MacroEditorRig::FakeTick()
{
    return s_tick;
}

void MacroEditorRig::SetTick(DWORD tick)
{
    s_tick = tick;
    SetRecorderTickSource(&FakeTick);
}

void MacroEditorRig::UseRealClock()
{
    SetRecorderTickSource(nullptr);
}

std::vector<MacroEvent> MacroEditorRig::Events() const
{
    return EventList(dlg->m_events, dlg->m_nCount);
}

std::vector<MacroEvent> EventList(const MacroEvent* events, int count)
{
    return std::vector<MacroEvent>(events, events + count);
}

std::string EventsString(const std::vector<MacroEvent>& events)
{
    std::ostringstream s;
    for (const MacroEvent& e : events) s << (int)e.vk << (e.up ? "^" : "v") << e.delay << " ";
    return s.str();
}

namespace {

bool SameEvents(const MacroEvent* a, const MacroEvent* b, int n, std::string& why, const char* what)
{
    for (int i = 0; i < n; ++i) {
        if (a[i].vk != b[i].vk || a[i].up != b[i].up || a[i].delay != b[i].delay) {
            std::ostringstream s;
            s << what << "[" << i << "]: " << (int)a[i].vk << "/" << (int)a[i].up << "/" << a[i].delay << " vs "
              << (int)b[i].vk << "/" << (int)b[i].up << "/" << b[i].delay;
            why = s.str();
            return false;
        }
    }
    return true;
}

}  // namespace

::testing::AssertionResult SameMacro(const MacroData& a, const MacroData& b)
{
    std::string why;
    if (wcscmp(a.MACRO_NAME, b.MACRO_NAME) != 0) return ::testing::AssertionFailure() << "name differs";
    if (!SameEvents(a.events, b.events, MACRO_EVENT_COUNT, why, "events") ||
        !SameEvents(a.startKeys, b.startKeys, MACRO_KEY_COUNT, why, "start keys") ||
        !SameEvents(a.sendKeys, b.sendKeys, MACRO_KEY_COUNT, why, "send keys"))
        return ::testing::AssertionFailure() << why;
    if (a.loopCount != b.loopCount) return ::testing::AssertionFailure() << "loop count " << a.loopCount << " vs " << b.loopCount;
    if (a.loopFlag != b.loopFlag) return ::testing::AssertionFailure() << "loop flag";
    if (a.delayMode != b.delayMode) return ::testing::AssertionFailure() << "delay mode " << a.delayMode << " vs " << b.delayMode;
    if (a.startKeyFlag != b.startKeyFlag) return ::testing::AssertionFailure() << "start flag";
    if (a.sendKeyFlag != b.sendKeyFlag) return ::testing::AssertionFailure() << "send flag";
    if (wcscmp(a.pasteText, b.pasteText) != 0) return ::testing::AssertionFailure() << "paste text differs";
    return ::testing::AssertionSuccess();
}
