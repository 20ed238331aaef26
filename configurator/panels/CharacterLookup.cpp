#include "configurator/panels/CharacterLookup.h"
#include "configurator/panels/CharacterScan.h"
#include "configurator/panels/CharacterServices.h"
#include "core/TextUtil.h"
#include "framework/CHttpConnection.h"
#include "framework/CHttpFile.h"
#include "framework/CInternetSession.h"
#include <objbase.h>
#include <cstring>
#include <string>

namespace {

const UINT kApiReplyBytes = 4096;                  // the record fits; the rest is not read
const ULONGLONG kMaxPageBytes = 1024 * 1024;       // a character sheet is far smaller
const ULONGLONG kMaxPictureBytes = 4 * 1024 * 1024;
const size_t kMaxLineBytes = 16 * 1024;
const UINT kPictureBlock = 1024;
// Every reply fresh from the service. Redirects are followed here rather than by WinINet,
// which under Wine follows one that leads back to itself for ever.
const DWORD kRequestFlags = INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE | INTERNET_FLAG_NO_AUTO_REDIRECT;
// More redirects than this from one request go round in circles.
const int kMostRedirects = 10;

// The time-outs bind every session: connecting, sending and each wait for data.
void SetTimeouts(CInternetSession& session)
{
    const CharacterServiceSettings& s = CharacterServices();
    session.SetOption(INTERNET_OPTION_CONNECT_TIMEOUT, s.connectTimeoutMs);
    session.SetOption(INTERNET_OPTION_SEND_TIMEOUT, s.sendTimeoutMs);
    session.SetOption(INTERNET_OPTION_RECEIVE_TIMEOUT, s.receiveTimeoutMs);
    session.SetOption(INTERNET_OPTION_DATA_SEND_TIMEOUT, s.sendTimeoutMs);
    session.SetOption(INTERNET_OPTION_DATA_RECEIVE_TIMEOUT, s.receiveTimeoutMs);
    session.SetOption(INTERNET_OPTION_CONNECT_RETRIES, 3);
}

bool IsOk(const CHttpFile& reply)
{
    DWORD status = 0;
    return reply.QueryInfoStatusCode(status) && status == HTTP_STATUS_OK;
}

// The reading of a reply stops at limit bytes and at the exchange's time limit.
void BoundReading(CHttpFile& reply, ULONGLONG limit)
{
    reply.SetReadLimit(limit);
    reply.SetDeadline(GetTickCount64() + CharacterServices().exchangeLimitMs);
}

// Where a redirect of a GET to from leads, as the session would follow it by default;
// empty when the reply is no redirect.
CString RedirectTarget(const CHttpFile& reply, const CString& from)
{
    DWORD status = 0;
    if (!reply.QueryInfoStatusCode(status)) return CString();
    if (status != HTTP_STATUS_MOVED && status != HTTP_STATUS_REDIRECT && status != HTTP_STATUS_REDIRECT_METHOD &&
        status != HTTP_STATUS_REDIRECT_KEEP_VERB && status != 308)
        return CString();
    CString location;
    if (!reply.QueryInfo(HTTP_QUERY_LOCATION, location) || location.IsEmpty()) return CString();
    wchar_t target[INTERNET_MAX_URL_LENGTH + 1];
    DWORD length = INTERNET_MAX_URL_LENGTH + 1;
    if (!InternetCombineUrlW(from, location, target, &length, ICU_NO_ENCODE)) return CString();
    return CString(target);
}

// The reply at the end of the redirects that a sent request meets, each next request
// sent by send (address); null when one fails or there are too many.
template <class Send>
std::unique_ptr<CHttpFile> FollowRedirects(std::unique_ptr<CHttpFile> reply, CString address, Send send)
{
    for (int redirects = 0; reply; ++redirects) {
        CString next = RedirectTarget(*reply, address);
        if (next.IsEmpty()) return reply;
        if (redirects == kMostRedirects) return nullptr;
        reply.reset();
        reply = send(next);
        address = next;
    }
    return nullptr;
}

// A 200 reply of address, ready to be read; null otherwise, and for no address.
std::unique_ptr<CHttpFile> OpenReply(CInternetSession& session, const CString& address, ULONGLONG limit)
{
    if (address.IsEmpty()) return nullptr;
    auto open = [&](const CString& at) { return session.OpenURL(at, 1, INTERNET_FLAG_TRANSFER_ASCII | kRequestFlags); };
    std::unique_ptr<CHttpFile> reply = FollowRedirects(open(address), address, open);
    if (!reply || !IsOk(*reply)) return nullptr;
    BoundReading(*reply, limit);
    return reply;
}

// A value taken from a reply goes into an address only without blanks or control
// characters, which would break the request line.
bool FitsAddress(const CString& value)
{
    for (int i = 0; i < value.GetLength(); ++i)
        if (value[i] <= L' ' || value[i] == 0x7F) return false;
    return true;
}

CString Utf8Text(const char* bytes, int count)
{
    CString text;
    if (count <= 0) return text;
    int n = MultiByteToWideChar(CP_UTF8, 0, bytes, count, nullptr, 0);
    if (n <= 0) return text;
    wchar_t* out = text.GetBuffer(n);
    MultiByteToWideChar(CP_UTF8, 0, bytes, count, out, n);
    text.ReleaseBuffer(n);
    return text;
}

// Hands the page's lines, decoded from UTF-8, to take until it answers false. false when
// the page could not be read to that point.
template <class Take> bool ReadPageLines(CHttpFile& page, Take take)
{
    std::string bytes;
    while (page.ReadString(bytes, kMaxLineBytes)) {
        wchar_t* wide = nullptr;
        CString line;
        if (SUCCEEDED(Utf8ToWide(bytes.c_str(), &wide)) && wide) {
            line = wide;
            CoTaskMemFree(wide);
        }
        if (!take(line)) return true;
    }
    return !page.Failed();
}

bool LooksLikeGif(const unsigned char* head, size_t count)
{
    return count >= 3 && memcmp(head, "GIF", 3) == 0;
}

// The pictures the character panel can show: JPEG, GIF or BMP.
bool LooksLikePicture(const unsigned char* head, size_t count)
{
    return (count >= 3 && head[0] == 0xFF && head[1] == 0xD8 && head[2] == 0xFF) || LooksLikeGif(head, count) ||
           (count >= 2 && head[0] == 'B' && head[1] == 'M');
}

CString FolderOf(const CString& path)
{
    int slash = path.ReverseFind(L'\\');
    return slash < 0 ? CString(L".") : path.Left(slash + 1);
}

// Copies a 200 reply into path once it has arrived whole (as long as its Content-Length
// says, when it says) and its first bytes pass test. A file already at path is replaced
// only then; otherwise nothing is left behind.
bool FetchPicture(CInternetSession& session, const CString& address, const CString& path,
                  bool (*test)(const unsigned char*, size_t))
{
    if (path.IsEmpty()) return false;
    std::unique_ptr<CHttpFile> reply = OpenReply(session, address, kMaxPictureBytes);
    if (!reply) return false;
    DWORD declared = 0;
    bool hasLength = reply->QueryInfo(HTTP_QUERY_CONTENT_LENGTH | HTTP_QUERY_FLAG_NUMBER, declared) != FALSE;

    wchar_t tmp[MAX_PATH];
    if (!GetTempFileNameW(FolderOf(path), L"chr", 0, tmp)) return false;
    HANDLE h = CreateFileW(tmp, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        DeleteFileW(tmp);
        return false;
    }
    unsigned char head[8];
    size_t headCount = 0;
    char block[kPictureBlock];
    bool ok = true;
    for (;;) {
        UINT got = 0;
        if (!reply->Read(block, sizeof(block), got)) {
            ok = false;
            break;
        }
        if (got == 0) break;
        // The head may come in several reads, the first as short as one byte.
        for (UINT i = 0; headCount < sizeof(head) && i < got; ++i) head[headCount++] = (unsigned char)block[i];
        DWORD put = 0;
        if (!WriteFile(h, block, got, &put, nullptr) || put != got) {
            ok = false;
            break;
        }
    }
    ok = ok && FlushFileBuffers(h);
    CloseHandle(h);
    ok = ok && (!hasLength || reply->GetBytesRead() == declared) && test(head, headCount);
    ok = ok && MoveFileExW(tmp, path, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
    if (!ok) DeleteFileW(tmp);
    return ok;
}

// The portrait of the character-sheet roads: the GIF when one arrives, else the
// no-picture image. An empty address (the page named no usable one) fetches nothing.
bool FetchPortraitGif(CInternetSession& session, const CString& address, const wchar_t* realm, const wchar_t* name,
                      const wchar_t* noPicturePath)
{
    CString path = CharacterPicturePath(realm, name, L".gif");
    if (path.IsEmpty()) return false;
    if (!address.IsEmpty() && FetchPicture(session, address, path, LooksLikeGif)) return true;
    return noPicturePath && CopyFileW(noPicturePath, path, FALSE);
}

// Up to count bytes of the reply, fewer when it ends first. false on a failure.
bool ReadUpTo(CHttpFile& reply, char* buffer, UINT count, UINT& total)
{
    total = 0;
    while (total < count) {
        UINT got = 0;
        if (!reply.Read(buffer + total, count - total, got)) return false;
        if (got == 0) break;
        total += got;
    }
    return true;
}

// A GET of the web API's address as its road sends it: on a connection of its own, with
// the road's request headers. null when it cannot be sent.
std::unique_ptr<CHttpFile> SendApiRequest(CInternetSession& session, const CString& address)
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
    if (!InternetCrackUrlW(address, 0, 0, &parts)) return nullptr;
    if (parts.nScheme != INTERNET_SCHEME_HTTP && parts.nScheme != INTERNET_SCHEME_HTTPS) return nullptr;
    DWORD flags = INTERNET_FLAG_EXISTING_CONNECT | kRequestFlags;
    if (parts.nScheme == INTERNET_SCHEME_HTTPS) flags |= INTERNET_FLAG_SECURE;

    std::unique_ptr<CHttpConnection> connection = session.GetHttpConnection(host, parts.nPort);
    if (!connection) return nullptr;
    CString object = CString(path) + extra;
    if (object.IsEmpty()) object = L"/";
    std::unique_ptr<CHttpFile> request = connection->OpenRequest(L"GET", object, nullptr, 1, nullptr, nullptr, flags);
    if (!request) return nullptr;
    static const wchar_t* const headers[] = {
        L"Accept: image/gif, image/x-xbitmap, image/jpeg, image/pjpeg, */* ",
        L"Accept-Charset: UTF-8; ",
        L"User-Agent: Mozilla/4.0 (compatible; MSIE 7.0; Windows NT 5.1) ",
    };
    for (const wchar_t* h : headers)
        if (!request->AddRequestHeaders(h, HTTP_ADDREQ_FLAG_ADD_IF_NEW)) return nullptr;
    if (!request->SendRequest()) return nullptr;
    request->KeepConnection(std::move(connection));
    return request;
}

// The web API's record of a character as text, from the first 4096 bytes of a 200 reply.
bool FetchApiRecord(CInternetSession& session, int region, const wchar_t* realm, const wchar_t* name, CString& text)
{
    CString path = ApiCharacterPath(realm, name);
    if (path.IsEmpty()) return false;
    CString address = ApiAddress(region, path);
    auto send = [&](const CString& at) { return SendApiRequest(session, at); };
    std::unique_ptr<CHttpFile> reply = FollowRedirects(send(address), address, send);
    if (!reply || !IsOk(*reply)) return false;
    BoundReading(*reply, kApiReplyBytes);
    char bytes[kApiReplyBytes];
    UINT count = 0;
    if (!ReadUpTo(*reply, bytes, kApiReplyBytes, count)) return false;
    text = Utf8Text(bytes, (int)count);
    return true;
}

} // namespace

