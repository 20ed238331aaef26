#include "core/ConfigFile.h"
#include "core/AppPaths.h"
#include "core/XmlDoc.h"
#include <cstdio>
#include <cwchar>
#include <string>

namespace {

const wchar_t kDeclaration[] = L"<?xml version=\"1.0\" encoding=\"utf-16\"?>\r\n";

// Numbered tag names, made once.
struct TagNames {
    wchar_t profile[PROFILE_COUNT][16];
    wchar_t gameName[GAME_NAME_COUNT][16];
    wchar_t macro[MACRO_COUNT][16];
    wchar_t button[BUTTON_COUNT][16];
    TagNames()
    {
        for (int i = 0; i < PROFILE_COUNT; ++i) swprintf(profile[i], 16, L"PROFILE_%d", i + 1);
        for (int i = 0; i < GAME_NAME_COUNT; ++i) swprintf(gameName[i], 16, L"GAME_NAME_%d", i + 1);
        for (int i = 0; i < MACRO_COUNT; ++i) swprintf(macro[i], 16, L"MACRO_%d", i + 1);
        for (int i = 0; i < BUTTON_COUNT; ++i) swprintf(button[i], 16, L"BUTTON_%d", i + 1);
    }
};

const TagNames& Tags()
{
    static const TagNames names;
    return names;
}

void AppendNumber(std::wstring& s, int value)
{
    wchar_t buf[16];
    wchar_t* p = buf + 16;
    unsigned u = value < 0 ? 0u - (unsigned)value : (unsigned)value;
    do { *--p = (wchar_t)(L'0' + u % 10); u /= 10; } while (u);
    if (value < 0) *--p = L'-';
    s.append(p, buf + 16 - p);
}

std::wstring NumberText(int value)
{
    std::wstring s;
    AppendNumber(s, value);
    return s;
}

void AppendListItem(std::wstring& s, int value)
{
    AppendNumber(s, value);
    s += L',';
}

// Events up to the first one whose key is 0: key, up flag, delay, each "%d,".
std::wstring EventListText(const MacroEvent* events, int count)
{
    std::wstring s;
    for (int i = 0; i < count && events[i].vk != 0; ++i) {
        AppendListItem(s, events[i].vk);
        AppendListItem(s, events[i].up);
        AppendListItem(s, events[i].delay);
    }
    return s;
}

std::wstring LoopText(const MacroData& m)
{
    std::wstring s;
    AppendListItem(s, m.loopCount);
    AppendListItem(s, m.loopFlag);
    return s;
}

std::wstring ButtonText(const ButtonSlot& b)
{
    std::wstring s;
    AppendListItem(s, b.number);
    AppendListItem(s, b.code);
    return s;
}

// A field's text, never read past the field.
template <int N> std::wstring FieldText(const wchar_t (&s)[N])
{
    return std::wstring(s, FieldLength(s));
}

int ReadNumber(const wchar_t* s)
{
    return (int)wcstol(s, nullptr, 10);
}

// Takes the next number of a comma list: the text before the first comma, the rest kept
// for the next call. Without a comma the number is 0 and the text stays as it is.
int NextListNumber(const wchar_t*& cursor)
{
    const wchar_t* comma = wcschr(cursor, L',');
    if (!comma) return 0;
    int value = ReadNumber(cursor);
    cursor = comma + 1;
    return value;
}

void ReadEventList(const wchar_t* text, MacroEvent* events, int count)
{
    const wchar_t* cursor = text;
    int i = 0;
    // Once no comma is left every further number reads 0.
    for (; i < count && wcschr(cursor, L','); ++i) {
        events[i].vk = (uint8_t)NextListNumber(cursor);
        events[i].up = (uint8_t)NextListNumber(cursor);
        events[i].delay = NextListNumber(cursor);
    }
    for (; i < count; ++i) events[i] = MacroEvent{0, 0, 0};
}

// Finds a child of the current element from the first one; the next search starts from
// the first child again, so the children may stand in any order.
bool FindAnywhere(CXmlDoc& doc, const wchar_t* name, CString& text)
{
    if (!doc.FindChildNode(name)) return false;
    text = doc.GetChildText();
    doc.RewindChildren();
    return true;
}

template <int N> void ReadText(CXmlDoc& doc, const wchar_t* name, wchar_t (&field)[N])
{
    CString text;
    if (FindAnywhere(doc, name, text)) CopyField(field, text);
}

void ReadInt(CXmlDoc& doc, const wchar_t* name, int32_t& field)
{
    CString text;
    if (FindAnywhere(doc, name, text)) field = ReadNumber(text);
}

void ReadMacro(CXmlDoc& doc, MacroData& m, bool loopCountAlone)
{
    CString text;
    ReadText(doc, L"MACRO_NAME", m.MACRO_NAME);
    if (FindAnywhere(doc, L"MACRO_LOOP_COUNT", text)) {
        const wchar_t* cursor = text;
        if (loopCountAlone && text.Find(L',') < 0) {
            m.loopCount = ReadNumber(text);
            m.loopFlag = 0;
        } else {
            m.loopCount = NextListNumber(cursor);
            m.loopFlag = NextListNumber(cursor);
        }
    }
    ReadInt(doc, L"MACRO_DELAY_MODE", m.delayMode);
    ReadText(doc, L"MACRO_PASTE", m.pasteText);
    ReadInt(doc, L"MACRO_START_KEY", m.startKeyFlag);
    ReadInt(doc, L"MACRO_SEND_KEY", m.sendKeyFlag);
    if (FindAnywhere(doc, L"MACRO_INFO", text)) ReadEventList(text, m.events, MACRO_EVENT_COUNT);
    if (FindAnywhere(doc, L"MACRO_START_KEY_INFO", text)) ReadEventList(text, m.startKeys, MACRO_KEY_COUNT);
    if (FindAnywhere(doc, L"MACRO_SEND_KEY_INFO", text)) ReadEventList(text, m.sendKeys, MACRO_KEY_COUNT);
}

} // namespace

