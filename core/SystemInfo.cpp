#include "core/SystemInfo.h"

int ClassifyWindowsVersion(DWORD platformId, DWORD major, DWORD minor)
{
    if (platformId == VER_PLATFORM_WIN32_WINDOWS && major == 4) {
        if (minor < 90) return WINVER_CLASS_95_98;
        if (minor == 90) return WINVER_CLASS_ME;
        return WINVER_CLASS_UNKNOWN;
    }
    if (platformId == VER_PLATFORM_WIN32_NT) {
        if (major == 5 && minor == 0) return WINVER_CLASS_2000;
        if (major == 5 && (minor == 1 || minor == 2)) return WINVER_CLASS_XP;
        if (major >= 6) return WINVER_CLASS_VISTA_UP;
    }
    return WINVER_CLASS_UNKNOWN;
}

int GetWindowsVersion()
{
    OSVERSIONINFOW info;
    ZeroMemory(&info, sizeof(info));
    info.dwOSVersionInfoSize = sizeof(info);
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    if (!GetVersionExW(&info)) return WINVER_CLASS_UNKNOWN;
#pragma GCC diagnostic pop
    return ClassifyWindowsVersion(info.dwPlatformId, info.dwMajorVersion, info.dwMinorVersion);
}

BOOL GetElevationType(HANDLE process, int* elevationType)
{
    if (!elevationType) return FALSE;
    HANDLE token = nullptr;
    if (!OpenProcessToken(process, TOKEN_QUERY, &token)) return FALSE;
    TOKEN_ELEVATION_TYPE type = TokenElevationTypeDefault;
    DWORD size = 0;
    BOOL ok = GetTokenInformation(token, TokenElevationType, &type, sizeof(type), &size);
    CloseHandle(token);
    if (!ok) return FALSE;
    *elevationType = (int)type;
    return TRUE;
}
