#pragma once
#include "framework/COleDataObject.h"
#include "framework/CString.h"

// The dragged text (CF_UNICODETEXT) of a drop; the block the data object handed out is
// freed here. FALSE when no text is offered.
BOOL TakeDroppedText(COleDataObject* data, CString& text);

// The text's number when the text is wholly a decimal number ("%d" form: an optional
// minus and digits, nothing else) in [low, high].
bool ParseDroppedNumber(const wchar_t* text, int low, int high, int& number);
