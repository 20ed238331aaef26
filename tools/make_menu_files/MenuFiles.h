#pragma once
#include <string>

// The shipped "Menu.xml" and "Functions.xml", made from one description: the element names
// come from the shared code table (core/FunctionCodes.h) and from the menus the programs
// read; the texts are the ones a player sees.

// The documents' text (declaration, one element per line, CR LF), or an empty text when an
// element of the code table has no text in the description.
std::wstring MenuFileText();
std::wstring FunctionsFileText();

// Writes a text as the system writes XML files: UTF-16LE after a byte-order mark.
bool WriteShippedXml(const std::wstring& text, const wchar_t* path);
