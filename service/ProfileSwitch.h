#pragma once
#include "framework/CString.h"

// The ten profiles are 0..9; any other index is refused wherever it comes from.
inline bool IsProfileIndex(long long profile) { return profile >= 0 && profile <= 9; }

// PROFILE_ID of g_szConfDir's "Config.xml" := profile. Nothing when the file does not load.
int WriteProfileId(int profile);
// PROFILE_CHAGED := "saved,switched," in folder's "Config.xml"; a missing element is added as
// the root's last child. Nothing when the file does not load.
int WriteProfileChanged(int* savedProfile, int* switched, const CString& folder);
// Reads PROFILE_CHAGED back; 0 (both untouched) when the file does not load.
int ReadProfileChanged(int* savedProfile, int* switched, const CString& folder);
// The two numbers of a PROFILE_CHAGED text: each is the decimal value before its comma,
// 0 when there is no comma.
void ParseProfileChanged(const CString& text, int* savedProfile, int* switched);
