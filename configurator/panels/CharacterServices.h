#pragma once
#include <windows.h>
#include <wininet.h>
#include <string>
#include "framework/CString.h"

// Where the character lookups go and how long they may take: one table for the program.
// Tests point the hosts at a loopback server and shorten the time-outs.

const int REGION_COUNT = 5;  // 0 USA, 1 EUROPE, 2 KOREA, 3 TAIWAN, 4 CHINA

struct CharacterServiceSettings {
    std::wstring apiHost[REGION_COUNT];    // the web API, per region
    std::wstring sheetHost[REGION_COUNT];  // the character-sheet pages, per region
    INTERNET_PORT port;                    // of every host
    DWORD connectTimeoutMs;                // each step of an exchange...
    DWORD sendTimeoutMs;
    DWORD receiveTimeoutMs;
    DWORD exchangeLimitMs;                 // ...and the reading of one whole reply
};

// The settings every lookup uses; the services' own hosts on port 80 until changed.
CharacterServiceSettings& CharacterServices();
// The settings as the program starts with them.
CharacterServiceSettings DefaultCharacterServices();

// A region index outside the table stands for the first region (USA).
int RegionIndex(int region);
// The region's code in picture addresses: "us", "eu", "kr", "tw", "cn".
const wchar_t* RegionCode(int region);

// "http://host[:port]" + path on the region's web-API or character-sheet host.
CString ApiAddress(int region, const CString& path);
CString SheetAddress(int region, const CString& path);
// The path of the web API's record of a realm's character, and the character-sheet page
// of one. The typed texts go in whole and encoded; empty when one of them cannot, so that
// no request asks for another text than the one typed.
CString ApiCharacterPath(const wchar_t* realm, const wchar_t* name);
CString CharacterSheetAddress(int region, const wchar_t* realm, const wchar_t* name);

// The picture file "<realm>_<name><extension>" in the per-user configuration folder, made
// safe from the typed names: characters that cannot stand in a file name (separators
// among them) become '_', a device name gets a '_' in front, and the names are cut so
// the path stays within MAX_PATH. Empty when the folder leaves no room.
CString CharacterPicturePath(const wchar_t* realm, const wchar_t* name, const wchar_t* extension);
