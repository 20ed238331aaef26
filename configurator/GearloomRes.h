#pragma once
// Resources of Gearloom.exe (Gearloom.rc).

#define IDR_MAINFRAME 128           // the program icon
#define IDS_ABOUTBOX 101            // the system menu's About item
#define IDM_ABOUTBOX 0x0010         // its command
#define IDD_ABOUTBOX 100            // the small About box of the system menu
#define IDD_RENAME_PROFILE 164      // rename dialog
#define IDD_ABOUT_DIALOG 182        // the skinned About box
#define IDD_CHRONICLE_DIALOG 183    // character dialog
#define IDC_RENAME_NAME 0x1100      // the rename dialog's name field
#define IDC_REALM_EDIT 8448         // the character dialog's realm and name fields
#define IDC_CHARACTER_EDIT 8449

#define IDD_AP_DIALOG 102           // the main window
#define IDD_PROPERTIES_DIALOG 134   // sensor-settings panel
#define IDD_ILLUMINATION_DIALOG 136 // lighting panel
#define IDD_EDIT_GAME 156           // game-list editor
#define IDD_ADVANCE_FUNCTION 157    // function picker
#define IDD_SEL_COLOR 162           // colour picker of the lighting panel

// Commands of the main window's menus.
#define ID_RESET_PROFILE 1324
#define ID_EDIT_GAMES 1325
#define ID_EXPORT_PROFILE 1326
#define ID_SKIN_ULK 1328
#define ID_SKIN_GENERIC 1329
#define ID_SKIN_NONE 1330
#define ID_RENAME_PROFILE 1331
#define ID_IMPORT_PROFILE 1332
#define ID_PRINT_PROFILE 1333
#define ID_ABOUT 1335
#define ID_USER_GUIDE 1336
#define ID_RATE_250 1337
#define ID_RATE_500 1338
#define ID_RATE_1000 1339
#define ID_SHOW_MACRO 1342
