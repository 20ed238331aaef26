#pragma once
#include "core/ConfigData.h"

// While this program owns the foreground, the game watch changes nothing.
constexpr const wchar_t* GAME_WATCH_FROZEN_PROGRAM = L"Vantrel.exe";

// The first profile (0..9) that lists the program among GAME_NAME_1..GAME_NAME_10, compared
// without regard to case; -1 when none does or the name is empty.
int FindGameProfile(const ConfigData& cfg, const wchar_t* exeName);
