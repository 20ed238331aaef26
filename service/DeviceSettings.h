#pragma once
#include <windows.h>
#include "core/ConfigData.h"

// Stage fallback of the DPI steps when the device's stage cannot be read: the stage the
// last selection or step set.
extern int g_nLastDpiStage;

// PROFILE_ID when it names one of the ten profiles, else 0.
int CurrentProfileIndex(const ConfigData& cfg);

// The buttons the driver reports to the service instead of Windows: 0xFF00 in in-game
// mode; else 0xFFFF without the bits of the buttons that keep their Windows function
// (BUTTON_1 left click, BUTTON_2 right click, BUTTON_3 code 101, BUTTON_7 Windows button 4,
// BUTTON_8 Windows button 5 -> bits 0..4).
DWORD InterceptionMask(const ConfigData& cfg);

// Device X/Y sensitivity sent: 0..18.
int ClampDeviceSensitivity(int value);
// Windows double-click time: 150..950 as it is, else 500.
UINT DoubleClickTimeFor(int speed);
// Mouse speed and wheel lines: 0 means 5.
int ZeroAsFive(int value);
// The stage a step goes to from stage s (up lowers the number); 0 when the step does nothing.
int DpiStepTarget(int stage, bool up);

// DPI_VALUE of profile's PROFILE_n element in g_szConfDir's "Config.xml" := stage.
int WriteProfileDpi(int profile, int stage);
