#include "configurator/main_window/ProfileFile.h"
#include "core/ConfigFile.h"
#include "core/FunctionCodes.h"
#include "core/XmlDoc.h"
#include <shlobj.h>
#include <algorithm>
#include <climits>
#include <cstdint>
#include <cwchar>
#include <memory>
#include <vector>

namespace {

const wchar_t kDeclaration[] = L"<?xml version=\"1.0\" encoding=\"UTF-16\"?>\r\n";
// A profile of fifty full macros takes well under 1 MB; a far larger file is not one.
const LONGLONG kMaxFileBytes = 4 * 1024 * 1024;
const int kMaxLoopCount = 999;  // the macro editor's loop field holds three digits

enum class Kind { Text, Number, Button, LoopCount, Events, Macro };

struct Rule {
    CString name;
    Kind kind;
    bool required;
    int64_t lo;   // Number: lowest value
    int64_t hi;   // Number: highest value; Text: the field's capacity; Events: most events
    int index;    // Macro: its number
};

// A text rule for a field of the given size in bytes.
Rule TextRule(const wchar_t* name, size_t fieldBytes, bool required = true)
{
    return Rule{name, Kind::Text, required, 0, (int64_t)(fieldBytes / sizeof(wchar_t)), 0};
}

Rule NumberRule(const wchar_t* name, int64_t lo = INT32_MIN, int64_t hi = INT32_MAX, bool required = true)
{
    return Rule{name, Kind::Number, required, lo, hi, 0};
}

CString Numbered(const wchar_t* stem, int n)
{
    CString s;
    s.Format(L"%ls%d", stem, n);
    return s;
}

// The keys under the root. Device settings are read as any number here: the record's own
// validation judges their ranges once the profile is read. An older file's ACCELERATION,
// like any key the format does not know, is passed over.
const std::vector<Rule>& TopRules()
{
    static const std::vector<Rule> rules = [] {
        std::vector<Rule> r = {
            NumberRule(L"PROFILE_ID", 0, PROFILE_COUNT - 1),
            NumberRule(L"REGION"),
            TextRule(L"SERVER_NAME", sizeof(ProfileData::SERVER_NAME)),
            TextRule(L"CHARACTER_NAME", sizeof(ProfileData::CHARACTER_NAME)),
            TextRule(L"CHARACTER_LEVEL", sizeof(ProfileData::CHARACTER_LEVEL)),
            TextRule(L"CHARACTER_CLASS", sizeof(ProfileData::CHARACTER_CLASS)),
            TextRule(L"CHARACTER_RACE", sizeof(ProfileData::CHARACTER_RACE)),
            TextRule(L"PROFILE_NAME", sizeof(ProfileData::PROFILE_NAME)),
            NumberRule(L"DPI_VALUE"),
            NumberRule(L"DOUBLE_CLICK_SPEED"),
            NumberRule(L"SCROLL_SPEED"),
            NumberRule(L"SENSITIVITY"),
            NumberRule(L"ADVANCE_SENSITIVITY_X"),
            NumberRule(L"ADVANCE_SENSITIVITY_Y"),
            NumberRule(L"LED_COLOR"),
            NumberRule(L"LED_INTENSITY"),
            NumberRule(L"LED_PULSATION"),
        };
        for (int i = 0; i < GAME_NAME_COUNT; ++i)
            r.push_back(TextRule(Numbered(L"GAME_NAME_", i + 1), sizeof(ProfileData::GAME_NAME[0])));
        for (int k = 0; k < MACRO_COUNT; ++k) r.push_back(Rule{Numbered(L"MACRO_", k + 1), Kind::Macro, true, 0, 0, k});
        for (int i = 0; i < BUTTON_COUNT; ++i) r.push_back(Rule{Numbered(L"BUTTON_", i + 1), Kind::Button, true, 0, 0, 0});
        return r;
    }();
    return rules;
}

// The children of a MACRO_n. Older files lack the last five; they read as empty.
const std::vector<Rule>& MacroRules()
{
    static const std::vector<Rule> rules = [] {
        return std::vector<Rule>{
            TextRule(L"MACRO_NAME", sizeof(MacroData::MACRO_NAME)),
            Rule{L"MACRO_LOOP_COUNT", Kind::LoopCount, true, 0, 0, 0},
            NumberRule(L"MACRO_DELAY_MODE", 1, 4),
            TextRule(L"MACRO_PASTE", sizeof(MacroData::pasteText), false),
            NumberRule(L"MACRO_START_KEY", 0, 1, false),
            NumberRule(L"MACRO_SEND_KEY", 0, 1, false),
            Rule{L"MACRO_INFO", Kind::Events, true, 0, MACRO_EVENT_COUNT, 0},
            Rule{L"MACRO_START_KEY_INFO", Kind::Events, false, 0, MACRO_KEY_COUNT, 0},
            Rule{L"MACRO_SEND_KEY_INFO", Kind::Events, false, 0, MACRO_KEY_COUNT, 0},
        };
    }();
    return rules;
}

bool IsBlank(wchar_t c)
{
    return c == L' ' || c == L'\t' || c == L'\r' || c == L'\n';
}

// A whole decimal number: blanks around it, an optional sign, at most ten digits.
bool ParseNumber(const wchar_t* p, const wchar_t* end, int64_t& value)
{
    while (p < end && IsBlank(*p)) ++p;
    while (end > p && IsBlank(end[-1])) --end;
    bool negative = p < end && *p == L'-';
    if (p < end && (*p == L'-' || *p == L'+')) ++p;
    if (p == end || end - p > 10) return false;
    int64_t v = 0;
    for (; p < end; ++p) {
        if (*p < L'0' || *p > L'9') return false;
        v = v * 10 + (*p - L'0');
    }
    value = negative ? -v : v;
    return value >= INT32_MIN && value <= INT32_MAX;
}

// A comma list as the writer makes it: every number followed by a comma. closed tells
// whether the last number had its comma; an empty text is an empty, closed list.
bool ParseList(const CString& text, std::vector<int64_t>& items, bool& closed)
{
    const wchar_t* p = text.GetString();
    const wchar_t* end = p + text.GetLength();
    while (p < end && IsBlank(*p)) ++p;
    while (end > p && IsBlank(end[-1])) --end;
    items.clear();
    closed = true;
    while (p < end) {
        const wchar_t* comma = std::find(p, end, L',');
        int64_t v;
        if (!ParseNumber(p, comma, v)) return false;
        items.push_back(v);
        closed = comma < end;
        p = closed ? comma + 1 : end;
    }
    return true;
}

bool InRange(int64_t v, int64_t lo, int64_t hi)
{
    return v >= lo && v <= hi;
}

class FileChecker {
public:
    FileChecker(const CXmlDoc& doc, ProfileFileProblem& problem) : m_doc(doc), m_problem(problem) {}

