#include "framework/CFileDialog.h"
#include "framework/CWinApp.h"
#include "framework/CWnd.h"

CFileDialog::CFileDialog(BOOL openFileDialog, const wchar_t* defaultExt, const wchar_t* fileName, DWORD flags,
                         const wchar_t* filter, CWnd* parent)
    : m_bOpen(openFileDialog), m_pParent(parent), m_strDefExt(defaultExt)
{
    ZeroMemory(&m_ofn, sizeof(m_ofn));
    m_ofn.lStructSize = sizeof(m_ofn);
    m_ofn.Flags = flags | OFN_EXPLORER | OFN_ENABLESIZING;
    if (fileName) lstrcpynW(m_szFile, fileName, (int)(sizeof(m_szFile) / sizeof(m_szFile[0])));
    if (filter && *filter) {
        m_strFilter = filter;
        // The system wants each part ended by a terminator and the list by two.
        std::wstring& f = m_strFilter.str();
        for (wchar_t& c : f) {
            if (c == L'|') c = L'\0';
        }
        f.push_back(L'\0');
    }
}

INT_PTR CFileDialog::DoModal()
{
    HWND owner = m_pParent ? m_pParent->m_hWnd : nullptr;
    if (!owner) {
        CWnd* main = AfxGetMainWnd();
        if (main) owner = main->m_hWnd;
    }
    m_ofn.hwndOwner = owner;
    m_ofn.hInstance = GetModuleHandleW(nullptr);
    m_ofn.lpstrFilter = m_strFilter.IsEmpty() ? nullptr : m_strFilter.GetString();
    m_ofn.lpstrDefExt = m_strDefExt.IsEmpty() ? nullptr : m_strDefExt.GetString();
    m_ofn.lpstrFile = m_szFile;
    m_ofn.nMaxFile = (DWORD)(sizeof(m_szFile) / sizeof(m_szFile[0]));
    BOOL chosen = m_bOpen ? GetOpenFileNameW(&m_ofn) : GetSaveFileNameW(&m_ofn);
    return chosen ? IDOK : IDCANCEL;
}

CString CFileDialog::GetFileName() const
{
    CString path(m_szFile);
    return path.Mid(path.ReverseFind(L'\\') + 1);
}

CString CFileDialog::GetFileExt() const
{
    CString name = GetFileName();
    int dot = name.ReverseFind(L'.');
    return dot < 0 ? CString() : name.Mid(dot + 1);
}

CString CFileDialog::GetFileTitle() const
{
    CString name = GetFileName();
    int dot = name.ReverseFind(L'.');
    return dot < 0 ? name : name.Left(dot);
}
