#include "framework/CHttpConnection.h"
#include "framework/CHttpFile.h"
#include "framework/CInternetSession.h"

CHttpConnection::CHttpConnection(const CInternetSession* session, HINTERNET hConnection, DWORD_PTR context)
    : m_pSession(session), m_hConnection(hConnection), m_context(context)
{
}

CHttpConnection::~CHttpConnection()
{
    Close();
}

void CHttpConnection::Close()
{
    if (m_hConnection) InternetCloseHandle(m_hConnection);
    m_hConnection = nullptr;
}

std::unique_ptr<CHttpFile> CHttpConnection::OpenRequest(const wchar_t* verb, const wchar_t* objectName,
                                                        const wchar_t* referer, DWORD_PTR context,
                                                        const wchar_t** acceptTypes, const wchar_t* version,
                                                        DWORD flags)
{
    if (!m_hConnection) {
        SetLastError(ERROR_INVALID_HANDLE);
        return nullptr;
    }
    HINTERNET h = HttpOpenRequestW(m_hConnection, verb, objectName, version, referer, acceptTypes, flags, context);
    if (!h) return nullptr;
    if (m_pSession) m_pSession->ApplyOptions(h);
    return std::unique_ptr<CHttpFile>(new CHttpFile(h));
}
