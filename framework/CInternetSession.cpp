#include "framework/CInternetSession.h"
#include "framework/CHttpConnection.h"
#include "framework/CHttpFile.h"
#include <algorithm>
#include <string>

namespace {

// The program file's name without its folder and extension.
std::wstring ProgramName()
{
    wchar_t module[MAX_PATH];
    DWORD n = GetModuleFileNameW(nullptr, module, MAX_PATH);
    if (n == 0 || n >= MAX_PATH) return L"Program";
    std::wstring name(module, n);
    size_t slash = name.find_last_of(L"\\/");
    if (slash != std::wstring::npos) name.erase(0, slash + 1);
    size_t dot = name.rfind(L'.');
    if (dot != std::wstring::npos && dot > 0) name.erase(dot);
    return name;
}

} // namespace

CInternetSession::CInternetSession(const wchar_t* agent, DWORD_PTR context, DWORD accessType,
                                   const wchar_t* proxyName, const wchar_t* proxyBypass, DWORD flags)
    : m_context(context)
{
    std::wstring name = agent ? std::wstring(agent) : ProgramName();
    m_hSession = InternetOpenW(name.c_str(), accessType, proxyName, proxyBypass, flags);
}

CInternetSession::~CInternetSession()
{
    Close();
}

void CInternetSession::Close()
{
    if (m_hSession) InternetCloseHandle(m_hSession);
    m_hSession = nullptr;
}

BOOL CInternetSession::SetOption(DWORD option, DWORD value)
{
    if (!m_hSession) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    auto kept = std::find_if(m_options.begin(), m_options.end(), [&](const auto& o) { return o.first == option; });
    if (kept != m_options.end())
        kept->second = value;
    else
        m_options.emplace_back(option, value);
    return InternetSetOptionW(m_hSession, option, &value, sizeof(value));
}

void CInternetSession::ApplyOptions(HINTERNET handle) const
{
    // Not every option applies to every kind of handle; those that do not are refused
    // by WinINet and are of no concern there.
    for (const auto& o : m_options) {
        DWORD value = o.second;
        InternetSetOptionW(handle, o.first, &value, sizeof(value));
    }
}

std::unique_ptr<CHttpConnection> CInternetSession::GetHttpConnection(const wchar_t* server, INTERNET_PORT port,
                                                                     const wchar_t* userName, const wchar_t* password)
{
    if (!m_hSession) {
        SetLastError(ERROR_INVALID_HANDLE);
        return nullptr;
    }
    HINTERNET h = InternetConnectW(m_hSession, server, port, userName, password, INTERNET_SERVICE_HTTP, 0, m_context);
    if (!h) return nullptr;
    ApplyOptions(h);
    return std::unique_ptr<CHttpConnection>(new CHttpConnection(this, h, m_context));
}

std::unique_ptr<CHttpFile> CInternetSession::OpenURL(const wchar_t* url, DWORD_PTR context, DWORD flags,
                                                     const wchar_t* headers, DWORD headersLength)
{
    wchar_t host[INTERNET_MAX_HOST_NAME_LENGTH + 1];
    wchar_t path[INTERNET_MAX_PATH_LENGTH + 1];
    wchar_t extra[INTERNET_MAX_PATH_LENGTH + 1];
    URL_COMPONENTSW parts = {};
    parts.dwStructSize = sizeof(parts);
    parts.lpszHostName = host;
    parts.dwHostNameLength = INTERNET_MAX_HOST_NAME_LENGTH + 1;
    parts.lpszUrlPath = path;
    parts.dwUrlPathLength = INTERNET_MAX_PATH_LENGTH + 1;
    parts.lpszExtraInfo = extra;
    parts.dwExtraInfoLength = INTERNET_MAX_PATH_LENGTH + 1;
    if (!url || !InternetCrackUrlW(url, 0, 0, &parts)) return nullptr;
    if (parts.nScheme != INTERNET_SCHEME_HTTP && parts.nScheme != INTERNET_SCHEME_HTTPS) {
        SetLastError(ERROR_INTERNET_UNRECOGNIZED_SCHEME);
        return nullptr;
    }
    if (parts.nScheme == INTERNET_SCHEME_HTTPS) flags |= INTERNET_FLAG_SECURE;
    flags &= ~(DWORD)(INTERNET_FLAG_TRANSFER_ASCII | INTERNET_FLAG_TRANSFER_BINARY);

    std::unique_ptr<CHttpConnection> connection = GetHttpConnection(host, parts.nPort);
    if (!connection) return nullptr;
    std::wstring object = std::wstring(path) + extra;
    if (object.empty()) object = L"/";
    std::unique_ptr<CHttpFile> file = connection->OpenRequest(L"GET", object.c_str(), nullptr, context, nullptr,
                                                              nullptr, flags);
    if (!file || !file->SendRequest(headers, headersLength)) return nullptr;
    file->KeepConnection(std::move(connection));
    return file;
}
