#pragma once

// The one notice text the programs hold themselves: the user guide could not be opened.
// The two blanks leave room for the reader link that the message box lays over the text.
const wchar_t USER_GUIDE_MISSING_TEXT[] = L"Please download and install the free PDF Reader  to read the user guide.";