    bool CheckRoot(int32_t root)
    {
        CString name = m_doc.GetTagNameAt(root);
        if (name != L"root") return Fail(ProfileFileError::NotProfile, CString(), name);
        for (int32_t c = m_doc.PosAt(root)->firstChild; c; c = m_doc.PosAt(c)->nextSibling) {
            CString child = m_doc.GetTagNameAt(c);
            if (child == L"PROFILE_1" || child == L"POLLING_RATE") return Fail(ProfileFileError::WholeConfiguration);
        }
        return CheckChildren(root, TopRules(), CString());
    }

private:
    bool Fail(ProfileFileError error, const CString& key = CString(), const CString& detail = CString())
    {
        m_problem.error = error;
        m_problem.key = key;
        m_problem.detail = detail;
        return false;
    }

    // Each known child once, macros in ascending order, every required one present.
    // Children the file format does not know are left alone.
    bool CheckChildren(int32_t parent, const std::vector<Rule>& rules, const CString& prefix)
    {
        std::vector<bool> seen(rules.size(), false);
        int lastMacro = -1;
        for (int32_t c = m_doc.PosAt(parent)->firstChild; c; c = m_doc.PosAt(c)->nextSibling) {
            CString name = m_doc.GetTagNameAt(c);
            size_t r = 0;
            while (r < rules.size() && rules[r].name != name) ++r;
            if (r == rules.size()) continue;
            const Rule& rule = rules[r];
            CString key = prefix + name;
            if (seen[r]) return Fail(ProfileFileError::RepeatedKey, key);
            seen[r] = true;
            if (rule.kind == Kind::Macro) {
                if (rule.index < lastMacro) return Fail(ProfileFileError::MacroOrder, key);
                lastMacro = rule.index;
                if (!CheckChildren(c, MacroRules(), key + L"/")) return false;
            } else if (!CheckValue(c, rule, key)) {
                return false;
            }
        }
        for (size_t r = 0; r < rules.size(); ++r)
            if (rules[r].required && !seen[r]) return Fail(ProfileFileError::MissingKey, prefix + rules[r].name);
        return true;
    }

