#include "core/XmlEncoding.h"
#include "core/XmlDoc.h"
#include <windows.h>
#include <algorithm>
#include <climits>
#include <cstdio>
#include <cwchar>

const XmlBom g_xmlBoms[3] = {
    {{0xEF, 0xBB, 0xBF}, 3, L"UTF-8", XMLDOC_UTF8_BOM, 1},
    {{0xFF, 0xFE, 0x00}, 2, L"UTF-16LE", XMLDOC_UTF16LE_BOM, 2},
    {{0xFE, 0xFF, 0x00}, 2, L"UTF-16BE", XMLDOC_UTF16BE_BOM, 2},
};

namespace {

const int kAllBomFlags = XMLDOC_UTF8_BOM | XMLDOC_UTF16LE_BOM | XMLDOC_UTF16BE_BOM;
const size_t kDeclarationScanBytes = 1024;

struct CharsetName {
    const wchar_t* name;
    unsigned codePage;
};

// Sorted by name (ordinal), for binary search.
const CharsetName kCharsets[] = {
    {L"437", 437},
    {L"_iso-2022-jp", 50221},
    {L"_iso-2022-jp$sio", 50222},
    {L"ansi_x3.4-1968", 20127},
    {L"ansi_x3.4-1986", 20127},
    {L"arabic", 28596},
    {L"ascii", 20127},
    {L"asmo-708", 708},
    {L"big5", 950},
    {L"chinese", 936},
    {L"cn-big5", 950},
    {L"cn-gb", 936},
    {L"codepage437", 437},
    {L"cp1026", 1026},
    {L"cp1256", 1256},
    {L"cp367", 20127},
    {L"cp437", 437},
    {L"cp500", 775},
    {L"cp819", 28591},
    {L"cp852", 852},
    {L"cp866", 866},
    {L"cp870", 870},
    {L"csascii", 20127},
    {L"csbig5", 950},
    {L"cseuckr", 51949},
    {L"cseucpkdfmtjapanese", 51932},
    {L"csgb2312", 936},
    {L"csgb231280", 936},
    {L"csiso", 28593},
    {L"csiso2022jp", 50221},
    {L"csiso2022kr", 50225},
    {L"csiso58gb231280", 936},
    {L"csisolatin2", 28592},
    {L"csisolatin4", 28594},
    {L"csisolatin5", 28595},
    {L"csisolatinarabic", 28596},
    {L"csisolatincyrillic", 28595},
    {L"csisolatingreek", 28597},
    {L"csisolatinhebrew", 28598},
    {L"cskoi8r", 20866},
    {L"csksc56011987", 949},
    {L"cspc8", 437},
    {L"csshiftjis", 932},
    {L"csunicode11utf7", 65000},
    {L"cswindows31j", 932},
    {L"cyrillic", 28595},
    {L"dos-720", 720},
    {L"dos-862", 862},
    {L"dos-874", 874},
    {L"ebcdic-cp-us", 37},
    {L"ecma-114", 28596},
    {L"ecma-118", 28597},
    {L"elot_928", 28597},
    {L"euc-cn", 51936},
    {L"euc-jp", 51932},
    {L"euc-kr", 949},
    {L"extended_unix_code_packed_format_for_japanese", 51932},
    {L"gb2312", 936},
    {L"gb2312-80", 936},
    {L"gb231280", 936},
    {L"gb_2312-80", 936},
    {L"gbk", 936},
    {L"greek", 28597},
    {L"greek8", 28597},
    {L"hebrew", 28598},
    {L"hz-gb-2312", 52936},
    {L"ibm367", 20127},
    {L"ibm437", 437},
    {L"ibm737", 737},
    {L"ibm775", 775},
    {L"ibm819", 28591},
    {L"ibm850", 850},
    {L"ibm852", 852},
    {L"ibm857", 857},
    {L"ibm861", 861},
    {L"ibm866", 866},
    {L"ibm869", 869},
    {L"iso-2022-jp", 50220},
    {L"iso-2022-kr", 50225},
    {L"iso-8859-1", 28591},
    {L"iso-8859-11", 874},
    {L"iso-8859-15", 28605},
    {L"iso-8859-2", 28592},
    {L"iso-8859-3", 28593},
    {L"iso-8859-4", 28594},
    {L"iso-8859-5", 28595},
    {L"iso-8859-6", 28596},
    {L"iso-8859-7", 28597},
    {L"iso-8859-8", 28598},
    {L"iso-8859-8-i", 38598},
    {L"iso-8859-9", 28599},
    {L"iso-ir-100", 28591},
    {L"iso-ir-101", 28592},
    {L"iso-ir-109", 28593},
    {L"iso-ir-110", 28594},
    {L"iso-ir-126", 28597},
    {L"iso-ir-127", 28596},
    {L"iso-ir-138", 28598},
    {L"iso-ir-144", 28595},
    {L"iso-ir-148", 28599},
    {L"iso-ir-149", 949},
    {L"iso-ir-58", 936},
    {L"iso-ir-6", 1252},
    {L"iso-ir-6us", 20127},
    {L"iso646-us", 20127},
    {L"iso8859-1", 28591},
    {L"iso8859-2", 28592},
    {L"iso_646.irv:1991", 20127},
    {L"iso_8859-1", 28591},
    {L"iso_8859-15", 28605},
    {L"iso_8859-1:1987", 28591},
    {L"iso_8859-2", 28592},
    {L"iso_8859-2:1987", 28592},
    {L"iso_8859-3", 28593},
    {L"iso_8859-3:1988", 28593},
    {L"iso_8859-4", 28594},
    {L"iso_8859-4:1988", 28594},
    {L"iso_8859-5", 28595},
    {L"iso_8859-5:1988", 28595},
    {L"iso_8859-6", 28596},
    {L"iso_8859-6:1987", 28596},
    {L"iso_8859-7", 28597},
    {L"iso_8859-7:1987", 28597},
    {L"iso_8859-8", 28598},
    {L"iso_8859-8-i", 1255},
    {L"iso_8859-8:1988", 28598},
    {L"iso_8859-9", 28599},
    {L"iso_8859-9:1989", 28599},
    {L"johab", 1361},
    {L"koi", 20866},
    {L"koi8", 20866},
    {L"koi8-r", 20866},
    {L"koi8-ru", 21866},
    {L"koi8-u", 21866},
    {L"koi8r", 20866},
    {L"korean", 949},
    {L"ks_c_5601", 949},
    {L"ks_c_5601-1987", 949},
    {L"ks_c_5601-1989", 949},
    {L"ks_c_5601_1987", 949},
    {L"ksc5601", 949},
    {L"ksc_5601", 949},
    {L"l1", 28591},
    {L"l2", 28592},
    {L"l3", 28593},
    {L"l4", 28594},
    {L"l5", 28595},
    {L"l9", 28605},
    {L"latin1", 28591},
    {L"latin2", 28592},
    {L"latin3", 28593},
    {L"latin4", 28594},
    {L"latin5", 28599},
    {L"latin9", 28605},
    {L"logical", 38598},
    {L"macintosh", 10000},
    {L"ms_kanji", 932},
    {L"shift-jis", 932},
    {L"shift_jis", 932},
    {L"tis-620", 874},
    {L"unicode", 1200},
    {L"unicode-1-1-utf-7", 65000},
    {L"unicode-1-1-utf-8", 65001},
    {L"unicode-2-0-utf-8", 65001},
    {L"unicodefffe", 1201},
    {L"us", 1252},
    {L"us-ascii", 20127},
    {L"utf-16", 1200},
    {L"utf-7", 65000},
    {L"utf-8", 65001},
    {L"visual", 28598},
    {L"windows-1250", 1250},
    {L"windows-1251", 1251},
    {L"windows-1252", 1252},
    {L"windows-1253", 1253},
    {L"windows-1254", 1254},
    {L"windows-1255", 1255},
    {L"windows-1256", 1256},
    {L"windows-1257", 1257},
    {L"windows-1258", 1258},
    {L"windows-874", 874},
    {L"x-ansi", 1252},
    {L"x-chinese-cns", 20000},
    {L"x-chinese-eten", 20002},
    {L"x-cp1250", 1250},
    {L"x-cp1251", 1251},
    {L"x-ebcdic-arabic", 420},
    {L"x-ebcdic-cp-us-euro", 1140},
    {L"x-ebcdic-cyrillicrussian", 20880},
    {L"x-ebcdic-cyrillicserbianbulgarian", 21025},
    {L"x-ebcdic-denmarknorway", 20277},
    {L"x-ebcdic-denmarknorway-euro", 1142},
    {L"x-ebcdic-finlandsweden", 20278},
    {L"x-ebcdic-finlandsweden-euro", 1143},
    {L"x-ebcdic-france", 1143},
    {L"x-ebcdic-france-euro", 1147},
    {L"x-ebcdic-germany", 20273},
    {L"x-ebcdic-germany-euro", 1143},
    {L"x-ebcdic-greek", 20423},
    {L"x-ebcdic-greekmodern", 875},
    {L"x-ebcdic-hebrew", 20424},
    {L"x-ebcdic-icelandic", 20873},
    {L"x-ebcdic-icelandic-euro", 1149},
    {L"x-ebcdic-international-euro", 1148},
    {L"x-ebcdic-italy", 20280},
    {L"x-ebcdic-italy-euro", 1144},
    {L"x-ebcdic-japaneseandjapaneselatin", 50939},
    {L"x-ebcdic-japaneseandkana", 50930},
    {L"x-ebcdic-japaneseanduscanada", 50933},
    {L"x-ebcdic-japanesekatakana", 20290},
    {L"x-ebcdic-koreanandkoreanextended", 50933},
    {L"x-ebcdic-koreanextended", 20833},
    {L"x-ebcdic-simplifiedchinese", 50935},
    {L"x-ebcdic-spain", 20284},
    {L"x-ebcdic-spain-euro", 1145},
    {L"x-ebcdic-thai", 20838},
    {L"x-ebcdic-traditionalchinese", 50937},
    {L"x-ebcdic-turkish", 20905},
    {L"x-ebcdic-uk", 20285},
    {L"x-ebcdic-uk-euro", 1146},
    {L"x-euc", 51932},
    {L"x-euc-cn", 51936},
    {L"x-euc-jp", 51932},
    {L"x-europa", 29001},
    {L"x-ia5", 20105},
    {L"x-ia5-german", 20106},
    {L"x-ia5-norwegian", 20108},
    {L"x-ia5-swedish", 20107},
    {L"x-iscii-as", 57006},
    {L"x-iscii-be", 57003},
    {L"x-iscii-de", 57002},
    {L"x-iscii-gu", 57010},
    {L"x-iscii-ka", 57008},
    {L"x-iscii-ma", 57009},
    {L"x-iscii-or", 57007},
    {L"x-iscii-pa", 57011},
    {L"x-iscii-ta", 57004},
    {L"x-iscii-te", 57005},
    {L"x-mac-arabic", 10004},
    {L"x-mac-ce", 10029},
    {L"x-mac-chinesesimp", 10008},
    {L"x-mac-chinesetrad", 10002},
    {L"x-mac-cyrillic", 10007},
    {L"x-mac-greek", 10006},
    {L"x-mac-hebrew", 10005},
    {L"x-mac-icelandic", 10079},
    {L"x-mac-japanese", 10001},
    {L"x-mac-korean", 10003},
    {L"x-mac-turkish", 10081},
    {L"x-ms-cp932", 932},
    {L"x-sjis", 932},
    {L"x-unicode-2-0-utf-7", 65000},
    {L"x-unicode-2-0-utf-8", 65001},
    {L"x-x-big5", 950},
};

wchar_t LowerAscii(wchar_t c) { return (c >= L'A' && c <= L'Z') ? wchar_t(c + 32) : c; }
bool IsSpace(wchar_t c) { return c == L' ' || c == L'\t' || c == L'\n' || c == L'\r'; }

bool EqualsNoCase(const wchar_t* p, size_t n, const wchar_t* word)
{
    size_t i = 0;
    for (; i < n; ++i) {
        if (!word[i] || LowerAscii(p[i]) != LowerAscii(word[i]))
            return false;
    }
    return word[i] == 0;
}

const wchar_t* FindNoCase(const wchar_t* p, const wchar_t* end, const wchar_t* word)
{
    size_t n = wcslen(word);
    for (; p + n <= end; ++p) {
        if (EqualsNoCase(p, n, word))
            return p;
    }
    return nullptr;
}

const wchar_t* FindText(const wchar_t* p, const wchar_t* end, const wchar_t* word)
{
    size_t n = wcslen(word);
    for (; p + n <= end; ++p) {
        if (wmemcmp(p, word, n) == 0)
            return p;
    }
    return nullptr;
}

void AppendCodePoint(std::wstring& out, unsigned cp)
{
    if (cp > 0xFFFF) {
        cp -= 0x10000;
        out += wchar_t(0xD800 + (cp >> 10));
        out += wchar_t(0xDC00 + (cp & 0x3FF));
    } else {
        out += wchar_t(cp);
    }
}

// The code point at text[i], consuming a surrogate pair; a lone surrogate gives 0xFFFFFFFF.
unsigned NextCodePoint(const wchar_t* text, size_t length, size_t& i)
{
    unsigned c = text[i++];
    if (c >= 0xD800 && c <= 0xDBFF) {
        if (i < length && text[i] >= 0xDC00 && text[i] <= 0xDFFF)
            return 0x10000 + ((c - 0xD800) << 10) + (unsigned(text[i++]) - 0xDC00);
        return 0xFFFFFFFFu;
    }
    if (c >= 0xDC00 && c <= 0xDFFF)
        return 0xFFFFFFFFu;
    return c;
}

void Utf8ToWide(const unsigned char* d, size_t n, std::wstring& out)
{
    out.reserve(out.size() + n);
    size_t i = 0;
    while (i < n) {
        unsigned b = d[i];
        if (b < 0x80) {
            out += wchar_t(b);
            ++i;
            continue;
        }
        int need;
        unsigned cp, least;
        if ((b & 0xE0) == 0xC0) { need = 1; cp = b & 0x1F; least = 0x80; }
        else if ((b & 0xF0) == 0xE0) { need = 2; cp = b & 0x0F; least = 0x800; }
        else if ((b & 0xF8) == 0xF0) { need = 3; cp = b & 0x07; least = 0x10000; }
        else { out += L'?'; ++i; continue; }
        size_t j = i + 1;
        int got = 0;
        while (got < need && j < n && (d[j] & 0xC0) == 0x80) {
            cp = (cp << 6) | (d[j] & 0x3F);
            ++j;
            ++got;
        }
        i = j;
        if (got < need || cp < least || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
            out += L'?';
        else
            AppendCodePoint(out, cp);
    }
}

void WideToUtf8(const wchar_t* text, size_t length, std::vector<unsigned char>& out, bool& lost)
{
    out.reserve(out.size() + length);
    size_t i = 0;
    while (i < length) {
        unsigned cp = NextCodePoint(text, length, i);
        if (cp == 0xFFFFFFFFu) {
            out.push_back('?');
            lost = true;
        } else if (cp < 0x80) {
            out.push_back((unsigned char)cp);
        } else if (cp < 0x800) {
            out.push_back((unsigned char)(0xC0 | (cp >> 6)));
            out.push_back((unsigned char)(0x80 | (cp & 0x3F)));
        } else if (cp < 0x10000) {
            out.push_back((unsigned char)(0xE0 | (cp >> 12)));
            out.push_back((unsigned char)(0x80 | ((cp >> 6) & 0x3F)));
            out.push_back((unsigned char)(0x80 | (cp & 0x3F)));
        } else {
            out.push_back((unsigned char)(0xF0 | (cp >> 18)));
            out.push_back((unsigned char)(0x80 | ((cp >> 12) & 0x3F)));
            out.push_back((unsigned char)(0x80 | ((cp >> 6) & 0x3F)));
            out.push_back((unsigned char)(0x80 | (cp & 0x3F)));
        }
    }
}

void Utf16ToWide(const unsigned char* d, size_t n, bool bigEndian, std::wstring& out)
{
    out.reserve(out.size() + n / 2 + 1);
    for (size_t i = 0; i + 1 < n; i += 2)
        out += bigEndian ? wchar_t((d[i] << 8) | d[i + 1]) : wchar_t(d[i] | (d[i + 1] << 8));
    if (n % 2)
        out += L'?';
}

void WideToUtf16(const wchar_t* text, size_t length, bool bigEndian, std::vector<unsigned char>& out)
{
    out.reserve(out.size() + length * 2);
    for (size_t i = 0; i < length; ++i) {
        unsigned c = text[i];
        unsigned char lo = (unsigned char)(c & 0xFF), hi = (unsigned char)(c >> 8);
        out.push_back(bigEndian ? hi : lo);
        out.push_back(bigEndian ? lo : hi);
    }
}

void Utf32ToWide(const unsigned char* d, size_t n, std::wstring& out)
{
    for (size_t i = 0; i + 3 < n; i += 4) {
        unsigned cp = d[i] | (d[i + 1] << 8) | (d[i + 2] << 16) | (unsigned(d[i + 3]) << 24);
        if (cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
            out += L'?';
        else
            AppendCodePoint(out, cp);
    }
    if (n % 4)
        out += L'?';
}

void WideToUtf32(const wchar_t* text, size_t length, std::vector<unsigned char>& out, bool& lost)
{
    size_t i = 0;
    while (i < length) {
        unsigned cp = NextCodePoint(text, length, i);
        if (cp == 0xFFFFFFFFu) {
            cp = L'?';
            lost = true;
        }
        for (int k = 0; k < 4; ++k)
            out.push_back((unsigned char)(cp >> (8 * k)));
    }
}

// Code pages whose conversion to bytes accepts no flags and no used-default answer.
bool RestrictedCodePage(unsigned cp)
{
    return cp == 42 || cp == 65000 || (cp >= 50220 && cp <= 50229) || (cp >= 57002 && cp <= 57011);
}

bool IsWideCodePage(unsigned cp)
{
    return cp == XML_CP_UTF16LE || cp == XML_CP_UTF16BE || cp == XML_CP_UTF32;
}

size_t NameLength(const wchar_t* p, const wchar_t* end)
{
    const wchar_t* q = p;
    while (q < end && !IsSpace(*q) && *q != L'/' && *q != L'>' && *q != L'?' && *q != L'=')
        ++q;
    return size_t(q - p);
}

// Walks the attributes of a tag from just after its name and calls
// onAttribute(name, nameLength, value, valueLength) for each; stops early when it answers
// true. Returns the position after the tag's closing '>' (end when there is none).
template <class F>
const wchar_t* WalkAttributes(const wchar_t* p, const wchar_t* end, F onAttribute)
{
    while (p < end) {
        if (IsSpace(*p)) { ++p; continue; }
        if (*p == L'>')
            return p + 1;
        const wchar_t* name = p;
        while (p < end && !IsSpace(*p) && *p != L'=' && *p != L'>'
               && !((*p == L'/' || *p == L'?') && p + 1 < end && p[1] == L'>'))
            ++p;
        if (p == name) {
            ++p;  // the '/' or '?' before the closing '>'
            continue;
        }
        size_t nameLength = size_t(p - name);
        while (p < end && IsSpace(*p))
            ++p;
        const wchar_t* value = p;
        size_t valueLength = 0;
        if (p < end && *p == L'=') {
            ++p;
            while (p < end && IsSpace(*p))
                ++p;
            if (p < end && (*p == L'"' || *p == L'\'')) {
                wchar_t quote = *p++;
                value = p;
                while (p < end && *p != quote)
                    ++p;
                valueLength = size_t(p - value);
                if (p < end)
                    ++p;
            } else {
                value = p;
                while (p < end && !IsSpace(*p) && *p != L'>')
                    ++p;
                valueLength = size_t(p - value);
            }
        }
        if (onAttribute(name, nameLength, value, valueLength))
            return p;
    }
    return end;
}

// The token after "charset" and "=" in a Content-Type value.
bool CharsetOfContentType(const wchar_t* p, const wchar_t* end, std::wstring& name)
{
    const wchar_t* at = FindNoCase(p, end, L"charset");
    if (!at)
        return false;
    p = at + 7;
    while (p < end && IsSpace(*p))
        ++p;
    if (p >= end || *p != L'=')
        return false;
    ++p;
    while (p < end && IsSpace(*p))
        ++p;
    const wchar_t* token = p;
    while (p < end && !IsSpace(*p) && *p != L';' && *p != L'"' && *p != L'\'' && *p != L',')
        ++p;
    if (p == token)
        return false;
    name.assign(token, p);
    return true;
}

void AppendFormat(std::wstring& report, const wchar_t* format, int value)
{
    wchar_t buffer[64];
    _snwprintf(buffer, 63, format, value);
    buffer[63] = 0;
    report += buffer;
}

}  // namespace

const XmlBom* MatchBom(const unsigned char* data, size_t size)
{
    for (const XmlBom& bom : g_xmlBoms) {
        if (size >= size_t(bom.length) && memcmp(data, bom.bytes, bom.length) == 0)
            return &bom;
    }
    return nullptr;
}

const XmlBom* BomFromFlags(int docFlags)
{
    for (const XmlBom& bom : g_xmlBoms) {
        if (docFlags & bom.flag)
            return &bom;
    }
    return nullptr;
}

unsigned CodePageFromName(const wchar_t* name)
{
    if (!name || !*name)
        return XML_CP_ANSI;
    if (wcsncmp(name, L"UTF-32", 6) == 0)
        return XML_CP_UTF32;
    wchar_t lower[100];
    size_t n = 0;
    for (; name[n]; ++n) {
        if (n >= 99)
            return XML_CP_ANSI;
        lower[n] = LowerAscii(name[n]);
    }
    lower[n] = 0;
    const CharsetName* first = kCharsets;
    const CharsetName* last = kCharsets + sizeof(kCharsets) / sizeof(kCharsets[0]);
    const CharsetName* it = std::lower_bound(first, last, lower,
        [](const CharsetName& c, const wchar_t* key) { return wcscmp(c.name, key) < 0; });
    if (it != last && wcscmp(it->name, lower) == 0)
        return it->codePage;
    return XML_CP_ANSI;
}

unsigned CodePageOfEncoding(const std::wstring& name)
{
    if (name == L"UTF-16LE")
        return XML_CP_UTF16LE;
    if (name == L"UTF-16BE")
        return XML_CP_UTF16BE;
    return CodePageFromName(name.c_str());
}

bool FindDeclaredEncoding(const wchar_t* text, size_t length, std::wstring& name)
{
    const wchar_t* p = text;
    const wchar_t* end = text + length;
    bool seenTag = false;
    while (p < end) {
        p = std::find(p, end, L'<');
        if (p >= end)
            break;
        const wchar_t* q = p + 1;
        if (q < end && *q == L'?') {
            ++q;
            size_t n = NameLength(q, end);
            if (!seenTag && EqualsNoCase(q, n, L"xml")) {
                bool found = false;
                WalkAttributes(q + n, end, [&](const wchar_t* an, size_t anl, const wchar_t* v, size_t vl) {
                    if (!EqualsNoCase(an, anl, L"encoding"))
                        return false;
                    found = vl > 0;
                    name.assign(v, vl);
                    return true;
                });
                return found;
            }
            const wchar_t* close = FindText(q, end, L"?>");
            p = close ? close + 2 : end;
            continue;
        }
        if (end - q >= 3 && wmemcmp(q, L"!--", 3) == 0) {
            const wchar_t* close = FindText(q + 3, end, L"-->");
            p = close ? close + 3 : end;
            continue;
        }
        if (q < end && *q == L'!') {
            p = std::find(q, end, L'>');
            continue;
        }
        if (q < end && *q == L'/') {
            ++q;
            if (seenTag && EqualsNoCase(q, NameLength(q, end), L"head"))
                return false;
            p = std::find(q, end, L'>');
            continue;
        }
        size_t n = NameLength(q, end);
        if (n == 0) {
            p = q;
            continue;
        }
        if (!seenTag) {
            seenTag = true;
            if (!EqualsNoCase(q, n, L"html"))
                return false;
            p = WalkAttributes(q + n, end, [](const wchar_t*, size_t, const wchar_t*, size_t) { return false; });
            continue;
        }
        if (!EqualsNoCase(q, n, L"meta")) {
            p = WalkAttributes(q + n, end, [](const wchar_t*, size_t, const wchar_t*, size_t) { return false; });
            continue;
        }
        bool contentType = false;
        const wchar_t* content = nullptr;
        size_t contentLength = 0;
        p = WalkAttributes(q + n, end, [&](const wchar_t* an, size_t anl, const wchar_t* v, size_t vl) {
            if (EqualsNoCase(an, anl, L"http-equiv")) {
                contentType = EqualsNoCase(v, vl, L"Content-Type");
            } else if (EqualsNoCase(an, anl, L"content")) {
                content = v;
                contentLength = vl;
            }
            return false;
        });
        if (contentType && content && CharsetOfContentType(content, content + contentLength, name))
            return true;
    }
    return false;
}

bool FindDeclaredEncodingInBytes(const unsigned char* data, size_t size, std::wstring& name)
{
    std::wstring head;
    Utf8ToWide(data, size, head);
    return FindDeclaredEncoding(head.data(), head.size(), name);
}

bool IsValidUtf8(const unsigned char* data, size_t size)
{
    size_t i = 0;
    while (i < size) {
        unsigned b = data[i];
        if (b == 0)
            return true;
        int need;
        if (b < 0x80) need = 0;
        else if ((b & 0xE0) == 0xC0) need = 1;
        else if ((b & 0xF0) == 0xE0) need = 2;
        else if ((b & 0xF8) == 0xF0) need = 3;
        else return false;  // 11111xxx, or a continuation byte without a lead byte
        ++i;
        for (int k = 0; k < need; ++k, ++i) {
            if (i >= size || (data[i] & 0xC0) != 0x80)
                return false;
        }
    }
    return true;
}

bool BytesToWide(unsigned codePage, const unsigned char* data, size_t size, std::wstring& out)
{
    if (size == 0)
        return true;
    switch (codePage) {
    case XML_CP_UTF8: Utf8ToWide(data, size, out); return true;
    case XML_CP_UTF16LE: Utf16ToWide(data, size, false, out); return true;
    case XML_CP_UTF16BE: Utf16ToWide(data, size, true, out); return true;
    case XML_CP_UTF32: Utf32ToWide(data, size, out); return true;
    default: break;
    }
    if (size > INT_MAX)
        return false;
    const char* src = reinterpret_cast<const char*>(data);
    int n = MultiByteToWideChar(codePage, 0, src, int(size), nullptr, 0);
    if (n <= 0)
        return false;
    size_t at = out.size();
    out.resize(at + size_t(n));
    n = MultiByteToWideChar(codePage, 0, src, int(size), &out[at], n);
    if (n <= 0) {
        out.resize(at);
        return false;
    }
    out.resize(at + size_t(n));
    return true;
}

bool WideToBytes(unsigned codePage, const wchar_t* text, size_t length,
                 std::vector<unsigned char>& out, bool& charsLost)
{
    if (length == 0)
        return true;
    switch (codePage) {
    case XML_CP_UTF8: WideToUtf8(text, length, out, charsLost); return true;
    case XML_CP_UTF16LE: WideToUtf16(text, length, false, out); return true;
    case XML_CP_UTF16BE: WideToUtf16(text, length, true, out); return true;
    case XML_CP_UTF32: WideToUtf32(text, length, out, charsLost); return true;
    default: break;
    }
    if (length > INT_MAX)
        return false;
    bool restricted = RestrictedCodePage(codePage);
    DWORD flags = restricted ? 0 : WC_NO_BEST_FIT_CHARS;
    BOOL usedDefault = FALSE;
    BOOL* used = restricted ? nullptr : &usedDefault;
    int n = WideCharToMultiByte(codePage, flags, text, int(length), nullptr, 0, nullptr, used);
    if (n <= 0)
        return false;
    size_t at = out.size();
    out.resize(at + size_t(n));
    n = WideCharToMultiByte(codePage, flags, text, int(length), reinterpret_cast<char*>(&out[at]), n,
                            nullptr, used);
    if (n <= 0) {
        out.resize(at);
        return false;
    }
    out.resize(at + size_t(n));
    if (usedDefault) {
        charsLost = true;
    } else if (restricted) {
        // These code pages cannot say whether the default character was used: compare
        // the way back instead.
        std::wstring back;
        if (!BytesToWide(codePage, &out[at], size_t(n), back) || back.compare(0, back.npos, text, length) != 0)
            charsLost = true;
    }
    return true;
}

bool DecodeFileBytes(const unsigned char* data, size_t size, std::wstring& text,
                     int& docFlags, XmlEncodingInfo& info, std::wstring& report)
{
    text.clear();
    info = XmlEncodingInfo();
    docFlags &= ~kAllBomFlags;
    if (!data)
        size = 0;

    size_t head = std::min(size, kDeclarationScanBytes);
    std::wstring name;
    int unitWidth = 1;
    size_t offset = 0;
    bool utf8ByFirstByte = false;
    if (const XmlBom* bom = MatchBom(data, head)) {
        docFlags |= bom->flag;
        name = bom->name;
        unitWidth = bom->unitWidth;
        offset = size_t(bom->length);
    } else if (!FindDeclaredEncodingInBytes(data, head, name) && size > 0 && data[0] == '<') {
        name = L"UTF-8";
        utf8ByFirstByte = true;
    }

    const unsigned char* body = data + offset;
    size_t bodySize = size - offset;
    int nulls = 0;
    if (unitWidth == 2) {
        bool bigEndian = (docFlags & XMLDOC_UTF16BE_BOM) != 0;
        text.reserve(bodySize / 2);
        for (size_t i = 0; i + 1 < bodySize; i += 2) {
            wchar_t unit = bigEndian ? wchar_t((body[i] << 8) | body[i + 1]) : wchar_t(body[i] | (body[i + 1] << 8));
            if (unit)
                text += unit;
            else
                ++nulls;
        }
        if (nulls)
            AppendFormat(report, L"(%d nulls removed) ", nulls);
        if (bigEndian)
            report += L"endian swap ";
    } else {
        std::vector<unsigned char> bytes;
        bytes.reserve(bodySize);
        for (size_t i = 0; i < bodySize; ++i) {
            if (body[i])
                bytes.push_back(body[i]);
            else
                ++nulls;
        }
        if (nulls)
            AppendFormat(report, L"(%d nulls removed) ", nulls);
        if (utf8ByFirstByte && !IsValidUtf8(bytes.data(), bytes.size())) {
            // Read as UTF-8 its other characters would all become '?'.
            name.clear();
            report += L"(not UTF-8) ";
        } else if (name.empty() && !bytes.empty() && IsValidUtf8(bytes.data(), bytes.size())) {
            name = L"UTF-8";
            report += L"(used UTF-8 detection) ";
        }
        unsigned codePage = CodePageOfEncoding(name);
        if (IsWideCodePage(codePage)) {
            // A file without a mark that declares UTF-16 (or UTF-32) has lost its zero
            // bytes above: what is left are its ASCII characters.
            codePage = IsValidUtf8(bytes.data(), bytes.size()) ? XML_CP_UTF8 : XML_CP_ANSI;
            report += L"(wide encoding declared without a mark, read as bytes) ";
        }
        if (!BytesToWide(codePage, bytes.data(), bytes.size(), text)) {
            text.clear();
            AppendFormat(report, L"(cannot convert from code page %d) ", int(codePage));
            return false;
        }
        if (!text.empty())
            AppendFormat(report, L"to %d wide chars ", int(text.size()));
    }
    if (text.empty())
        report += L"0 length ";
    info.fromFile = !text.empty();
    info.name = name;
    return true;
}

bool EncodeFileBytes(const std::wstring& text, int docFlags, const XmlEncodingInfo& loaded,
                     std::vector<unsigned char>& out, std::wstring& report)
{
    out.clear();
    unsigned codePage;
    const XmlBom* bom = BomFromFlags(docFlags);
    if (bom) {
        codePage = bom->flag == XMLDOC_UTF8_BOM ? XML_CP_UTF8
                 : bom->flag == XMLDOC_UTF16LE_BOM ? XML_CP_UTF16LE : XML_CP_UTF16BE;
    } else if (loaded.fromFile) {
        codePage = CodePageOfEncoding(loaded.name);
    } else {
        std::wstring name;
        if (FindDeclaredEncoding(text.data(), text.size(), name))
            codePage = CodePageFromName(name.c_str());
        else
            codePage = (!text.empty() && text[0] == L'<') ? XML_CP_UTF8 : XML_CP_ANSI;
    }
    if (!bom && IsWideCodePage(codePage)) {
        // Without a mark such a file would not read back: write UTF-16LE with its mark.
        bom = &g_xmlBoms[1];
        codePage = XML_CP_UTF16LE;
    }
    if (bom)
        out.assign(bom->bytes, bom->bytes + bom->length);
    if (text.empty()) {
        report += L"0 length ";
        return true;
    }
    bool lost = false;
    if (!WideToBytes(codePage, text.data(), text.size(), out, lost)) {
        out.clear();
        AppendFormat(report, L"(cannot convert to code page %d) ", int(codePage));
        return false;
    }
    if (lost)
        report += L"(chars lost in conversion!) ";
    return true;
}
