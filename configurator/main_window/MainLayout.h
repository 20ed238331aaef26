#pragma once
#include <windows.h>

// The main window's small rules, as functions of their inputs.

// "Strings.xml" entry names of mouse button i (0..10) and profile button j (0..9).
const wchar_t* MouseButtonEntryName(int i);
const wchar_t* ProfileEntryName(int j);

// Centred horizontally on the work area, against the top of the screen.
POINT MainWindowPlace(const RECT& workArea, SIZE window);

// The function code of a row of the button popup (rows 0..5 give 1..6, row 6 gives 9) and
// of the scroll-button popup; 0 for a row that has none.
int ButtonMenuRowCode(int row);
int ScrollMenuRowCode(int row);

// The TOOLS menu item checked for a polling-rate code: 1 is 1000 Hz, 2 is 500 Hz, anything
// else 250 Hz.
UINT CheckedRateCommand(int pollingRate);
// The polling-rate code of a TOOLS menu item, 0 for another command.
int RateOfCommand(UINT command);

// The mouse-button indexes the service reports that the window acts on (it never reports
// the first two buttons, and has no images past the eleventh).
bool IsReportedMouseButton(int index);

// The notice text when Apply could not save and "Strings.xml" has none.
extern const wchar_t* const DEFAULT_NOT_SAVED_TEXT;
