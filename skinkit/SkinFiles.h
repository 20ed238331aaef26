#pragma once
#include <vector>
#include "framework/CGdiObject.h"
#include "framework/CString.h"

// One child of a window's section: its element name and text.
struct SkinItem {
    CString name;
    CString text;
};

// The children of every element named after the window below the root of "Skins.xml" or
// "Strings.xml" of the program folder, in document order. Empty when the file does not
// load or has no such element.
std::vector<SkinItem> ReadSkinSection(const wchar_t* fileName, const wchar_t* section);
// The text of the first child of that name, or null.
const CString* FindSkinItem(const std::vector<SkinItem>& items, const wchar_t* name);

// The picture named by the child of that name, loaded from the program folder's
// "skins\" folder; an absent child or file leaves the picture empty. Answers its size.
SIZE LoadSkinPicture(const std::vector<SkinItem>& pictures, const wchar_t* name, CBitmap& picture);
