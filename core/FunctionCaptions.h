#pragma once
#include "framework/CString.h"

struct ConfigData;
class CXmlDoc;

// The caption of a mouse button's function code: where its text comes from, what else the
// code does once the text is found, and the reading of the text. Texts are never kept in
// the program; the main window loads the named file at every call.

// The file names are those of the program folder.
const wchar_t MENU_FILE_NAME[] = L"Menu.xml";
const wchar_t FUNCTIONS_FILE_NAME[] = L"Functions.xml";

// The button popup's variant knows code 6, the scroll-button popup's variant codes 11 and 12.
enum class CaptionVariant { ButtonPopup, ScrollPopup };

enum class CaptionFrom {
    Nothing,       // the code has no caption: caption, tooltip and slot stay as they are
    MenuFamilies,  // "Menu.xml": every `section` element under the root, in document order;
                   // the last one that has the item leaves its text
    MenuSection,   // "Menu.xml": the first `section` element under the root
    Catalogue,     // "Functions.xml": the first GAME_COMMANDS, the first `group` in it, the first item
    ProfileName,   // PROFILE_NAME of profile `index`
    MacroName,     // MACRO_NAME of macro slot `index` of the current profile
};

struct CaptionSource {
    CaptionFrom from = CaptionFrom::Nothing;
    const wchar_t* file = nullptr;     // MENU_FILE_NAME or FUNCTIONS_FILE_NAME; null for names
    const wchar_t* section = nullptr;  // BUTTON_MENU, SCROLL_BUTTON_MENU, CHANGE_DPI, CHANGE_PROFILE, GAME_COMMANDS
    const wchar_t* group = nullptr;    // the catalogue group of a game command
    const wchar_t* element = nullptr;  // the item
    int index = -1;                    // profile 0..9 or macro slot 0..49
    bool writesSlot = false;           // the code goes into the button's slot once its text is found
    bool opensPicker = false;          // once its text is found, the function picker opens for the button
};

CaptionSource CaptionSourceFor(int code, CaptionVariant variant);

// The caption text of a source. doc is the loaded file that source.file names, or null when
// it did not load; names come from cfg (the working record). False when the source gives no
// text: the code has none, the file did not load or an element is missing. The document's
// navigation is reset first and left wherever the search ended.
bool ReadCaptionText(const CaptionSource& source, CXmlDoc* doc, const ConfigData& cfg, CString& text);