void ReadProfileElements(CXmlDoc& doc, ProfileData& p, bool loopCountAlone)
{
    const TagNames& tags = Tags();
    CString text;
    ReadInt(doc, L"REGION", p.REGION);
    ReadText(doc, L"SERVER_NAME", p.SERVER_NAME);
    ReadText(doc, L"CHARACTER_NAME", p.CHARACTER_NAME);
    ReadText(doc, L"CHARACTER_LEVEL", p.CHARACTER_LEVEL);
    ReadText(doc, L"CHARACTER_CLASS", p.CHARACTER_CLASS);
    ReadText(doc, L"CHARACTER_RACE", p.CHARACTER_RACE);
    ReadText(doc, L"PROFILE_NAME", p.PROFILE_NAME);
    ReadInt(doc, L"DPI_VALUE", p.DPI_VALUE);
    FindAnywhere(doc, L"ACCELERATION", text);  // an older file's value, no longer used
    ReadInt(doc, L"DOUBLE_CLICK_SPEED", p.DOUBLE_CLICK_SPEED);
    ReadInt(doc, L"SCROLL_SPEED", p.SCROLL_SPEED);
    ReadInt(doc, L"SENSITIVITY", p.SENSITIVITY);
    ReadInt(doc, L"ADVANCE_SENSITIVITY_X", p.ADVANCE_SENSITIVITY_X);
    ReadInt(doc, L"ADVANCE_SENSITIVITY_Y", p.ADVANCE_SENSITIVITY_Y);
    int32_t color = (int32_t)p.LED_COLOR;
    ReadInt(doc, L"LED_COLOR", color);
    p.LED_COLOR = (uint32_t)color;
    ReadInt(doc, L"LED_INTENSITY", p.LED_INTENSITY);
    ReadInt(doc, L"LED_PULSATION", p.LED_PULSATION);
    for (int i = 0; i < GAME_NAME_COUNT; ++i) ReadText(doc, tags.gameName[i], p.GAME_NAME[i]);
    for (int i = 0; i < BUTTON_COUNT; ++i) {
        if (!FindAnywhere(doc, tags.button[i], text)) continue;
        int comma = text.Find(L',');
        p.buttons[i].code = ReadNumber(comma < 0 ? text.GetString() : text.GetString() + comma + 1);
    }
    // Macros are found in ascending order only; a later duplicate overrides the first.
    for (int k = 0; k < MACRO_COUNT; ++k) {
        while (doc.FindChildNode(tags.macro[k])) {
            doc.EnterNode();
            ReadMacro(doc, p.macros[k], loopCountAlone);
            doc.LeaveNode();
        }
    }
}

