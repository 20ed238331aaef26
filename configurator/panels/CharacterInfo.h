#pragma once
#include "framework/CString.h"

// A character found by the character dialog, handed to the main window.
struct CharacterInfo {
    int region = 0;  // 0 USA, 1 EUROPE, 2 KOREA, 3 TAIWAN, 4 CHINA
    CString server;  // the realm
    CString name;
    CString level;
    CString className;
    CString race;
};
