#pragma once
// Resources of the macro editor (MacroEditor.rc).
#define IDD_MACRO_DIALOG 158
