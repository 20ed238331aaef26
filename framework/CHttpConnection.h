#pragma once
#include <windows.h>
#include <wininet.h>
#include <memory>
#include "framework/CObject.h"

class CInternetSession;
class CHttpFile;

// A connection to one HTTP server, made by CInternetSession::GetHttpConnection. It must go
// before its session, and the requests made from it before it.
class CHttpConnection : public CObject {
public:
    CHttpConnection(const CInternetSession* session, HINTERNET hConnection, DWORD_PTR context);
    ~CHttpConnection() override;
    CHttpConnection(const CHttpConnection&) = delete;
    CHttpConnection& operator=(const CHttpConnection&) = delete;

    operator HINTERNET() const { return m_hConnection; }

    // A request not yet sent; null on failure. acceptTypes is a null-terminated list.
    std::unique_ptr<CHttpFile> OpenRequest(const wchar_t* verb, const wchar_t* objectName,
                                           const wchar_t* referer = nullptr, DWORD_PTR context = 1,
                                           const wchar_t** acceptTypes = nullptr, const wchar_t* version = nullptr,
                                           DWORD flags = INTERNET_FLAG_EXISTING_CONNECT);
    void Close();

private:
    const CInternetSession* m_pSession;
    HINTERNET m_hConnection;
    DWORD_PTR m_context;
};