namespace {

template <int N> void AddText(CXmlDoc& doc, const wchar_t* name, const wchar_t (&field)[N])
{
    doc.AddElement(name, FieldText(field).c_str());
}

void AddMacro(CXmlDoc& doc, const wchar_t* tag, const MacroData& m)
{
    doc.AddElement(tag);
    doc.EnterNode();
    AddText(doc, L"MACRO_NAME", m.MACRO_NAME);
    doc.AddElement(L"MACRO_LOOP_COUNT", LoopText(m).c_str());
    doc.AddElement(L"MACRO_DELAY_MODE", m.delayMode);
    AddText(doc, L"MACRO_PASTE", m.pasteText);
    doc.AddElement(L"MACRO_START_KEY", m.startKeyFlag);
    doc.AddElement(L"MACRO_SEND_KEY", m.sendKeyFlag);
    doc.AddElement(L"MACRO_INFO", EventListText(m.events, MACRO_EVENT_COUNT).c_str());
    doc.AddElement(L"MACRO_START_KEY_INFO", EventListText(m.startKeys, MACRO_KEY_COUNT).c_str());
    doc.AddElement(L"MACRO_SEND_KEY_INFO", EventListText(m.sendKeys, MACRO_KEY_COUNT).c_str());
    doc.LeaveNode();
}

} // namespace

void AddProfileElements(CXmlDoc& doc, const ProfileData& p)
{
    const TagNames& tags = Tags();
    doc.AddElement(L"REGION", p.REGION);
    AddText(doc, L"SERVER_NAME", p.SERVER_NAME);
    AddText(doc, L"CHARACTER_NAME", p.CHARACTER_NAME);
    AddText(doc, L"CHARACTER_LEVEL", p.CHARACTER_LEVEL);
    AddText(doc, L"CHARACTER_CLASS", p.CHARACTER_CLASS);
    AddText(doc, L"CHARACTER_RACE", p.CHARACTER_RACE);
    AddText(doc, L"PROFILE_NAME", p.PROFILE_NAME);
    doc.AddElement(L"DPI_VALUE", p.DPI_VALUE);
    doc.AddElement(L"DOUBLE_CLICK_SPEED", p.DOUBLE_CLICK_SPEED);
    doc.AddElement(L"SCROLL_SPEED", p.SCROLL_SPEED);
    doc.AddElement(L"SENSITIVITY", p.SENSITIVITY);
    doc.AddElement(L"ADVANCE_SENSITIVITY_X", p.ADVANCE_SENSITIVITY_X);
    doc.AddElement(L"ADVANCE_SENSITIVITY_Y", p.ADVANCE_SENSITIVITY_Y);
    doc.AddElement(L"LED_COLOR", (int32_t)p.LED_COLOR);
    doc.AddElement(L"LED_INTENSITY", p.LED_INTENSITY);
    doc.AddElement(L"LED_PULSATION", p.LED_PULSATION);
    for (int i = 0; i < GAME_NAME_COUNT; ++i) AddText(doc, tags.gameName[i], p.GAME_NAME[i]);
    for (int k = 0; k < MACRO_COUNT; ++k) AddMacro(doc, tags.macro[k], p.macros[k]);
    for (int i = 0; i < BUTTON_COUNT; ++i) doc.AddElement(tags.button[i], ButtonText(p.buttons[i]).c_str());
}

