#include "core/SkinEntry.h"
#include <gtest/gtest.h>
#include <string>

TEST(SkinEntry, ParsesControlEntries)
{
    struct Case {
        const wchar_t* entry;
        const wchar_t* name;
        RECT rect;
        const wchar_t* text;
        BOOL flag;
    } cases[] = {
        {L"BUTTON_OK,10,20,80,24,OK,FALSE", L"BUTTON_OK", {10, 20, 90, 44}, L"OK", FALSE},
        {L"CHECK,5,6,20,20,Show,TRUE", L"CHECK", {5, 6, 25, 26}, L"Show", TRUE},
        // "TRUE" anywhere after the name sets the flag, the caption included.
        {L"LABEL,1,2,3,4,TRUE colour,FALSE", L"LABEL", {1, 2, 4, 6}, L"TRUE colour", TRUE},
        // Case-sensitive, and the name itself does not count.
        {L"TRUE_NAME,1,2,3,4,x,true", L"TRUE_NAME", {1, 2, 4, 6}, L"x", FALSE},
        {L"NEG,-10,-20,30,40,Tip text with spaces,FALSE", L"NEG", {-10, -20, 20, 20}, L"Tip text with spaces", FALSE},
        // The caption is the field before the last one: a comma in it cuts it.
        {L"B,1,1,1,1,a,b,FALSE", L"B", {1, 1, 2, 2}, L"b", FALSE},
        // Missing numbers stay 0; reading stops at the first field that is not a number.
        {L"B,7,x,5,5,t,FALSE", L"B", {7, 0, 7, 0}, L"t", FALSE},
        {L"B,7", L"B", {7, 0, 7, 0}, L"", FALSE},
        {L"ONLYNAME", L"", {0, 0, 0, 0}, L"", FALSE},
        // Without a comma there is no name and nothing after it: no numbers, no flag.
        {L"12", L"", {0, 0, 0, 0}, L"", FALSE},
        {L"TRUE", L"", {0, 0, 0, 0}, L"", FALSE},
        // An empty name before the first comma.
        {L",3,4,5,6,t,TRUE", L"", {3, 4, 8, 10}, L"t", TRUE},
        {L"", L"", {0, 0, 0, 0}, L"", FALSE},
        {nullptr, L"", {0, 0, 0, 0}, L"", FALSE},
        // Numbers beyond the int range are clamped, so the sums cannot overflow.
        {L"BIG,2147483647,99999999999,2147483647,-99999999999,t,F", L"BIG",
         {2147483647, 2147483647, 2147483647, -1}, L"t", FALSE},
    };
    for (auto& c : cases) {
        SCOPED_TRACE(c.entry ? c.entry : L"(null)");
        SkinEntry e;
        memset(&e, 0x5A, sizeof(e));
        EXPECT_EQ(ParseSkinEntry(c.entry, e), 1);
        EXPECT_STREQ(e.name, c.name);
        EXPECT_EQ(e.rect.left, c.rect.left);
        EXPECT_EQ(e.rect.top, c.rect.top);
        EXPECT_EQ(e.rect.right, c.rect.right);
        EXPECT_EQ(e.rect.bottom, c.rect.bottom);
        EXPECT_STREQ(e.text, c.text);
        EXPECT_EQ(e.flag, c.flag);
    }
}

TEST(SkinEntry, CutsFieldsLongerThanTheRecord)
{
    std::wstring name(60, L'N'), text(150, L'T');
    std::wstring entry = name + L",1,2,3,4," + text + L",FALSE";
    SkinEntry e;
    ParseSkinEntry(entry.c_str(), e);
    EXPECT_EQ(std::wstring(e.name), std::wstring(39, L'N'));
    EXPECT_EQ(std::wstring(e.text), std::wstring(99, L'T'));
    EXPECT_EQ(e.rect.right, 4);
}

TEST(TextEntry, ParsesLabelEntries)
{
    struct Case {
        const wchar_t* entry;
        int yBefore;
        int x, y;
        const wchar_t* text;
    } cases[] = {
        {L"12,34,Hello", -1, 12, 34, L"Hello"},
        {L"12,34,a,b", -1, 12, 34, L"b"},
        {L"-5,7,Some label text", -1, -5, 7, L"Some label text"},
        {L"12,34,", -1, 12, 34, L""},
        // No number for y: y keeps what the caller set.
        {L"12,abc", 77, 12, 77, L"abc"},
        // No comma: x is 0, y is read from the whole text, the text is the whole text.
        {L"56", 77, 0, 56, L"56"},
        {L"plain", 77, 0, 77, L"plain"},
        {L"", 77, 0, 77, L""},
        {nullptr, 77, 0, 77, L""},
        {L"x,9,t", 0, 0, 9, L"t"},
    };
    for (auto& c : cases) {
        SCOPED_TRACE(c.entry ? c.entry : L"(null)");
        TextEntry t;
        t.x = 999;
        t.y = c.yBefore;
        ParseTextEntry(c.entry, t);
        EXPECT_EQ(t.x, c.x);
        EXPECT_EQ(t.y, c.y);
        EXPECT_EQ(t.text, c.text);
    }
}
