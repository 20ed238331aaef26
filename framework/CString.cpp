#include "framework/CString.h"
#include <cstdarg>
#include <cwctype>
#include <cstdio>

CString CString::Mid(int first, int count) const
{
    int len = GetLength();
    if (first < 0) first = 0;
    if (first > len) first = len;
    if (count < 0) count = 0;
    if (count > len - first) count = len - first;
    return CString(m_s.substr(first, count));
}

CString CString::Right(int count) const
{
    int len = GetLength();
    if (count < 0) count = 0;
    if (count > len) count = len;
    return CString(m_s.substr(len - count));
}

int CString::Find(wchar_t ch, int start) const
{
    if (start < 0 || start > GetLength()) return -1;
    size_t p = m_s.find(ch, start);
    return p == std::wstring::npos ? -1 : (int)p;
}

int CString::Find(const wchar_t* sub, int start) const
{
    if (!sub || start < 0 || start > GetLength()) return -1;
    size_t p = m_s.find(sub, start);
    return p == std::wstring::npos ? -1 : (int)p;
}

int CString::ReverseFind(wchar_t ch) const
{
    size_t p = m_s.rfind(ch);
    return p == std::wstring::npos ? -1 : (int)p;
}

int CString::CompareNoCase(const wchar_t* s) const
{
    return _wcsicmp(m_s.c_str(), s ? s : L"");
}

CString& CString::MakeLower()
{
    for (auto& c : m_s) c = (wchar_t)towlower(c);
    return *this;
}

CString& CString::MakeUpper()
{
    for (auto& c : m_s) c = (wchar_t)towupper(c);
    return *this;
}

CString& CString::TrimLeft()
{
    size_t i = 0;
    while (i < m_s.size() && iswspace(m_s[i])) ++i;
    m_s.erase(0, i);
    return *this;
}

CString& CString::TrimRight()
{
    size_t n = m_s.size();
    while (n > 0 && iswspace(m_s[n - 1])) --n;
    m_s.resize(n);
    return *this;
}

CString& CString::Trim()
{
    return TrimRight().TrimLeft();
}

int CString::Replace(const wchar_t* from, const wchar_t* to)
{
    if (!from || !*from) return 0;
    std::wstring f(from), t(to ? to : L"");
    int count = 0;
    for (size_t p = m_s.find(f); p != std::wstring::npos; p = m_s.find(f, p + t.size())) {
        m_s.replace(p, f.size(), t);
        ++count;
    }
    return count;
}

int CString::Insert(int index, const wchar_t* s)
{
    if (index < 0) index = 0;
    if (index > GetLength()) index = GetLength();
    if (s) m_s.insert(index, s);
    return GetLength();
}

int CString::Delete(int index, int count)
{
    if (index >= 0 && index < GetLength() && count > 0)
        m_s.erase(index, count);
    return GetLength();
}

void CString::FormatV(const wchar_t* fmt, va_list args, bool append)
{
    if (!append) m_s.clear();
    if (!fmt) return;
    va_list copy;
    va_copy(copy, args);
    int n = _vscwprintf(fmt, copy);
    va_end(copy);
    if (n <= 0) return;
    size_t old = m_s.size();
    m_s.resize(old + n + 1);
    _vsnwprintf(&m_s[old], n + 1, fmt, args);
    m_s.resize(old + n);
}

void CString::Format(const wchar_t* fmt, ...)
{
    va_list args;
    va_start(args, fmt);
    FormatV(fmt, args, false);
    va_end(args);
}

void CString::AppendFormat(const wchar_t* fmt, ...)
{
    va_list args;
    va_start(args, fmt);
    FormatV(fmt, args, true);
    va_end(args);
}

wchar_t* CString::GetBuffer(int minLength)
{
    if (minLength > GetLength()) m_s.resize(minLength);
    return &m_s[0];
}

void CString::ReleaseBuffer(int newLength)
{
    if (newLength < 0) newLength = (int)wcsnlen(m_s.c_str(), m_s.size());
    if (newLength > GetLength()) newLength = GetLength();
    m_s.resize(newLength);
}
