#pragma once
#include <vector>
#include "core/ConfigData.h"
#include "framework/CString.h"

// The game list of a profile: up to ten names of game programs (GAME_NAME_1..10), each at
// most GAME_NAME_MAX characters. The list has no order of its own: row i is slot i + 1.
const int GAME_NAME_MAX = (int)(sizeof(ProfileData::GAME_NAME[0]) / sizeof(wchar_t)) - 1;

// The names in the filled slots, in slot order; empty slots leave no gap.
std::vector<CString> ReadGameList(const ProfileData& profile);
// Row i into slot i + 1 and every slot after the last row emptied. Rows past the tenth
// are left out and names are cut to the slot, so the record is never written past.
void StoreGameList(ProfileData& profile, const std::vector<CString>& rows);

// Whether a name may join a list that already holds `rows` names.
enum class GameNameCheck { Fits, TooMany, TooLong };
GameNameCheck CheckGameName(int rows, const CString& name);

// The file name with its extension of a chosen program's path; the service compares
// program names only, so the folder is dropped.
CString GameFileName(const CString& path);
