#include "core/SkinEntry.h"
#include <climits>
#include <cwchar>
#include <cwctype>

namespace {

// Reads a decimal number as "%d" does (leading white space, optional sign), clamped to
// the int range so that oversized numbers cannot overflow. Answers false when no digit
// follows; p is advanced past what was read.
bool ScanInt(const wchar_t*& p, int& value)
{
    const wchar_t* s = p;
    while (*s && iswspace(*s)) ++s;
    bool negative = false;
    if (*s == L'+' || *s == L'-') negative = (*s++ == L'-');
    if (*s < L'0' || *s > L'9') return false;
    long long v = 0;
    for (; *s >= L'0' && *s <= L'9'; ++s) {
        if (v <= (long long)INT_MAX + 1) v = v * 10 + (*s - L'0');
    }
    if (negative) v = -v;
    if (v > INT_MAX) v = INT_MAX;
    if (v < INT_MIN) v = INT_MIN;
    value = (int)v;
    p = s;
    return true;
}

int ClampedSum(int a, int b)
{
    long long v = (long long)a + b;
    if (v > INT_MAX) return INT_MAX;
    if (v < INT_MIN) return INT_MIN;
    return (int)v;
}

void CopyCut(wchar_t* dest, size_t capacity, const CString& src)
{
    size_t n = (size_t)src.GetLength();
    if (n > capacity - 1) n = capacity - 1;
    wmemcpy(dest, src.GetString(), n);
    dest[n] = L'\0';
}

} // namespace

int ParseSkinEntry(const wchar_t* entry, SkinEntry& out)
{
    ZeroMemory(&out, sizeof(out));
    CString all(entry);
    int comma = all.Find(L',');
    CopyCut(out.name, sizeof(out.name) / sizeof(out.name[0]), comma >= 0 ? all.Left(comma) : CString());
    // Without a comma there is nothing after the name to read.
    CString rest = comma >= 0 ? all.Mid(comma + 1) : CString();

    // "%d,%d,%d,%d": stops at the first field that does not match.
    LONG* fields[] = {&out.rect.left, &out.rect.top, &out.rect.right, &out.rect.bottom};
    const wchar_t* p = rest.GetString();
    for (int i = 0; i < 4; ++i) {
        if (i > 0) {
            if (*p != L',') break;
            ++p;
        }
        int v;
        if (!ScanInt(p, v)) break;
        *fields[i] = v;
    }
    out.rect.right = ClampedSum(out.rect.right, out.rect.left);
    out.rect.bottom = ClampedSum(out.rect.bottom, out.rect.top);

    out.flag = rest.Find(L"TRUE") >= 0 ? TRUE : FALSE;

    CString head = rest.Left(rest.ReverseFind(L','));
    CopyCut(out.text, sizeof(out.text) / sizeof(out.text[0]), head.Mid(head.ReverseFind(L',') + 1));
    return 1;
}

void ParseTextEntry(const wchar_t* entry, TextEntry& out)
{
    CString all(entry);
    int comma = all.Find(L',');
    out.x = 0;
    if (comma >= 0) {
        const wchar_t* p = all.GetString();
        int v;
        if (ScanInt(p, v)) out.x = v;
    }
    CString afterFirst = all.Mid(comma + 1);
    const wchar_t* q = afterFirst.GetString();
    int y;
    if (ScanInt(q, y)) out.y = y;
    out.text = all.Mid(all.ReverseFind(L',') + 1);
}
