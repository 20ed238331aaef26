#include "configurator/main_window/MainLayout.h"
#include "configurator/GearloomRes.h"
#include <cwchar>

const wchar_t* const DEFAULT_NOT_SAVED_TEXT =
    L"Your settings could not be saved, so the mouse keeps its previous settings. "
    L"Check that the configuration file is not read-only, then press Apply again.";
const wchar_t* const DEFAULT_REGISTRY_NOT_SAVED_TEXT =
    L"Your settings were saved and the mouse uses them, but the Windows mouse settings could not be written "
    L"to the registry.";
const wchar_t* const DEFAULT_TRAY_NOT_SAVED_TEXT =
    L"Your settings were saved and the mouse uses them, but the profile names of the tray menu could not be "
    L"written. Check that TrayIcon.xml is not read-only.";
const wchar_t* const DEFAULT_REGISTRY_TRAY_NOT_SAVED_TEXT =
    L"Your settings were saved and the mouse uses them, but neither the Windows mouse settings in the registry "
    L"nor the profile names of the tray menu could be written.";

const wchar_t* MouseButtonEntryName(int i)
{
    static const wchar_t* const names[] = {
        L"MOUSE_BUTTON_1", L"MOUSE_BUTTON_2", L"MOUSE_BUTTON_3", L"MOUSE_BUTTON_4",  L"MOUSE_BUTTON_5", L"MOUSE_BUTTON_6",
        L"MOUSE_BUTTON_7", L"MOUSE_BUTTON_8", L"MOUSE_BUTTON_9", L"MOUSE_BUTTON_10", L"MOUSE_BUTTON_11"};
    return i >= 0 && i < 11 ? names[i] : L"";
}

const wchar_t* ProfileEntryName(int j)
{
    static const wchar_t* const names[] = {L"PROFILE_1", L"PROFILE_2", L"PROFILE_3", L"PROFILE_4", L"PROFILE_5",
                                           L"PROFILE_6", L"PROFILE_7", L"PROFILE_8", L"PROFILE_9", L"PROFILE_10"};
    return j >= 0 && j < 10 ? names[j] : L"";
}

POINT MainWindowPlace(const RECT& work, SIZE window)
{
    return POINT{(work.right - window.cx) / 2, 0};
}

UINT CheckedRateCommand(int pollingRate)
{
    if (pollingRate == 1) return ID_RATE_1000;
    if (pollingRate == 2) return ID_RATE_500;
    return ID_RATE_250;
}

int RateOfCommand(UINT command)
{
    switch (command) {
    case ID_RATE_250: return 3;
    case ID_RATE_500: return 2;
    case ID_RATE_1000: return 1;
    default: return 0;
    }
}

bool IsReportedMouseButton(int index)
{
    return index >= 2 && index <= 10;
}

CString FormatProfileCopyQuestion(const CString& format, int targetNumber, int sourceNumber)
{
    const int numbers[2] = {targetNumber, sourceNumber};
    int used = 0;
    CString out;
    const wchar_t* s = format;
    for (int i = 0; s[i]; ++i) {
        if (s[i] == L'%' && s[i + 1] == L'%') {
            out += L'%';
            ++i;
        } else if (s[i] == L'%' && s[i + 1] == L'd' && used < 2) {
            wchar_t digits[16];
            swprintf(digits, 16, L"%d", numbers[used++]);
            out += digits;
            ++i;
        } else {
            out += s[i];
        }
    }
    return out;
}

bool AcceptsDroppedFunction(int buttonIndex, int code)
{
    return buttonIndex >= 2 && buttonIndex <= 10 && code >= 16 && code <= 1200;
}

POINT PickerDockPlace(const RECT& main)
{
    return POINT{main.right - 16, main.top + 89};
}

POINT PropertiesDockPlace(const RECT& main, int panelWidth)
{
    return POINT{main.left + 17 - panelWidth, main.top + 89};
}

POINT IlluminationDockPlace(const RECT& main)
{
    return POINT{main.left + 87, main.bottom - 18};
}

RECT PropertiesOpenBounds(const RECT& panel)
{
    return RECT{panel.left + 3, panel.top, panel.right + 9, panel.bottom};
}
