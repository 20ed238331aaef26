#pragma once
#include "core/ConfigData.h"
#include "framework/CString.h"

// The single-profile file: one profile's keys flat under the root "root", with PROFILE_ID
// the index it was exported from. The window's EXPORT and IMPORT commands choose the path
// with the file dialogs; everything about the file itself is here.

// Why a file was refused.
enum class ProfileFileError {
    None,
    Unreadable,          // missing, or could not be opened
    TooLarge,            // far larger than any profile
    NotXml,              // not a well-formed document with one root
    NotProfile,          // another document: its root is not "root"
    WholeConfiguration,  // a "Config.xml", holding all ten profiles
    MissingKey,
    RepeatedKey,
    MacroOrder,          // a MACRO_n before a lower-numbered one
    BadValue,            // not a number or list where one belongs
    OutOfRange,
    TextTooLong,
};

struct ProfileFileProblem {
    ProfileFileError error = ProfileFileError::None;
    CString key;     // the element concerned ("MACRO_3/MACRO_INFO"), when there is one
    CString detail;  // the parser's message or the root's name, when there is one
    // One sentence for the notice: what is wrong with the file.
    CString Describe() const;
};

// Writes profile profileIndex of cfg as a new single-profile file at path, UTF-16LE with
// its byte-order mark. Whatever was at the path is replaced whole in one step, never
// merged into; on false (index outside 0..9, folder not writable, read-only target) any
// file there is as it was.
bool ExportProfileFile(const wchar_t* path, const ConfigData& cfg, int profileIndex);

// Reads a single-profile file into out. The whole file is checked first: each key present
// once, numbers well formed and in range, texts within their fields; a refused file leaves
// out untouched and problem says why. Button numbers are the slots' own (index + 1).
bool ReadProfileFile(const wchar_t* path, ProfileData& out, ProfileFileProblem& problem);

// The import: the file's profile replaces the current profile (PROFILE_ID) of cfg, which
// is then validated. A refused file leaves cfg untouched.
bool ImportProfileFile(const wchar_t* path, ConfigData& cfg, ProfileFileProblem& problem);

// The folder the export and import dialogs start in: "Korvath\Eldvarra MMO Gaming Mouse
// Software\Profile" under the roaming application-data folder (not created here), or the
// program's own folder when that folder is unknown. No trailing backslash.
CString ProfileFileFolder();