namespace {

void AddProfile(CXmlDoc& doc, const wchar_t* tag, const ProfileData& p)
{
    doc.AddElement(tag);
    doc.EnterNode();
    OutputDebugStringW(FieldText(p.CHARACTER_NAME).c_str());
    AddProfileElements(doc, p);
    doc.LeaveNode();
}

// Replaces an element's text only when it differs from what the file holds, so values
// that did not change keep their exact form in the file.
void SetTextIfChanged(CXmlDoc& doc, int32_t pos, const std::wstring& text)
{
    const XmlElementPos* e = doc.PosAt(pos);
    if (!e) return;
    CString encoded = EncodeEntities(text.c_str());
    int32_t contentLength = e->length - e->startTagLength - e->endTagLength;
    if (e->firstChild == 0 && !(e->levelFlags & ELEM_UNENDED) && contentLength == encoded.GetLength() &&
        wmemcmp(doc.GetDocText().GetString() + e->start + e->startTagLength, encoded.GetString(), contentLength) == 0)
        return;
    doc.SetTextAt(pos, text.c_str());
}

// Updates the element when it follows the last one found; a missing one is skipped.
void UpdateNext(CXmlDoc& doc, const wchar_t* name, const std::wstring& text)
{
    if (doc.FindElement(name)) SetTextIfChanged(doc, doc.m_currentPos, text);
}

// Finds a child of the entered element from its first child on, whatever came before.
bool FindFromFirstChild(CXmlDoc& doc, const wchar_t* name)
{
    doc.LeaveNode();
    doc.RewindChildren();
    doc.EnterNode();
    return doc.FindElement(name);
}

// A macro's elements are found wherever they stand among its children: files written
// before the later elements existed have them after MACRO_INFO. A missing element of the
// six added later is added right after the element last found or added, so a file that
// lacks them gets them in the writer's order.
void UpdateMacro(CXmlDoc& doc, const MacroData& m)
{
    struct Element {
        const wchar_t* name;
        std::wstring text;
        bool added;  // added when missing; the others are skipped
    };
    const Element elements[] = {
        {L"MACRO_NAME", FieldText(m.MACRO_NAME), false},
        {L"MACRO_LOOP_COUNT", LoopText(m), false},
        {L"MACRO_DELAY_MODE", NumberText(m.delayMode), true},
        {L"MACRO_PASTE", FieldText(m.pasteText), true},
        {L"MACRO_START_KEY", NumberText(m.startKeyFlag), true},
        {L"MACRO_SEND_KEY", NumberText(m.sendKeyFlag), true},
        {L"MACRO_INFO", EventListText(m.events, MACRO_EVENT_COUNT), false},
        {L"MACRO_START_KEY_INFO", EventListText(m.startKeys, MACRO_KEY_COUNT), true},
        {L"MACRO_SEND_KEY_INFO", EventListText(m.sendKeys, MACRO_KEY_COUNT), true},
    };
    int32_t last = 0;
    for (const Element& e : elements) {
        if (FindFromFirstChild(doc, e.name)) {
            SetTextIfChanged(doc, doc.m_currentPos, e.text);
            last = doc.m_currentPos;
        } else if (e.added) {
            // Without an element found yet the new one goes after the macro's last child.
            doc.m_currentPos = last;
            doc.m_childPos = 0;
            doc.m_isElement = last != 0;
            doc.AddElement(e.name, e.text.c_str());
            last = doc.m_currentPos;
        }
    }
}

void UpdateProfile(CXmlDoc& doc, const ProfileData& p)
{
    const TagNames& tags = Tags();
    UpdateNext(doc, L"REGION", NumberText(p.REGION));
    UpdateNext(doc, L"SERVER_NAME", FieldText(p.SERVER_NAME));
    UpdateNext(doc, L"CHARACTER_NAME", FieldText(p.CHARACTER_NAME));
    UpdateNext(doc, L"CHARACTER_LEVEL", FieldText(p.CHARACTER_LEVEL));
    UpdateNext(doc, L"CHARACTER_CLASS", FieldText(p.CHARACTER_CLASS));
    UpdateNext(doc, L"CHARACTER_RACE", FieldText(p.CHARACTER_RACE));
    UpdateNext(doc, L"PROFILE_NAME", FieldText(p.PROFILE_NAME));
    UpdateNext(doc, L"DPI_VALUE", NumberText(p.DPI_VALUE));
    doc.FindElement(L"ACCELERATION");  // only moves past an older file's value
    UpdateNext(doc, L"DOUBLE_CLICK_SPEED", NumberText(p.DOUBLE_CLICK_SPEED));
    UpdateNext(doc, L"SCROLL_SPEED", NumberText(p.SCROLL_SPEED));
    UpdateNext(doc, L"SENSITIVITY", NumberText(p.SENSITIVITY));
    UpdateNext(doc, L"ADVANCE_SENSITIVITY_X", NumberText(p.ADVANCE_SENSITIVITY_X));
    UpdateNext(doc, L"ADVANCE_SENSITIVITY_Y", NumberText(p.ADVANCE_SENSITIVITY_Y));
    UpdateNext(doc, L"LED_COLOR", NumberText((int32_t)p.LED_COLOR));
    UpdateNext(doc, L"LED_INTENSITY", NumberText(p.LED_INTENSITY));
    UpdateNext(doc, L"LED_PULSATION", NumberText(p.LED_PULSATION));
    for (int i = 0; i < GAME_NAME_COUNT; ++i) UpdateNext(doc, tags.gameName[i], FieldText(p.GAME_NAME[i]));
    for (int k = 0; k < MACRO_COUNT; ++k) {
        if (!doc.FindElement(tags.macro[k])) continue;
        doc.EnterNode();
        UpdateMacro(doc, p.macros[k]);
        doc.LeaveNode();
    }
    for (int i = 0; i < BUTTON_COUNT; ++i) UpdateNext(doc, tags.button[i], ButtonText(p.buttons[i]));
}

// The registry copy of the current profile's Windows mouse values. 0, or -1 when a key
// could not be opened or created.
int WriteMouseValues(const ConfigData& cfg)
{
    int id = (cfg.PROFILE_ID >= 0 && cfg.PROFILE_ID < PROFILE_COUNT) ? cfg.PROFILE_ID : 0;
    const ProfileData& p = cfg.profiles[id];
    int result = 0;
    HKEY key;
    if (OpenUserRegKey(L"Control Panel\\Mouse", &key) == ERROR_SUCCESS) {
        SetRegString(key, L"DoubleClickSpeed", NumberText(p.DOUBLE_CLICK_SPEED).c_str());
        SetRegString(key, L"MouseSensitivity", NumberText(p.SENSITIVITY).c_str());
        RegCloseKey(key);
    } else {
        result = -1;
    }
    if (OpenUserRegKey(L"Control Panel\\Desktop", &key) == ERROR_SUCCESS) {
        SetRegString(key, L"WheelScrollLines", NumberText(p.SCROLL_SPEED).c_str());
        RegCloseKey(key);
    } else {
        result = -1;
    }
    return result;
}

// The ten profile names into "TrayIcon.xml", inside the root's first child. A file that
// does not load is left alone. false only when it loaded but could not be written.
bool WriteTrayProfileNames(const ConfigData& cfg, const wchar_t* path)
{
    CXmlDoc doc;
    if (!doc.LoadFile(path)) return true;
    const TagNames& tags = Tags();
    doc.ResetNavigation();
    doc.FindElement(nullptr);
    doc.EnterNode();
    for (int n = 0; n < PROFILE_COUNT; ++n)
        if (doc.FindChildNode(tags.profile[n]))
            SetTextIfChanged(doc, doc.m_childPos, FieldText(cfg.profiles[n].PROFILE_NAME));
    return doc.SaveFile(path);
}

} // namespace

