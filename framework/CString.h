#pragma once
#include <windows.h>
#include <string>

// Wide string with the value semantics the programs are written against. Indexes and
// counts that fall outside the string are clamped, so Mid/Left/Right never fault.
class CString {
public:
    CString() = default;
    CString(const wchar_t* s) : m_s(s ? s : L"") {}
    CString(const wchar_t* s, int n) : m_s(s ? std::wstring(s, n > 0 ? n : 0) : std::wstring()) {}
    CString(wchar_t ch, int repeat = 1) : m_s(repeat > 0 ? repeat : 0, ch) {}
    CString(const std::wstring& s) : m_s(s) {}
    CString(std::wstring&& s) : m_s(std::move(s)) {}

    int GetLength() const { return (int)m_s.size(); }
    bool IsEmpty() const { return m_s.empty(); }
    void Empty() { m_s.clear(); }
    const wchar_t* GetString() const { return m_s.c_str(); }
    operator const wchar_t*() const { return m_s.c_str(); }
    const std::wstring& str() const { return m_s; }
    std::wstring& str() { return m_s; }

    wchar_t GetAt(int i) const { return (i >= 0 && i < GetLength()) ? m_s[i] : L'\0'; }
    void SetAt(int i, wchar_t ch) { if (i >= 0 && i < GetLength()) m_s[i] = ch; }
    wchar_t operator[](int i) const { return GetAt(i); }

    CString Mid(int first) const { return Mid(first, GetLength()); }
    CString Mid(int first, int count) const;
    CString Left(int count) const { return Mid(0, count); }
    CString Right(int count) const;

    int Find(wchar_t ch, int start = 0) const;
    int Find(const wchar_t* sub, int start = 0) const;
    int ReverseFind(wchar_t ch) const;

    int Compare(const wchar_t* s) const { return wcscmp(m_s.c_str(), s ? s : L""); }
    int CompareNoCase(const wchar_t* s) const;

    CString& MakeLower();
    CString& MakeUpper();
    CString& Trim();
    CString& TrimLeft();
    CString& TrimRight();
    int Replace(const wchar_t* from, const wchar_t* to);
    int Insert(int index, const wchar_t* s);
    int Delete(int index, int count = 1);

    // printf-style formatting with the C library's wide rules ("%d", "%s" of a wide string).
    void Format(const wchar_t* fmt, ...);
    void AppendFormat(const wchar_t* fmt, ...);

    // A writable buffer of at least minLength characters; ReleaseBuffer cuts at the first
    // terminator (or at newLength when given).
    wchar_t* GetBuffer(int minLength);
    void ReleaseBuffer(int newLength = -1);

    CString& operator=(const wchar_t* s) { m_s = s ? s : L""; return *this; }
    CString& operator+=(const CString& s) { m_s += s.m_s; return *this; }
    CString& operator+=(const wchar_t* s) { if (s) m_s += s; return *this; }
    CString& operator+=(wchar_t ch) { m_s += ch; return *this; }

    friend CString operator+(const CString& a, const CString& b) { return CString(a.m_s + b.m_s); }
    friend CString operator+(const CString& a, const wchar_t* b) { CString r(a); r += b; return r; }
    friend CString operator+(const wchar_t* a, const CString& b) { CString r(a); r += b; return r; }
    friend CString operator+(const CString& a, wchar_t ch) { CString r(a); r += ch; return r; }
    friend bool operator==(const CString& a, const CString& b) { return a.m_s == b.m_s; }
    friend bool operator==(const CString& a, const wchar_t* b) { return a.Compare(b) == 0; }
    friend bool operator==(const wchar_t* a, const CString& b) { return b.Compare(a) == 0; }
    friend bool operator!=(const CString& a, const CString& b) { return !(a == b); }
    friend bool operator!=(const CString& a, const wchar_t* b) { return !(a == b); }
    friend bool operator<(const CString& a, const CString& b) { return a.m_s < b.m_s; }

private:
    void FormatV(const wchar_t* fmt, va_list args, bool append);
    std::wstring m_s;
};
