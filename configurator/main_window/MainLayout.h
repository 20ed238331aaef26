#pragma once
#include <windows.h>
#include "framework/CString.h"

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

// The question before a profile is copied onto another: the format's first %d becomes the
// target's number, the second the source's, and %% one percent sign. Nothing else in the
// text is read as a format, so a stray % shows as it is.
CString FormatProfileCopyQuestion(const CString& format, int targetNumber, int sourceNumber);

// A function code dropped onto mouse button index: the first two buttons keep their
// clicks, and the others take the codes a drag can carry (16..1200).
bool AcceptsDroppedFunction(int buttonIndex, int code);

// Where the side panels dock at the main window's rectangle (screen coordinates): the
// function picker's left edge 16 pixels inside the right edge, the sensor-settings panel's
// right edge 17 pixels inside the left edge, the lighting panel 18 pixels above the bottom.
POINT PickerDockPlace(const RECT& main);
POINT PropertiesDockPlace(const RECT& main, int panelWidth);
POINT IlluminationDockPlace(const RECT& main);
// The sensor-settings panel's slide out, from its docked rectangle.
RECT PropertiesOpenBounds(const RECT& panel);

// The notice text when Apply could not save and "Strings.xml" has none.
extern const wchar_t* const DEFAULT_NOT_SAVED_TEXT;
// The notice texts when Apply wrote "Config.xml" but not the registry's mouse values, not
// the profile names of "TrayIcon.xml", or neither, and "Strings.xml" has none.
extern const wchar_t* const DEFAULT_REGISTRY_NOT_SAVED_TEXT;
extern const wchar_t* const DEFAULT_TRAY_NOT_SAVED_TEXT;
extern const wchar_t* const DEFAULT_REGISTRY_TRAY_NOT_SAVED_TEXT;
