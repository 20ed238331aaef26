#pragma once
#include <windows.h>
#include "core/ConfigData.h"
#include "framework/CList.h"
#include "framework/CString.h"
#include "service/KeySequences.h"
#include <string>

// Playback of the profile's recorded macros: paste macros, hold-key macros and played
// key sequences.

// Keys held down by hold-key macros, in the order they were pressed (a key may repeat).
extern CList<int, int> g_heldKeys;
// Held keys that a played macro also used; pressed again after its playback.
extern CList<int, int> g_repressKeys;

// The editor's loop field takes three digits; larger counts only come from a damaged file.
const int MACRO_MAX_LOOPS = 999;

enum class MacroKind { Paste, HoldKey, Played };

MacroKind ClassifyMacro(const MacroData& m);
// Events before the first one whose key is 0, at most 320.
int MacroEventCount(const MacroData& m);
// How often a played macro runs: the loop count when the loop flag is set, else 1;
// 0 for a count of 0 or less, and never more than the editor can record.
int MacroPlayCount(const MacroData& m);
// A stored delay as it is waited (PlayedMacroDelay).
DWORD MacroDelay(int32_t delay);
// Left and right Shift, Ctrl and Alt (160..165) as the generic 16, 17 and 18.
WORD GenericKey(int vk);

// One pass over events with a fresh key-state table: 1 ms before a key whose last state
// differs, the key made generic, then the event's delay, or fixedDelay when it is 0 or more.
KeySteps MacroEventSteps(const MacroEvent* events, int count, int fixedDelay);
// The releases of the keys that the events leave down, last pressed first, without waits;
// keys are taken as sent, so a left and a right Shift down are one Shift to let go.
KeySteps MacroReleaseSteps(const MacroEvent* events, int count);
// Ctrl+V with its waits, as the paste sends it.
KeySteps PasteKeySteps();

// The foreground program is the game ("ulk.exe"), which gets ANSI clipboard text.
bool IsGameInForeground();
void SendHoldKey(int vk, bool up);
// Appends to g_repressKeys every held key that the macro's events use.
void CollectHeldKeys(const MacroData& m);
// Removes one entry of the key from g_heldKeys; false when it held none.
bool ReleaseHeldKey(int vk);

// What the button's press or release does with macro m. owner is the window that owns
// the clipboard while a paste text is put on it.
void PlayMacro(const MacroData& m, bool release, HWND owner);
void PlayMacroEventsOnce(const MacroData& m);
void PlayMacroKeys(const MacroEvent (&keys)[MACRO_KEY_COUNT]);
void PasteTextThroughClipboard(HWND owner, const CString& text, bool narrow);
// The text in the code page for the game's clipboard, at most maxBytes long and cut only
// between whole characters.
std::string NarrowPasteText(const CString& text, UINT codePage, size_t maxBytes);
