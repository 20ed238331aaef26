#include "framework/CString.h"
#include <gtest/gtest.h>

TEST(CString, MidLeftRightClampOutOfRange)
{
    CString s(L"abcdef");
    struct Case { CString got; const wchar_t* want; } cases[] = {
        {s.Mid(2, 2), L"cd"}, {s.Mid(4), L"ef"}, {s.Mid(-3, 2), L"ab"}, {s.Mid(10, 2), L""},
        {s.Mid(3, -1), L""}, {s.Mid(3, 100), L"def"}, {s.Left(-1), L""}, {s.Left(99), L"abcdef"},
        {s.Right(2), L"ef"}, {s.Right(-5), L""}, {s.Right(99), L"abcdef"},
    };
    for (auto& c : cases) EXPECT_EQ(c.got, c.want);
    EXPECT_EQ(s.GetAt(99), L'\0');
}

TEST(CString, BehavesAsAValue)
{
    CString a(L"one");
    CString b = a;
    b += L" two";
    EXPECT_EQ(a, L"one");
    EXPECT_EQ(b, L"one two");
    CString c = a + L"/" + b;
    EXPECT_EQ(c, L"one/one two");
    EXPECT_EQ(c.Find(L"two"), 8);
    EXPECT_EQ(c.Find(L'x'), -1);
    EXPECT_EQ(c.Find(L'o', 99), -1);
}

TEST(CString, FormatUsesWideStringsAndNumbers)
{
    CString s;
    s.Format(L"%s %d,%d,", L"Profile", 3, -1);
    EXPECT_EQ(s, L"Profile 3,-1,");
    s.AppendFormat(L"%s", L"x");
    EXPECT_EQ(s, L"Profile 3,-1,x");
    CString big;
    big.Format(L"%s", std::wstring(5000, L'z').c_str());
    EXPECT_EQ(big.GetLength(), 5000);
}

TEST(CString, EditingHelpers)
{
    CString s(L"  Hello World  ");
    s.Trim();
    EXPECT_EQ(s, L"Hello World");
    EXPECT_EQ(s.Replace(L"o", L"oo"), 2);
    EXPECT_EQ(s, L"Helloo Woorld");
    s.Delete(0, 100);
    EXPECT_EQ(s, L"");
    s.Insert(5, L"ab");
    EXPECT_EQ(s, L"ab");
    EXPECT_EQ(CString(L"ABC").CompareNoCase(L"abc"), 0);
    wchar_t* p = s.GetBuffer(10);
    wcscpy(p, L"xyz");
    s.ReleaseBuffer();
    EXPECT_EQ(s, L"xyz");
}
