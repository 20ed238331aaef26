#pragma once
#include <functional>
#include <vector>
#include "core/ConfigData.h"
#include "framework/CString.h"

// The text form of a macro's events in the event display: entries of a key name, a
// marker for the press or release and the delay, each followed by a space. The display
// draws the two marker characters as arrow pictures.
constexpr wchar_t kDownMarker = L'|';
constexpr wchar_t kUpMarker = L'^';

// The short name of a key ("LShft", "NumRet", "F5"), or null for a key without one.
const wchar_t* MacroKeyName(int vk);
// The key's entry without marker: its name, else the character it types on the keyboard
// layout (unshifted, upper-cased), else "Key" and its number.
CString MacroKeyLabel(int vk);
// The display text of the first count events in a delay mode: the automatic mode lists
// the presses only, without markers or delays; the mode without delays shows markers but
// no delays; the others show markers and every delay that is not 0 as "<120ms>".
CString MacroEventsText(const MacroEvent* events, int count, int delayMode);

// How the display measures its text for wrapping: the width a line may fill, the widths of
// the two arrow pictures and of any other character.
struct MacroTextMeasure {
    int usableWidth = 0;
    int upWidth = 0;
    int downWidth = 0;
    std::function<int(wchar_t)> charWidth;
};
// Lines start at x = 2; a character that would reach the usable width starts a new line.
constexpr int kMacroTextLeft = 2;
// The width a character takes.
int MacroCharWidth(wchar_t ch, const MacroTextMeasure& m);
// The index of the first character of every line; empty for an empty text.
std::vector<int> MacroLineStarts(const CString& text, const MacroTextMeasure& m);
