// Mutation run over the XML document: takes documents in the style of the shipped files
// (and any files named on the command line), damages them at random, and for each one
// loads it from a file, walks and reads the whole tree, edits it, checks the tree against
// a fresh parse after every edit, saves and reloads. It must never crash or hang.
// Every tenth document it also saves a random configuration record in place over a
// "Config.xml" whose element order was shuffled, and checks what loads back.
//
//   xml_mutate [--seed N] [--count N] [file...]
//
// Prints how many documents it tried; exits non-zero on any inconsistency.
#include "core/ConfigData.h"
#include "core/ConfigFile.h"
#include "core/XmlDoc.h"
#include "core/XmlEncoding.h"
#include <windows.h>
#include <algorithm>
#include <atomic>
#include <cstring>
#include <cstdint>
#include <cstdio>
#include <cwchar>
#include <string>
#include <thread>
#include <vector>

namespace {

typedef std::vector<unsigned char> Bytes;

struct Rng {
    uint64_t state;
    explicit Rng(uint64_t seed) : state(seed) {}
    uint64_t Next()
    {
        uint64_t z = (state += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    // 0..n-1 (0 when n <= 0).
    int Below(int n) { return n > 0 ? (int)(Next() % (uint64_t)n) : 0; }
    bool Chance(int percent) { return Below(100) < percent; }
};

// A configuration file as the writer builds it: nested profiles and macros.
std::wstring ConfigLike()
{
    CXmlDoc doc;
    doc.SetDocText(L"<?xml version=\"1.0\" encoding=\"utf-16\"?>\r\n");
    doc.AddElement(L"root");
    doc.EnterNode();
    doc.AddElement(L"PROFILE_ID", 0);
    doc.AddElement(L"POLLING_RATE", 1000);
    doc.AddElement(L"GAME_MODE", 0);
    const wchar_t* names[] = {L"\x00C6rwyn", L"\x0416\x0430\x043D\x043D\x0430", L"Tom & Jerry <3"};
    wchar_t name[32];
    for (int p = 1; p <= 3; ++p) {
        swprintf(name, 32, L"PROFILE_%d", p);
        doc.AddElement(name);
        doc.EnterNode();
        doc.AddElement(L"REGION", L"EU");
        doc.AddElement(L"CHARACTER_NAME", names[p - 1]);
        doc.AddElement(L"PROFILE_NAME", L"");
        doc.AddElement(L"DPI_VALUE", 800 * p);
        for (int g = 1; g <= 3; ++g) {
            swprintf(name, 32, L"GAME_NAME_%d", g);
            doc.AddElement(name, g == 1 ? L"C:\\Games\\game.exe" : L"");
        }
        for (int b = 1; b <= 11; ++b) {
            swprintf(name, 32, L"BUTTON_%d", b);
            doc.AddElement(name, b * 3);
        }
        for (int m = 1; m <= 2; ++m) {
            swprintf(name, 32, L"MACRO_%d", m);
            doc.AddElement(name);
            doc.EnterNode();
            doc.AddElement(L"MACRO_NAME", L"Macro \x00E9");
            doc.AddElement(L"MACRO_LOOP_COUNT", 1);
            doc.AddElement(L"MACRO_PASTE", L"");
            doc.AddElement(L"MACRO_INFO", L"65,0,100;66,1,50;");
            doc.LeaveNode();
        }
        doc.LeaveNode();
    }
    return doc.GetDocText().str();
}

// A text file: attributes, references, comments, CDATA, a processing instruction and a
// document type declaration.
std::wstring StringsLike()
{
    return L"<?xml version=\"1.0\" encoding=\"utf-16\"?>\r\n"
           L"<!DOCTYPE STRINGS [ <!ENTITY copy \"(c)\"> <!-- inner ]> --> ]>\r\n"
           L"<!-- Texts of the programs -->\r\n"
           L"<STRINGS lang=\"en\" version='2'>\r\n"
           L"<TEXT id=\"1\" caption=\"Open &amp; close\">Open the &quot;main&quot; window</TEXT>\r\n"
           L"<TEXT id=\"2\"><![CDATA[Raw <b>text</b> & more]]></TEXT>\r\n"
           L"<GROUP name=\"menu\" tip='a > b'>\r\n"
           L"  <ITEM id=\"10\" key='F1'>Help&#x2026;</ITEM>\r\n"
           L"  <ITEM id=\"11\">Caf&eacute; &Eacute;t&eacute; &euro; &#169; &#x1F600;</ITEM>\r\n"
           L"  <EMPTY/>\r\n"
           L"  <?pi data?>\r\n"
           L"  <ITEM id=\"12\">one<!-- note -->two</ITEM>\r\n"
           L"</GROUP>\r\n"
           L"<TEXT id=\"3\" empty=\"\"/>\r\n"
           L"<TEXT id=\"4\">\x4E2D\x6587 \x0639\x0631\x0628\x064A &lt;tag&gt;</TEXT>\r\n"
           L"</STRINGS>\r\n";
}

// One mutation of the wide text.
void MutateText(std::wstring& s, Rng& rng)
{
    static const wchar_t markup[] = L"<>/&;\"'!?[]";
    static const wchar_t* tokens[] = {L"</", L"<!--", L"-->", L"<![CDATA[", L"]]>", L"<?", L"?>", L"/>",
                                      L"&#x10FFFF;", L"&#xD800;", L"&#1114112;", L"&amp", L"<!DOCTYPE",
                                      L"<!ELEMENT", L"\xD83D", L"\r\n"};
    int len = (int)s.size();
    switch (rng.Below(5)) {
    case 0: {  // cut
        if (!len) break;
        int at = rng.Below(len);
        int n = 1 + rng.Below(rng.Chance(80) ? 16 : 256);
        s.erase(at, n);
        break;
    }
    case 1: {  // duplicate
        if (!len) break;
        int at = rng.Below(len);
        int n = 1 + rng.Below(rng.Chance(80) ? 32 : 512);
        std::wstring piece = s.substr(at, n);
        s.insert(rng.Below(len + 1), piece);
        break;
    }
    case 2: {  // swap two ranges
        if (len < 4) break;
        int a = rng.Below(len), b = rng.Below(len);
        if (a > b) std::swap(a, b);
        int na = 1 + rng.Below(b - a + 1), nb = 1 + rng.Below(24);
        if (a + na > b) na = b - a;
        if (na <= 0 || b + nb > len) break;
        std::wstring first = s.substr(a, na), second = s.substr(b, nb);
        s.replace(b, nb, first);
        s.replace(a, na, second);
        break;
    }
    case 3: {  // markup characters
        int n = 1 + rng.Below(4);
        for (int i = 0; i < n; ++i) s.insert(s.begin() + rng.Below((int)s.size() + 1), markup[rng.Below(11)]);
        break;
    }
    default: {  // markup tokens
        const wchar_t* t = tokens[rng.Below((int)(sizeof(tokens) / sizeof(tokens[0])))];
        s.insert(rng.Below(len + 1), t);
        break;
    }
    }
}

enum FileEncoding { ENC_UTF16LE, ENC_UTF16BE, ENC_UTF8_BOM, ENC_UTF8, ENC_1252, ENC_UTF16LE_NOMARK, ENC_COUNT };

Bytes Encode(const std::wstring& text, int encoding)
{
    Bytes out;
    bool lost = false;
    switch (encoding) {
    case ENC_UTF16LE:
    case ENC_UTF16BE:
    case ENC_UTF16LE_NOMARK: {
        bool be = encoding == ENC_UTF16BE;
        if (encoding != ENC_UTF16LE_NOMARK) {
            out.push_back(be ? 0xFE : 0xFF);
            out.push_back(be ? 0xFF : 0xFE);
        }
        for (wchar_t c : text) {
            unsigned char lo = (unsigned char)(c & 0xFF), hi = (unsigned char)(c >> 8);
            out.push_back(be ? hi : lo);
            out.push_back(be ? lo : hi);
        }
        break;
    }
    case ENC_UTF8_BOM:
        out = {0xEF, 0xBB, 0xBF};
        WideToBytes(XML_CP_UTF8, text.data(), text.size(), out, lost);
        break;
    case ENC_UTF8:
        WideToBytes(XML_CP_UTF8, text.data(), text.size(), out, lost);
        break;
    default: {
        std::wstring t = text;
        size_t at = t.find(L"utf-16");
        if (at != std::wstring::npos) t.replace(at, 6, L"windows-1252");
        WideToBytes(1252, t.data(), t.size(), out, lost);
        break;
    }
    }
    return out;
}

bool WriteFileBytes(const std::wstring& path, const Bytes& bytes)
{
    HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    DWORD put = 0;
    bool ok = bytes.empty() || (WriteFile(h, bytes.data(), (DWORD)bytes.size(), &put, nullptr) && put == bytes.size());
    CloseHandle(h);
    return ok;
}

Bytes ReadFileBytes(const std::wstring& path)
{
    Bytes b;
    HANDLE h = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE) return b;
    LARGE_INTEGER size;
    if (GetFileSizeEx(h, &size)) {
        b.resize((size_t)size.QuadPart);
        DWORD got = 0;
        if (!b.empty() && (!ReadFile(h, b.data(), (DWORD)b.size(), &got, nullptr) || got != b.size())) b.clear();
    }
    CloseHandle(h);
    return b;
}

struct Run {
    uint64_t seed = 1;
    long long count = 3000;
    std::wstring folder;
    long long tried = 0, loaded = 0, edits = 0, saved = 0, saveRefused = 0, failures = 0, configSaves = 0;
    std::atomic<long long> progress{0};
};

// The text of the current iteration, kept for the report of a failure.
std::wstring g_failFolder;

void Fail(Run& run, long long iteration, const wchar_t* what, const CString& detail, const Bytes& input)
{
    ++run.failures;
    fwprintf(stderr, L"xml_mutate: document %lld (seed %llu): %ls: %ls\n", iteration,
             (unsigned long long)run.seed, what, detail.GetString());
    if (run.failures <= 20) {
        wchar_t name[64];
        swprintf(name, 64, L"xml_mutate_fail_%lld.xml", iteration);
        WriteFileBytes(g_failFolder + name, input);
        fwprintf(stderr, L"  input kept in %ls%ls\n", g_failFolder.c_str(), name);
    }
}

// Walks every element with the navigation calls and reads texts and attributes;
// answers the number of elements met.
int WalkAll(CXmlDoc& doc, Rng& rng, CString& problem)
{
    static const wchar_t* attributes[] = {L"id", L"caption", L"lang", L"key", L"name", L"x"};
    doc.ResetNavigation();
    int depth = 0, visited = 0;
    for (;;) {
        if (doc.FindElement(nullptr)) {
            ++visited;
            int32_t cur = doc.m_currentPos;
            if (doc.PosAt(cur)->parent != doc.m_parentPos) problem = L"FindElement left the wrong parent";
            doc.GetTextAt(cur);
            doc.GetAttributeAt(cur, attributes[rng.Below(6)]);
            // Children by FindChildNode, then one by its name.
            int children = 0;
            CString someName;
            while (doc.FindChildNode(nullptr)) {
                ++children;
                doc.GetChildText();
                doc.GetChildAttribute(attributes[rng.Below(6)]);
                if (rng.Chance(30) || someName.IsEmpty()) {
                    // The name as a search finds it: up to the first character that ends a token.
                    someName = doc.GetTagNameAt(doc.m_childPos);
                    int cut = 0;
                    while (cut < someName.GetLength() && !wcschr(L"<>=\\/?!\"';", someName[cut])) ++cut;
                    someName = someName.Left(cut);
                }
            }
            int expected = 0;
            for (int32_t c = doc.PosAt(cur)->firstChild; c; c = doc.PosAt(c)->nextSibling) ++expected;
            if (children != expected) problem = L"FindChildNode missed children";
            if (doc.m_currentPos != cur) problem = L"FindChildNode moved the current element";
            doc.RewindChildren();
            if (children && !doc.FindChildNode(someName)) problem = L"FindChildNode by name missed";
            doc.RewindChildren();
            if (children) {
                if (!doc.EnterNode()) problem = L"EnterNode refused";
                ++depth;
            }
            continue;
        }
        if (depth == 0) break;
        if (!doc.LeaveNode()) {
            problem = L"LeaveNode refused";
            break;
        }
        --depth;
    }
    return visited;
}

std::wstring RandomText(Rng& rng)
{
    static const wchar_t* pieces[] = {L"x", L"<", L">", L"&", L"&amp;", L"]]>", L"\"", L"'", L" ", L"\r\n",
                                      L"\x00E9", L"\xD83D\xDE00", L"0", L"12345", L"a b c"};
    std::wstring t;
    int n = rng.Below(6);
    for (int i = 0; i < n; ++i) t += pieces[rng.Below(15)];
    return t;
}

void EditAtRandom(CXmlDoc& doc, Rng& rng, Run& run, long long iteration, const Bytes& input)
{
    static const wchar_t* names[] = {L"NEW", L"MACRO_PASTE", L"a", L"\x00E9l\x00E9ment", L"x:y", L"_k"};
    int edits = 1 + rng.Below(8);
    for (int i = 0; i < edits; ++i) {
        std::wstring textBefore = doc.GetDocText().str();
        CString step;
        int32_t count = doc.UsedPosCount() - 1;
        int32_t pos = count > 0 ? 1 + rng.Below(count) : 0;
        std::wstring text = RandomText(rng);
        const wchar_t* what;
        if (pos && rng.Chance(50)) {
            what = L"SetTextAt";
            step.Format(L"SetTextAt at %d", doc.PosAt(pos)->start);
            bool hasChildren = doc.PosAt(pos)->firstChild != 0;
            bool ok = doc.SetTextAt(pos, text.c_str());
            if (ok == hasChildren) {
                Fail(run, iteration, what, L"wrong result", input);
                return;
            }
            if (ok && doc.GetTextAt(pos).str() != text) {
                Fail(run, iteration, what, L"text reads back different: " + doc.GetTextAt(pos), input);
                return;
            }
        } else {
            what = L"AddElement";
            // After a random element, as the last child of one, or at the document level.
            int where = pos ? rng.Below(3) : 2;
            if (where == 0) {
                doc.m_currentPos = pos;
                doc.m_parentPos = doc.PosAt(pos)->parent;
            } else if (where == 1) {
                doc.m_currentPos = 0;
                doc.m_parentPos = pos;
            } else {
                doc.m_currentPos = 0;
                doc.m_parentPos = 0;
            }
            doc.m_childPos = 0;
            doc.m_isElement = doc.m_currentPos != 0;
            const wchar_t* name = names[rng.Below(6)];
            step.Format(L"AddElement %ls with reference at %d, parent at %d", where == 0 ? L"after" : where == 1 ? L"inside" : L"at top",
                        doc.m_currentPos ? doc.PosAt(doc.m_currentPos)->start : -1, doc.m_parentPos ? doc.PosAt(doc.m_parentPos)->start : -1);
            const wchar_t* value = rng.Chance(30) ? nullptr : text.c_str();
            if (!doc.AddElement(name, value)) {
                Fail(run, iteration, what, L"refused a good name", input);
                return;
            }
            if (doc.GetTagNameAt(doc.m_currentPos) != name || doc.GetTextAt(doc.m_currentPos).str() != (value ? value : L"")) {
                Fail(run, iteration, what, L"new element reads back different", input);
                return;
            }
        }
        ++run.edits;
        CString problem = doc.CheckTree();
        if (!problem.IsEmpty()) {
            Fail(run, iteration, what, problem + L"; " + step, input);
            if (run.failures <= 20) {
                wchar_t name[64];
                swprintf(name, 64, L"xml_mutate_fail_%lld_before_edit.xml", iteration);
                Bytes b = Encode(textBefore, ENC_UTF16LE);
                WriteFileBytes(g_failFolder + name, b);
            }
            return;
        }
    }
}

void OneDocument(Run& run, long long iteration, const std::vector<std::wstring>& seeds)
{
    Rng rng(run.seed * 0x100000001B3ull + (uint64_t)iteration * 0x9E3779B97F4A7C15ull + 1);
    std::wstring text = seeds[rng.Below((int)seeds.size())];
    int encoding = rng.Below(ENC_COUNT);
    Bytes input;
    if (rng.Chance(70)) {
        int n = 1 + rng.Below(4);
        for (int i = 0; i < n; ++i) MutateText(text, rng);
        input = Encode(text, encoding);
    } else {
        input = Encode(text, encoding);
        int flips = 1 + rng.Below(8);
        for (int i = 0; i < flips && !input.empty(); ++i)
            input[rng.Below((int)input.size())] ^= (unsigned char)(1 + rng.Below(255));
        if (rng.Chance(10) && !input.empty()) input.resize(rng.Below((int)input.size()));
    }
    std::wstring file = run.folder + L"doc.xml";
    if (!WriteFileBytes(file, input)) {
        Fail(run, iteration, L"write", L"cannot write the input file", input);
        return;
    }

    CXmlDoc doc;
    bool ok = doc.LoadFile(file.c_str());
    ++run.tried;
    if (ok) ++run.loaded;
    if (ok != doc.HasSingleRoot()) {
        Fail(run, iteration, L"LoadFile", L"result differs from HasSingleRoot", input);
        return;
    }
    CString problem = doc.CheckTree();
    if (!problem.IsEmpty()) {
        Fail(run, iteration, L"load", problem, input);
        return;
    }
    problem.Empty();
    int visited = WalkAll(doc, rng, problem);
    if (problem.IsEmpty() && visited != doc.UsedPosCount() - 1) problem.Format(L"walk met %d of %d elements", visited, doc.UsedPosCount() - 1);
    if (!problem.IsEmpty()) {
        Fail(run, iteration, L"navigation", problem, input);
        return;
    }

    long long failuresBefore = run.failures;
    EditAtRandom(doc, rng, run, iteration, input);
    if (run.failures != failuresBefore) return;

    Bytes before = ReadFileBytes(file);
    if (!doc.SaveFile(file.c_str())) {
        ++run.saveRefused;
        if (ReadFileBytes(file) != before) Fail(run, iteration, L"SaveFile", L"a failed save changed the file", input);
        return;
    }
    ++run.saved;
    bool exact = (doc.m_docFlags & (XMLDOC_UTF16LE_BOM | XMLDOC_UTF16BE_BOM | XMLDOC_UTF8_BOM)) != 0 &&
                 doc.GetLog().Find(L"lost") < 0;
    std::wstring savedText = doc.GetDocText().str();
    CXmlDoc again;
    again.LoadFile(file.c_str());
    if (exact && again.GetDocText().str() != savedText) {
        Fail(run, iteration, L"reload", L"text differs after save and reload", input);
        return;
    }
    problem = again.CheckTree();
    if (!problem.IsEmpty()) Fail(run, iteration, L"reload", problem, input);
    WalkAll(again, rng, problem);
}

// A text that survives the file as it is: markup characters, quotes, spaces and letters
// beyond ASCII, no line breaks; now and then as long as the field holds.
template <int N> void RandomField(wchar_t (&field)[N], Rng& rng)
{
    static const wchar_t chars[] = L"aZ09 <>&\"';,/\x00E9\x4E2D\x0416";
    int length = rng.Chance(5) ? N - 1 : rng.Below(12);
    for (int i = 0; i < length; ++i) field[i] = chars[rng.Below((int)(sizeof(chars) / sizeof(chars[0])) - 1)];
    for (int i = length; i < N; ++i) field[i] = 0;
}

int32_t RandomNumber(Rng& rng)
{
    return rng.Chance(20) ? (int32_t)(uint32_t)rng.Next() : rng.Below(2000) - 100;
}

// A list of events as the file keeps it: the events before the first key 0, zeros after.
void RandomEvents(MacroEvent* events, int capacity, int count, Rng& rng)
{
    for (int i = 0; i < capacity; ++i) {
        events[i] = MacroEvent{0, 0, 0};
        if (i < count) events[i] = MacroEvent{(uint8_t)(1 + rng.Below(255)), (uint8_t)rng.Below(256), RandomNumber(rng)};
    }
}

void RandomMacro(MacroData& m, Rng& rng)
{
    RandomField(m.MACRO_NAME, rng);
    RandomEvents(m.events, MACRO_EVENT_COUNT, rng.Chance(3) ? MACRO_EVENT_COUNT : rng.Below(6), rng);
    m.loopCount = RandomNumber(rng);
    m.loopFlag = RandomNumber(rng);
    m.delayMode = RandomNumber(rng);
    RandomEvents(m.startKeys, MACRO_KEY_COUNT, rng.Below(3), rng);
    m.startKeyFlag = RandomNumber(rng);
    RandomEvents(m.sendKeys, MACRO_KEY_COUNT, rng.Below(3), rng);
    m.sendKeyFlag = RandomNumber(rng);
    RandomField(m.pasteText, rng);
}

// Changes about one value in `percent` of a record; the button numbers stay as a loaded
// record holds them.
void ChangeRecord(ConfigData& cfg, Rng& rng, int percent)
{
    if (rng.Chance(percent)) cfg.PROFILE_ID = RandomNumber(rng);
    if (rng.Chance(percent)) cfg.POLLING_RATE = RandomNumber(rng);
    if (rng.Chance(percent)) cfg.GAME_MODE = RandomNumber(rng);
    for (ProfileData& p : cfg.profiles) {
        int32_t* numbers[] = {&p.REGION, &p.DPI_VALUE, &p.DOUBLE_CLICK_SPEED, &p.SCROLL_SPEED, &p.SENSITIVITY,
                              &p.ADVANCE_SENSITIVITY_X, &p.ADVANCE_SENSITIVITY_Y, (int32_t*)&p.LED_COLOR,
                              &p.LED_INTENSITY, &p.LED_PULSATION};
        for (int32_t* n : numbers)
            if (rng.Chance(percent)) *n = RandomNumber(rng);
        if (rng.Chance(percent)) RandomField(p.SERVER_NAME, rng);
        if (rng.Chance(percent)) RandomField(p.CHARACTER_NAME, rng);
        if (rng.Chance(percent)) RandomField(p.CHARACTER_CLASS, rng);
        if (rng.Chance(percent)) RandomField(p.CHARACTER_RACE, rng);
        if (rng.Chance(percent)) RandomField(p.CHARACTER_LEVEL, rng);
        if (rng.Chance(percent)) RandomField(p.PROFILE_NAME, rng);
        for (auto& game : p.GAME_NAME)
            if (rng.Chance(percent)) RandomField(game, rng);
        for (ButtonSlot& b : p.buttons)
            if (rng.Chance(percent)) b.code = RandomNumber(rng);
        for (MacroData& m : p.macros)
            if (rng.Chance(percent)) RandomMacro(m, rng);
    }
}

bool IsAddedWhenMissing(const CString& tag)
{
    static const wchar_t* names[] = {L"MACRO_DELAY_MODE", L"MACRO_PASTE", L"MACRO_START_KEY", L"MACRO_SEND_KEY",
                                     L"MACRO_START_KEY_INFO", L"MACRO_SEND_KEY_INFO"};
    for (const wchar_t* n : names)
        if (tag == n) return true;
    return false;
}

// The document again with the children of some elements in another order, in the writer's
// layout (one element a line). Macros lose some of the elements the writer adds again.
// With `wide`, profiles and the root's children are shuffled too.
struct Shuffler {
    const CXmlDoc& doc;
    Rng& rng;
    bool wide;
    std::wstring Emit(int32_t pos)
    {
        const XmlElementPos* e = doc.PosAt(pos);
        const wchar_t* text = doc.GetDocText().GetString();
        if (!e->firstChild) return std::wstring(text + e->start, e->length);
        CString tag = doc.GetTagNameAt(pos);
        bool macro = tag.Left(6) == L"MACRO_";
        bool shuffle = macro ? rng.Chance(70) : wide && rng.Chance(tag == L"root" ? 30 : 20);
        std::vector<int32_t> children;
        for (int32_t c = e->firstChild; c; c = doc.PosAt(c)->nextSibling)
            if (!(macro && IsAddedWhenMissing(doc.GetTagNameAt(c)) && rng.Chance(15))) children.push_back(c);
        for (size_t i = children.size(); shuffle && i > 1; --i) std::swap(children[i - 1], children[rng.Below((int)i)]);
        std::wstring out(text + e->start, e->startTagLength);
        out += L"\r\n";
        for (int32_t c : children) out += Emit(c) + L"\r\n";
        out.append(text + e->start + e->length - e->endTagLength, e->endTagLength);
        return out;
    }
};

// Every byte of got is the byte of a or of b at the same place: each value is one of the two.
bool EachValueFromOneOf(const ConfigData& got, const ConfigData& a, const ConfigData& b)
{
    const unsigned char* g = (const unsigned char*)&got;
    const unsigned char* x = (const unsigned char*)&a;
    const unsigned char* y = (const unsigned char*)&b;
    for (size_t i = 0; i < sizeof(ConfigData); ++i)
        if (g[i] != x[i] && g[i] != y[i]) return false;
    return true;
}

std::unique_ptr<ConfigData> LoadRecord(const std::wstring& path)
{
    auto cfg = NewConfigData();
    ResetConfig(*cfg);
    LoadConfig(*cfg, path.c_str());
    return cfg;
}

// A "Config.xml" of a random record with its elements shuffled, updated in place with a
// changed record, saved and loaded back. Shuffled macros alone must load back as the
// changed record; with profiles and the top level shuffled too, every value loads back as
// either the old or the new one. Either way the tree stays consistent, and saving what
// loaded back changes nothing.
void OneConfigSave(Run& run, long long iteration)
{
    Rng rng(run.seed * 0x2545F4914F6CDD1Dull + (uint64_t)iteration * 0x9E3779B97F4A7C15ull + 7);
    auto old = NewConfigData();
    ResetConfig(*old);
    old->GAME_MODE = 0;
    ChangeRecord(*old, rng, 10);
    CXmlDoc built;
    BuildConfigDoc(built, *old);
    bool wide = rng.Chance(40);
    Shuffler shuffler{built, rng, wide};
    std::wstring text = L"<?xml version=\"1.0\" encoding=\"utf-16\"?>\r\n" + shuffler.Emit(built.PosAt(0)->firstChild) + L"\r\n";
    Bytes input = Encode(text, ENC_UTF16LE);
    std::wstring file = run.folder + L"Config.xml";
    if (!WriteFileBytes(file, input)) {
        Fail(run, iteration, L"config write", L"cannot write the input file", input);
        return;
    }
    auto before = LoadRecord(file);
    auto changed = NewConfigData();
    *changed = *before;
    ChangeRecord(*changed, rng, 5);
    ++run.configSaves;

    CXmlDoc doc;
    if (!doc.LoadFile(file.c_str())) {
        Fail(run, iteration, L"config load", doc.GetLog(), input);
        return;
    }
    UpdateConfigDoc(doc, *changed);
    CString problem = doc.CheckTree();
    if (!problem.IsEmpty()) {
        Fail(run, iteration, L"config update", problem, input);
        return;
    }
    if (!doc.SaveFile(file.c_str())) {
        Fail(run, iteration, L"config save", doc.GetLog(), input);
        return;
    }
    auto after = LoadRecord(file);
    if (!wide && CompareConfig(*after, *changed) != 0) {
        Fail(run, iteration, L"config save in place", L"a change of a shuffled macro was lost", input);
        return;
    }
    if (wide && !EachValueFromOneOf(*after, *before, *changed)) {
        Fail(run, iteration, L"config save in place", L"a value loads back as neither the old nor the new one", input);
        return;
    }
    CXmlDoc again;
    again.LoadFile(file.c_str());
    std::wstring saved = again.GetDocText().str();
    UpdateConfigDoc(again, *after);
    if (again.GetDocText().str() != saved)
        Fail(run, iteration, L"config save in place", L"saving what loaded back changed the file", input);
}

LONG WINAPI OnCrash(EXCEPTION_POINTERS* info)
{
    fwprintf(stderr, L"xml_mutate: crashed with exception 0x%08lX\n", info->ExceptionRecord->ExceptionCode);
    fflush(stderr);
    return EXCEPTION_EXECUTE_HANDLER;
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    Run run;
    std::vector<std::wstring> seeds = {ConfigLike(), StringsLike()};
    for (int i = 1; i < argc; ++i) {
        std::wstring a = argv[i];
        if (a == L"--seed" && i + 1 < argc) {
            run.seed = wcstoull(argv[++i], nullptr, 10);
        } else if (a == L"--count" && i + 1 < argc) {
            run.count = wcstoll(argv[++i], nullptr, 10);
        } else if (a.size() > 2 && a[0] == L'-' && a[1] == L'-') {
            fwprintf(stderr, L"usage: xml_mutate [--seed N] [--count N] [file...]\n");
            return 2;
        } else {
            CXmlDoc doc;
            doc.LoadFile(a.c_str());
            if (doc.GetDocText().IsEmpty()) {
                fwprintf(stderr, L"xml_mutate: cannot read %ls\n", a.c_str());
                return 2;
            }
            seeds.push_back(doc.GetDocText().str());
        }
    }
    SetUnhandledExceptionFilter(OnCrash);

    wchar_t tmp[MAX_PATH];
    GetTempPathW(MAX_PATH, tmp);
    wchar_t folder[MAX_PATH + 64];
    swprintf(folder, MAX_PATH + 64, L"%lsxml_mutate_%lu_%lu\\", tmp, GetCurrentProcessId(), GetTickCount());
    if (!CreateDirectoryW(folder, nullptr)) {
        fwprintf(stderr, L"xml_mutate: cannot create %ls\n", folder);
        return 2;
    }
    run.folder = folder;
    wchar_t cwd[MAX_PATH];
    GetCurrentDirectoryW(MAX_PATH, cwd);
    g_failFolder = std::wstring(cwd) + L"\\";

    // A document that takes this long is taken for a hang.
    std::atomic<bool> done{false};
    std::thread watchdog([&] {
        long long last = -1;
        int still = 0;
        while (!done) {
            Sleep(250);
            long long now = run.progress;
            if (now != last) {
                last = now;
                still = 0;
            } else if (++still >= 120) {
                fwprintf(stderr, L"xml_mutate: document %lld (seed %llu) hangs\n", now, (unsigned long long)run.seed);
                fflush(stderr);
                ExitProcess(3);
            }
        }
    });

    for (long long i = 0; i < run.count; ++i) {
        OneDocument(run, i, seeds);
        if (i % 10 == 9) OneConfigSave(run, i);
        run.progress = i + 1;
        if (run.count >= 100000 && (i + 1) % 100000 == 0)
            wprintf(L"xml_mutate: %lld documents so far, %lld inconsistencies\n", i + 1, run.failures);
    }
    done = true;
    watchdog.join();
    DeleteFileW((run.folder + L"doc.xml").c_str());
    DeleteFileW((run.folder + L"Config.xml").c_str());
    RemoveDirectoryW(run.folder.c_str());

    wprintf(L"xml_mutate: seed %llu, %lld documents tried, %lld loaded, %lld edits, %lld saved, %lld saves refused, "
            L"%lld configuration saves in place, %lld inconsistencies\n",
            (unsigned long long)run.seed, run.tried, run.loaded, run.edits, run.saved, run.saveRefused, run.configSaves,
            run.failures);
    return run.failures ? 1 : 0;
}
