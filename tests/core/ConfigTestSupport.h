#pragma once
#include "TestSupport.h"
#include "core/AppPaths.h"
#include "core/ConfigData.h"
#include <string>

// Points g_szConfDir at a fresh temporary folder for one test and restores it after.
class ConfFolder {
public:
    ConfFolder() : ConfFolder(L"") {}
    explicit ConfFolder(const wchar_t* sub)
    {
        wcscpy(m_saved, g_szConfDir);
        m_path = m_dir.Path() + sub;
        CreateDirectoryW(m_path, nullptr);
        wcscpy(g_szConfDir, m_path);
    }
    ~ConfFolder() { wcscpy(g_szConfDir, m_saved); }
    const CString& Path() const { return m_path; }
    CString File(const wchar_t* name) const { return m_path + name; }

private:
    TempDir m_dir;
    CString m_path;
    wchar_t m_saved[MAX_PATH];
};

// Reset and validated: the defaults.
std::unique_ptr<ConfigData> DefaultRecord();
// Every field set away from its default, texts with markup characters, macros with events.
std::unique_ptr<ConfigData> RichRecord();

// Text edits for building test files; each fails the test when its anchor is missing.
void ReplaceAfter(std::wstring& text, const std::wstring& anchor, const std::wstring& from, const std::wstring& to);
void EraseAfter(std::wstring& text, const std::wstring& anchor, const std::wstring& what);
void InsertAfter(std::wstring& text, const std::wstring& anchor, const std::wstring& what);
std::wstring Repeat(wchar_t ch, int count);
