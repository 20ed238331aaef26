#pragma once
#include <windows.h>
#include "framework/CGdiObject.h"

// Colours and fonts the framework's own controls start from.
struct AfxGlobalData {
    COLORREF clrHotLinkNormalText;
    COLORREF clrHotLinkHoveredText;
    COLORREF clrHotLinkVisitedText;
    // The system's message font, and the same underlined.
    CFont fontRegular;
    CFont fontUnderline;
};

// Made on first use, on the thread that asks first.
AfxGlobalData* GetGlobalData();
