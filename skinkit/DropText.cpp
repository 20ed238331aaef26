#include "skinkit/DropText.h"

BOOL TakeDroppedText(COleDataObject* data, CString& text)
{
    text.Empty();
    if (!data || !data->IsDataAvailable(CF_UNICODETEXT)) return FALSE;
    HGLOBAL block = data->GetGlobalData(CF_UNICODETEXT);
    if (!block) return FALSE;
    SIZE_T chars = GlobalSize(block) / sizeof(wchar_t);
    const wchar_t* p = (const wchar_t*)GlobalLock(block);
    if (p) {
        // The block need not hold its terminating zero.
        SIZE_T n = 0;
        while (n < chars && p[n]) ++n;
        text = CString(p, (int)n);
        GlobalUnlock(block);
    }
    GlobalFree(block);
    return TRUE;
}

bool ParseDroppedNumber(const wchar_t* text, int low, int high, int& number)
{
    if (!text) return false;
    const wchar_t* p = text;
    bool negative = *p == L'-';
    if (negative) ++p;
    if (!*p) return false;
    long long value = 0;
    for (; *p; ++p) {
        if (*p < L'0' || *p > L'9') return false;
        value = value * 10 + (*p - L'0');
        if (value > 0x7FFFFFFFLL + 1) return false;
    }
    if (negative) value = -value;
    if (value < low || value > high) return false;
    number = (int)value;
    return true;
}
