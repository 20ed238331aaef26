#include "framework/CHttpFile.h"
#include "framework/CHttpConnection.h"
#include <string>

CHttpFile::CHttpFile(HINTERNET hRequest) : CInternetFile(hRequest) {}

CHttpFile::~CHttpFile()
{
    // The request before the connection it was made on.
    Close();
}

void CHttpFile::KeepConnection(std::unique_ptr<CHttpConnection> connection)
{
    m_pConnection = std::move(connection);
}

BOOL CHttpFile::AddRequestHeaders(const wchar_t* headers, DWORD flags, int length)
{
    if (!m_hFile || !headers) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    return HttpAddRequestHeadersW(m_hFile, headers, (DWORD)length, flags);
}

BOOL CHttpFile::SendRequest(const wchar_t* headers, DWORD headersLength, void* optional, DWORD optionalLength)
{
    if (!m_hFile) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    if (headers && headersLength == 0) headersLength = (DWORD)-1;
    return HttpSendRequestW(m_hFile, headers, headersLength, optional, optionalLength);
}

BOOL CHttpFile::QueryInfo(DWORD infoLevel, DWORD& value) const
{
    value = 0;
    if (!m_hFile) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    DWORD size = sizeof(value);
    return HttpQueryInfoW(m_hFile, infoLevel, &value, &size, nullptr);
}

BOOL CHttpFile::QueryInfo(DWORD infoLevel, CString& value) const
{
    value.Empty();
    if (!m_hFile) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    DWORD size = 0;
    if (HttpQueryInfoW(m_hFile, infoLevel, nullptr, &size, nullptr) || GetLastError() != ERROR_INSUFFICIENT_BUFFER)
        return FALSE;
    // size is in bytes, with room for the terminator.
    std::wstring text(size / sizeof(wchar_t) + 1, L'\0');
    size = (DWORD)(text.size() * sizeof(wchar_t));
    if (!HttpQueryInfoW(m_hFile, infoLevel, &text[0], &size, nullptr)) return FALSE;
    text.resize(size / sizeof(wchar_t));
    value = text.c_str();
    return TRUE;
}

BOOL CHttpFile::QueryInfoStatusCode(DWORD& status) const
{
    return QueryInfo(HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, status);
}
