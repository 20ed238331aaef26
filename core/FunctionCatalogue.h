#pragma once
#include "framework/CString.h"
#include <vector>

class CXmlDoc;

// What the function picker shows from the catalogue file "Functions.xml": the tree of game
// commands, the rows of the DPI and profile lists and the captions of the four folders, as
// plain data read by the catalogue's search rules. Codes follow from the positions and item
// numbers (FunctionCodes.h); nothing else in the file decides a code.

struct CatalogueChild {
    int item;     // item number in its group: the tree item's data
    CString text;
};

struct CatalogueRoot {
    int group;    // group number: the tree item's data
    CString text; // the group element's "Strings" attribute
    std::vector<CatalogueChild> children;
};

struct CatalogueData {
    CString folderCaptions[4];  // PICKER_FOLDER_COMMANDS .. PICKER_FOLDER_MACROS
    std::vector<CatalogueRoot> roots;
    std::vector<CString> dpiRows;
    std::vector<CString> profileRows;
};

// Reads a loaded catalogue (navigation is reset first). The top-level sections are searched
// forward in the order GAME_COMMANDS, CHANGE_DPI, CHANGE_PROFILE, CUSTOM_MACROS, and the
// groups forward in group order; inside a group or list section the items are found in any
// order. A section or group that repeats is read again; a later section's caption wins.
void ReadCatalogue(CXmlDoc& doc, CatalogueData& out);
// The same from a file; a file that does not load gives empty data.
CatalogueData LoadCatalogue(const wchar_t* path);

// The profile list's texts after the ten profile names: PROFILE_UP and PROFILE_DOWN of every
// CHANGE_PROFILE section under the root, wherever it stands.
std::vector<CString> ReadProfileStepRows(CXmlDoc& doc);

// The tree item that shows a code, found by position as the picker selects it: the code's
// group-th root and item-th child under it (0-based results). False when the code has no
// place in the tree or a step finds no item.
bool FindTreePosition(const CatalogueData& catalogue, int code, size_t& root, size_t& child);
