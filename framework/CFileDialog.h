#pragma once
#include <windows.h>
#include <commdlg.h>
#include "framework/CObject.h"
#include "framework/CString.h"

class CWnd;

// The system's open and save file dialogs. The filter is written as pairs of
// "description|pattern|" closed by a second "|", as in "*.exe|*.exe||".
class CFileDialog : public CObject {
public:
    CFileDialog(BOOL openFileDialog, const wchar_t* defaultExt = nullptr, const wchar_t* fileName = nullptr,
                DWORD flags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, const wchar_t* filter = nullptr,
                CWnd* parent = nullptr);

    // Runs the dialog, owned by the parent (else the main window); IDOK when a file was
    // chosen, IDCANCEL when the person cancelled or the dialog failed.
    virtual INT_PTR DoModal();

    // The chosen file: the whole path, the name with its extension, the extension alone
    // and the name alone.
    CString GetPathName() const { return CString(m_szFile); }
    CString GetFileName() const;
    CString GetFileExt() const;
    CString GetFileTitle() const;

    OPENFILENAMEW m_ofn;

private:
    BOOL m_bOpen;
    CWnd* m_pParent;
    CString m_strFilter;  // the filter with its separators turned into terminators
    CString m_strDefExt;
    wchar_t m_szFile[1024] = {};
};