BOOL LookupCharacterApi(int region, const wchar_t* realm, const wchar_t* name, CharacterFound& found)
{
    CInternetSession session(L"Gearloom3", 1, INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0);
    SetTimeouts(session);
    CString text;
    if (!FetchApiRecord(session, region, realm, name, text)) return FALSE;
    CString values[] = {
        ScanJsonString(L"\"name\"", text),        ScanJsonString(L"\"realm\"", text),
        ScanJsonString(L"\"thumbnail\"", text),   ScanJsonNumber(L"\"class\"", text),
        ScanJsonNumber(L"\"race\"", text),        ScanJsonNumber(L"\"gender\"", text),
        ScanJsonNumber(L"\"level\"", text),       ScanJsonNumber(L"\"achievementPoints\"", text),
    };
    for (const CString& v : values)
        if (v.IsEmpty()) return FALSE;
    const CString& thumbnail = values[2];
    if (!FitsAddress(thumbnail)) return FALSE;
    session.Close();

    CString address = ApiAddress(region, CString(L"/static-render/") + RegionCode(region) + L"/" + thumbnail);
    if (!DownloadThumbnail(realm, name, address)) return FALSE;
    found.level = values[6];
    found.className = ClassNameFromId(values[3]);
    found.race = values[4];
    found.portraitUrl = address;
    return TRUE;
}

