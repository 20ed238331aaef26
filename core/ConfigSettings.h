#pragma once
#include <cstdint>

// Single values beside the configuration record. Each call loads the file, reads or
// changes one element and, for a change, saves the file at once. folder is the per-user
// configuration folder with its trailing backslash; "Config.xml" is appended to it.
// A file that does not load makes a getter answer 0 and a setter do nothing. A setter
// answers true when the file holds the new value, false when it was not written.

int32_t GetTrayIconFlag(const wchar_t* folder);
bool SetTrayIconFlag(const wchar_t* folder, int32_t value);
int32_t GetWarningOptionFlag(const wchar_t* folder);
bool SetWarningOptionFlag(const wchar_t* folder, int32_t value);
int32_t GetWarningFourOptionFlag(const wchar_t* folder);
bool SetWarningFourOptionFlag(const wchar_t* folder, int32_t value);

// FW_VERSION and SOFTWARE_VERSION of "FWVersion.xml" in g_szConfDir; 0 when missing.
int32_t GetFirmwareVersion();
int32_t GetSoftwareVersion();
