#pragma once
#include <windows.h>
#include "framework/CString.h"

// Longest result of UrlEncodeUtf8, in characters.
constexpr int URL_ENCODE_MAX_CHARS = 254;

// The text as UTF-8 with every byte outside the unreserved characters of an address
// (A-Z a-z 0-9 - . _ ~) written as "%XX" (upper-case hex), so the result stands for
// exactly the text in a path segment or a query value. The result is cut before a whole
// character so it never exceeds URL_ENCODE_MAX_CHARS; whole, when given, tells whether
// the text went in without a cut.
CString UrlEncodeUtf8(const wchar_t* text, bool* whole = nullptr);

// A new wide copy of zero-terminated UTF-8 text, allocated with CoTaskMemAlloc (the
// caller frees it with CoTaskMemFree). Null input gives null and S_OK.
HRESULT Utf8ToWide(const char* utf8, wchar_t** out);
