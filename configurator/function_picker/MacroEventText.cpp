#include "configurator/function_picker/MacroEventText.h"
#include "configurator/function_picker/MacroRecording.h"
#include <cwctype>

namespace {

struct KeyName {
    int vk;
    const wchar_t* name;
};

const KeyName kKeyNames[] = {
    {8, L"Bck"},      {9, L"Tab"},      {12, L"Clr"},     {13, L"Enter"},   {16, L"Shft"},    {17, L"Ctrl"},
    {18, L"Alt"},     {19, L"Paus"},    {20, L"CpLk"},    {27, L"Esc"},     {32, L"Spc"},     {33, L"PgUp"},
    {34, L"PgDn"},    {35, L"End"},     {36, L"Home"},    {37, L"Lft"},     {38, L"Up"},      {39, L"Rht"},
    {40, L"Dn"},      {41, L"Select"},  {42, L"Prnt"},    {43, L"Exe"},     {44, L"Snapshot"}, {45, L"Ins"},
    {46, L"Del"},     {47, L"Hlp"},     {91, L"LWin"},    {92, L"RWin"},    {96, L"Num0"},    {97, L"Num1"},
    {98, L"Num2"},    {99, L"Num3"},    {100, L"Num4"},   {101, L"Num5"},   {102, L"Num6"},   {103, L"Num7"},
    {104, L"Num8"},   {105, L"Num9"},   {106, L"Num*"},   {107, L"Num+"},   {108, L"NumRet"}, {109, L"Num-"},
    {110, L"Num."},   {111, L"Num/"},   {112, L"F1"},     {113, L"F2"},     {114, L"F3"},     {115, L"F4"},
    {116, L"F5"},     {117, L"F6"},     {118, L"F7"},     {119, L"F8"},     {120, L"F9"},     {121, L"F10"},
    {122, L"F11"},    {123, L"F12"},    {144, L"Numl"},   {145, L"Scrl"},   {160, L"LShft"},  {161, L"RShft"},
    {162, L"LCtrl"},  {163, L"RCtrl"},  {164, L"LAlt"},   {165, L"RAlt"},
};

// The unshifted character of the key on the thread's keyboard layout; 0 when it types
// none, or one the display would take for an arrow or an entry's end.
wchar_t KeyChar(int vk)
{
    BYTE state[256] = {};
    WORD chars = 0;
    UINT scan = MapVirtualKeyW((UINT)vk, MAPVK_VK_TO_VSC);
    if (ToAscii((UINT)vk, scan, state, &chars, 0) <= 0) return 0;
    wchar_t ch = (wchar_t)towupper((wint_t)(unsigned char)(chars & 0xFF));
    if (ch <= L' ' || ch == 0x7F || ch == kDownMarker || ch == kUpMarker) return 0;
    return ch;
}

}  // namespace

const wchar_t* MacroKeyName(int vk)
{
    for (const KeyName& k : kKeyNames) {
        if (k.vk == vk) return k.name;
    }
    return nullptr;
}

CString MacroKeyLabel(int vk)
{
    if (const wchar_t* name = MacroKeyName(vk)) return name;
    if (wchar_t ch = KeyChar(vk)) return CString(ch);
    CString label;
    label.Format(L"Key%d", vk);
    return label;
}

CString MacroEventsText(const MacroEvent* events, int count, int delayMode)
{
    CString text;
    for (int i = 0; i < count; ++i) {
        const MacroEvent& e = events[i];
        if (delayMode == DELAY_AUTOMATIC) {
            if (e.up) continue;
            text += MacroKeyLabel(e.vk);
        } else {
            text += MacroKeyLabel(e.vk);
            text += e.up ? kUpMarker : kDownMarker;
            // The delay as it plays: a damaged or older file may hold one the player cuts.
            int32_t delay = PlayedMacroDelay(e.delay);
            if (delayMode != DELAY_NONE && delay != 0) text.AppendFormat(L"<%dms>", (int)delay);
        }
        text += L' ';
    }
    return text;
}

int MacroCharWidth(wchar_t ch, const MacroTextMeasure& m)
{
    if (ch == kUpMarker) return m.upWidth;
    if (ch == kDownMarker) return m.downWidth;
    return m.charWidth ? m.charWidth(ch) : 0;
}

std::vector<int> MacroLineStarts(const CString& text, const MacroTextMeasure& m)
{
    std::vector<int> starts;
    if (text.IsEmpty()) return starts;
    starts.push_back(0);
    int x = kMacroTextLeft;
    for (int i = 0; i < text.GetLength(); ++i) {
        int w = MacroCharWidth(text[i], m);
        // A line holds at least one character, however narrow the display.
        if (x + w >= m.usableWidth && x > kMacroTextLeft) {
            starts.push_back(i);
            x = kMacroTextLeft;
        }
        x += w;
    }
    return starts;
}
