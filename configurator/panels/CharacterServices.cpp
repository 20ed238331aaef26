#include "configurator/panels/CharacterServices.h"
#include "core/AppPaths.h"
#include "core/TextUtil.h"
#include <cwchar>

namespace {

const wchar_t* const kRegionCodes[REGION_COUNT] = {L"us", L"eu", L"kr", L"tw", L"cn"};

CString Address(const std::wstring& host, const CString& path)
{
    CString url = CString(L"http://") + host.c_str();
    INTERNET_PORT port = CharacterServices().port;
    if (port != INTERNET_DEFAULT_HTTP_PORT) url.AppendFormat(L":%u", (unsigned)port);
    return url + path;
}

bool IsFileNameChar(wchar_t c)
{
    return c >= 0x20 && !wcschr(L"<>:\"/\\|?*", c);
}

CString CleanName(const wchar_t* text)
{
    CString s(text ? text : L"");
    for (int i = 0; i < s.GetLength(); ++i)
        if (!IsFileNameChar(s[i])) s.SetAt(i, L'_');
    return s;
}

// Shortens by one character, never leaving half a surrogate pair.
void DropLast(CString& s)
{
    int n = s.GetLength() - 1;
    if (n > 0 && IS_LOW_SURROGATE(s[n]) && IS_HIGH_SURROGATE(s[n - 1])) --n;
    s = s.Left(n);
}

// Windows takes these, with any extension, for devices rather than files.
bool IsDeviceName(const CString& fileName)
{
    int dot = fileName.Find(L'.');
    CString stem = dot < 0 ? fileName : fileName.Left(dot);
    stem.TrimRight();
    static const wchar_t* const names[] = {L"CON", L"PRN", L"AUX", L"NUL", L"CONIN$", L"CONOUT$"};
    for (const wchar_t* n : names)
        if (stem.CompareNoCase(n) == 0) return true;
    if (stem.GetLength() == 4 && (stem.Left(3).CompareNoCase(L"COM") == 0 || stem.Left(3).CompareNoCase(L"LPT") == 0))
        return stem[3] >= L'0' && stem[3] <= L'9';
    return false;
}

// A typed text as one part of an address; false when it does not go in whole.
bool Encoded(const wchar_t* text, CString& encoded)
{
    bool whole = false;
    encoded = UrlEncodeUtf8(text, &whole);
    return whole;
}

} // namespace

CharacterServiceSettings DefaultCharacterServices()
{
    CharacterServiceSettings s;
    for (int r = 0; r < REGION_COUNT; ++r) {
        s.apiHost[r] = std::wstring(kRegionCodes[r]) + L".api.eldvarra.net";
        s.sheetHost[r] = std::wstring(kRegionCodes[r]) + L".chronicle.eldvarra.net";
    }
    s.port = INTERNET_DEFAULT_HTTP_PORT;
    s.connectTimeoutMs = 7000;
    s.sendTimeoutMs = 3000;
    s.receiveTimeoutMs = 9000;
    s.exchangeLimitMs = 30000;
    return s;
}

CharacterServiceSettings& CharacterServices()
{
    static CharacterServiceSettings settings = DefaultCharacterServices();
    return settings;
}

int RegionIndex(int region)
{
    return region >= 0 && region < REGION_COUNT ? region : 0;
}

const wchar_t* RegionCode(int region)
{
    return kRegionCodes[RegionIndex(region)];
}

CString ApiAddress(int region, const CString& path)
{
    return Address(CharacterServices().apiHost[RegionIndex(region)], path);
}

CString SheetAddress(int region, const CString& path)
{
    return Address(CharacterServices().sheetHost[RegionIndex(region)], path);
}

CString ApiCharacterPath(const wchar_t* realm, const wchar_t* name)
{
    CString r, n;
    if (!Encoded(realm, r) || !Encoded(name, n)) return CString();
    // A segment of dots alone would climb the path, escaped or not: servers read %2E as '.'.
    if (r == L"." || r == L".." || n == L"." || n == L"..") return CString();
    CString path;
    path.Format(L"/api/ulk/character/%ls/%ls", r.GetString(), n.GetString());
    return path;
}

CString CharacterSheetAddress(int region, const wchar_t* realm, const wchar_t* name)
{
    CString r, n;
    if (!Encoded(realm, r) || !Encoded(name, n)) return CString();
    CString path;
    path.Format(L"/character-sheet.xml?r=%ls&n=%ls", r.GetString(), n.GetString());
    return SheetAddress(region, path);
}

CString CharacterPicturePath(const wchar_t* realm, const wchar_t* name, const wchar_t* extension)
{
    CString folder(g_szConfDir);
    CString ext(extension ? extension : L"");
    // The whole path within MAX_PATH with its terminator; one name within 255 characters.
    int room = MAX_PATH - 1 - folder.GetLength();
    if (room > 255) room = 255;
    room -= ext.GetLength() + 1;  // the '_' between the names
    if (room < 2) return CString();
    CString r = CleanName(realm);
    CString n = CleanName(name);
    while (r.GetLength() + n.GetLength() > room) DropLast(r.GetLength() >= n.GetLength() ? r : n);
    CString file = r + L"_" + n + ext;
    if (IsDeviceName(file)) {
        if (r.GetLength() + n.GetLength() == room) DropLast(r.GetLength() >= n.GetLength() ? r : n);
        file = L"_" + r + L"_" + n + ext;
    }
    return folder + file;
}
