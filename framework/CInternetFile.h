#pragma once
#include <windows.h>
#include <wininet.h>
#include <string>
#include <vector>
#include "framework/CObject.h"

// The data of an Internet reply, read in blocks or by lines. A read waits only while
// nothing has arrived, and then no longer than the receive time-out; a read limit and a
// deadline bound a whole transfer. Failures answer FALSE and leave Failed() set.
class CInternetFile : public CObject {
public:
    explicit CInternetFile(HINTERNET hFile);
    ~CInternetFile() override;
    CInternetFile(const CInternetFile&) = delete;
    CInternetFile& operator=(const CInternetFile&) = delete;

    operator HINTERNET() const { return m_hFile; }

    // At most count bytes of what has arrived. TRUE with read 0 at the end of the data.
    BOOL Read(void* buffer, UINT count, UINT& read);
    // The next line's bytes without its line end; a line longer than maxBytes is cut
    // there and the rest of it skipped. FALSE at the end of the data or on a failure.
    BOOL ReadString(std::string& line, size_t maxBytes);

    // Bytes taken from the reply so far.
    ULONGLONG GetBytesRead() const { return m_bytesRead; }
    // Reading more than this many bytes in all fails (ERROR_INSUFFICIENT_BUFFER).
    void SetReadLimit(ULONGLONG bytes) { m_readLimit = bytes; }
    // Reading after this tick count fails (ERROR_INTERNET_TIMEOUT).
    void SetDeadline(ULONGLONG tick) { m_deadline = tick; }
    BOOL Failed() const { return m_failed; }

    void Close();

protected:
    HINTERNET m_hFile;

private:
    // Takes the next piece of the reply into the line buffer; false at the end or on a failure.
    bool Fill();
    bool Fail(DWORD error);
    bool TakeFromNetwork(void* buffer, UINT count, UINT& read);

    std::vector<char> m_buffer;
    size_t m_pos = 0;
    size_t m_end = 0;
    ULONGLONG m_bytesRead = 0;
    ULONGLONG m_readLimit = ~0ull;
    ULONGLONG m_deadline = ~0ull;
    BOOL m_failed = FALSE;
};
