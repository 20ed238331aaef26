#pragma once
#include <windows.h>
#include <wininet.h>
#include <memory>
#include <utility>
#include <vector>
#include "framework/CObject.h"

class CHttpConnection;
class CHttpFile;

// An Internet session over WinINet. Failures answer null or FALSE, with the WinINet error
// in GetLastError. Connections and files made from a session must go before it.
class CInternetSession : public CObject {
public:
    // A null agent is the program's own name.
    explicit CInternetSession(const wchar_t* agent = nullptr, DWORD_PTR context = 1,
                              DWORD accessType = INTERNET_OPEN_TYPE_PRECONFIG, const wchar_t* proxyName = nullptr,
                              const wchar_t* proxyBypass = nullptr, DWORD flags = 0);
    ~CInternetSession() override;
    CInternetSession(const CInternetSession&) = delete;
    CInternetSession& operator=(const CInternetSession&) = delete;

    BOOL IsOpen() const { return m_hSession != nullptr; }
    operator HINTERNET() const { return m_hSession; }
    DWORD_PTR GetContext() const { return m_context; }

    // Sets a number option on the session. It is also given to every connection and
    // request made afterwards, so time-outs bind each step of an exchange whichever
    // handle WinINet takes them from.
    BOOL SetOption(DWORD option, DWORD value);
    // Gives the options set so far to a handle made from this session.
    void ApplyOptions(HINTERNET handle) const;

    std::unique_ptr<CHttpConnection> GetHttpConnection(const wchar_t* server,
                                                       INTERNET_PORT port = INTERNET_DEFAULT_HTTP_PORT,
                                                       const wchar_t* userName = nullptr,
                                                       const wchar_t* password = nullptr);
    // Sends a GET for an http:// (or https://) address and answers once the reply's
    // headers have arrived. flags are request flags (INTERNET_FLAG_*); the transfer-type
    // flags, which only mean something for FTP, are accepted and dropped.
    std::unique_ptr<CHttpFile> OpenURL(const wchar_t* url, DWORD_PTR context = 1,
                                       DWORD flags = INTERNET_FLAG_TRANSFER_ASCII, const wchar_t* headers = nullptr,
                                       DWORD headersLength = 0);
    void Close();

private:
    HINTERNET m_hSession = nullptr;
    DWORD_PTR m_context;
    std::vector<std::pair<DWORD, DWORD>> m_options;
};