bool DownloadThumbnail(const wchar_t* realm, const wchar_t* name, const wchar_t* address)
{
    CInternetSession session(L"Gearloomimg", 1, INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0);
    SetTimeouts(session);
    return FetchPicture(session, address, CharacterPicturePath(realm, name, L".jpg"), LooksLikePicture);
}

BOOL LookupCharacterSheet(int region, const wchar_t* realm, const wchar_t* name, const wchar_t* noPicturePath,
                          CharacterFound& found)
{
    CInternetSession session(L"Gearloom2", 1, INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0);
    SetTimeouts(session);
    CString gender, race, classId, className, level;
    struct Key {
        const wchar_t* name;
        CString* value;
        bool found;
    } keys[] = {
        {L"genderId", &gender, false}, {L"raceId", &race, false},   {L"classId", &classId, false},
        {L"class", &className, false}, {L"level", &level, false},
    };
    {
        std::unique_ptr<CHttpFile> page = OpenReply(session, CharacterSheetAddress(region, realm, name), kMaxPageBytes);
        if (!page) return FALSE;
        bool read = ReadPageLines(*page, [&](const CString& line) {
            for (Key& k : keys) {
                if (!KeyInLine(line, k.name)) continue;
                ScanAttribute(k.name, line, *k.value);
                k.found = true;
            }
            return !(keys[3].found && keys[4].found);
        });
        if (!read) return FALSE;
    }
    for (const Key& k : keys)
        if (!k.found) return FALSE;
    CString address;
    if (FitsAddress(gender) && FitsAddress(race) && FitsAddress(classId))
        address = SheetAddress(region, L"/_images/portraits/" + LevelFolder(level) + gender + L"-" + race + L"-" +
                                           classId + L".gif");
    if (!FetchPortraitGif(session, address, realm, name, noPicturePath)) return FALSE;
    found.level = level;
    found.className = className;
    found.race.Empty();
    found.portraitUrl.Empty();
    return TRUE;
}

