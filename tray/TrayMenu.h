#pragma once
#include "framework/CMenu.h"
#include "framework/CString.h"

// Command ids of the tray menu.
constexpr UINT ID_TRAY_OPEN = 2025;
constexpr UINT ID_TRAY_HELP = 2026;
constexpr UINT ID_TRAY_HIDE = 2027;
constexpr UINT ID_TRAY_PROFILE_1 = 2035;
constexpr UINT ID_TRAY_PROFILE_10 = 2044;

// The texts of the tray menu; PROFILE captions the profile submenu.
struct TrayMenuTexts {
    CString open;
    CString profile;
    CString profiles[10];
    CString help;
    CString hide;
};

// The texts of "TrayIcon.xml" in confDir, or in appDir when it does not load there. Every
// TRAY_ICON child of the root is read in turn, a text found in a later one replacing the
// earlier; a text found nowhere (or no file at all) stays empty.
TrayMenuTexts ReadTrayMenuTexts(const wchar_t* confDir, const wchar_t* appDir);

// PROFILE_ID of folder + "Config.xml"; 0 when the file does not load or has none.
int ReadProfileId(const wchar_t* folder);

// The command id of the profile item to check for a stored profile index: profile 1's
// for anything outside 1..9.
UINT CheckedProfileCmd(int profileId);

// The menu: OPEN (the default item), PROFILE opening the ten profiles (separators between
// them, the item checkedCmd checked), HELP and HIDE, with separators between the groups.
BOOL BuildTrayMenu(CMenu& menu, const TrayMenuTexts& texts, UINT checkedCmd);
