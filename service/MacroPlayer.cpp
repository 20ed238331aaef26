#include "service/MacroPlayer.h"
#include "service/PeerWindows.h"
#include "service/ServiceSeams.h"
#include <algorithm>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

CList<int, int> g_heldKeys;
CList<int, int> g_repressKeys;

namespace {

const int32_t kDelayModePaste = 4;

KeyStep KeyEvent(WORD vk, DWORD flags) { return {KeyStepType::Key, vk, flags, 0, false}; }
KeyStep WaitMs(DWORD ms) { return {KeyStepType::Wait, 0, 0, (int)ms, false}; }

void Play(const KeySteps& steps)
{
    for (const KeyStep& s : steps)
        PerformInputStep(s);
}

bool UsesKey(const MacroData& m, int vk)
{
    int n = MacroEventCount(m);
    for (int i = 0; i < n; ++i)
        if (m.events[i].vk == vk)
            return true;
    return false;
}

} // namespace

int MacroEventCount(const MacroData& m)
{
    int n = 0;
    while (n < MACRO_EVENT_COUNT && m.events[n].vk != 0)
        ++n;
    return n;
}

MacroKind ClassifyMacro(const MacroData& m)
{
    if (m.delayMode == kDelayModePaste)
        return MacroKind::Paste;
    if (m.events[2].vk == 0 && (m.loopFlag == 0 || m.loopCount == 1))
        return MacroKind::HoldKey;
    return MacroKind::Played;
}

int MacroPlayCount(const MacroData& m)
{
    int n = m.loopFlag ? m.loopCount : 1;
    return std::max(0, std::min(n, MACRO_MAX_LOOPS));
}

DWORD MacroDelay(int32_t delay)
{
    return (DWORD)PlayedMacroDelay(delay);
}

WORD GenericKey(int vk)
{
    switch (vk) {
    case VK_LSHIFT: case VK_RSHIFT: return VK_SHIFT;
    case VK_LCONTROL: case VK_RCONTROL: return VK_CONTROL;
    case VK_LMENU: case VK_RMENU: return VK_MENU;
    default: return (WORD)vk;
    }
}

KeySteps MacroEventSteps(const MacroEvent* events, int count, int fixedDelay)
{
    signed char state[256];
    std::fill(std::begin(state), std::end(state), (signed char)-1);
    KeySteps steps;
    steps.reserve(count * 3);
    for (int i = 0; i < count; ++i) {
        const MacroEvent& e = events[i];
        int up = e.up ? 1 : 0;
        if (state[e.vk] != -1 && state[e.vk] != up)
            steps.push_back(WaitMs(1));
        steps.push_back(KeyEvent(GenericKey(e.vk), up ? KEYEVENTF_KEYUP : 0));
        steps.push_back(WaitMs(fixedDelay >= 0 ? (DWORD)fixedDelay : MacroDelay(e.delay)));
        state[e.vk] = (signed char)up;
    }
    return steps;
}

KeySteps MacroReleaseSteps(const MacroEvent* events, int count)
{
    // Tracked by the key sent: a left and a right Shift are one key to the receiver.
    int lastPress[256];
    std::fill(std::begin(lastPress), std::end(lastPress), -1);
    for (int i = 0; i < count; ++i) {
        if (events[i].vk == 0)
            continue;  // no key: nothing to let go
        lastPress[GenericKey(events[i].vk)] = events[i].up ? -1 : i;
    }
    std::vector<std::pair<int, WORD>> down;
    for (int key = 0; key < 256; ++key)
        if (lastPress[key] >= 0)
            down.push_back({lastPress[key], (WORD)key});
    std::sort(down.rbegin(), down.rend());
    KeySteps steps;
    for (const auto& d : down)
        steps.push_back(KeyEvent(d.second, KEYEVENTF_KEYUP));
    return steps;
}

KeySteps PasteKeySteps()
{
    return {KeyEvent(VK_CONTROL, 0), WaitMs(50), KeyEvent('V', 0), WaitMs(50),
            KeyEvent('V', KEYEVENTF_KEYUP), WaitMs(50), KeyEvent(VK_CONTROL, KEYEVENTF_KEYUP)};
}

bool IsGameInForeground()
{
    CString name = ForegroundSeam().ProcessName();
    if (name.IsEmpty())
        return false;
    OutputDebugStringW(name);
    return name.CompareNoCase(L"ulk.exe") == 0;
}

void SendHoldKey(int vk, bool up)
{
    WORD key = (WORD)(vk & 0xFF);
    SendKeyInput(key, (WORD)MapVirtualKeyW(key, MAPVK_VK_TO_VSC),
                 up ? KEYEVENTF_EXTENDEDKEY | KEYEVENTF_KEYUP : KEYEVENTF_EXTENDEDKEY);
}

void CollectHeldKeys(const MacroData& m)
{
    for (POSITION pos = g_heldKeys.GetHeadPosition(); pos;) {
        int key = g_heldKeys.GetNext(pos);
        if (UsesKey(m, key))
            g_repressKeys.AddTail(key);
    }
}

bool ReleaseHeldKey(int vk)
{
    for (POSITION pos = g_heldKeys.GetHeadPosition(); pos;) {
        POSITION at = pos;
        if (g_heldKeys.GetNext(pos) == vk) {
            g_heldKeys.RemoveAt(at);
            return true;
        }
    }
    return false;
}