BOOL LookupCharacterPage(int region, const wchar_t* realm, const wchar_t* name, const wchar_t* noPicturePath,
                         CharacterFound& found)
{
    CInternetSession session;
    SetTimeouts(session);
    CString path, level, className;
    bool hasPath = false, hasLevel = false, hasClass = false;
    {
        std::unique_ptr<CHttpFile> page = OpenReply(session, CharacterSheetAddress(region, realm, name), kMaxPageBytes);
        if (!page) return FALSE;
        bool read = ReadPageLines(*page, [&](const CString& line) {
            if (!hasPath && KeyInLine(line, L"portraits")) hasPath = ScanPortraitPath(line, path);
            if (KeyInLine(line, L"theLevel")) {
                level = ScanScriptValue(line);
                hasLevel = true;
            }
            if (KeyInLine(line, L"theClassName")) {
                className = ScanScriptValue(line);
                hasClass = true;
                OutputDebugStringW(line);
                OutputDebugStringW(className);
            }
            return !(hasPath && hasLevel && hasClass);
        });
        if (!read || !hasPath || !hasLevel || !hasClass) return FALSE;
    }
    CString address = FitsAddress(path) ? SheetAddress(region, L"/" + path) : CString();
    if (!FetchPortraitGif(session, address, realm, name, noPicturePath)) return FALSE;
    found.level = level;
    found.className = className;
    found.race.Empty();
    found.portraitUrl = path;
    return TRUE;
}

BOOL DownloadPortrait(int region, const wchar_t* name, const wchar_t* server)
{
    CInternetSession session;
    SetTimeouts(session);
    CString path;
    bool hasPath = false;
    {
        std::unique_ptr<CHttpFile> page = OpenReply(session, CharacterSheetAddress(region, server, name), kMaxPageBytes);
        if (!page) return FALSE;
        bool read = ReadPageLines(*page, [&](const CString& line) {
            if (!KeyInLine(line, L"portraits")) return true;
            path = ScanImagesPath(line);
            hasPath = true;
            return false;
        });
        if (!read || !hasPath || !FitsAddress(path)) return FALSE;
    }
    return FetchPicture(session, SheetAddress(region, L"/" + path), CharacterPicturePath(server, name, L".jpg"),
                        LooksLikePicture);
}
