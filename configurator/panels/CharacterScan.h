#pragma once
#include <windows.h>
#include "framework/CString.h"

// Scanners of the character services' replies. The replies are read as plain text with
// substring searches, no parser: each scanner takes exactly what its search finds.

// The quoted value after "key": the text between the first two quotes after the colon
// that follows the key (a '}' ends an unclosed one), blanks removed at both ends.
CString ScanJsonString(const wchar_t* key, const CString& text);
// The text between the colon after the key and the next ',' (or '}'), unchanged.
CString ScanJsonNumber(const wchar_t* key, const CString& text);
// The quoted value of an attribute: after the key, its '=' and its opening quote, up to
// the next quote (empty without one). Always TRUE.
BOOL ScanAttribute(const wchar_t* key, const CString& line, CString& out);
// The class name of a class id, compared as text; "Unknown" for any other text.
CString ClassNameFromId(const CString& id);

// A key counts in a page line only where it is found after the line's first character.
bool KeyInLine(const CString& line, const wchar_t* key);
// A script value: the text between the line's first '=' (or its start) and the next ';'
// after it, unchanged; empty without that ';'.
CString ScanScriptValue(const CString& line);
// The first quoted text of the line holding "portraits" after its first character,
// without that first character. false when the line has none.
bool ScanPortraitPath(const CString& line, CString& path);
// From the line's first "images" up to the next quote.
CString ScanImagesPath(const CString& line);
// The portrait folder of a character level: below 70, 70 to 79, 80 and above.
CString LevelFolder(const CString& level);
