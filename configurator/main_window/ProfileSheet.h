#pragma once
#include <windows.h>
#include "core/ConfigData.h"
#include "framework/CGdiObject.h"
#include "framework/CString.h"

class CDC;

// The printed sheet of a profile: the shipped sheet picture with the eleven buttons'
// captions in their slots and, for a profile that belongs to a game character, the
// portrait with the character's name, level, class and realm.

// Loads the sheet picture ("Skins.xml", MAIN / MAIN_PRINT) afresh into sheet, compatible
// with reference (the screen when null), and draws the profile into it. false, with the
// sheet empty, when the picture could not be loaded.
bool DrawProfileSheet(CBitmap& sheet, CDC* reference, const CString (&captions)[BUTTON_COUNT],
                      const ProfileData& profile);

// The calls that start and end a print job and its page: the system's, or a test's that
// answers as a failing printer does.
struct PrintJobCalls {
    int(WINAPI* startDoc)(HDC, const DOCINFOW*);
    int(WINAPI* startPage)(HDC);
    int(WINAPI* endPage)(HDC);
    int(WINAPI* endDoc)(HDC);
};
extern const PrintJobCalls SYSTEM_PRINT_JOB;

// One page of the document "Print Window" on the printer: the sheet from the top left
// corner of the printable area at seven times its size in printer pixels. Only a page that
// began is ended. false when the job or its page could not be started or ended.
bool PrintProfileSheet(HDC printer, const CBitmap& sheet, const PrintJobCalls& calls = SYSTEM_PRINT_JOB);

// The sheet's scale on paper.
const double PROFILE_SHEET_SCALE = 7.0;
