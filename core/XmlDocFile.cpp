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

// Every reader of the system's files shares reading, writing and deleting, so a reader
// never keeps another program of the suite from saving.
const DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

// A replace refused while another handle is open is tried again for this long in all; a
// save that writes in place waits this long for readers to finish, and readers wait as
// long for such a save.
const DWORD kReplaceWaitsMs[] = {10, 20, 40, 80, 150};
const DWORD kLockWaitMs = 250;
const DWORD kLockStepMs = 10;

// A lock over the whole file: shared while reading, exclusive while writing in place, so
// no reader of ours sees a file half rewritten. false when the wait ran out.
bool LockWholeFile(HANDLE h, bool exclusive)
{
    DWORD flags = LOCKFILE_FAIL_IMMEDIATELY | (exclusive ? LOCKFILE_EXCLUSIVE_LOCK : 0);
    for (DWORD waited = 0;; waited += kLockStepMs) {
        OVERLAPPED at = {};
        if (LockFileEx(h, flags, 0, MAXDWORD, MAXDWORD, &at)) return true;
        if (waited >= kLockWaitMs) return false;
        Sleep(kLockStepMs);
    }
}

void UnlockWholeFile(HANDLE h)
{
    OVERLAPPED at = {};
    UnlockFileEx(h, 0, MAXDWORD, MAXDWORD, &at);
}

// Reads the whole file from its start through an open handle.
bool ReadAll(HANDLE h, std::vector<unsigned char>& bytes, DWORD& error)
{
    LARGE_INTEGER size;
    if (!GetFileSizeEx(h, &size)) {
        error = GetLastError();
        return false;
    }
    if (size.QuadPart > kMaxFileBytes) {
        error = ERROR_FILE_TOO_LARGE;
        return false;
    }
    LARGE_INTEGER zero = {};
    if (!SetFilePointerEx(h, zero, nullptr, FILE_BEGIN)) {
        error = GetLastError();
        return false;
    }
    bytes.resize((size_t)size.QuadPart);
    size_t done = 0;
    while (done < bytes.size()) {
        DWORD got = 0;
        if (!ReadFile(h, bytes.data() + done, (DWORD)(bytes.size() - done), &got, nullptr)) {
            error = GetLastError();
            return false;
        }
        if (got == 0) {
            bytes.resize(done);  // the file shrank while being read
            break;
        }
        done += got;
    }
    return true;
}

bool ReadWholeFile(const wchar_t* path, std::vector<unsigned char>& bytes, CString& report)
{
    HANDLE h = CreateFileW(path, GENERIC_READ, kShareAll, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        report = SystemMessage(GetLastError());
        return false;
    }
    // A file some other program keeps locked is read all the same, as far as it lets us.
    bool locked = LockWholeFile(h, false);
    DWORD error = 0;
    bool ok = ReadAll(h, bytes, error);
    if (!ok) report = error == ERROR_FILE_TOO_LARGE ? CString(L"File too large") : SystemMessage(error);
    if (locked) UnlockWholeFile(h);
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

// Makes the open file hold exactly bytes: from its start, then cut at their end.
bool Overwrite(HANDLE h, const std::vector<unsigned char>& bytes)
{
    LARGE_INTEGER at = {};
    if (!SetFilePointerEx(h, at, nullptr, FILE_BEGIN) || !WriteAll(h, bytes)) return false;
    return SetEndOfFile(h) && FlushFileBuffers(h);
}

// Replaces target by the complete file tmp; a refusal (some handle on the target without
// delete sharing) is tried again for a short while.
bool ReplaceWithRetry(const wchar_t* tmp, const wchar_t* target, DWORD& error)
{
    for (size_t attempt = 0;; ++attempt) {
        if (MoveFileExW(tmp, target, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) return true;
        error = GetLastError();
        bool busy = error == ERROR_ACCESS_DENIED || error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION;
        if (!busy || attempt == sizeof(kReplaceWaitsMs) / sizeof(kReplaceWaitsMs[0])) return false;
        Sleep(kReplaceWaitsMs[attempt]);
    }
}

// Writes the content into the existing file itself, for a target that cannot be replaced
// (an editor, a virus scanner or a backup tool holding it). The old content is kept in
// memory and written back when the new one cannot be written whole, so a failure leaves
// the file as it was.
bool WriteInPlace(const wchar_t* path, const std::vector<unsigned char>& bytes, DWORD& error)
{
    HANDLE h = CreateFileW(path, GENERIC_READ | GENERIC_WRITE, kShareAll, nullptr, OPEN_EXISTING,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        error = GetLastError();
        return false;
    }
    bool ok = false;
    std::vector<unsigned char> old;
    if (!LockWholeFile(h, true)) {
        error = ERROR_LOCK_VIOLATION;
    } else {
        if (ReadAll(h, old, error)) {
            // Room for the new content first: a full disk then fails before anything changed.
            LARGE_INTEGER size;
            size.QuadPart = (LONGLONG)bytes.size();
            bool room = bytes.size() <= old.size() ||
                        (SetFilePointerEx(h, size, nullptr, FILE_BEGIN) && SetEndOfFile(h));
            ok = room && Overwrite(h, bytes);
            if (!ok) {
                error = GetLastError();
                Overwrite(h, old);
            }
        }
        UnlockWholeFile(h);
    }
    CloseHandle(h);
    return ok;
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
    if (ok && !ReplaceWithRetry(tmp, path, error)) {
        // The target stays where it is: the change goes into it rather than being lost.
        ok = GetFileAttributesW(path) != INVALID_FILE_ATTRIBUTES && WriteInPlace(path, bytes, error);
        if (ok) m_log += L"written in place ";
    }
    DeleteFileW(tmp);
    if (!ok) {
        m_log += SystemMessage(error);
        return false;
    }
    CString written;
    written.Format(L"%u bytes written", (unsigned)bytes.size());
    m_log += written;
    return true;
}
