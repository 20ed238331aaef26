#include "core/TextUtil.h"
#include <objbase.h>
#include <climits>
#include <cstring>
#include <string>

namespace {

bool IsUnreserved(unsigned char b)
{
    return (b >= 'A' && b <= 'Z') || (b >= 'a' && b <= 'z') || (b >= '0' && b <= '9') || b == '-' || b == '.' ||
           b == '_' || b == '~';
}

} // namespace

CString UrlEncodeUtf8(const wchar_t* text, bool* whole)
{
    CString result;
    if (whole) *whole = true;
    if (!text || !*text) return result;
    int size = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
    if (size <= 1) {
        if (whole) *whole = false;
        return result;
    }
    std::string utf8((size_t)size, '\0');
    WideCharToMultiByte(CP_UTF8, 0, text, -1, &utf8[0], size, nullptr, nullptr);
    utf8.resize((size_t)size - 1);

    // Whole UTF-8 sequences only: a cut never leaves half an escape or half a character.
    static const wchar_t hex[] = L"0123456789ABCDEF";
    std::wstring& out = result.str();
    size_t i = 0;
    while (i < utf8.size()) {
        size_t end = i + 1;
        while (end < utf8.size() && ((unsigned char)utf8[end] & 0xC0) == 0x80) ++end;
        size_t need = 0;
        for (size_t k = i; k < end; ++k) need += IsUnreserved((unsigned char)utf8[k]) ? 1 : 3;
        if (out.size() + need > (size_t)URL_ENCODE_MAX_CHARS) {
            if (whole) *whole = false;
            break;
        }
        for (; i < end; ++i) {
            unsigned char b = (unsigned char)utf8[i];
            if (IsUnreserved(b)) {
                out += (wchar_t)b;
            } else {
                out += L'%';
                out += hex[b >> 4];
                out += hex[b & 0x0F];
            }
        }
    }
    return result;
}

HRESULT Utf8ToWide(const char* utf8, wchar_t** out)
{
    if (!out) return E_POINTER;
    *out = nullptr;
    if (!utf8) return S_OK;
    size_t length = strlen(utf8);
    if (length >= (size_t)INT_MAX / sizeof(wchar_t) - 1) return E_OUTOFMEMORY;
    wchar_t* wide = (wchar_t*)CoTaskMemAlloc((length + 1) * sizeof(wchar_t));
    if (!wide) return E_OUTOFMEMORY;
    if (MultiByteToWideChar(CP_UTF8, 0, utf8, (int)length + 1, wide, (int)length + 1) == 0) {
        HRESULT hr = HRESULT_FROM_WIN32(GetLastError());
        CoTaskMemFree(wide);
        return hr;
    }
    *out = wide;
    return S_OK;
}
