#include "TestSupport.h"
#include "core/XmlEncoding.h"
#include "core/XmlDoc.h"
#include <gtest/gtest.h>
#include <windows.h>
#include <string>
#include <vector>

namespace {

typedef std::vector<unsigned char> Bytes;

Bytes B(const char* s, size_t n) { return Bytes(s, s + n); }
#define BYTES(lit) B(lit, sizeof(lit) - 1)

Bytes Cat(Bytes a, const Bytes& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

struct Decoded {
    bool ok;
    std::wstring text;
    int flags;
    XmlEncodingInfo info;
    std::wstring report;
};

Decoded Decode(const Bytes& b, int flags = 0)
{
    Decoded d;
    d.flags = flags;
    d.ok = DecodeFileBytes(b.data(), b.size(), d.text, d.flags, d.info, d.report);
    return d;
}

bool Contains(const std::wstring& s, const wchar_t* part) { return s.find(part) != std::wstring::npos; }

const std::wstring kSample = L"<a>\u00E9\u20AC\U0001F600</a>";

} // namespace

TEST(XmlEncoding, EveryByteOrderMarkIsRecognisedAndWrittenBack)
{
    struct Case { Bytes file; int flag; const wchar_t* name; };
    const Case cases[] = {
        {Cat(BYTES("\xEF\xBB\xBF"), BYTES("<a>\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80</a>")), XMLDOC_UTF8_BOM, L"UTF-8"},
        {Cat(BYTES("\xFF\xFE"), Utf16Bytes(kSample)), XMLDOC_UTF16LE_BOM, L"UTF-16LE"},
        {Cat(BYTES("\xFE\xFF"), Utf16Bytes(kSample, true)), XMLDOC_UTF16BE_BOM, L"UTF-16BE"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Decoded d = Decode(c.file, XMLDOC_UTF8_BOM | XMLDOC_UTF16LE_BOM | XMLDOC_UTF16BE_BOM | 0x10);
        ASSERT_TRUE(d.ok);
        EXPECT_EQ(d.text, kSample);
        EXPECT_EQ(d.flags, c.flag | 0x10);
        EXPECT_EQ(d.info.name, c.name);
        EXPECT_EQ(Contains(d.report, L"endian swap "), c.flag == XMLDOC_UTF16BE_BOM);

        Bytes saved;
        std::wstring report;
        ASSERT_TRUE(EncodeFileBytes(d.text, d.flags, d.info, saved, report));
        EXPECT_EQ(saved, c.file);
        EXPECT_EQ(report, L"");
    }
}

TEST(XmlEncoding, MarkLookupNeedsTheWholeMarkAndFollowsTheTableOrder)
{
    const unsigned char ff = 0xFF, efbb[] = {0xEF, 0xBB};
    EXPECT_EQ(MatchBom(&ff, 1), nullptr);
    EXPECT_EQ(MatchBom(efbb, 2), nullptr);
    EXPECT_EQ(MatchBom(nullptr, 0), nullptr);
    EXPECT_EQ(BomFromFlags(0), nullptr);
    EXPECT_EQ(BomFromFlags(XMLDOC_UTF8_BOM | XMLDOC_UTF16LE_BOM | XMLDOC_UTF16BE_BOM), &g_xmlBoms[0]);
    EXPECT_EQ(BomFromFlags(XMLDOC_UTF16LE_BOM | XMLDOC_UTF16BE_BOM), &g_xmlBoms[1]);
    EXPECT_EQ(BomFromFlags(XMLDOC_UTF16BE_BOM | 0x20), &g_xmlBoms[2]);
}

TEST(XmlEncoding, DeclaredEncoding)
{
    struct Case { const wchar_t* text; const wchar_t* name; };  // name null: none declared
    const Case cases[] = {
        {L"<?xml version=\"1.0\" encoding=\"windows-1252\"?><a/>", L"windows-1252"},
        {L"<?XML Version='1.0' ENCODING = 'ISO-8859-1' ?>\r\n<a/>", L"ISO-8859-1"},
        {L"  <!-- note <a> --><?xml encoding=\"koi8-r\"?><a/>", L"koi8-r"},
        {L"<?xml-stylesheet href=\"s\"?><?xml encoding=\"utf-8\"?><a/>", L"utf-8"},
        {L"<?xml version=\"1.0\"?><?xml encoding=\"utf-8\"?><a/>", nullptr},
        {L"<?xml version=\"1.0\" encoding=\"\"?><a/>", nullptr},
        {L"<a/><?xml encoding=\"utf-8\"?>", nullptr},
        {L"<html><head><title>t</title><meta http-equiv=\"Content-Type\" content=\"text/html; charset=windows-1251\"></head></html>", L"windows-1251"},
        {L"<!DOCTYPE html><HTML lang=\"en\"><HEAD><META HTTP-EQUIV=\"content-type\" CONTENT=\"text/html; CHARSET = big5\"></HEAD>", L"big5"},
        {L"<html><meta content='text/html;charset=koi8-r' http-equiv=Content-Type />", L"koi8-r"},
        {L"<html><meta http-equiv=\"Content-Type\" content=\"text/html\"><meta http-equiv=\"Content-Type\" content=\"text/html; charset=gbk\">", L"gbk"},
        {L"<html><meta http-equiv=\"refresh\" content=\"charset=big5\"><meta name=\"x\" content=\"charset=big5\">", nullptr},
        {L"<html><head></head><meta http-equiv=\"Content-Type\" content=\"text/html; charset=big5\">", nullptr},
        {L"<body><meta http-equiv=\"Content-Type\" content=\"text/html; charset=big5\">", nullptr},
        {L"<root><?xml encoding=\"utf-8\"?></root>", nullptr},
        {L"no markup at all", nullptr},
        {L"", nullptr},
        {L"<html><meta http-equiv=\"Content-Type\" content=\"text/html; charset=", nullptr},
        {L"<?xml encoding=\"cut", L"cut"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        std::wstring name = L"unchanged";
        bool found = FindDeclaredEncoding(c.text, wcslen(c.text), name);
        EXPECT_EQ(found, c.name != nullptr);
        if (c.name) {
            EXPECT_EQ(name, c.name);
        }
    }
}

TEST(XmlEncoding, DeclarationIsSoughtInTheFirst1024BytesOnly)
{
    std::string head = "<!--" + std::string(1100, 'x') + "-->";
    Bytes late = BYTES("<?xml version=\"1.0\" encoding=\"windows-1252\"?><a/>");
    Decoded d = Decode(Cat(Bytes(head.begin(), head.end()), late));
    EXPECT_EQ(d.info.name, L"UTF-8");  // the file starts with '<'

    std::string early = "<?xml version=\"1.0\" encoding=\"koi8-r\"?><a>";
    Decoded e = Decode(Cat(Bytes(early.begin(), early.end()), BYTES("\xE1</a>")));
    EXPECT_EQ(e.info.name, L"koi8-r");
    EXPECT_EQ(e.text.substr(e.text.size() - 5), L"\u0410</a>");
}

TEST(XmlEncoding, Utf8Validity)
{
    struct Case { Bytes bytes; bool valid; };
    const Case cases[] = {
        {BYTES(""), true},
        {BYTES("plain <ascii/>"), true},
        {BYTES("\xC3\xA9"), true},
        {BYTES("\xE2\x82\xAC"), true},
        {BYTES("\xF0\x9F\x98\x80"), true},
        {BYTES("a\x00\xFF"), true},        // a 0 byte ends the test
        {BYTES("\xC3"), false},            // cut by the end
        {BYTES("\xE2\x82"), false},
        {BYTES("\xF0\x9F\x98"), false},
        {BYTES("\xC3\x41"), false},        // continuation without its high bit
        {BYTES("\xC3\xC3"), false},        // a lead byte where a continuation belongs
        {BYTES("\xF8\x88\x80\x80\x80"), false},
        {BYTES("\xFF"), false},
        {BYTES("\xA9 2024"), false},       // continuation byte without a lead byte
        {BYTES("caf\xE9 au lait"), false}, // windows-1252 text
    };
    for (size_t i = 0; i < sizeof(cases) / sizeof(cases[0]); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(IsValidUtf8(cases[i].bytes.data(), cases[i].bytes.size()), cases[i].valid);
    }
}

TEST(XmlEncoding, CodePageFromName)
{
    struct Case { const wchar_t* name; unsigned codePage; };
    const Case cases[] = {
        {L"utf-8", 65001}, {L"UTF-8", 65001}, {L"Utf-8", 65001}, {L"x-unicode-2-0-utf-8", 65001},
        {L"Windows-1252", 1252}, {L"x-ansi", 1252}, {L"us", 1252}, {L"ISO-8859-1", 28591}, {L"latin1", 28591},
        {L"Shift_JIS", 932}, {L"gb2312", 936}, {L"KS_C_5601-1987", 949}, {L"big5", 950},
        {L"KOI8-R", 20866}, {L"koi8-u", 21866}, {L"us-ascii", 20127}, {L"iso_646.irv:1991", 20127},
        {L"_iso-2022-jp$sio", 50222}, {L"_iso-2022-jp", 50221}, {L"iso-2022-jp", 50220},
        {L"extended_unix_code_packed_format_for_japanese", 51932}, {L"x-ebcdic-koreanandkoreanextended", 50933},
        {L"ebcdic-cp-us", 37}, {L"cp500", 775}, {L"437", 437}, {L"utf-7", 65000}, {L"logical", 38598},
        {L"utf-16", 1200}, {L"Unicode", 1200}, {L"unicodeFFFE", 1201},
        {L"UTF-32", 65005}, {L"UTF-32LE", 65005}, {L"utf-32", 0}, {L"Utf-32", 0},
        {L"", 0}, {nullptr, 0}, {L"nonsense", 0}, {L"utf-16le", 0}, {L"utf8", 0}, {L" utf-8", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name ? c.name : L"(null)");
        EXPECT_EQ(CodePageFromName(c.name), c.codePage);
    }
    std::wstring longName = L"utf-8" + std::wstring(100, L' ');
    EXPECT_EQ(CodePageFromName(longName.c_str()), 0u);
    EXPECT_EQ(CodePageOfEncoding(L"UTF-16LE"), 1200u);
    EXPECT_EQ(CodePageOfEncoding(L"UTF-16BE"), 1201u);
    EXPECT_EQ(CodePageOfEncoding(L"UTF-8"), 65001u);
}

TEST(XmlEncoding, Utf16WithoutMarkHoldingAsciiLosesItsNulls)
{
    Decoded d = Decode(Utf16Bytes(L"<a>hi</a>"));
    ASSERT_TRUE(d.ok);
    EXPECT_EQ(d.text, L"<a>hi</a>");
    EXPECT_EQ(d.flags, 0);
    EXPECT_EQ(d.info.name, L"UTF-8");
    EXPECT_TRUE(Contains(d.report, L"(9 nulls removed) "));
    EXPECT_TRUE(Contains(d.report, L"to 9 wide chars "));

    Decoded nulls = Decode(Cat(BYTES("\xFF\xFE"), Utf16Bytes(std::wstring(L"<a>\0\0</a>", 9))));
    EXPECT_EQ(nulls.text, L"<a></a>");
    EXPECT_TRUE(Contains(nulls.report, L"(2 nulls removed) "));
}

TEST(XmlEncoding, Utf16DeclaredWithoutMark)
{
    // Its declaration is not seen among the zero bytes: it reads as UTF-8 and saves so.
    std::wstring text = L"<?xml version=\"1.0\" encoding=\"UTF-16\"?><a>x</a>";
    Decoded wide = Decode(Utf16Bytes(text));
    ASSERT_TRUE(wide.ok);
    EXPECT_EQ(wide.text, text);
    EXPECT_EQ(wide.info.name, L"UTF-8");
    Bytes saved;
    std::wstring report;
    ASSERT_TRUE(EncodeFileBytes(wide.text, wide.flags, wide.info, saved, report));
    EXPECT_EQ(saved, Bytes(text.begin(), text.end()));

    // Single bytes that declare UTF-16 read as they are, and save as UTF-16LE with a mark.
    Decoded narrow = Decode(Bytes(text.begin(), text.end()));
    ASSERT_TRUE(narrow.ok);
    EXPECT_EQ(narrow.text, text);
    EXPECT_EQ(narrow.info.name, L"UTF-16");
    ASSERT_TRUE(EncodeFileBytes(narrow.text, narrow.flags, narrow.info, saved, report));
    EXPECT_EQ(saved, Cat(BYTES("\xFF\xFE"), Utf16Bytes(text)));

    // A new document declaring UTF-16 without any flag gets the same, not an empty file.
    for (const wchar_t* name : {L"utf-16", L"unicodeFFFE", L"UTF-32"}) {
        std::wstring t = std::wstring(L"<?xml version=\"1.0\" encoding=\"") + name + L"\"?><a>\u00E9</a>";
        Bytes out;
        ASSERT_TRUE(EncodeFileBytes(t, 0, XmlEncodingInfo(), out, report));
        EXPECT_EQ(out, Cat(BYTES("\xFF\xFE"), Utf16Bytes(t))) << name;
    }
}

TEST(XmlEncoding, Windows1252RoundTrip)
{
    Bytes file = BYTES("<?xml version=\"1.0\" encoding=\"windows-1252\"?>\r\n<a>caf\xE9 \x80</a>");
    Decoded d = Decode(file);
    ASSERT_TRUE(d.ok);
    EXPECT_EQ(d.text, L"<?xml version=\"1.0\" encoding=\"windows-1252\"?>\r\n<a>caf\u00E9 \u20AC</a>");
    EXPECT_EQ(d.info.name, L"windows-1252");
    EXPECT_FALSE(Contains(d.report, L"UTF-8 detection"));

    Bytes saved;
    std::wstring report;
    ASSERT_TRUE(EncodeFileBytes(d.text, d.flags, d.info, saved, report));
    EXPECT_EQ(saved, file);
    EXPECT_FALSE(Contains(report, L"lost"));

    // The same text as a new document takes its declaration too.
    Bytes fresh;
    ASSERT_TRUE(EncodeFileBytes(d.text, 0, XmlEncodingInfo(), fresh, report));
    EXPECT_EQ(fresh, file);
}

TEST(XmlEncoding, CharactersLostInConversionAreReported)
{
    std::wstring text = L"<?xml version=\"1.0\" encoding=\"windows-1252\"?><a>\u0101\U0001F600\u00E9</a>";
    Bytes out;
    std::wstring report;
    ASSERT_TRUE(EncodeFileBytes(text, 0, XmlEncodingInfo(), out, report));
    EXPECT_TRUE(Contains(report, L"(chars lost in conversion!) "));
    std::string s(out.begin(), out.end());
    EXPECT_EQ(s.substr(s.size() - 9, 9).back(), '>');
    EXPECT_NE(s.find("<a>?"), std::string::npos);  // no best-fit 'a'
    EXPECT_NE(s.find("\xE9</a>"), std::string::npos);

    // A lone surrogate cannot be written as UTF-8.
    Bytes utf8;
    std::wstring report8;
    ASSERT_TRUE(EncodeFileBytes(std::wstring(L"<a>") + wchar_t(0xD800) + L"</a>", 0, XmlEncodingInfo(), utf8, report8));
    EXPECT_EQ(utf8, BYTES("<a>?</a>"));
    EXPECT_TRUE(Contains(report8, L"(chars lost in conversion!) "));

    Bytes clean;
    std::wstring reportClean;
    ASSERT_TRUE(EncodeFileBytes(kSample, 0, XmlEncodingInfo(), clean, reportClean));
    EXPECT_EQ(clean, BYTES("<a>\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80</a>"));
    EXPECT_EQ(reportClean, L"");
}

TEST(XmlEncoding, FilesWithoutMarkOrDeclaration)
{
    // Starting with '<': UTF-8 by rule.
    Decoded lt = Decode(BYTES("<a>caf\xC3\xA9</a>"));
    EXPECT_EQ(lt.text, L"<a>caf\u00E9</a>");
    EXPECT_EQ(lt.info.name, L"UTF-8");
    EXPECT_FALSE(Contains(lt.report, L"(used UTF-8 detection) "));
    // Starting otherwise but valid UTF-8: by detection.
    Decoded detected = Decode(BYTES("\r\n<a>caf\xC3\xA9</a>"));
    EXPECT_EQ(detected.text, L"\r\n<a>caf\u00E9</a>");
    EXPECT_EQ(detected.info.name, L"UTF-8");
    EXPECT_TRUE(Contains(detected.report, L"(used UTF-8 detection) "));
    // Not UTF-8: the ANSI code page, whatever the first byte.
    for (const Bytes& ansi : {BYTES(" <a>caf\xE9</a>"), BYTES("<a>caf\xE9</a>")}) {
        Decoded a = Decode(ansi);
        EXPECT_EQ(a.text, AnsiToWide(ansi));
        EXPECT_EQ(a.text.find(L'?'), std::wstring::npos);
        EXPECT_EQ(a.info.name, L"");
        EXPECT_TRUE(a.info.fromFile);
    }
}

TEST(XmlEncoding, SaveKeepsTheEncodingTheFileWasReadIn)
{
    struct Case { Bytes file; };
    const Case cases[] = {
        {BYTES("\r\n<a>caf\xC3\xA9</a>")},   // UTF-8 by detection: the declaration rule would give ANSI
        {BYTES("<a>caf\xE9</a>")},            // ANSI, starting with '<': the rule would give UTF-8
        {BYTES("<?xml version=\"1.0\" encoding=\"koi8-r\"?><a>\xE1\xC2</a>")},
        {BYTES("\xEF\xBB\xBF<a>caf\xC3\xA9</a>")},
    };
    for (size_t i = 0; i < sizeof(cases) / sizeof(cases[0]); ++i) {
        SCOPED_TRACE(i);
        Decoded d = Decode(cases[i].file);
        ASSERT_TRUE(d.ok);
        Bytes saved;
        std::wstring report;
        ASSERT_TRUE(EncodeFileBytes(d.text, d.flags, d.info, saved, report));
        EXPECT_EQ(saved, cases[i].file);
    }

    // A mark flag set by the caller chooses the encoding over the one read.
    Decoded d = Decode(BYTES("<a>caf\xE9</a>"));
    Bytes saved;
    std::wstring report;
    ASSERT_TRUE(EncodeFileBytes(d.text, XMLDOC_UTF16LE_BOM, d.info, saved, report));
    EXPECT_EQ(saved, Cat(BYTES("\xFF\xFE"), Utf16Bytes(d.text)));
}

TEST(XmlEncoding, NewDocumentEncodingFromFlagsOrDeclaration)
{
    struct Case { std::wstring text; int flags; Bytes expected; };
    const Case cases[] = {
        {L"<a>\u00E9</a>", 0, BYTES("<a>\xC3\xA9</a>")},
        {L"<a>\u00E9</a>", XMLDOC_UTF8_BOM, BYTES("\xEF\xBB\xBF<a>\xC3\xA9</a>")},
        // A UTF-8 mark is followed by UTF-8 whatever the text declares.
        {L"<?xml encoding=\"windows-1252\"?><a>\u00E9</a>", XMLDOC_UTF8_BOM,
         BYTES("\xEF\xBB\xBF<?xml encoding=\"windows-1252\"?><a>\xC3\xA9</a>")},
        {L"<?xml encoding=\"koi8-r\"?><a>\u0410</a>", 0, BYTES("<?xml encoding=\"koi8-r\"?><a>\xE1</a>")},
        {L"<a>\u00E9</a>", XMLDOC_UTF16BE_BOM, Cat(BYTES("\xFE\xFF"), Utf16Bytes(L"<a>\u00E9</a>", true))},
        {L"", XMLDOC_UTF16LE_BOM, BYTES("\xFF\xFE")},
        {L"", 0, BYTES("")},
    };
    for (size_t i = 0; i < sizeof(cases) / sizeof(cases[0]); ++i) {
        SCOPED_TRACE(i);
        Bytes out;
        std::wstring report;
        ASSERT_TRUE(EncodeFileBytes(cases[i].text, cases[i].flags, XmlEncodingInfo(), out, report));
        EXPECT_EQ(out, cases[i].expected);
        EXPECT_EQ(Contains(report, L"0 length "), cases[i].text.empty());
    }

    // Not starting with '<' and declaring nothing: the ANSI code page.
    std::wstring text = L" <a>x</a>";
    Bytes out;
    std::wstring report;
    ASSERT_TRUE(EncodeFileBytes(text, 0, XmlEncodingInfo(), out, report));
    EXPECT_EQ(out, BYTES(" <a>x</a>"));
}

TEST(XmlEncoding, EmptyFiles)
{
    struct Case { Bytes file; int flag; };
    const Case cases[] = {{BYTES(""), 0}, {BYTES("\xFF\xFE"), XMLDOC_UTF16LE_BOM}, {BYTES("\xEF\xBB\xBF"), XMLDOC_UTF8_BOM},
                          {Bytes(4, 0), 0}};
    for (size_t i = 0; i < sizeof(cases) / sizeof(cases[0]); ++i) {
        SCOPED_TRACE(i);
        Decoded d = Decode(cases[i].file);
        EXPECT_TRUE(d.ok);
        EXPECT_EQ(d.text, L"");
        EXPECT_EQ(d.flags, cases[i].flag);
        EXPECT_TRUE(Contains(d.report, L"0 length "));
        EXPECT_FALSE(d.info.fromFile);
    }
    std::wstring text = L"x";
    int flags = 0;
    XmlEncodingInfo info;
    std::wstring report;
    EXPECT_TRUE(DecodeFileBytes(nullptr, 0, text, flags, info, report));
    EXPECT_EQ(text, L"");
}

TEST(XmlEncoding, ByHandConversionsReplaceWhatCannotBeDecoded)
{
    struct Case { unsigned codePage; Bytes bytes; std::wstring text; };
    const Case cases[] = {
        {XML_CP_UTF8, BYTES("a\xC3(b"), L"a?(b"},
        {XML_CP_UTF8, BYTES("\xC0\xAF"), L"?"},             // overlong
        {XML_CP_UTF8, BYTES("\xED\xA0\x80!"), L"?!"},       // a surrogate's code point
        {XML_CP_UTF8, BYTES("\xF4\x90\x80\x80"), L"?"},     // above U+10FFFF
        {XML_CP_UTF8, BYTES("\x80\xFF"), L"??"},
        {XML_CP_UTF8, BYTES("\xE2\x82"), L"?"},
        {XML_CP_UTF8, BYTES("\xF0\x9F\x98\x80"), L"\U0001F600"},
        {XML_CP_UTF16LE, BYTES("A\x00\x3D\xD8\x00\xDE"), L"A\U0001F600"},
        {XML_CP_UTF16BE, BYTES("\x00" "A\x20\xAC"), L"A\u20AC"},
        {XML_CP_UTF16LE, BYTES("A\x00" "B"), L"A?"},
        {XML_CP_UTF32, BYTES("A\x00\x00\x00\x00\xF6\x01\x00"), L"A\U0001F600"},
        {XML_CP_UTF32, BYTES("\x00\x00\x11\x00" "A\x00"), L"??"},
    };
    for (size_t i = 0; i < sizeof(cases) / sizeof(cases[0]); ++i) {
        SCOPED_TRACE(i);
        std::wstring out = L"<";
        ASSERT_TRUE(BytesToWide(cases[i].codePage, cases[i].bytes.data(), cases[i].bytes.size(), out));
        EXPECT_EQ(out, L"<" + cases[i].text);
    }
    Bytes utf32;
    bool lost = false;
    ASSERT_TRUE(WideToBytes(XML_CP_UTF32, L"A\U0001F600", 3, utf32, lost));
    EXPECT_EQ(utf32, BYTES("A\x00\x00\x00\x00\xF6\x01\x00"));
    EXPECT_FALSE(lost);
}

TEST(XmlEncoding, CodePageTheSystemCannotConvertFails)
{
    std::wstring out;
    const unsigned char b[] = {'a'};
    EXPECT_FALSE(BytesToWide(12345, b, 1, out));
    Bytes bytes;
    bool lost = false;
    EXPECT_FALSE(WideToBytes(12345, L"a", 1, bytes, lost));
    EXPECT_TRUE(bytes.empty());
}

TEST(XmlReferences, Decoding)
{
    struct Case { std::wstring in; std::wstring out; };
    const Case cases[] = {
        {L"x &lt; y &amp;amp; &#65;&#x42;", L"x < y &amp; AB"},
        {L"no references", L"no references"},
        {L"", L""},
        {L"&foo; &; &abcdefghij; &", L"&foo; &; &abcdefghij; &"},
        {L"&abcdefghi;", L"&abcdefghi;"},
        {L"&thetasym;&apos;&quot;&gt;", L"\u03D1'\">"},
        {L"&#0; &#x0; &#; &#x; &#12a; &#xG;", L"&#0; &#x0; &#; &#x; &#12a; &#xG;"},
        {L"&#x110000; &#1114112; &#x10FFFF;", L"&#x110000; &#1114112; \U0010FFFF"},
        {L"&#x1F600;&#X1f600;&#128512;", L"\U0001F600\U0001F600\U0001F600"},
        {L"&#999999999;", L"&#999999999;"},
        {L"&eacute;&Eacute;&EACUTE;&AMP;", L"\u00E9\u00C9\u00C9&"},
        {L"&&amp;&lt", L"&&&lt"},
        {L"&\u00E9t\u00E9;", L"&\u00E9t\u00E9;"},
        {L"&amp", L"&amp"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.in);
        EXPECT_EQ(DecodeReferences(c.in.data(), (int)c.in.size()), c.out);
    }
    std::wstring appended = L"head:";
    AppendDecodedReferences(appended, L"a&lt;bXXX", 6);
    EXPECT_EQ(appended, L"head:a<b");
    EXPECT_EQ(DecodeReferences(nullptr, 0), L"");
}

TEST(XmlReferences, EntityLookup)
{
    struct Case { const wchar_t* name; unsigned codePoint; };
    const Case cases[] = {
        {L"amp", 38}, {L"lt", 60}, {L"gt", 62}, {L"quot", 34}, {L"apos", 39}, {L"nbsp", 160},
        {L"yuml", 255}, {L"Yuml", 376}, {L"eacute", 233}, {L"Eacute", 201}, {L"EACUTE", 201}, {L"eAcute", 201},
        {L"alpha", 945}, {L"Alpha", 913}, {L"ALPHA", 913}, {L"thetasym", 977}, {L"euro", 8364},
        {L"Dagger", 8225}, {L"dagger", 8224}, {L"fnof", 402}, {L"diams", 9830}, {L"rArr", 8658},
        {L"rarr", 8594}, {L"RARR", 8658}, {L"Amp", 38}, {L"LT", 60},
        {L"foo", 0}, {L"", 0}, {L"thetasymx", 0}, {L"ampx", 0}, {L"am", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(LookupEntity(c.name, (int)wcslen(c.name)), c.codePoint);
    }
    EXPECT_EQ(LookupEntity(L"ampersand", 3), 38u);
    EXPECT_EQ(LookupEntity(nullptr, 0), 0u);
}