int LoadConfig(ConfigData& cfg, const wchar_t* path)
{
    CXmlDoc doc;
    if (!doc.LoadFile(path)) return 0;
    const TagNames& tags = Tags();
    CString text;
    // The top-level keys are found only in this order: no rewind between them.
    if (doc.FindChildNode(L"PROFILE_ID")) cfg.PROFILE_ID = ReadNumber(doc.GetChildText());
    if (doc.FindChildNode(L"POLLING_RATE")) cfg.POLLING_RATE = ReadNumber(doc.GetChildText());
    if (doc.FindChildNode(L"GAME_MODE")) cfg.GAME_MODE = ReadNumber(doc.GetChildText());
    for (int n = 0; n < PROFILE_COUNT; ++n) {
        while (doc.FindChildNode(tags.profile[n])) {
            doc.EnterNode();
            ReadProfileElements(doc, cfg.profiles[n]);
            doc.LeaveNode();
        }
    }
    return 0;
}

void BuildConfigDoc(CXmlDoc& doc, const ConfigData& cfg)
{
    const TagNames& tags = Tags();
    doc.SetDocText(kDeclaration);
    doc.m_docFlags |= XMLDOC_UTF16LE_BOM;
    doc.AddElement(L"root");
    doc.EnterNode();
    doc.AddElement(L"PROFILE_ID", cfg.PROFILE_ID);
    doc.AddElement(L"POLLING_RATE", cfg.POLLING_RATE);
    doc.AddElement(L"GAME_MODE", cfg.GAME_MODE);
    for (int n = 0; n < PROFILE_COUNT; ++n) AddProfile(doc, tags.profile[n], cfg.profiles[n]);
}

