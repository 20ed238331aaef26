#include "configurator/panels/CharacterScan.h"
#include <cwchar>

namespace {

// The first ':' at or after the key, or -1.
int ColonAfter(const wchar_t* key, const CString& text)
{
    int p = text.Find(key);
    return p < 0 ? -1 : text.Find(L':', p);
}

} // namespace

CString ScanJsonString(const wchar_t* key, const CString& text)
{
    int colon = ColonAfter(key, text);
    if (colon < 0) return CString();
    int open = text.Find(L'"', colon);
    if (open < 0) return CString();
    int close = text.Find(L'"', open + 1);
    if (close < 0) close = text.Find(L'}', open + 1);
    if (close < 0) return CString();
    CString value = text.Mid(open + 1, close - open - 1);
    value.Trim();
    return value;
}

CString ScanJsonNumber(const wchar_t* key, const CString& text)
{
    int colon = ColonAfter(key, text);
    if (colon < 0) return CString();
    int end = text.Find(L',', colon + 1);
    if (end < 0) end = text.Find(L'}', colon + 1);
    if (end < 0) return CString();
    return text.Mid(colon + 1, end - colon - 1);
}

BOOL ScanAttribute(const wchar_t* key, const CString& line, CString& out)
{
    CString rest = line;
    int k = rest.Find(key);
    if (k >= 0) rest = rest.Mid(k + (int)wcslen(key));
    int eq = rest.Find(L'=');
    if (eq >= 0) rest = rest.Mid(eq + 1);
    int open = rest.Find(L'"');
    if (open >= 0) rest = rest.Mid(open + 1);
    int close = rest.Find(L'"');
    out = close >= 0 ? rest.Left(close) : CString();
    return TRUE;
}

CString ClassNameFromId(const CString& id)
{
    static const struct {
        const wchar_t* id;
        const wchar_t* name;
    } classes[] = {
        {L"1", L"Warrior"}, {L"2", L"Paladin"}, {L"3", L"Hunter"},       {L"4", L"Rogue"},   {L"5", L"Priest"},
        {L"6", L"Dread Knight"}, {L"7", L"Shaman"}, {L"8", L"Mage"}, {L"9", L"Warlock"}, {L"11", L"Druid"},
    };
    for (const auto& c : classes)
        if (id == c.id) return c.name;
    return L"Unknown";
}

bool KeyInLine(const CString& line, const wchar_t* key)
{
    return line.Find(key) > 0;
}

CString ScanScriptValue(const CString& line)
{
    int eq = line.Find(L'=');
    int start = eq < 0 ? 0 : eq + 1;
    int semicolon = line.Find(L';', start);
    return semicolon < 0 ? CString() : line.Mid(start, semicolon - start);
}

bool ScanPortraitPath(const CString& line, CString& path)
{
    CString rest = line;
    for (;;) {
        int open = rest.Find(L'"');
        if (open < 0) return false;
        // The opening quote goes with the character after it.
        rest = rest.Mid(open + 2);
        int close = rest.Find(L'"');
        if (close < 0) return false;
        CString candidate = rest.Left(close);
        if (candidate.Find(L"portraits") > 0) {
            path = candidate;
            return true;
        }
        rest = rest.Mid(close + 2);
    }
}

CString ScanImagesPath(const CString& line)
{
    int images = line.Find(L"images");
    CString rest = images < 0 ? line : line.Mid(images);
    int quote = rest.Find(L'"');
    return quote < 0 ? CString() : rest.Left(quote);
}

CString LevelFolder(const CString& level)
{
    int value = (int)wcstol(level, nullptr, 10);
    if (value >= 80) return L"ulk-80/";
    if (value >= 70) return L"ulk-70/";
    return L"ulk/";
}
