#include "core/XmlDoc.h"
#include "core/XmlEncoding.h"
#include <cstring>
#include <vector>

namespace {

// Larger files are refused: offsets in the document are 32-bit.
const LONGLONG kMaxFileBytes = 0x20000000;

// The first line of the system's message for an error code.
CString SystemMessage(DWORD error)
{
    wchar_t* buf = nullptr;
    DWORD n = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                             nullptr, error, 0, (wchar_t*)&buf, 0, nullptr);
    CString text;
    if (n && buf) {
        text = CString(buf, (int)n);
        LocalFree(buf);
        int eol = 0;
        while (eol < text.GetLength() && text[eol] != L'\r' && text[eol] != L'\n') ++eol;
        text = text.Left(eol);
    }
    if (text.IsEmpty()) text.Format(L"Error %lu", error);
    return text;
}

bool ReadWholeFile(const wchar_t* path, std::vector<unsigned char>& bytes, CString& report)
{
    HANDLE h = CreateFileW(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        report = SystemMessage(GetLastError());
        return false;
    }
    LARGE_INTEGER size;
    bool ok = GetFileSizeEx(h, &size) != 0;
    if (!ok) {
        report = SystemMessage(GetLastError());
    } else if (size.QuadPart > kMaxFileBytes) {
        report = L"File too large";
        ok = false;
    } else {
        bytes.resize((size_t)size.QuadPart);
        size_t done = 0;
        while (ok && done < bytes.size()) {
            DWORD got = 0;
            if (!ReadFile(h, bytes.data() + done, (DWORD)(bytes.size() - done), &got, nullptr)) {
                report = SystemMessage(GetLastError());
                ok = false;
            } else if (got == 0) {
                bytes.resize(done);  // the file shrank while being read
                break;
            }
            done += got;
        }
    }
    CloseHandle(h);
    return ok;
}

// The folder part of a path, with its trailing separator ("" for a bare name).
std::wstring FolderOf(const std::wstring& path)
{
    size_t cut = path.find_last_of(L"\\/");
    return cut == std::wstring::npos ? std::wstring() : path.substr(0, cut + 1);
}

bool WriteAll(HANDLE h, const std::vector<unsigned char>& bytes)
{
    size_t done = 0;
    while (done < bytes.size()) {
        DWORD chunk = (DWORD)((bytes.size() - done) > 0x10000000 ? 0x10000000 : bytes.size() - done);
        DWORD put = 0;
        if (!WriteFile(h, bytes.data() + done, chunk, &put, nullptr) || put == 0) return false;
        done += put;
    }
    return true;
}

} // namespace

bool CXmlDoc::LoadFile(const wchar_t* path)
{
    std::vector<unsigned char> bytes;
    CString report;
    m_log.Empty();
    if (!path || !ReadWholeFile(path, bytes, report)) {
        // The text is gone, so no position may point into it any more.
        m_text.Empty();
        m_log = path ? report : CString(L"No file name");
        m_nextFreePos = 1;
        memset(&Pos(0), 0, sizeof(XmlElementPos));
        ResetNavigation();
        return false;
    }
    std::wstring text, fileReport;
    XmlEncodingInfo info;
    bool decoded = DecodeFileBytes(bytes.data(), bytes.size(), text, m_docFlags, info, fileReport);
    m_loadedEncoding = info.name;
    m_encodingKnown = info.fromFile;
    m_text = CString(std::move(text));
    m_log = CString(fileReport);
    m_log.TrimRight();
    bool parsed = ParseDocument();
    return decoded && parsed;
}

bool CXmlDoc::SaveFile(const wchar_t* path)
{
    if (!path || !*path) {
        m_log = L"No file name";
        return false;
    }
    // Every byte is ready before anything on disk changes.
    XmlEncodingInfo loaded;
    loaded.fromFile = m_encodingKnown;
    loaded.name = m_loadedEncoding.str();
    std::vector<unsigned char> bytes;
    std::wstring report;
    if (!EncodeFileBytes(m_text.str(), m_docFlags, loaded, bytes, report)) {
        m_log = CString(report);
        m_log.TrimRight();
        if (m_log.IsEmpty()) m_log = L"The text could not be converted";
        return false;
    }
    m_log = CString(report);

    // A read-only target stays as it is, as the system's own replace would leave it.
    DWORD attributes = GetFileAttributesW(path);
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY))) {
        m_log += SystemMessage(ERROR_ACCESS_DENIED);
        return false;
    }

    // The new content goes to a temporary file beside the target, which then replaces the
    // target in one step; a failure on the way leaves the old file untouched.
    std::wstring folder = FolderOf(path);
    wchar_t tmp[MAX_PATH + 16];
    if (folder.size() >= MAX_PATH - 14 || !GetTempFileNameW(folder.empty() ? L"." : folder.c_str(), L"xml", 0, tmp)) {
        m_log += SystemMessage(GetLastError());
        return false;
    }
    HANDLE h = CreateFileW(tmp, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        m_log += SystemMessage(GetLastError());
        DeleteFileW(tmp);
        return false;
    }
    bool ok = WriteAll(h, bytes) && FlushFileBuffers(h);
    DWORD error = ok ? 0 : GetLastError();
    CloseHandle(h);
    if (ok && !MoveFileExW(tmp, path, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        ok = false;
        error = GetLastError();
    }
    if (!ok) {
        m_log += SystemMessage(error);
        DeleteFileW(tmp);
        return false;
    }
    CString written;
    written.Format(L"%u bytes written", (unsigned)bytes.size());
    m_log += written;
    return true;
}
