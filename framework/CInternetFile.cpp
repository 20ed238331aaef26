#include "framework/CInternetFile.h"
#include <cstring>

CInternetFile::CInternetFile(HINTERNET hFile) : m_hFile(hFile) {}

CInternetFile::~CInternetFile()
{
    Close();
}

void CInternetFile::Close()
{
    if (m_hFile) InternetCloseHandle(m_hFile);
    m_hFile = nullptr;
}

bool CInternetFile::Fail(DWORD error)
{
    m_failed = TRUE;
    SetLastError(error);
    return false;
}

bool CInternetFile::TakeFromNetwork(void* buffer, UINT count, UINT& read)
{
    read = 0;
    if (!m_hFile) return Fail(ERROR_INVALID_HANDLE);
    if (GetTickCount64() >= m_deadline) return Fail(ERROR_INTERNET_TIMEOUT);
    // Asking for what has arrived first keeps a read from waiting on a slow sender for
    // more than one receive time-out.
    DWORD available = 0;
    if (!InternetQueryDataAvailable(m_hFile, &available, 0, 0)) return Fail(GetLastError());
    if (available == 0) return true;
    DWORD want = available < count ? available : count;
    DWORD got = 0;
    if (!InternetReadFile(m_hFile, buffer, want, &got)) return Fail(GetLastError());
    if (m_bytesRead + got > m_readLimit) return Fail(ERROR_INSUFFICIENT_BUFFER);
    m_bytesRead += got;
    read = got;
    return true;
}

BOOL CInternetFile::Read(void* buffer, UINT count, UINT& read)
{
    read = 0;
    if (m_failed) return FALSE;
    if (m_pos < m_end) {
        size_t n = m_end - m_pos < count ? m_end - m_pos : count;
        memcpy(buffer, m_buffer.data() + m_pos, n);
        m_pos += n;
        read = (UINT)n;
        return TRUE;
    }
    return TakeFromNetwork(buffer, count, read) ? TRUE : FALSE;
}

bool CInternetFile::Fill()
{
    if (m_buffer.empty()) m_buffer.resize(4096);
    m_pos = m_end = 0;
    UINT got = 0;
    if (!TakeFromNetwork(m_buffer.data(), (UINT)m_buffer.size(), got)) return false;
    m_end = got;
    return got > 0;
}

BOOL CInternetFile::ReadString(std::string& line, size_t maxBytes)
{
    line.clear();
    if (m_failed) return FALSE;
    bool any = false;
    for (;;) {
        if (m_pos == m_end && !Fill()) break;
        any = true;
        const char* start = m_buffer.data() + m_pos;
        const char* newline = static_cast<const char*>(memchr(start, '\n', m_end - m_pos));
        size_t n = newline ? (size_t)(newline - start) : m_end - m_pos;
        if (line.size() < maxBytes) line.append(start, n < maxBytes - line.size() ? n : maxBytes - line.size());
        m_pos += n;
        if (newline) {
            ++m_pos;
            break;
        }
    }
    if (!line.empty() && line.back() == '\r') line.pop_back();
    return any && !m_failed;
}
