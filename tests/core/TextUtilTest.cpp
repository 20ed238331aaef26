#include "core/TextUtil.h"
#include <gtest/gtest.h>
#include <objbase.h>
#include <string>

TEST(UrlEncodeUtf8, EscapesEveryByteOutsideTheUnreservedCharacters)
{
    struct Case { const wchar_t* text; const wchar_t* want; } cases[] = {
        {L"Thrandor", L"Thrandor"},
        {L"AZaz09-._~", L"AZaz09-._~"},
        {L"Iron Vale", L"Iron%20Vale"},
        {L"a/b?c=d&e%f+g#", L"a%2Fb%3Fc%3Dd%26e%25f%2Bg%23"},
        {L"../../x", L"..%2F..%2Fx"},
        {L"!$'()*,;:@[]\\\"<>^`{|}", L"%21%24%27%28%29%2A%2C%3B%3A%40%5B%5D%5C%22%3C%3E%5E%60%7B%7C%7D"},
        // Control characters and DEL too.
        {L"\t\x01\r\n\x7f~", L"%09%01%0D%0A%7F~"},
        {L"\x80", L"%C2%80"},
        {L"Ren\u00e9e", L"Ren%C3%A9e"},
        {L"\u00e9", L"%C3%A9"},
        {L"\u00ff", L"%C3%BF"},
        {L"\u20ac5", L"%E2%82%AC5"},
        {L"\U0001F600", L"%F0%9F%98%80"},
        {L"\u00e7a \u00e0", L"%C3%A7a%20%C3%A0"},
        {L"", L""},
        {nullptr, L""},
    };
    for (auto& c : cases) {
        SCOPED_TRACE(c.want);
        bool whole = false;
        EXPECT_EQ(UrlEncodeUtf8(c.text, &whole), c.want);
        EXPECT_TRUE(whole);
    }
}

TEST(UrlEncodeUtf8, StopsAtTheLimitBeforeAWholeCharacter)
{
    struct Case { std::wstring text; std::wstring want; bool whole; } cases[] = {
        {std::wstring(254, L'a'), std::wstring(254, L'a'), true},
        {std::wstring(300, L'a'), std::wstring(254, L'a'), false},
        // 253 letters leave one place: an escape of three characters does not fit.
        {std::wstring(253, L'a') + L"\u00e9", std::wstring(253, L'a'), false},
        {std::wstring(252, L'a') + L"?", std::wstring(252, L'a'), false},
        {std::wstring(251, L'a') + L"?", std::wstring(251, L'a') + L"%3F", true},
        // 249 letters leave five places: the first of two escapes of a character would
        // fit, but the character is not split.
        {std::wstring(249, L'a') + L"\u00e9b", std::wstring(249, L'a'), false},
        {std::wstring(248, L'a') + L"\u00e9b", std::wstring(248, L'a') + L"%C3%A9", false},
        {std::wstring(247, L'a') + L"\u00e9b", std::wstring(247, L'a') + L"%C3%A9b", true},
        // 42 two-byte characters are 252 characters; the 43rd does not fit.
        {std::wstring(50, L'\u00e9'), [] { std::wstring s; for (int i = 0; i < 42; ++i) s += L"%C3%A9"; return s; }(),
         false},
    };
    for (auto& c : cases) {
        bool whole = !c.whole;
        CString got = UrlEncodeUtf8(c.text.c_str(), &whole);
        EXPECT_LE(got.GetLength(), URL_ENCODE_MAX_CHARS);
        EXPECT_EQ(got.str(), c.want);
        EXPECT_EQ(whole, c.whole) << got.GetLength();
    }
}

TEST(Utf8ToWide, ConvertsAndAllocates)
{
    struct Case { const char* utf8; const wchar_t* want; } cases[] = {
        {"Thrandor", L"Thrandor"},
        {"Ren\xC3\xA9" "e", L"Ren\u00e9e"},
        {"\xE2\x82\xAC", L"\u20ac"},
        {"\xF0\x9F\x98\x80", L"\U0001F600"},
        {"", L""},
        // Broken sequences become replacement characters, within the allocated length.
        {"a\xC3", L"a\uFFFD"},
        {"\xFF\xFE", L"\uFFFD\uFFFD"},
    };
    for (auto& c : cases) {
        SCOPED_TRACE(c.utf8);
        wchar_t* out = (wchar_t*)1;
        EXPECT_EQ(Utf8ToWide(c.utf8, &out), S_OK);
        ASSERT_NE(out, nullptr);
        EXPECT_STREQ(out, c.want);
        CoTaskMemFree(out);
    }
}

TEST(Utf8ToWide, NullGivesNullAndSuccess)
{
    wchar_t* out = (wchar_t*)1;
    EXPECT_EQ(Utf8ToWide(nullptr, &out), S_OK);
    EXPECT_EQ(out, nullptr);
}