    bool CheckValue(int32_t pos, const Rule& rule, const CString& key)
    {
        if (m_doc.PosAt(pos)->firstChild) return Fail(ProfileFileError::BadValue, key);
        CString text = m_doc.GetTextAt(pos);
        switch (rule.kind) {
        case Kind::Text:
            if (text.GetLength() > rule.hi - 1) return Fail(ProfileFileError::TextTooLong, key);
            return true;
        case Kind::Number: {
            int64_t v;
            if (!ParseNumber(text.GetString(), text.GetString() + text.GetLength(), v))
                return Fail(ProfileFileError::BadValue, key);
            if (!InRange(v, rule.lo, rule.hi)) return Fail(ProfileFileError::OutOfRange, key);
            return true;
        }
        default:
            return CheckList(text, rule, key);
        }
    }

    // Lists must read back as written: a number without its comma would read as 0.
    bool CheckList(const CString& text, const Rule& rule, const CString& key)
    {
        std::vector<int64_t> items;
        bool closed;
        if (!ParseList(text, items, closed)) return Fail(ProfileFileError::BadValue, key);
        size_t n = items.size();
        switch (rule.kind) {
        case Kind::Button:
            // "code" alone, or "number,code" with or without the final comma.
            if (!((n == 1 && !closed) || n == 2)) return Fail(ProfileFileError::BadValue, key);
            if ((n == 2 && !InRange(items[0], 0, 255)) || !InRange(items[n - 1], FUNCTION_CODE_MIN, FUNCTION_CODE_MAX))
                return Fail(ProfileFileError::OutOfRange, key);
            return true;
        case Kind::LoopCount:
            // "count" (older files), "count," or "count,flag,".
            if (n == 0 || n > 2 || (n == 2 && !closed)) return Fail(ProfileFileError::BadValue, key);
            if (!InRange(items[0], 0, kMaxLoopCount) || (n == 2 && !InRange(items[1], 0, 1)))
                return Fail(ProfileFileError::OutOfRange, key);
            return true;
        default:
            // Events: key, up flag, delay, each with its comma.
            if (!closed || n % 3 != 0) return Fail(ProfileFileError::BadValue, key);
            if (n / 3 > (size_t)rule.hi) return Fail(ProfileFileError::OutOfRange, key);
            for (size_t i = 0; i < n; i += 3)
                if (!InRange(items[i], 0, 255) || !InRange(items[i + 1], 0, 1) || !InRange(items[i + 2], 0, INT32_MAX))
                    return Fail(ProfileFileError::OutOfRange, key);
            return true;
        }
    }

