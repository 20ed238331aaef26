#include "configurator/main_window/MainLayout.h"
#include "configurator/GearloomRes.h"

const wchar_t* const DEFAULT_NOT_SAVED_TEXT =
    L"Your settings could not be saved, so the mouse keeps its previous settings. "
    L"Check that the configuration file is not read-only, then press Apply again.";

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
