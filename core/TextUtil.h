#pragma once
#include <windows.h>
#include "framework/CString.h"

// Longest result of UrlEncodeUtf8, in characters.
constexpr int URL_ENCODE_MAX_CHARS = 254;

// The text as UTF-8 with every byte of 128 and above written as "%XX" (upper-case hex);
// other bytes, spaces and reserved characters included, pass as they are. The result is
// cut before a whole character so it never exceeds URL_ENCODE_MAX_CHARS.
CString UrlEncodeUtf8(const wchar_t* text);

// A new wide copy of zero-terminated UTF-8 text, allocated with CoTaskMemAlloc (the
// caller frees it with CoTaskMemFree). Null input gives null and S_OK.
HRESULT Utf8ToWide(const char* utf8, wchar_t** out);