    const CXmlDoc& m_doc;
    ProfileFileProblem& m_problem;
};

// The record's own validation judges the device settings: a number it would replace is
// out of range. (An empty name it fills in without counting it, as after any import.)
bool CheckRanges(const ProfileData& p, CString& key)
{
    auto cfg = NewConfigData();
    for (ProfileData& q : cfg->profiles) q = p;
    cfg->POLLING_RATE = 2;
    if (!ValidateConfig(*cfg)) return true;
    const ProfileData& v = cfg->profiles[0];
    struct Field {
        const wchar_t* name;
        int32_t ProfileData::*member;
    };
    static const Field fields[] = {
        {L"DPI_VALUE", &ProfileData::DPI_VALUE},
        {L"DOUBLE_CLICK_SPEED", &ProfileData::DOUBLE_CLICK_SPEED},
        {L"SCROLL_SPEED", &ProfileData::SCROLL_SPEED},
        {L"SENSITIVITY", &ProfileData::SENSITIVITY},
        {L"ADVANCE_SENSITIVITY_X", &ProfileData::ADVANCE_SENSITIVITY_X},
        {L"ADVANCE_SENSITIVITY_Y", &ProfileData::ADVANCE_SENSITIVITY_Y},
        {L"LED_INTENSITY", &ProfileData::LED_INTENSITY},
        {L"LED_PULSATION", &ProfileData::LED_PULSATION},
    };
    key = L"LED_COLOR";
    for (const Field& f : fields)
        if (p.*f.member != v.*f.member) key = f.name;
    return false;
}

// The file can be opened for reading (another program may hold it exclusively).
bool CanOpen(const wchar_t* path)
{
    HANDLE h = CreateFileW(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                           OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    CloseHandle(h);
    return true;
}

} // namespace

CString ProfileFileProblem::Describe() const
{
    CString s;
    switch (error) {
    case ProfileFileError::None: break;
    case ProfileFileError::Unreadable: s = L"The file could not be opened."; break;
    case ProfileFileError::TooLarge: s = L"The file is far too large to be a profile."; break;
    case ProfileFileError::NotXml:
        s = L"The file is not a well-formed XML document.";
        if (!detail.IsEmpty()) s += L" (" + detail + L")";
        break;
    case ProfileFileError::NotProfile: s.Format(L"The file is not a profile: its root element is <%ls>.", detail.GetString()); break;
    case ProfileFileError::WholeConfiguration: s = L"The file holds a whole configuration, not a single profile."; break;
    case ProfileFileError::MissingKey: s.Format(L"The profile lacks %ls.", key.GetString()); break;
    case ProfileFileError::RepeatedKey: s.Format(L"The profile holds %ls more than once.", key.GetString()); break;
    case ProfileFileError::MacroOrder: s.Format(L"%ls stands after a later macro.", key.GetString()); break;
    case ProfileFileError::BadValue: s.Format(L"%ls does not hold a valid value.", key.GetString()); break;
    case ProfileFileError::OutOfRange: s.Format(L"%ls holds a value out of range.", key.GetString()); break;
    case ProfileFileError::TextTooLong: s.Format(L"The text of %ls is too long.", key.GetString()); break;
    }
    return s;
}

bool ExportProfileFile(const wchar_t* path, const ConfigData& cfg, int profileIndex)
{
    if (!path || !*path || profileIndex < 0 || profileIndex >= PROFILE_COUNT) return false;
    CXmlDoc doc;
    doc.SetDocText(kDeclaration);
    doc.m_docFlags |= XMLDOC_UTF16LE_BOM;
    doc.AddElement(L"root");
    doc.EnterNode();
    doc.AddElement(L"PROFILE_ID", profileIndex);
    AddProfileElements(doc, cfg.profiles[profileIndex]);
    return doc.SaveFile(path);
}

bool ReadProfileFile(const wchar_t* path, ProfileData& out, ProfileFileProblem& problem)
{
    problem = ProfileFileProblem();
    WIN32_FILE_ATTRIBUTE_DATA info;
    if (!path || !GetFileAttributesExW(path, GetFileExInfoStandard, &info) ||
        (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) || !CanOpen(path)) {
        problem.error = ProfileFileError::Unreadable;
        return false;
    }
    if (info.nFileSizeHigh || info.nFileSizeLow > kMaxFileBytes) {
        problem.error = ProfileFileError::TooLarge;
        return false;
    }
    CXmlDoc doc;
    if (!doc.LoadFile(path)) {
        problem.error = ProfileFileError::NotXml;
        problem.detail = doc.GetLog();
        return false;
    }
    int32_t root = doc.PosAt(0)->firstChild;
    FileChecker checker(doc, problem);
    if (!checker.CheckRoot(root)) return false;

    auto scratch = std::unique_ptr<ProfileData>(new ProfileData());
    doc.ResetNavigation();
    doc.FindElement(nullptr);
    ReadProfileElements(doc, *scratch, true);
    for (int i = 0; i < BUTTON_COUNT; ++i) scratch->buttons[i].number = (uint8_t)(i + 1);
    CString key;
    if (!CheckRanges(*scratch, key)) {
        problem.error = ProfileFileError::OutOfRange;
        problem.key = key;
        return false;
    }
    out = *scratch;
    return true;
}

bool ImportProfileFile(const wchar_t* path, ConfigData& cfg, ProfileFileProblem& problem)
{
    auto scratch = std::unique_ptr<ProfileData>(new ProfileData());
    if (!ReadProfileFile(path, *scratch, problem)) return false;
    int id = (cfg.PROFILE_ID >= 0 && cfg.PROFILE_ID < PROFILE_COUNT) ? cfg.PROFILE_ID : 0;
    cfg.profiles[id] = *scratch;
    ValidateConfig(cfg);
    return true;
}

CString ProfileFileFolder()
{
    wchar_t base[MAX_PATH];
    if (SUCCEEDED(SHGetFolderPathW(nullptr, CSIDL_APPDATA | CSIDL_FLAG_CREATE, nullptr, 0, base)))
        return CString(base) + L"\\Korvath\\Eldvarra MMO Gaming Mouse Software\\Profile";
    wchar_t module[MAX_PATH];
    DWORD n = GetModuleFileNameW(nullptr, module, MAX_PATH);
    if (n == 0 || n >= MAX_PATH) return CString();
    CString folder(module, (int)n);
    int cut = folder.ReverseFind(L'\\');
    return cut > 0 ? folder.Left(cut) : CString();
}