void UpdateConfigDoc(CXmlDoc& doc, const ConfigData& cfg)
{
    const TagNames& tags = Tags();
    doc.ResetNavigation();
    if (!doc.FindElement(nullptr)) return;
    doc.EnterNode();
    // Found only in this order; a missing key is skipped, never added.
    UpdateNext(doc, L"PROFILE_ID", NumberText(cfg.PROFILE_ID));
    UpdateNext(doc, L"POLLING_RATE", NumberText(cfg.POLLING_RATE));
    UpdateNext(doc, L"GAME_MODE", NumberText(cfg.GAME_MODE));
    for (int n = 0; n < PROFILE_COUNT; ++n) {
        if (!doc.FindElement(tags.profile[n])) continue;
        doc.EnterNode();
        UpdateProfile(doc, cfg.profiles[n]);
        doc.LeaveNode();
    }
}

bool WriteNewConfigFile(const ConfigData& cfg, const wchar_t* path)
{
    CXmlDoc doc;
    BuildConfigDoc(doc, cfg);
    return doc.SaveFile(path);
}

int SaveConfig(const ConfigData& cfg, unsigned* failed)
{
    unsigned missed = 0;
    // The registry values are a copy; the file is the user's data and is written anyway.
    if (WriteMouseValues(cfg) != 0) missed |= CONFIG_SAVE_REGISTRY;

    CString path = CString(g_szConfDir) + L"Config.xml";
    CXmlDoc doc;
    if (doc.LoadFile(path))
        UpdateConfigDoc(doc, cfg);
    else
        BuildConfigDoc(doc, cfg);
    if (!doc.SaveFile(path)) missed |= CONFIG_SAVE_FILE;

    if (!WriteTrayProfileNames(cfg, CString(g_szConfDir) + L"TrayIcon.xml")) missed |= CONFIG_SAVE_TRAY;
    if (failed) *failed = missed;
    return missed ? -1 : 0;
}

LONG OpenUserRegKey(const wchar_t* subKey, HKEY* key)
{
    *key = nullptr;
    LONG status = RegOpenKeyExW(HKEY_CURRENT_USER, subKey, 0, KEY_ALL_ACCESS, key);
    if (status == ERROR_SUCCESS) return status;
    return RegCreateKeyExW(HKEY_CURRENT_USER, subKey, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr,
                           key, nullptr);
}

LONG SetRegString(HKEY key, const wchar_t* name, const wchar_t* text)
{
    DWORD bytes = (DWORD)((wcslen(text) + 1) * sizeof(wchar_t));
    return RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text), bytes);
}
