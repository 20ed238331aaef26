#include "configurator/main_window/GameList.h"
#include <cstdlib>

std::vector<CString> ReadGameList(const ProfileData& profile)
{
    std::vector<CString> rows;
    for (const auto& slot : profile.GAME_NAME) {
        int n = FieldLength(slot);
        if (n > 0) rows.push_back(CString(slot, n));
    }
    return rows;
}

void StoreGameList(ProfileData& profile, const std::vector<CString>& rows)
{
    for (int i = 0; i < GAME_NAME_COUNT; ++i)
        CopyField(profile.GAME_NAME[i], i < (int)rows.size() ? rows[i].GetString() : L"");
}

GameNameCheck CheckGameName(int rows, const CString& name)
{
    if (rows >= GAME_NAME_COUNT) return GameNameCheck::TooMany;
    if (name.GetLength() > GAME_NAME_MAX) return GameNameCheck::TooLong;
    return GameNameCheck::Fits;
}

CString GameFileName(const CString& path)
{
    wchar_t name[_MAX_FNAME] = {};
    wchar_t ext[_MAX_EXT] = {};
    if (_wsplitpath_s(path, nullptr, 0, nullptr, 0, name, _MAX_FNAME, ext, _MAX_EXT) != 0) {
        // Longer parts than the splitter takes: everything after the last separator.
        return path.Mid(path.ReverseFind(L'\\') + 1);
    }
    CString s;
    s.Format(L"%s%s", name, ext);
    return s;
}
