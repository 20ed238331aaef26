#pragma once
#include "framework/CString.h"
#include <windows.h>

// The system's saved mouse settings the program and the service change, put back in the
// registry as they were when the test ends: the test programs that run after this one rely
// on the prefix's own double-click time and wheel lines. Only the registry is touched: a
// process keeps the first value it reads of a system setting, and a test here reads them
// once the service has set them.
class SavedMouseSettings {
public:
    SavedMouseSettings();
    ~SavedMouseSettings();
    SavedMouseSettings(const SavedMouseSettings&) = delete;
    SavedMouseSettings& operator=(const SavedMouseSettings&) = delete;

private:
    struct Value {
        const wchar_t* key;
        const wchar_t* name;
        CString text;
    };
    Value m_values[3] = {{L"Control Panel\\Mouse", L"DoubleClickSpeed", L""},
                         {L"Control Panel\\Mouse", L"MouseSensitivity", L""},
                         {L"Control Panel\\Desktop", L"WheelScrollLines", L""}};
};
