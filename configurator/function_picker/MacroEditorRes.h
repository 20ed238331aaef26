#pragma once
// Resources of the macro editor (MacroEditor.rc).
#define IDD_MACRO_DIALOG 158
#define IDB_MACRO_ARROW_DOWN 160  // 7 x 9, monochrome
#define IDB_MACRO_ARROW_UP 161    // 7 x 9, monochrome
