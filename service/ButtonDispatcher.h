#pragma once
#include <windows.h>
#include "core/ConfigData.h"

// What a button's press performed, kept until the button's release, so the release undoes
// exactly that (the key-up, button-up or held-key entry of the press) whatever the profile
// is by then.
struct ButtonPress {
    bool pending = false;  // pressed, and the release has not come yet
    int code = 0;          // the function code the press performed
    MacroData macro = {};  // for a macro code: the macro as the press found it
    bool letGo = false;    // undone when the mouse was removed; its release has nothing left to do
};

// The configuration program's main window, found by its exact title before every use.
// The window found last is taken again without a search while it still exists and still
// has that title; a search walks every top-level window, and a mouse reports up to a
// thousand events a second. Without such a window every call searches again.
HWND FindConfigurationProgram();
