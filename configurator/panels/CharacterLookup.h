#pragma once
#include <windows.h>
#include "framework/CString.h"

// The character lookups on the game's web services and the portrait downloads. Each
// exchange opens its own session, waits no longer than the time-outs of
// CharacterServices(), and closes everything before it returns. Redirects are followed;
// only a 200 reply at their end counts. Pictures land in the per-user configuration folder
// (CharacterPicturePath) only when they arrived whole and are pictures; a failed download
// leaves no file behind and an earlier picture as it was.

// What a successful road found: the character dialog's result texts.
struct CharacterFound {
    CString level;
    CString className;
    CString race;         // the web API's race id; the character-sheet roads leave it empty
    CString portraitUrl;  // web API: the thumbnail's address; page road: the portrait's path
};

// Road 1: the web API's character record, then its thumbnail as "<realm>_<name>.jpg".
BOOL LookupCharacterApi(int region, const wchar_t* realm, const wchar_t* name, CharacterFound& found);
// Road 2: the character sheet's attributes, then the portrait as "<realm>_<name>.gif". A
// portrait that does not come as a GIF is replaced by the no-picture image; the road
// fails only when that copy fails.
BOOL LookupCharacterSheet(int region, const wchar_t* realm, const wchar_t* name, const wchar_t* noPicturePath,
                          CharacterFound& found);
// Road 3: the script values and the portrait path of the same page; the portrait as road 2.
BOOL LookupCharacterPage(int region, const wchar_t* realm, const wchar_t* name, const wchar_t* noPicturePath,
                         CharacterFound& found);

// The thumbnail at address into "<realm>_<name>.jpg".
bool DownloadThumbnail(const wchar_t* realm, const wchar_t* name, const wchar_t* address);
// The portrait named on the character sheet into "<server>_<name>.jpg", for the character
// panel when that file is missing.
BOOL DownloadPortrait(int region, const wchar_t* name, const wchar_t* server);