void PlayMacroKeys(const MacroEvent (&keys)[MACRO_KEY_COUNT])
{
    // Each key with a state table of its own, so no 1 ms wait comes between them.
    for (const MacroEvent& key : keys)
        Play(MacroEventSteps(&key, 1, 50));
    // Two presses (Shift+Enter as the editor stores it) are let go once both went out.
    Play(MacroReleaseSteps(keys, MACRO_KEY_COUNT));
}

void PlayMacroEventsOnce(const MacroData& m)
{
    // Ask the foreground program for US English, so the recorded keys type what was recorded.
    HWND w = ForegroundSeam().Window();
    HKL old = GetKeyboardLayout(w ? GetWindowThreadProcessId(w, nullptr) : 0);
    HKL us = LoadKeyboardLayoutW(L"00000409", KLF_ACTIVATE);
    // A hung game must not freeze the service: the request goes out with a time-out.
    if (w)
        SendToPeer(w, WM_INPUTLANGCHANGEREQUEST, 1, (LPARAM)us);
    CollectHeldKeys(m);
    int count = MacroEventCount(m);
    Play(MacroEventSteps(m.events, count, -1));
    // What the events leave down (a recording cut at 320 events, OK pressed while a key
    // was held) is let go at the end of the play; held keys it used are pressed again after.
    Play(MacroReleaseSteps(m.events, count));
    ClockSeam().Sleep(100);
    if (w)
        SendToPeer(w, WM_INPUTLANGCHANGEREQUEST, 1, (LPARAM)old);
}

namespace {

std::string ToCodePage(const wchar_t* text, int length, UINT codePage)
{
    std::string out;
    int bytes = length > 0 ? WideCharToMultiByte(codePage, WC_COMPOSITECHECK, text, length, nullptr, 0, nullptr, nullptr) : 0;
    if (bytes > 0) {
        out.resize(bytes);
        WideCharToMultiByte(codePage, WC_COMPOSITECHECK, text, length, &out[0], bytes, nullptr, nullptr);
    }
    return out;
}

} // namespace

std::string NarrowPasteText(const CString& text, UINT codePage, size_t maxBytes)
{
    const wchar_t* s = text.GetString();
    int length = text.GetLength();
    std::string whole = ToCodePage(s, length, codePage);
    if (whole.size() <= maxBytes)
        return whole;
    // Too long: the longest start of the text that fits, cut between whole characters
    // (never inside a double-byte character or a surrogate pair). The bytes grow with the
    // number of characters, so the cut is found by halving.
    int fits = 0, over = length;
    while (over - fits > 1) {
        int mid = (fits + over) / 2;
        if (ToCodePage(s, mid, codePage).size() <= maxBytes)
            fits = mid;
        else
            over = mid;
    }
    if (fits > 0 && IS_HIGH_SURROGATE(s[fits - 1]))
        --fits;
    return ToCodePage(s, fits, codePage);
}

void PasteTextThroughClipboard(HWND owner, const CString& text, bool narrow)
{
    std::string ansi = NarrowPasteText(text, CP_ACP, 259);
    OutputDebugStringA(ansi.c_str());

    if (OpenClipboard(owner)) {
        EmptyClipboard();
        SIZE_T size = narrow ? ansi.size() + 1 : ((SIZE_T)text.GetLength() + 1) * sizeof(wchar_t);
        HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT | GMEM_DDESHARE, size);
        if (block) {
            if (void* p = GlobalLock(block)) {
                if (narrow)
                    memcpy(p, ansi.c_str(), ansi.size());
                else
                    memcpy(p, text.GetString(), (SIZE_T)text.GetLength() * sizeof(wchar_t));
                GlobalUnlock(block);
            }
            if (!SetClipboardData(narrow ? CF_TEXT : CF_UNICODETEXT, block))
                GlobalFree(block);
        }
        CloseClipboard();
    }
    // Sent also when the clipboard was busy: it then pastes whatever it held.
    Play(PasteKeySteps());
}

void PlayMacro(const MacroData& m, bool release, HWND owner)
{
    switch (ClassifyMacro(m)) {
    case MacroKind::Paste:
        if (release) {
            bool inGame = IsGameInForeground();
            if (m.startKeyFlag)
                PlayMacroKeys(m.startKeys);
            ClockSeam().Sleep(50);
            PasteTextThroughClipboard(owner, CString(m.pasteText, FieldLength(m.pasteText)), inGame);
            ClockSeam().Sleep(50);
            if (m.sendKeyFlag)
                PlayMacroKeys(m.sendKeys);
        }
        break;
    case MacroKind::HoldKey:
        SendHoldKey(m.events[0].vk, release);
        if (release)
            ReleaseHeldKey(m.events[0].vk);
        else
            g_heldKeys.AddTail(m.events[0].vk);
        break;
    case MacroKind::Played:
        if (!release) {
            int n = MacroPlayCount(m);
            for (int i = 0; i < n; ++i)
                PlayMacroEventsOnce(m);
            for (POSITION pos = g_repressKeys.GetHeadPosition(); pos;)
                SendHoldKey(g_repressKeys.GetNext(pos), false);
            g_repressKeys.RemoveAll();
        }
        break;
    }
}
