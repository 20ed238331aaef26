#pragma once
#include "framework/CInternetFile.h"
#include "framework/CString.h"
#include <memory>

class CHttpConnection;

// An HTTP request and its reply.
class CHttpFile : public CInternetFile {
public:
    explicit CHttpFile(HINTERNET hRequest);
    ~CHttpFile() override;

    // length -1: the headers are zero-terminated.
    BOOL AddRequestHeaders(const wchar_t* headers, DWORD flags = HTTP_ADDREQ_FLAG_ADD_IF_NEW, int length = -1);
    BOOL SendRequest(const wchar_t* headers = nullptr, DWORD headersLength = 0, void* optional = nullptr,
                     DWORD optionalLength = 0);
    BOOL QueryInfoStatusCode(DWORD& status) const;
    // A reply header as a number (infoLevel with HTTP_QUERY_FLAG_NUMBER).
    BOOL QueryInfo(DWORD infoLevel, DWORD& value) const;
    // A reply header as text; FALSE when the reply has none.
    BOOL QueryInfo(DWORD infoLevel, CString& value) const;

    // A connection made only for this request (by CInternetSession::OpenURL) goes with it.
    void KeepConnection(std::unique_ptr<CHttpConnection> connection);

private:
    std::unique_ptr<CHttpConnection> m_pConnection;
};
