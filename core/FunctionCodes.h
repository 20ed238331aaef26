#pragma once
#include <cstdint>

// The function-code space, once for all three programs: which codes exist, their family,
// the element name each is known by (the caption key in "Menu.xml" and "Functions.xml"),
// the seven catalogue groups of game commands, and where the function picker offers each
// code. The service's key sequences and the configuration program's captions and
// catalogue all read these tables.

// A stored code is one of these (a button slot holding anything else takes its default).
const int32_t FUNCTION_CODE_MIN = 1;
const int32_t FUNCTION_CODE_MAX = 1200;

const int FIRST_DPI_CODE = 16;       // DPI_400 .. DPI_3200, DPI_UP, DPI_DOWN: 16..21
const int FIRST_PROFILE_CODE = 32;   // PROFILE_1 .. PROFILE_10: 32..41; PROFILE_UP, PROFILE_DOWN: 42, 43
const int FIRST_MACRO_CODE = 1000;   // macro slot code - 1000 of the current profile: 1000..1049

enum class FunctionFamily : int {
    None,         // no function in either program
    Mouse,        // 1..6: clicks and the mouse buttons
    ButtonOff,    // 9: the button does nothing
    ScrollEntry,  // 11, 12: entries of the scroll-button popup; the service does nothing
    OpenPicker,   // 13: as a caption it opens the function picker; the service does nothing
    Dpi,          // 16..19 a DPI stage, 20 and 21 a stage step
    Profile,      // 32..41 a profile, 42 and 43 a profile step
    Chat,         // 80..82: chat commands typed into the game
    GameCommand,  // the 131 catalogue codes 101..709
    Macro,        // 1000..1049
};

struct FunctionCodeInfo {
    int code = 0;
    FunctionFamily family = FunctionFamily::None;
    const wchar_t* element = nullptr;  // element name; null for macros and codes without a function
    int group = 0;                     // catalogue group 1..7 of a game command, else 0
    int item = 0;                      // its item number within the group (from 1), else 0
};

// Any int32; a code outside the space describes as family None.
FunctionCodeInfo DescribeFunctionCode(int code);
inline FunctionFamily FamilyOf(int code) { return DescribeFunctionCode(code).family; }
// The code known by that element name; -1 for a name that is no code's.
int FunctionCodeOf(const wchar_t* element);

// The catalogue of game commands: seven groups, each with its item element names in item
// order. A command's code is 100 × group + item.
const int CATALOGUE_GROUP_COUNT = 7;
const int CATALOGUE_ITEM_COUNT = 131;

struct CatalogueGroup {
    int number;                   // 1..7
    const wchar_t* element;       // MOVEMENT_KEYS ...
    int itemCount;
    const wchar_t* const* items;  // item n is items[n - 1]
};

// CATALOGUE_GROUP_COUNT groups in group order.
const CatalogueGroup* CatalogueGroups();
// 100 × group + item for a group and item of the table, -1 otherwise (a tree item's code).
int CatalogueCode(int group, int item);

// The function picker's folders.
enum PickerFolder : int {
    PICKER_FOLDER_NONE = -1,
    PICKER_FOLDER_COMMANDS = 0,
    PICKER_FOLDER_DPI = 1,
    PICKER_FOLDER_PROFILES = 2,
    PICKER_FOLDER_MACROS = 3,
};

// Kinds of the picker's code lists.
enum PickerListKind : int {
    PICKER_LIST_DPI = 1,
    PICKER_LIST_PROFILES = 2,
    PICKER_LIST_MACROS = 3,
};

// The code of a row of a picker list: 16 + row (rows 0..5), 32 + row (0..11), 1000 + row
// (0..49); -1 for any other kind or row.
int ListRowCode(int listKind, int row);

// Where the picker shows a code: the folder to open and what to select in it.
struct PickerPlace {
    int folder = PICKER_FOLDER_NONE;
    int row = -1;    // list folders: the row; it may lie past the list's end, then nothing is selected
    int group = 0;   // command folder: the root's position (from 1) among the tree's roots
    int item = 0;    // and the child's position (from 1) under it
};

// Goes by position: 16..23 DPI row code − 16 (22 and 23 select nothing in a six-row list),
// 32..43 profile row code − 32, a catalogue code 100 × g + i the i-th child of the g-th root,
// 1000..1049 macro row code − 1000; any other code closes every folder.
PickerPlace PickerPlaceOfCode(int code);

// The code of a row of the button popup (rows 0..5 give 1..6, row 6 gives 9) and of the
// scroll-button popup (rows 0..7 give 1, 2, 3, 11, 12, 4, 5, 9; a later row gives row + 1).
// -1 for a row without a code.
int ButtonMenuRowCode(int row);
int ScrollMenuRowCode(int row);
